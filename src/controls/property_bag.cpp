#include "controls/property_bag.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"

namespace vellumar {

void PropertyBag::WriteProperty(std::string_view name, const PropertyValue& value,
                                const PropertyValue& default_value) {
    if (value == default_value) {
        std::erase_if(entries_, [&](const auto& entry) {
            return EqualsIgnoringAsciiCase(entry.first, name);
        });
        return;
    }
    Set(name, value);
}

void PropertyBag::Set(std::string_view name, PropertyValue value) {
    for (auto& entry : entries_) {
        if (EqualsIgnoringAsciiCase(entry.first, name)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(name), std::move(value));
}

const PropertyValue* PropertyBag::Find(std::string_view name) const {
    for (const auto& entry : entries_) {
        if (EqualsIgnoringAsciiCase(entry.first, name))
            return &entry.second;
    }
    return nullptr;
}

std::optional<std::int64_t> PropertyBag::ReadInteger(std::string_view name) const {
    const PropertyValue* value = Find(name);
    if (value == nullptr)
        return std::nullopt;
    if (const auto* number = std::get_if<std::int32_t>(value))
        return *number;
    if (const auto* flag = std::get_if<bool>(value))
        return *flag ? -1 : 0;
    return std::nullopt;
}

std::int32_t PropertyBag::ReadInt32(std::string_view name, std::int32_t default_value) const {
    return static_cast<std::int32_t>(ReadInteger(name).value_or(default_value));
}

std::int16_t PropertyBag::ReadInt16(std::string_view name, std::int16_t default_value) const {
    const auto number = ReadInteger(name);
    if (!number || *number < std::numeric_limits<std::int16_t>::min() ||
        *number > std::numeric_limits<std::int16_t>::max()) {
        return default_value;
    }
    return static_cast<std::int16_t>(*number);
}

bool PropertyBag::ReadBool(std::string_view name, bool default_value) const {
    const auto number = ReadInteger(name);
    return number ? *number != 0 : default_value;
}

std::string PropertyBag::ReadText(std::string_view name, std::string default_value) const {
    const PropertyValue* value = Find(name);
    if (value != nullptr) {
        if (const auto* text = std::get_if<std::string>(value))
            return *text;
    }
    return default_value;
}

FontSpec PropertyBag::ReadFont(std::string_view name, FontSpec default_value) const {
    const PropertyValue* value = Find(name);
    if (value != nullptr) {
        if (const auto* font = std::get_if<FontSpec>(value))
            return *font;
    }
    return default_value;
}

std::vector<std::string> PropertyBag::Keys() const {
    std::vector<std::string> keys;
    keys.reserve(entries_.size());
    for (const auto& entry : entries_) keys.push_back(entry.first);
    return keys;
}

}  // namespace vellumar
