#pragma once
// What the program keeps for some of its windows, kept in the process rather
// than as window properties: under Wine every property read or write is a
// round trip to the window server, and some of these lookups run for every
// message. A handful to a few dozen windows: a flat list is enough.

#include <windows.h>

#include <utility>
#include <vector>

namespace vellumar::win32 {

template <typename Value>
class WindowTable {
  public:
    // The value kept for `window`, or null.
    Value* Find(HWND window) {
        for (auto& [key, value] : entries_) {
            if (key == window)
                return &value;
        }
        return nullptr;
    }
    void Set(HWND window, Value value) {
        if (Value* kept = Find(window)) {
            *kept = std::move(value);
        } else {
            entries_.emplace_back(window, std::move(value));
        }
    }
    void Erase(HWND window) {
        std::erase_if(entries_, [window](const auto& entry) { return entry.first == window; });
    }

  private:
    std::vector<std::pair<HWND, Value>> entries_;
};

}  // namespace vellumar::win32
