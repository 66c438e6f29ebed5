#pragma once
// A CommandHost over a software raster, the tests' timers and a surface
// that records its calls: what the Command tests drive the control with.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_instances.h"
#include "controls/command_button.h"
#include "controls/software_raster.h"
#include "fakes/fake_timers.h"
#include "platform/timer.h"

namespace vellumar::testing {

// Classic Windows system colours.
inline constexpr ColorRef kSysBtnFace = Rgb(212, 208, 200);
inline constexpr ColorRef kSysBtnText = Rgb(0, 0, 0);
inline constexpr ColorRef kSysBtnShadow = Rgb(128, 128, 128);
inline constexpr ColorRef kSys3DLight = Rgb(223, 223, 223);
inline constexpr ColorRef kSys3DDkShadow = Rgb(64, 64, 64);
inline constexpr ColorRef kSysBtnHighlight = Rgb(255, 255, 255);

class RasterHost : public CommandHost {
  public:
    RasterHost(int width, int height)
        : pixels(width, height), raster(pixels), size{width, height} {}

    DrawingSurface& Surface() override { return raster; }
    void SurfaceChanged() override { ++paints; }
    void Refresh() override { ++refreshes; }
    SizePx ClientSize() const override { return size; }
    void SetWindowEnabled(bool enabled) override { window_enabled = enabled; }
    void SetWindowFont(const FontSpec& font) override { window_font = font; }
    FontSpec WindowFont() const override { return window_font; }
    FontSpec AmbientFont() const override { return ambient_font; }
    void SetWindowRegion(const WindowShape& shape) override { region = shape; }
    void SetWindowCaption(std::string_view caption) override { window_text = caption; }
    PointPx CursorClientPosition() const override { return cursor; }
    void MoveFocus(bool forward) override { focus_moves.push_back(forward); }
    ColorRef SystemColor(SystemColorIndex index) const override {
        switch (index) {
            case SystemColorIndex::kBtnFace:
                return kSysBtnFace;
            case SystemColorIndex::kBtnText:
                return kSysBtnText;
            case SystemColorIndex::kBtnShadow:
                return kSysBtnShadow;
            case SystemColorIndex::k3DLight:
                return kSys3DLight;
            case SystemColorIndex::k3DDkShadow:
                return kSys3DDkShadow;
            case SystemColorIndex::kBtnHighlight:
                return kSysBtnHighlight;
        }
        return 0;
    }
    std::uintptr_t WindowHandle() const override { return 0x5150; }
    void PropertyChanged(std::string_view name) override { changed.emplace_back(name); }

    void Resize(int width, int height) {
        pixels = PixelBuffer(width, height);
        size = {width, height};
    }
    ColorRef At(int x, int y) const { return ColorRefFromArgb(pixels.At(x, y)); }

    PixelBuffer pixels;
    SoftwareRaster raster;
    SizePx size;
    int paints = 0;
    int refreshes = 0;
    bool window_enabled = true;
    FontSpec window_font{"MS Sans Serif", 8.0, false, false};
    FontSpec ambient_font{"Tahoma", 8.0, false, false};
    WindowShape region;
    std::string window_text;
    PointPx cursor{-100, -100};
    std::vector<bool> focus_moves;
    std::vector<std::string> changed;
};

// Every call a paint makes, for checks on how a face is built rather than on
// its pixels.
class RecordingSurface : public DrawingSurface {
  public:
    struct Line {
        int x1, y1, x2, y2;
        ColorRef color;
    };
    void FillRect(const Rect& rect, ColorRef color) override { fills.push_back({rect, color}); }
    void FrameRect(const Rect& rect, ColorRef color) override { frames.push_back({rect, color}); }
    void DrawLine(int x1, int y1, int x2, int y2, ColorRef color) override {
        lines.push_back({x1, y1, x2, y2, color});
    }
    void SetPixel(int, int, ColorRef) override { ++dots; }
    void DrawFocusRect(const Rect& rect) override { focus_rects.push_back(rect); }
    void SetTextColor(ColorRef) override {}
    TextExtent MeasureText(std::string_view text) override {
        return {static_cast<int>(text.size()) * 6, 12};
    }
    void DrawText(std::string_view, const Rect&, unsigned) override { ++texts; }

    // The face rows: lines (1, y)-(w - 1, y).
    std::vector<Line> Rows(int width) const {
        std::vector<Line> rows;
        for (const Line& l : lines) {
            if (l.x1 == 1 && l.x2 == width - 1 && l.y1 == l.y2)
                rows.push_back(l);
        }
        return rows;
    }

    std::vector<std::pair<Rect, ColorRef>> fills;
    std::vector<std::pair<Rect, ColorRef>> frames;
    std::vector<Line> lines;
    std::vector<Rect> focus_rects;
    int dots = 0;
    int texts = 0;
};

// A button as the program creates one of its instances: loaded from the
// stored properties, then sized.
struct CommandRig {
    explicit CommandRig(std::string_view instance_name = "CommandLimitProcessCPU")
        : instance(*FindCommandInstance(instance_name)),
          host(instance.width_px, instance.height_px),
          button(host, timers, std::string(instance.name)) {
        button.ReadProperties(StoredCommandProperties(instance));
        button.OnResize();
    }
    CommandRig(int width, int height, int button_type)
        : instance(*FindCommandInstance("CommandLimitProcessCPU")),
          host(width, height),
          button(host, timers, "Command1") {
        button.OnResize();
        button.SetButtonType(button_type);
    }

    const CommandInstance& instance;
    ManualTimerService timers;
    RasterHost host;
    CommandButton button;
};

inline ColorRef Inverted(ColorRef c) {
    return c ^ 0xFFFFFFu;
}

}  // namespace vellumar::testing
