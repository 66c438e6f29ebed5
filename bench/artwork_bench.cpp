// Cost of drawing the main window's pictures, as the window does when it is
// created or moves to a monitor of another scale: the skin once, then every
// picture cut from it or drawn on its own.

#include <benchmark/benchmark.h>

#include "app/artwork.h"

namespace vellumar::artwork {
namespace {

void DrawEverything() {
    benchmark::DoNotOptimize(Skin().pixels.data());
    benchmark::DoNotOptimize(TitleStrip().pixels.data());
    for (ChromeButton button : {ChromeButton::Minimise, ChromeButton::Close}) {
        for (ChromeState state : {ChromeState::Normal, ChromeState::Hover, ChromeState::Pressed})
            benchmark::DoNotOptimize(ChromeButtonImage(button, state).pixels.data());
    }
    benchmark::DoNotOptimize(PageButton(false).pixels.data());
    benchmark::DoNotOptimize(PageButton(true).pixels.data());
    benchmark::DoNotOptimize(SettingPicture().pixels.data());
    benchmark::DoNotOptimize(Logo().pixels.data());
    benchmark::DoNotOptimize(StatePicture().pixels.data());
    benchmark::DoNotOptimize(ProcessPicture().pixels.data());
    benchmark::DoNotOptimize(MemoryPicture().pixels.data());
    ForgetSkin();
}

void BM_Skin(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Skin().pixels.data());
        ForgetSkin();
    }
}
BENCHMARK(BM_Skin)->Unit(benchmark::kMillisecond);

void BM_SkinAndEveryPicture(benchmark::State& state) {
    for (auto _ : state) DrawEverything();
}
BENCHMARK(BM_SkinAndEveryPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellumar::artwork
