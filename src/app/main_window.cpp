#include "app/main_window.h"

#include <utility>

#include "app/form_styles.h"
#include "shell/tray_menu.h"

namespace vellumar {

using namespace form_styles;

namespace {

// Intervals of the main window's timers, in milliseconds.
constexpr int kTimerProcessMs = 900;
constexpr int kTimerCpuMs = 1100;
constexpr int kTimerMemoryMs = 1000;
constexpr int kTimerOnTimeStateMs = 20;
constexpr int kTimerStateMs = 100;
constexpr int kTimerTrayIconMs = 990;
constexpr int kTimerAdMs = 3000;

struct PageLayout {
    Page page;
    const char* image_name;
    const char* label_name;
    const char* panel_name;
    int button_top;
    int label_top;
    std::string_view caption;  // the tray menu item of the page has the same
    int panel_width;
    int panel_height;
    const TextStyle* font;
};

constexpr PageLayout kPageLayouts[] = {
    {Page::State, "ImageState", "LabelState", "PictureState", 2010, 2160,
     TrayCaption(TrayMenuItem::State), 7455, 5535, &kSimSunFont},
    {Page::Process, "ImageProcess", "LabelProcess", "PictureProcess", 2540, 2640,
     TrayCaption(TrayMenuItem::Process), 7815, 5775, &kSimSunFont},
    {Page::CPU, "ImageCPU", "LabelCPU", "PictureCPU", 3060, 3210, TrayCaption(TrayMenuItem::CPU),
     7335, 5415, &kSimSunFont},
    {Page::Memory, "ImageMemory", "LabelMemory", "PictureMemory", 3590, 3720,
     TrayCaption(TrayMenuItem::Memory), 7335, 5655, &kSimSunFont},
    {Page::Setting, "ImageSetting", "LabelSetting", "PictureSetting", 4110, 4245,
     TrayCaption(TrayMenuItem::Setting), 6735, 4215, &kPageFont},
    {Page::About, "ImageAbout", "LabelAbout", "PictureAbout", 4635, 4800,
     TrayCaption(TrayMenuItem::About), 7095, 4455, &kPageFont},
};

constexpr int kPageButtonLeft = 100;
constexpr int kPageButtonWidth = 3540;
constexpr int kPageButtonHeight = 540;
constexpr int kPageLabelLeft = 1080;
constexpr int kPageLabelWidth = 2520;
constexpr int kPageLabelHeight = 180;

constexpr TwipsRect kMinPlace{10800, 90, 420, 225};
constexpr TwipsRect kExitPlace{11280, 90, 420, 225};

}  // namespace

std::string_view PageName(Page page) {
    for (const auto& layout : kPageLayouts) {
        if (layout.page == page)
            return layout.caption;
    }
    return {};
}

MainWindow::MainWindow(TimerService& timers, SettingsFile& settings, Autorun& autorun,
                       SystemServices system)
    : TimerProcess(timers, kTimerProcessMs, true),
      TimerCPU(timers, kTimerCpuMs, true),
      TimerMemory(timers, kTimerMemoryMs, true),
      TimerOnTimeState(timers, kTimerOnTimeStateMs, true),
      TimerState(timers, kTimerStateMs, true),
      TimerTrayIcon(timers, kTimerTrayIconMs, true),
      TimerAd(timers, kTimerAdMs, true),
      settings_(settings),
      autorun_(autorun) {
    BuildChrome();
    BuildPages();
    StartEngine(system);

    // Z-order from bottom to top: images, then panels, then the texts that
    // lie on the images, so a click on a text reaches the text.
    window_controls_.push_back(Chrome.ImageCaption.get());
    for (auto& image : Chrome.ImageMin) window_controls_.push_back(image.get());
    for (auto& image : Chrome.ImageExit) window_controls_.push_back(image.get());
    for (auto& page : Pages) {
        for (auto& image : page.button) window_controls_.push_back(image.get());
    }
    for (auto& page : Pages) window_controls_.push_back(page.panel.get());
    for (Control* label :
         {static_cast<Control*>(Chrome.Label9.get()), static_cast<Control*>(Chrome.Label8.get()),
          static_cast<Control*>(Chrome.Label4.get()), static_cast<Control*>(Chrome.Label38.get()),
          static_cast<Control*>(Chrome.LabelAd.get())}) {
        window_controls_.push_back(label);
    }
    for (auto& page : Pages) window_controls_.push_back(page.label.get());
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildChrome() {
    Chrome.ImageCaption = std::make_unique<Image>("ImageCaption", TwipsRect{480, 0, 10215, 375},
                                                  kPictureTitleStrip, "Vellumar title bar");
    Chrome.ImageCaption->onMouseDown = [this](MouseButton b) { ImageCaption_MouseDown(b); };

    TextStyle title_font = Font("Arial", 7.5, false, kWhite);
    Chrome.Label9 = std::make_unique<Label>("Label9", TwipsRect{390, 100, 1275, 195},
                                            std::string(kProgramTitle), title_font);

    const int min_pictures[3] = {kPictureMinNormal, kPictureMinHover, kPictureMinPressed};
    const int exit_pictures[3] = {kPictureExitNormal, kPictureExitHover, kPictureExitPressed};
    for (int i = 0; i < 3; ++i) {
        auto& min = Chrome.ImageMin[static_cast<std::size_t>(i)];
        min = std::make_unique<Image>("ImageMin(" + std::to_string(i) + ")", kMinPlace,
                                      min_pictures[i], "Minimize", i == 0);
        min->SetActsAsButton(true);
        min->onMouseMove = [this](MouseButton) { ImageMin_MouseMove(); };
        min->onMouseDown = [this](MouseButton) { ImageMin_MouseDown(); };
        min->onMouseUp = [this](MouseButton) { ImageMin_MouseUp(); };
        min->onClick = [this] { ImageMin_MouseUp(); };

        auto& exit = Chrome.ImageExit[static_cast<std::size_t>(i)];
        exit = std::make_unique<Image>("ImageExit(" + std::to_string(i) + ")", kExitPlace,
                                       exit_pictures[i], "Close", i == 0);
        exit->SetActsAsButton(true);
        exit->onMouseMove = [this](MouseButton) { ImageExit_MouseMove(); };
        exit->onMouseDown = [this](MouseButton) { ImageExit_MouseDown(); };
        exit->onMouseUp = [this](MouseButton) { ImageExit_MouseUp(); };
        exit->onClick = [this] { ImageExit_Click(); };
    }

    Chrome.Label8 =
        std::make_unique<Label>("Label8", TwipsRect{1680, 720, 1860, 240},
                                std::string(kProgramTitle), Font("Arial", 10.5, true, kDarkGrey));
    TextStyle grey = kWindowFont;
    grey.color = kDarkGrey;
    Chrome.Label4 = std::make_unique<Label>("Label4", TwipsRect{1680, 960, 2325, 180},
                                            std::string(kSubtitle), grey);
    Chrome.Label38 = std::make_unique<Label>("Label38", TwipsRect{10440, 8040, 525, 180},
                                             std::string(kVersionText), grey);
    Chrome.LabelAd =
        std::make_unique<Label>("LabelAd", TwipsRect{240, 8040, 8295, 180}, "Nothing", grey);
}

void MainWindow::BuildPages() {
    TextStyle label_font = kWindowFont;
    label_font.color = kWhite;
    for (std::size_t i = 0; i < Pages.size(); ++i) {
        const PageLayout& layout = kPageLayouts[i];
        PageControls& page = Pages[i];
        page.page = layout.page;
        const TwipsRect place{kPageButtonLeft, layout.button_top, kPageButtonWidth,
                              kPageButtonHeight};
        // Each page shows its plain look, the State page its highlighted one,
        // as the first layout leaves them: windows made so need no change.
        for (int index = 0; index < 2; ++index) {
            auto image = std::make_unique<Image>(
                std::string(layout.image_name) + "(" + std::to_string(index) + ")", place,
                index == 0 ? kPicturePagePlain : kPicturePageHighlighted,
                std::string(layout.caption), (index == 0) == (layout.page != Page::State));
            image->SetActsAsButton(true);
            image->onClick = [this, p = layout.page] { SelectPage(p); };
            page.button[static_cast<std::size_t>(index)] = std::move(image);
        }
        page.label = std::make_unique<Label>(
            layout.label_name,
            TwipsRect{kPageLabelLeft, layout.label_top, kPageLabelWidth, kPageLabelHeight},
            std::string(layout.caption), label_font);
        page.label->onClick = [this, p = layout.page] { SelectPage(p); };
        // Only the State page shows at first; the window creates the others'
        // windows when they are first shown.
        page.panel = std::make_unique<Panel>(
            layout.panel_name,
            TwipsRect{kPanelLeftTwips, kPanelTopTwips, layout.panel_width, layout.panel_height},
            *layout.font, layout.page == Page::State);
    }
    BuildStatePage(*PageOf(Page::State).panel);
    BuildProcessPage(*PageOf(Page::Process).panel);
    BuildCpuPage(*PageOf(Page::CPU).panel);
    BuildMemoryPage(*PageOf(Page::Memory).panel);
    BuildSettingPage(*PageOf(Page::Setting).panel);
    BuildAboutPage(*PageOf(Page::About).panel);
}

void MainWindow::BuildSettingPage(Panel& panel) {
    SettingPage.Image3 = std::make_unique<Image>("Image3", TwipsRect{120, 240, 900, 900},
                                                 kPictureSetting, "Setting");
    SettingPage.Label27 = std::make_unique<Label>("Label27", TwipsRect{1320, 240, 705, 210},
                                                  "Setting", Font("Verdana", 9, true, kOrange));
    const TextStyle box_font = kPageFont;
    SettingPage.CheckAutoRun = std::make_unique<CheckBox>(
        "CheckAutoRun", TwipsRect{1320, 600, 4335, 255}, "Start with windows", box_font);
    SettingPage.CheckAutoMin =
        std::make_unique<CheckBox>("CheckAutoMin", TwipsRect{1320, 960, 4335, 255},
                                   "Automatically minimize when startup", box_font);
    SettingPage.CheckAlwaysOnTop = std::make_unique<CheckBox>(
        "CheckAlwaysOnTop", TwipsRect{1320, 1320, 4335, 255}, "Always on top", box_font);
    SettingPage.CheckAutoRun->onClick = [this] { CheckAutoRun_Click(); };
    SettingPage.CheckAutoMin->onClick = [this] { CheckAutoMin_Click(); };
    SettingPage.CheckAlwaysOnTop->onClick = [this] { CheckAlwaysOnTop_Click(); };
    for (Control* c : {static_cast<Control*>(SettingPage.Image3.get()),
                       static_cast<Control*>(SettingPage.Label27.get()),
                       static_cast<Control*>(SettingPage.CheckAutoRun.get()),
                       static_cast<Control*>(SettingPage.CheckAutoMin.get()),
                       static_cast<Control*>(SettingPage.CheckAlwaysOnTop.get())}) {
        panel.Add(*c);
    }
}

void MainWindow::BuildAboutPage(Panel& panel) {
    AboutPage.Label26 = std::make_unique<Label>("Label26", TwipsRect{360, 360, 570, 210}, "About",
                                                Font("Verdana", 9, true, kGrey));
    AboutPage.Label33 =
        std::make_unique<Label>("Label33", TwipsRect{360, 600, 1725, 210},
                                std::string(kProgramTitle), Font("Verdana", 9, true, kOrange));
    TextStyle subtitle_font = kPageFont;
    subtitle_font.color = kDarkGrey;
    AboutPage.Label34 = std::make_unique<Label>("Label34", TwipsRect{360, 960, 2325, 180},
                                                std::string(kSubtitle), subtitle_font);
    TextStyle link_font = kPageFont;
    link_font.underline = true;
    link_font.color = Rgb(0, 0, 255);
    AboutPage.LabelHomepage = std::make_unique<Label>(
        "LabelHomepage", TwipsRect{360, 1800, 3945, 180}, HomePageUrl(), link_font);
    AboutPage.ImageIcon = std::make_unique<Image>("ImageIcon", TwipsRect{5760, 240, 1155, 1275},
                                                  kPictureLogo, "Vellumar logo");
    for (Control* c : {static_cast<Control*>(AboutPage.Label26.get()),
                       static_cast<Control*>(AboutPage.Label33.get()),
                       static_cast<Control*>(AboutPage.Label34.get()),
                       static_cast<Control*>(AboutPage.LabelHomepage.get()),
                       static_cast<Control*>(AboutPage.ImageIcon.get())}) {
        panel.Add(*c);
    }
}

PageControls& MainWindow::PageOf(Page page) {
    return Pages[static_cast<std::size_t>(page)];
}

void MainWindow::CentreOnScreen() {
    if (!host_)
        return;
    double screen_width = 0;
    double screen_height = 0;
    host_->ScreenSizeTwips(screen_width, screen_height);
    const double top = (screen_height - kWindowHeightTwips) / 2.0;
    const double left = (screen_width - kWindowWidthTwips) / 2.0;
    host_->MoveWindowTwips(left, top);
}

void MainWindow::InitialLayout() {
    for (int index = 0; index < 2; ++index) {
        const auto i = static_cast<std::size_t>(index);
        Chrome.ImageMin[i]->Move(kMinPlace.left, kMinPlace.top);
        Chrome.ImageExit[i]->Move(kExitPlace.left, kExitPlace.top);
        for (std::size_t p = 0; p < Pages.size(); ++p) {
            Pages[p].button[i]->Move(kPageButtonLeft, kPageLayouts[p].button_top);
        }
    }
    ShowChromeLook(Chrome.ImageMin, ChromeLook::Normal);
    ShowChromeLook(Chrome.ImageExit, ChromeLook::Normal);
    for (auto& page : Pages) {
        page.button[0]->SetVisible(page.page != Page::State);
        page.button[1]->SetVisible(page.page == Page::State);
    }
    for (auto& page : Pages) {
        page.panel->Move(kPanelLeftTwips, kPanelTopTwips);
        page.panel->SetVisible(page.page == Page::State);
    }
    selected_ = Page::State;
}

void MainWindow::FillLists() {
    ProcessPage.ComboSpeed->AddItem("Above Normal");
    ProcessPage.ComboSpeed->AddItem("High");
    for (const char* item : {"1 minute", "3 minute", "5 minute", "10 minute"}) {
        MemoryPage.ComboInterval->AddItem(item);
    }
}

void MainWindow::ReadSettings() {
    settings_.ReadInto(settings::kEnableImproveProcess, *ProcessPage.CheckNowImproveProcess);
    settings_.ReadInto(settings::kImproveSpeed, *ProcessPage.ComboSpeed);
    settings_.ReadInto(settings::kEnableFreeMemory, *MemoryPage.CheckEnableAutoFreeMemory);
    settings_.ReadInto(settings::kAutoFreeMemoryInterval, *MemoryPage.ComboInterval);

    settings_.ReadInto(settings::kAutorun, *SettingPage.CheckAutoRun);
    if (SettingPage.CheckAutoRun->Value() == 1) {
        autorun_.SetAutorun();
    } else {
        autorun_.ClearAutorun();
    }

    settings_.ReadInto(settings::kAutomin, *SettingPage.CheckAutoMin);
    if (SettingPage.CheckAutoMin->Value() == 1 && host_)
        host_->HideWindow();

    settings_.ReadInto(settings::kOntop, *SettingPage.CheckAlwaysOnTop);
    if (SettingPage.CheckAlwaysOnTop->Value() == 1 && host_)
        host_->SetTopmost(true);
}

void MainWindow::SelectPage(Page page) {
    for (auto& q : Pages) {
        q.button[0]->SetVisible(q.page != page);
        q.button[1]->SetVisible(q.page == page);
    }
    for (auto& q : Pages) q.panel->SetVisible(q.page == page);
    selected_ = page;
}

void MainWindow::ShowChromeLook(std::array<std::unique_ptr<Image>, 3>& images, ChromeLook look) {
    // Show the new look before hiding the others, so the place never shows
    // the skin beneath for a moment.
    const auto shown = static_cast<std::size_t>(look);
    images[shown]->SetVisible(true);
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (i != shown)
            images[i]->SetVisible(false);
    }
}

namespace {
ChromeLook VisibleLook(const std::array<std::unique_ptr<Image>, 3>& images) {
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (images[i]->Visible())
            return static_cast<ChromeLook>(i);
    }
    return ChromeLook::Normal;
}
}  // namespace

