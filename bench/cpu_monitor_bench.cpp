// One update cycle of the State page's graph (415 x 55 inner pixels, five
// series, scrolling grid) on the software raster: the in-place history
// shift, a sample from counters that answer at once, and the whole repaint.
#include <benchmark/benchmark.h>

#include "controls/software_raster.h"
#include "fakes/fake_timers.h"
#include "monitor/cpu_monitor.h"
#include "monitor_bench_sources.h"

namespace vellumar {
namespace {

class RasterHost : public CpuMonitorHost {
  public:
    RasterHost() : pixels_(415, 55), raster_(pixels_) {}
    DrawingSurface& Surface() override { return raster_; }
    void Refresh() override { benchmark::DoNotOptimize(pixels_.pixels.data()); }
    SizePx ScaleSize() const override { return {415, 55}; }
    int WidthTwips() const override { return 417 * 15; }
    void SetAppearance(std::int16_t) override {}
    std::int16_t Appearance() const override { return 0; }
    void SetBorderStyle(std::int16_t) override {}
    std::int16_t BorderStyle() const override { return 1; }
    void SetSurfaceEnabled(bool) override {}
    bool SurfaceEnabled() const override { return true; }
    std::uintptr_t WindowHandle() const override { return 0; }
    std::uintptr_t DeviceContext() const override { return 0; }
    NumberSeparators Separators() const override { return {}; }

  private:
    PixelBuffer pixels_;
    SoftwareRaster raster_;
};

void BM_GraphUpdateCycle(benchmark::State& state) {
    bench::WavingSources sources;
    ModuleCpuMonitorSupport sampler(sources.Sources());
    vellumar::testing::IdleTimerService timers;
    RasterHost host;
    CpuMonitor graph(host, timers, sampler);
    graph.ReadProperties(CpuMonitorStateProperties());
    graph.SetDiagramStyle(static_cast<std::int32_t>(state.range(0)));
    for (int i = 0; i < 500; ++i) graph.Timer1_Timer();  // a full history
    for (auto _ : state) graph.Timer1_Timer();
}
BENCHMARK(BM_GraphUpdateCycle)->ArgName("style")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace vellumar
