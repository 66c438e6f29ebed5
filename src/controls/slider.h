#pragma once
// A track bar: a whole-number value between a minimum and a maximum that
// the user drags or moves with the arrow keys. Every change of the value,
// by the user or by the program, runs the change handler.

#include <functional>
#include <string>

#include "controls/controls.h"

namespace vellumar {

class Slider : public Control {
  public:
    Slider(std::string name, TwipsRect bounds, int min, int max, int value)
        : Control(std::move(name), bounds), min_(min), max_(max), value_(value) {}
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    // The value, held within the range; the same value does nothing.
    void SetValue(int value);
    void UserSetValue(int value) { SetValue(value); }

    std::function<void()> onChange;

  private:
    int min_;
    int max_;
    int value_;
};

}  // namespace vellumar