ChromeLook MainWindow::MinLook() const {
    return VisibleLook(Chrome.ImageMin);
}
ChromeLook MainWindow::ExitLook() const {
    return VisibleLook(Chrome.ImageExit);
}

void MainWindow::ImageCaption_MouseDown(MouseButton button) {
    if (button == MouseButton::Left && host_)
        host_->BeginCaptionDrag();
}

void MainWindow::ImageMin_MouseMove() {
    ShowChromeLook(Chrome.ImageMin, ChromeLook::Hover);
}
void MainWindow::ImageMin_MouseDown() {
    ShowChromeLook(Chrome.ImageMin, ChromeLook::Pressed);
}
void MainWindow::ImageMin_MouseUp() {
    if (Chrome.ImageMin[2]->Visible() && host_)
        host_->RequestMinimise();
}

void MainWindow::ImageExit_MouseMove() {
    ShowChromeLook(Chrome.ImageExit, ChromeLook::Hover);
}
void MainWindow::ImageExit_MouseDown() {
    ShowChromeLook(Chrome.ImageExit, ChromeLook::Pressed);
}
void MainWindow::ImageExit_MouseUp() {
    if (Chrome.ImageExit[2]->Visible())
        HideAndArmAd();
}
void MainWindow::ImageExit_Click() {
    HideAndArmAd();
}

