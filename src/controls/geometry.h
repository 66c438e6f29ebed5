#pragma once
// Sizes, points and modes that the user controls (the Command button, the
// graph) share with their hosts.

namespace vellumar {

struct PointPx {
    int x = 0;
    int y = 0;
};

struct SizePx {
    int width = 0;
    int height = 0;
};

// A control being designed on a form draws itself but does not run.
enum class ControlMode { kRunTime, kDesignTime };

}  // namespace vellumar
