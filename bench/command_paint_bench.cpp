// Paints of the program's largest Command button (233 x 33, style 1,
// XpType 2) on the software raster: the whole face as PaintButton draws it
// on every hover change, press, release and focus change.
#include <benchmark/benchmark.h>

#include <string>

#include "app/command_instances.h"
#include "controls/button_painter.h"
#include "controls/command_button.h"
#include "controls/software_raster.h"
#include "fakes/fake_timers.h"
#include "platform/timer.h"

namespace vellumar {
namespace {

class RasterOnlyHost : public CommandHost {
  public:
    RasterOnlyHost(int width, int height)
        : pixels_(width, height), raster_(pixels_), size_{width, height} {}
    DrawingSurface& Surface() override { return raster_; }
    void SurfaceChanged() override { raster_.ClearTextRuns(); }
    void Refresh() override {}
    SizePx ClientSize() const override { return size_; }
    void SetWindowEnabled(bool) override {}
    void SetWindowFont(const FontSpec&) override {}
    FontSpec WindowFont() const override { return {}; }
    FontSpec AmbientFont() const override { return {}; }
    void SetWindowRegion(const WindowShape&) override {}
    void SetWindowCaption(std::string_view) override {}
    PointPx CursorClientPosition() const override { return {}; }
    void MoveFocus(bool) override {}
    ColorRef SystemColor(SystemColorIndex index) const override {
        return index == SystemColorIndex::kBtnText ? 0 : Rgb(240, 240, 240);
    }
    std::uintptr_t WindowHandle() const override { return 0; }
    const PixelBuffer& Pixels() const { return pixels_; }

  private:
    PixelBuffer pixels_;
    SoftwareRaster raster_;
    SizePx size_;
};

struct FreeMemoryButton {
    FreeMemoryButton()
        : instance(*FindCommandInstance("CommandFreeMemory")),
          host(instance.width_px, instance.height_px),
          button(host, timers, std::string(instance.name)) {
        button.ReadProperties(StoredCommandProperties(instance));
        button.OnResize();
    }
    const CommandInstance& instance;
    vellumar::testing::IdleTimerService timers;
    RasterOnlyHost host;
    CommandButton button;
};

void BM_CommandPaintStyle1Up(benchmark::State& state) {
    FreeMemoryButton b;
    for (auto _ : state) {
        b.button.PaintButton(0, true);
        benchmark::DoNotOptimize(b.host.Pixels().pixels.data());
    }
}
BENCHMARK(BM_CommandPaintStyle1Up);

void BM_CommandPaintStyle1Down(benchmark::State& state) {
    FreeMemoryButton b;
    for (auto _ : state) {
        b.button.PaintButton(2, true);
        benchmark::DoNotOptimize(b.host.Pixels().pixels.data());
    }
}
BENCHMARK(BM_CommandPaintStyle1Down);

void BM_CommandPaintStyle1FocusedHover(benchmark::State& state) {
    FreeMemoryButton b;
    b.button.OnGotFocus();
    b.button.OnMouseMove(0, 0, 5, 5);
    for (auto _ : state) {
        b.button.PaintButton(0, true);
        benchmark::DoNotOptimize(b.host.Pixels().pixels.data());
    }
}
BENCHMARK(BM_CommandPaintStyle1FocusedHover);

void BM_CommandPaintStyle4Up(benchmark::State& state) {
    FreeMemoryButton b;
    b.button.SetButtonType(4);
    for (auto _ : state) {
        b.button.PaintButton(0, true);
        benchmark::DoNotOptimize(b.host.Pixels().pixels.data());
    }
}
BENCHMARK(BM_CommandPaintStyle4Up);

// The skip rule: an unforced paint with nothing changed.
void BM_CommandPaintSkipped(benchmark::State& state) {
    FreeMemoryButton b;
    for (auto _ : state) b.button.PaintButton(0, false);
}
BENCHMARK(BM_CommandPaintSkipped);

}  // namespace
}  // namespace vellumar
