#include "app/window_pictures.h"

#include "app/artwork.h"
#include "app/main_window.h"

namespace vellumar {

PixelBuffer WindowPicture(int id, int dpi) {
    using namespace artwork;
    switch (id) {
        case kPictureTitleStrip:
            return TitleStrip(dpi);
        case kPictureMinNormal:
            return ChromeButtonImage(ChromeButton::Minimise, ChromeState::Normal, dpi);
        case kPictureMinHover:
            return ChromeButtonImage(ChromeButton::Minimise, ChromeState::Hover, dpi);
        case kPictureMinPressed:
            return ChromeButtonImage(ChromeButton::Minimise, ChromeState::Pressed, dpi);
        case kPictureExitNormal:
            return ChromeButtonImage(ChromeButton::Close, ChromeState::Normal, dpi);
        case kPictureExitHover:
            return ChromeButtonImage(ChromeButton::Close, ChromeState::Hover, dpi);
        case kPictureExitPressed:
            return ChromeButtonImage(ChromeButton::Close, ChromeState::Pressed, dpi);
        case kPicturePagePlain:
            return PageButton(false, dpi);
        case kPicturePageHighlighted:
            return PageButton(true, dpi);
        case kPictureSetting:
            return SettingPicture(dpi);
        case kPictureLogo:
            return Logo(dpi);
        case kPictureState:
            return StatePicture(dpi);
        case kPictureProcess:
            return ProcessPicture(dpi);
        case kPictureMemory:
            return MemoryPicture(dpi);
        default:
            return {};
    }
}

}  // namespace vellumar
