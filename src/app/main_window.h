#pragma once
// FormVellumar, the main window, as a portable object: its chrome (title
// strip, minimise and close images with their normal, hover and pressed
// looks), the six page buttons with their labels, the six page panels, the
// Setting and About pages, the settings controls of the other pages, and the
// main window's timers. It owns the handlers of these controls; effects on
// the window itself (hide, minimise, topmost, drag) go through
// MainWindowHost, which the Win32 frame implements.
//
// Startup (app/startup.h) runs the load sequence on this object; the Win32
// frame creates one child window per control and mirrors their state.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/autorun.h"
#include "app/settings.h"
#include "controls/controls.h"
#include "controls/image_list.h"
#include "engine/ad_line.h"
#include "engine/memory_release.h"
#include "engine/process_priority.h"
#include "platform/product.h"
#include "platform/session.h"
#include "platform/system.h"
#include "platform/timer.h"

namespace vellumar {

inline constexpr std::string_view kProgramTitle = kProgramName;
inline constexpr std::string_view kSubtitle = "Three ways to a faster PC";

// Client size of the main window in twips (786 x 557 pixels).
inline constexpr int kWindowWidthTwips = 11790;
inline constexpr int kWindowHeightTwips = 8355;
inline constexpr int kPanelLeftTwips = 3840;
inline constexpr int kPanelTopTwips = 2160;

enum class Page { State, Process, CPU, Memory, Setting, About };
inline constexpr std::array<Page, 6> kPageOrder = {Page::State,  Page::Process, Page::CPU,
                                                   Page::Memory, Page::Setting, Page::About};

// Pictures of the window, by role; the frame maps each to its bitmap.
enum PictureId : int {
    kPictureTitleStrip,
    kPictureMinNormal,
    kPictureMinHover,
    kPictureMinPressed,
    kPictureExitNormal,
    kPictureExitHover,
    kPictureExitPressed,
    kPicturePagePlain,
    kPicturePageHighlighted,
    kPictureSetting,
    kPictureLogo,
    kPictureState,
    kPictureProcess,
    kPictureMemory,
    kPictureCount
};

// The three looks of a chrome button; one image of each is visible.
enum class ChromeLook { Normal = 0, Hover = 1, Pressed = 2 };

class MainWindowHost {
  public:
    virtual ~MainWindowHost() = default;
    virtual void HideWindow() = 0;
    // Whether the window is shown (a minimised window counts as shown).
    virtual bool WindowShown() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    // Asks the platform for its ordinary minimise (SC_MINIMIZE).
    virtual void RequestMinimise() = 0;
    // Lets the platform move the window with the mouse until the button is
    // released, as a press on a title bar does.
    virtual void BeginCaptionDrag() = 0;
    virtual void MoveWindowTwips(double left, double top) = 0;
    virtual void ScreenSizeTwips(double& width, double& height) = 0;
};

// What the speed-up engine of the pages works on.
struct SystemServices {
    Desktop& desktop;
    Processes& processes;
    MemoryStatus& memory;
    Clock& clock;
    MessagePump& pump;
    RandomSource& random;
    MessageBoxes& boxes;
};

struct PageControls {
    Page page;
    std::array<std::unique_ptr<Image>, 2> button;  // 0 plain, 1 highlighted
    std::unique_ptr<Label> label;
    std::unique_ptr<Panel> panel;
};

// The chrome: caption, title, minimise and close images, the advertisement.
struct ChromeControls {
    std::unique_ptr<Image> ImageCaption;
    std::unique_ptr<Label> Label9;
    std::array<std::unique_ptr<Image>, 3> ImageMin;
    std::array<std::unique_ptr<Image>, 3> ImageExit;
    std::unique_ptr<Label> Label8;
    std::unique_ptr<Label> Label4;
    std::unique_ptr<Label> Label38;
    std::unique_ptr<Label> LabelAd;
};

struct SettingPageControls {
    std::unique_ptr<Image> Image3;
    std::unique_ptr<Label> Label27;
    std::unique_ptr<CheckBox> CheckAutoRun;
    std::unique_ptr<CheckBox> CheckAutoMin;
    std::unique_ptr<CheckBox> CheckAlwaysOnTop;
};

struct AboutPageControls {
    std::unique_ptr<Label> Label26;
    std::unique_ptr<Label> Label33;
    std::unique_ptr<Label> Label34;
    std::unique_ptr<Label> LabelHomepage;
    std::unique_ptr<Image> ImageIcon;
};

// The page owns its controls except these, which the window reads too.
struct ProcessPageControls {
    std::unique_ptr<CheckBox> CheckNowImproveProcess;
    std::unique_ptr<ComboList> ComboSpeed;
    Label* LabelImprovedCount = nullptr;
    Label* LabelNowImproveProcess = nullptr;
    ListView* ListViewHistory = nullptr;
};

struct MemoryPageControls {
    std::unique_ptr<CheckBox> CheckEnableAutoFreeMemory;
    std::unique_ptr<ComboList> ComboInterval;
    Label* LabelMemoryAll = nullptr;
    Label* LabelMemoryUsed = nullptr;
    Label* LabelMemoryLeft = nullptr;
    Label* LabelMemoryUsedPercent = nullptr;
    PushButton* CommandFreeMemory = nullptr;
    ListView* ListViewMemoryLog = nullptr;
};

// ImageListProcesses holds the icons of ListViewProcesses.
struct CpuPageControls {
    Label* LabelCPULimitedCount = nullptr;
    ListView* ListViewProcesses = nullptr;
    PushButton* CommandRefreshProcess = nullptr;
    PushButton* CommandLimitProcessCPU = nullptr;
    ImageList ImageListProcesses{"ImageListProcesses"};
};

struct StatePageControls {
    Label* LabelTime = nullptr;
    Label* LabelSpeed = nullptr;
    Label* LabelStateNowImproving = nullptr;
    Label* LabelStateProcessLimited = nullptr;
    Label* LabelStateMemoryState = nullptr;
};

class MainWindow {
  public:
    MainWindow(TimerService& timers, SettingsFile& settings, Autorun& autorun,
               SystemServices system);
    ~MainWindow();

