// The main window's skin at 96 dpi painted through GDI, kept as runs of
// colour (as the window keeps it) and, for comparison, as a 24-bit DIB
// section blitted with BitBlt: making it, a whole-window paint to the screen
// and a label-sized background into a compatible bitmap, as a label composes
// its picture. Run under Wine:
//   wine win_skin_paint_bench.exe
#include <windows.h>

#include <cstdio>

#include "app/artwork.h"
#include "controls/win32/gdi.h"
#include "per_call_time.h"

namespace {

using vellumar::RunLengthPicture;
using vellumar::win32::RunLengthPainter;
using vellumar::win32::UniqueBitmap;

}  // namespace

int main() {
    const vellumar::PixelBuffer& skin = vellumar::artwork::Skin(96);
    const HWND window =
        ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, skin.width,
                          skin.height, nullptr, nullptr, nullptr, nullptr);
    {
        const vellumar::win32::WindowDc window_dc(window);
        const HDC screen = window_dc.Get();
        const vellumar::win32::UniqueMemoryDc label_dc(::CreateCompatibleDC(screen));
        const HDC label = label_dc.Get();
        const UniqueBitmap label_bitmap(::CreateCompatibleBitmap(screen, 200, 16));
        const vellumar::win32::ScopedSelect select(label, label_bitmap.Get());
        const RECT whole{0, 0, skin.width, skin.height};
        const RECT label_area{300, 200, 500, 216};

        RunLengthPicture runs;
        RunLengthPainter painter;
        UniqueBitmap bitmap;
        for (int round = 0; round < 2; ++round) {  // the first round warms up
            const double make_runs =
                MicrosecondsPerCall(20, [&] { runs = RunLengthPicture(skin); });
            const double make_bitmap = MicrosecondsPerCall(
                20, [&] { bitmap = vellumar::win32::OpaqueBitmapFromPixels(skin); });
            const double runs_whole =
                MicrosecondsPerCall(200, [&] { painter.Paint(screen, 0, 0, runs, whole); });
            const double bitmap_whole = MicrosecondsPerCall(200, [&] {
                vellumar::win32::BlitBitmap(screen, 0, 0, skin.width, skin.height, bitmap.Get(), 0,
                                            0);
            });
            const double runs_label =
                MicrosecondsPerCall(5000, [&] { painter.Paint(label, 0, 0, runs, label_area); });
            const double bitmap_label = MicrosecondsPerCall(5000, [&] {
                vellumar::win32::BlitBitmap(label, 0, 0, 200, 16, bitmap.Get(), label_area.left,
                                            label_area.top);
            });
            if (round == 1) {
                std::printf(
                    "Skin 786x557: %zu runs, %zu KB as runs, %zu KB as a 24-bit bitmap\n",
                    runs.RunCount(), (runs.RunCount() * 8 + skin.height * 4) / 1024,
                    static_cast<std::size_t>((skin.width * 3 + 3) & ~3) * skin.height / 1024);
                std::printf("Make:               runs %9.1f us   bitmap %9.1f us\n", make_runs,
                            make_bitmap);
                std::printf("Whole window paint: runs %9.1f us   bitmap %9.1f us\n", runs_whole,
                            bitmap_whole);
                std::printf("Label 200x16 paint: runs %9.1f us   bitmap %9.1f us\n", runs_label,
                            bitmap_label);
            }
        }
    }
    ::DestroyWindow(window);
    return 0;
}
