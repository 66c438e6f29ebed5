#pragma once
// The per-instance store of a control's saved properties, kept by the form
// that holds the control: named values, keys matched without regard to case,
// in the order they were written. A control writes each property with its
// default, and a value equal to the default is left out, so the store holds
// only what differs; reading an absent key (or one whose value cannot stand
// for the requested type) gives the default.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace vellumar {

// A font as a control stores it: face name, size in points, weight and slant.
struct FontSpec {
    std::string name;
    double size_pt = 0.0;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

using PropertyValue = std::variant<std::int32_t, bool, std::string, FontSpec>;

class PropertyBag {
  public:
    // Stores `value` under `name` unless it equals `default_value`; a stored
    // value of that name is replaced (or removed, when the new one is the
    // default).
    void WriteProperty(std::string_view name, const PropertyValue& value,
                       const PropertyValue& default_value);
    // Stores `value` whatever it is: how a form's saved instance is described.
    void Set(std::string_view name, PropertyValue value);

    [[nodiscard]] const PropertyValue* Find(std::string_view name) const;
    [[nodiscard]] bool Contains(std::string_view name) const { return Find(name) != nullptr; }

    // Typed reads. Integers and booleans convert into each other (true is
    // -1, as the platform's booleans are); a value out of the target's range,
    // or of an unrelated type, reads as the default.
    [[nodiscard]] std::int32_t ReadInt32(std::string_view name, std::int32_t default_value) const;
    [[nodiscard]] std::int16_t ReadInt16(std::string_view name, std::int16_t default_value) const;
    [[nodiscard]] bool ReadBool(std::string_view name, bool default_value) const;
    [[nodiscard]] std::string ReadText(std::string_view name, std::string default_value) const;
    [[nodiscard]] FontSpec ReadFont(std::string_view name, FontSpec default_value) const;

    // Stored entries in writing order.
    [[nodiscard]] const std::vector<std::pair<std::string, PropertyValue>>& Entries() const {
        return entries_;
    }
    [[nodiscard]] std::vector<std::string> Keys() const;

  private:
    std::optional<std::int64_t> ReadInteger(std::string_view name) const;

    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace vellumar