    void AttachHost(MainWindowHost* host) { host_ = host; }
    MainWindowHost* Host() const { return host_; }
    SettingsFile& Settings() { return settings_; }

    // --- Startup pieces (run by the load sequence) ---
    void CentreOnScreen();
    // Places the chrome and page images and selects the State page.
    void InitialLayout();
    void FillLists();
    void ReadSettings();

    // --- Page switching ---
    void SelectPage(Page page);
    Page SelectedPage() const { return selected_; }
    PageControls& PageOf(Page page);

    // --- Chrome handlers ---
    void ImageCaption_MouseDown(MouseButton button);
    void ImageMin_MouseMove();
    void ImageMin_MouseDown();
    void ImageMin_MouseUp();
    void ImageExit_MouseMove();
    void ImageExit_MouseDown();
    void ImageExit_MouseUp();
    void ImageExit_Click();
    void Form_MouseMove();
    // A close of the window by the platform (Alt+F4, the taskbar): the window
    // hides like the close image, the program goes on in the notification area.
    void Form_PlatformClose();
    ChromeLook MinLook() const;
    ChromeLook ExitLook() const;

    // --- Setting handlers ---
    void CheckAlwaysOnTop_Click();
    void CheckAutoMin_Click();
    void CheckAutoRun_Click();
    void CheckNowImproveProcess_Click();
    void ComboSpeed_Click();
    void CheckEnableAutoFreeMemory_Click();
    void ComboInterval_Click();

    // Every control directly on the window (not on a page), in z-order from
    // bottom to top, and the page panels.
    const std::vector<Control*>& WindowControls() const { return window_controls_; }

    // The controls of the chrome and of each page, by the names of the form
    // layout. Pages holds each page's item and panel.
    ChromeControls Chrome;
    std::array<PageControls, 6> Pages;
    SettingPageControls SettingPage;
    AboutPageControls AboutPage;
    ProcessPageControls ProcessPage;
    MemoryPageControls MemoryPage;
    CpuPageControls CpuPage;
    StatePageControls StatePage;

    // The speed-up engine behind the Process and Memory pages.
    PriorityRaiser& Priority() { return *priority_; }
    MemoryRelease& Memory() { return *memory_; }

    // A control of the window or of a page by its name; nullptr if none.
    Control* FindControl(std::string_view name) const;

    // Timers of the main window; they run from startup to exit, shown or hidden.
    Timer TimerProcess;
    Timer TimerCPU;
    Timer TimerMemory;
    Timer TimerOnTimeState;
    Timer TimerState;
    Timer TimerTrayIcon;
    Timer TimerAd;

    // Frame of the notification-icon animation, 1 to 6.
    int TrayIconFrame = 0;

  private:
    void BuildChrome();
    void BuildPages();
    void BuildSettingPage(Panel& panel);
    void BuildAboutPage(Panel& panel);
    void BuildProcessPage(Panel& panel);
    void BuildCpuPage(Panel& panel);
    void BuildMemoryPage(Panel& panel);
    void BuildStatePage(Panel& panel);
    void BuildStateLegend(Panel& panel);
    void StartEngine(SystemServices system);
    // Creates a control on a page; the window keeps it for its lifetime.
    template <typename T, typename... Args>
    T& Own(Panel& panel, Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& result = *control;
        panel.Add(result);
        owned_.push_back(std::move(control));
        return result;
    }
    void ShowChromeLook(std::array<std::unique_ptr<Image>, 3>& images, ChromeLook look);
    void HideAndArmAd();

    SettingsFile& settings_;
    Autorun& autorun_;
    MainWindowHost* host_ = nullptr;
    Page selected_ = Page::State;
    std::vector<Control*> window_controls_;
    std::vector<std::unique_ptr<Control>> owned_;
    std::unique_ptr<PriorityRaiser> priority_;
    std::unique_ptr<MemoryRelease> memory_;
};

std::string_view PageName(Page page);

}  // namespace vellumar
