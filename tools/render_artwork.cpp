// render_artwork OUTDIR: writes every picture of the program as a PAM image
// (portable arbitrary map, RGB with alpha) for review. ImageMagick turns them
// into PNG: `convert skin.pam skin.png`.
//
// Besides the single pictures it writes window.pam, the skin with the title
// strip, the chrome buttons and the page buttons placed as the window places
// them (State page highlighted), to judge how the pieces fit together.

#include <cstdio>
#include <fstream>
#include <string>

#include "app/artwork.h"

namespace {

using vellumar::AlphaOf;
using vellumar::BlueOf;
using vellumar::GreenOf;
using vellumar::PixelBuffer;
using vellumar::RedOf;
namespace art = vellumar::artwork;

bool WritePam(const std::string& path, const PixelBuffer& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << image.width << "\nHEIGHT " << image.height
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    for (vellumar::Argb c : image.pixels) {
        const char bytes[4] = {static_cast<char>(RedOf(c)), static_cast<char>(GreenOf(c)),
                               static_cast<char>(BlueOf(c)), static_cast<char>(AlphaOf(c))};
        out.write(bytes, 4);
    }
    return static_cast<bool>(out);
}

void Place(PixelBuffer& dst, const PixelBuffer& src, int x, int y) {
    for (int row = 0; row < src.height; ++row) {
        for (int col = 0; col < src.width; ++col) {
            dst.Set(x + col, y + row, src.At(col, row));
        }
    }
}

PixelBuffer Window() {
    PixelBuffer window = art::Skin();
    Place(window, art::TitleStrip(), art::kTitleStripX, 0);
    Place(window, art::ChromeButtonImage(art::ChromeButton::Minimise, art::ChromeState::Normal),
          art::kMinimiseX, art::kChromeButtonY);
    Place(window, art::ChromeButtonImage(art::ChromeButton::Close, art::ChromeState::Normal),
          art::kCloseX, art::kChromeButtonY);
    PixelBuffer plain = art::PageButton(false);
    PixelBuffer highlighted = art::PageButton(true);
    for (int i = 0; i < 6; ++i) {
        Place(window, i == 0 ? highlighted : plain, art::kPageButtonX, art::kPageButtonTops[i]);
    }
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_artwork OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    struct Named {
        const char* name;
        PixelBuffer image;
    };
    using art::ChromeButton;
    using art::ChromeState;
    const Named pictures[] = {
        {"skin", art::Skin()},
        {"window", Window()},
        {"title_strip", art::TitleStrip()},
        {"minimise_normal", art::ChromeButtonImage(ChromeButton::Minimise, ChromeState::Normal)},
        {"minimise_hover", art::ChromeButtonImage(ChromeButton::Minimise, ChromeState::Hover)},
        {"minimise_pressed", art::ChromeButtonImage(ChromeButton::Minimise, ChromeState::Pressed)},
        {"close_normal", art::ChromeButtonImage(ChromeButton::Close, ChromeState::Normal)},
        {"close_hover", art::ChromeButtonImage(ChromeButton::Close, ChromeState::Hover)},
        {"close_pressed", art::ChromeButtonImage(ChromeButton::Close, ChromeState::Pressed)},
        {"page_button_plain", art::PageButton(false)},
        {"page_button_highlighted", art::PageButton(true)},
        {"setting", art::SettingPicture()},
        {"state", art::StatePicture()},
        {"process", art::ProcessPicture()},
        {"memory", art::MemoryPicture()},
        {"logo", art::Logo()},
        {"icon_16", art::ProgramIcon(16)},
        {"icon_24", art::ProgramIcon(24)},
        {"icon_32", art::ProgramIcon(32)},
        {"icon_48", art::ProgramIcon(48)},
        {"icon_256", art::ProgramIcon(256)},
    };
    for (const Named& picture : pictures) {
        const std::string path = dir + picture.name + ".pam";
        if (!WritePam(path, picture.image)) {
            std::fprintf(stderr, "render_artwork: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