void MainWindow::Form_MouseMove() {
    ShowChromeLook(Chrome.ImageMin, ChromeLook::Normal);
    ShowChromeLook(Chrome.ImageExit, ChromeLook::Normal);
    Chrome.LabelAd->SetUnderline(false);
}

void MainWindow::Form_PlatformClose() {
    HideAndArmAd();
}

void MainWindow::HideAndArmAd() {
    if (host_)
        host_->HideWindow();
    TimerAd.SetEnabled(true);
}

void MainWindow::CheckAlwaysOnTop_Click() {
    if (host_)
        host_->SetTopmost(SettingPage.CheckAlwaysOnTop->Value() == 1);
    settings_.WriteFrom(settings::kOntop, *SettingPage.CheckAlwaysOnTop);
}

void MainWindow::CheckAutoMin_Click() {
    settings_.WriteFrom(settings::kAutomin, *SettingPage.CheckAutoMin);
}

void MainWindow::CheckAutoRun_Click() {
    if (SettingPage.CheckAutoRun->Value() != 0) {
        autorun_.SetAutorun();
    } else {
        autorun_.ClearAutorun();
    }
    settings_.WriteFrom(settings::kAutorun, *SettingPage.CheckAutoRun);
}

void MainWindow::CheckNowImproveProcess_Click() {
    settings_.WriteFrom(settings::kEnableImproveProcess, *ProcessPage.CheckNowImproveProcess);
    // Raising switched off: the raised program goes back to normal.
    if (priority_ && ProcessPage.CheckNowImproveProcess->Value() == 0)
        priority_->PutBack();
}
void MainWindow::ComboSpeed_Click() {
    settings_.WriteFrom(settings::kImproveSpeed, *ProcessPage.ComboSpeed);
}
void MainWindow::CheckEnableAutoFreeMemory_Click() {
    settings_.WriteFrom(settings::kEnableFreeMemory, *MemoryPage.CheckEnableAutoFreeMemory);
}
void MainWindow::ComboInterval_Click() {
    settings_.WriteFrom(settings::kAutoFreeMemoryInterval, *MemoryPage.ComboInterval);
}

}  // namespace vellumar
