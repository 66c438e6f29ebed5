// Cost of drawing the main window's pictures, as the window does when it is
// created or moves to a monitor of another scale: the skin once, then every
// picture cut from it or drawn on its own. The argument is the dpi.

#include <benchmark/benchmark.h>

#include "app/artwork.h"
#include "app/main_window.h"
#include "app/window_pictures.h"

namespace vellumar::artwork {
namespace {

void BM_Skin(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Skin(dpi).pixels.data());
        ForgetSkin();
    }
}
BENCHMARK(BM_Skin)->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMillisecond);

void BM_SkinAndEveryPicture(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Skin(dpi).pixels.data());
        for (int id = 0; id < kPictureCount; ++id)
            benchmark::DoNotOptimize(WindowPicture(id, dpi).pixels.data());
        ForgetSkin();
    }
}
BENCHMARK(BM_SkinAndEveryPicture)->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellumar::artwork
