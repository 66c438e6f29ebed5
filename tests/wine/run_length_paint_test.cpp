// Pictures kept as runs of colour, painted through the real (Wine) GDI: every
// pixel of the painted part is the source's colour, with the fourth byte zero
// as a blit of a 24-bit bitmap leaves it, and nothing else is touched.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/artwork.h"
#include "controls/win32/gdi.h"

namespace vellumar::win32 {
namespace {

constexpr Argb kUntouched = ArgbFromBits(0x00ABCDEF);

TEST(RunLengthPainterOnWindows, PaintsExactlyThePixelsOfTheSourceRectangle) {
    const PixelBuffer skin = artwork::Skin(96);
    artwork::ForgetSkin();
    const RunLengthPicture picture(skin);
    RunLengthPainter painter;  // one painter for every case, as a window keeps it
    struct Case {
        RECT source;
        POINT at;
    };
    // Many strips and a short last one; a rectangle reaching past each
    // edge of the picture, which paints only the part inside it.
    for (const Case& c :
         {Case{{37, 11, 487, 341}, {5, 7}}, Case{{-4, -6, 30, 20}, {10, 10}},
          Case{{770, 540, 800, 600}, {300, 200}}, Case{{0, 0, 786, 557}, {-200, -100}}}) {
        SCOPED_TRACE(::testing::Message() << c.source.left << "," << c.source.top);
        constexpr int kWidth = 500;
        constexpr int kHeight = 400;
        UniqueBitmap target = BitmapFromPixels(PixelBuffer(kWidth, kHeight, kUntouched));
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        {
            ScopedSelect select(dc.Get(), target.Get());
            painter.Paint(dc.Get(), c.at.x, c.at.y, picture, c.source);
        }
        ::GdiFlush();
        DIBSECTION section{};
        ASSERT_EQ(::GetObjectW(target.Get(), sizeof(section), &section), int{sizeof(section)});
        std::vector<Argb> painted(kWidth * kHeight);
        std::memcpy(painted.data(), section.dsBm.bmBits, painted.size() * sizeof(Argb));

        std::vector<Argb> expected(kWidth * kHeight, kUntouched);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const POINT from{x - c.at.x + c.source.left, y - c.at.y + c.source.top};
                if (::PtInRect(&c.source, from) && skin.Contains(from.x, from.y))
                    expected[y * kWidth + x] =
                        ArgbFromBits(BitsOf(skin.At(from.x, from.y)) & 0xFFFFFF);
            }
        }
        const auto [got, wanted] = std::mismatch(painted.begin(), painted.end(), expected.begin());
        const auto at = got - painted.begin();
        ASSERT_TRUE(got == painted.end())
            << "at " << at % kWidth << "," << at / kWidth << ": " << std::hex << BitsOf(*got)
            << " instead of " << BitsOf(*wanted);
    }
}

}  // namespace
}  // namespace vellumar::win32
