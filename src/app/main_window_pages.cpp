// The contents of the State, Process and Memory pages, and the speed-up
// engine that works on them.

#include <string>

#include "app/form_styles.h"
#include "app/main_window.h"
#include "monitor/cpu_monitor.h"

namespace vellumar {

using namespace form_styles;

void MainWindow::BuildProcessPage(Panel& panel) {
    const TextStyle& text = kSimSunFont;
    Own<Label>(panel, "Label12", TwipsRect{360, 240, 1305, 210}, "The first way", kHeadingFont);
    Own<Label>(panel, "Label10", TwipsRect{360, 480, 6645, 930},
               "Give active processes higher priority\n"
               "The higher priority, the process obtains the more system resources, run "
               "faster.Vellumar can increase the priority of active processes automatically, "
               "reduce the priority of the process of illegal actionautomatically.so that the "
               "active software runs more faster then before.",
               text);
    Own<Shape>(panel, "Shape8", TwipsRect{360, 1440, 6555, 1605}, Shape::Kind::Rectangle,
               kFrameGrey);
    Own<Image>(panel, "Image2", TwipsRect{480, 1560, 450, 465}, kPictureProcess, "Priority");

    ProcessPage.CheckNowImproveProcess = std::make_unique<CheckBox>(
        "CheckNowImproveProcess", TwipsRect{1200, 1560, 1935, 255}, "Enable improve", text);
    ProcessPage.CheckNowImproveProcess->onClick = [this] { CheckNowImproveProcess_Click(); };
    panel.Add(*ProcessPage.CheckNowImproveProcess);
    Own<Label>(panel, "Label3", TwipsRect{2040, 1920, 645, 180}, "Priority:", text);
    ProcessPage.ComboSpeed =
        std::make_unique<ComboList>("ComboSpeed", TwipsRect{3000, 1920, 1815, 300}, text);
    ProcessPage.ComboSpeed->onClick = [this] { ComboSpeed_Click(); };
    panel.Add(*ProcessPage.ComboSpeed);

    Own<Label>(panel, "Label28", TwipsRect{1290, 2400, 1395, 180}, "Improved count:", text);
    ProcessPage.LabelImprovedCount =
        &Own<Label>(panel, "LabelImprovedCount", TwipsRect{3000, 2400, 1815, 255}, "None",
                    WithColor(text, kOrange));
    Own<Label>(panel, "Label11", TwipsRect{1410, 2640, 1275, 180}, "Now improving:", text);
    ProcessPage.LabelNowImproveProcess =
        &Own<Label>(panel, "LabelNowImproveProcess", TwipsRect{3000, 2640, 3735, 255}, "None",
                    WithColor(text, kGreen));

    Own<Label>(panel, "Label13", TwipsRect{360, 3240, 435, 210}, "Log:", kHeadingFont);
    Own<Shape>(panel, "Shape6", TwipsRect{360, 3480, 6555, 1845}, Shape::Kind::Rectangle,
               kFrameGrey);
    ProcessPage.ListViewHistory =
        &Own<ListView>(panel, "ListViewHistory", TwipsRect{390, 3495, 6480, 1800}, kWindowFont,
                       std::vector<ListView::Column>{
                           {"NO.", 600}, {"Time", 1000}, {"Target", 2800}, {"Priority", 1440}});
}

void MainWindow::BuildCpuPage(Panel& panel) {
    const TextStyle& text = kSimSunFont;
    Own<Label>(panel, "Label22", TwipsRect{360, 240, 1590, 210}, "The second way", kHeadingFont);
    Own<Label>(panel, "Label21", TwipsRect{360, 480, 6645, 1050},
               "Limit CPU usage of special process\n"
               "If any process use to much CPU(for example 90%).other software will run very "
               "slowly.or even crashes.\n"
               "when you don't want some process to eat too much CPU.just use this function.\n"
               "This can ensure computer has sufficient CPU resources are available.",
               text);
    Own<Label>(panel, "Label24", TwipsRect{360, 1560, 1200, 180}, "Limited count:", text);
    CpuPage.LabelCPULimitedCount =
        &Own<Label>(panel, "LabelCPULimitedCount", TwipsRect{1800, 1560, 105, 180}, "0", text);
    CpuPage.LabelCPULimitedCount->SetAutoSize(true);
    Own<Shape>(panel, "Shape9", TwipsRect{360, 1920, 6615, 2655}, Shape::Kind::Rectangle,
               kFrameGrey);
    CpuPage.ListViewProcesses = &Own<ListView>(
        panel, "ListViewProcesses", TwipsRect{375, 1935, 6585, 2625}, kWindowFont,
        std::vector<ListView::Column>{
            {"ID", 800}, {"PID", 800}, {"Process", 2600}, {"CPU Usage limited", 2000}});
    CpuPage.ListViewProcesses->SetOnDemand(true);
    CpuPage.CommandRefreshProcess = &Own<PushButton>(panel, "CommandRefreshProcess",
                                                     TwipsRect{840, 4800, 1455, 375}, "Refresh");
    CpuPage.CommandLimitProcessCPU = &Own<PushButton>(panel, "CommandLimitProcessCPU",
                                                      TwipsRect{2520, 4800, 1455, 375}, "Limit");
}

void MainWindow::BuildMemoryPage(Panel& panel) {
    const TextStyle& text = kSimSunFont;
    Own<Label>(panel, "Label19", TwipsRect{360, 240, 1365, 210}, "The third way", kHeadingFont);
    Own<Label>(panel, "Label20", TwipsRect{360, 480, 6645, 570},
               "Intelligent release memory\nso that the system has sufficient memory available "
               "to the active application.",
               text);
    Own<Label>(panel, "Label40", TwipsRect{360, 1080, 1350, 210}, "Memory state", kHeadingFont);
    Own<Shape>(panel, "Shape12", TwipsRect{360, 1440, 6555, 465}, Shape::Kind::Rectangle,
               kFrameGrey);

    auto figure = [&](const char* caption_name, TwipsRect caption_place, const char* caption,
                      const char* name, TwipsRect place, const char* initial, ColorRef color) {
        Own<Label>(panel, caption_name, caption_place, caption, text);
        Label& value = Own<Label>(panel, name, place, initial, WithColor(text, color));
        value.SetAutoSize(true);
        return &value;
    };
    MemoryPage.LabelMemoryAll = figure("Label30", {600, 1560, 270, 180}, "All:", "LabelMemoryAll",
                                       {960, 1560, 405, 180}, "0 MB", kDarkGrey);
    MemoryPage.LabelMemoryUsed =
        figure("Label31", {2040, 1560, 495, 180}, "Used:", "LabelMemoryUsed",
               {2640, 1560, 405, 180}, "0 MB", kRed);
    MemoryPage.LabelMemoryLeft =
        figure("Label32", {3720, 1560, 390, 180}, "Left:", "LabelMemoryLeft",
               {4200, 1560, 405, 180}, "0 MB", kGreen);
    MemoryPage.LabelMemoryUsedPercent =
        figure("Label29", {5160, 1560, 885, 180}, "Used rate:", "LabelMemoryUsedPercent",
               {6240, 1560, 375, 180}, "30%", kRed);

    MemoryPage.CommandFreeMemory = &Own<PushButton>(
        panel, "CommandFreeMemory", TwipsRect{1560, 2040, 3495, 495}, "release memory now");
    MemoryPage.CommandFreeMemory->onClick = [this] { memory_->CommandFreeMemory_Click(); };

    Own<Shape>(panel, "Shape10", TwipsRect{360, 2760, 6555, 1005}, Shape::Kind::Rectangle,
               kFrameGrey);
    Own<Image>(panel, "Image4", TwipsRect{480, 2880, 450, 465}, kPictureMemory, "Memory");
    MemoryPage.CheckEnableAutoFreeMemory =
        std::make_unique<CheckBox>("CheckEnableAutoFreeMemory", TwipsRect{1200, 2880, 3735, 255},
                                   "Automatic release memory", text);
    MemoryPage.CheckEnableAutoFreeMemory->onClick = [this] { CheckEnableAutoFreeMemory_Click(); };
    panel.Add(*MemoryPage.CheckEnableAutoFreeMemory);
    Own<Label>(panel, "Label23", TwipsRect{1560, 3240, 720, 180}, "Interval:", text);
    MemoryPage.ComboInterval =
        std::make_unique<ComboList>("ComboInterval", TwipsRect{2400, 3240, 1815, 300}, text);
    MemoryPage.ComboInterval->onClick = [this] { ComboInterval_Click(); };
    panel.Add(*MemoryPage.ComboInterval);

    Own<Label>(panel, "Label25", TwipsRect{360, 3840, 360, 210}, "Log", kHeadingFont);
    Own<Shape>(panel, "Shape7", TwipsRect{360, 4200, 6555, 1245}, Shape::Kind::Rectangle,
               kFrameGrey);
    MemoryPage.ListViewMemoryLog = &Own<ListView>(
        panel, "ListViewMemoryLog", TwipsRect{375, 4215, 6495, 1215}, kWindowFont,
        std::vector<ListView::Column>{{"NO.", 600}, {"Time", 1440}, {"Event", 3600}});
}

void MainWindow::BuildStatePage(Panel& panel) {
    Own<Image>(panel, "Image1", TwipsRect{2400, 175, 975, 555}, kPictureState, "Speedup state");
    Own<Label>(panel, "Label36", TwipsRect{840, 360, 1410, 210}, "Speedup state", kHeadingFont);
    Own<Shape>(panel, "Shape11", TwipsRect{720, 735, 6195, 1965}, Shape::Kind::RoundedRectangle,
               kFrameGrey);
    Own<Label>(panel, "Label7", TwipsRect{840, 3000, 2220, 210}, "System resource state",
               kHeadingFont);
    // The live graph of the five system levels, with its legend below.
    Own<CpuMonitorPlace>(panel, "CpuMonitorState", TwipsRect{720, 3360, 6255, 855},
                         CpuMonitorStateProperties());

    // The five figures: a caption ending near x = 3045, its value at 3120.
    const TextStyle caption_font = Font("Verdana", 7.5, true, kDarkGrey);
    constexpr int kCaptionRight = 3045;
    constexpr int kCaptionWidth = 2205;
    constexpr int kValueLeft = 3120;
    auto figure = [&](const char* caption_name, const char* caption, int top, const char* name,
                      const char* initial, ColorRef color, int width = 600, int height = 180) {
        Label& label = Own<Label>(panel, caption_name,
                                  TwipsRect{kCaptionRight - kCaptionWidth, top, kCaptionWidth, 180},
                                  caption, caption_font);
        label.SetAlignRight(true);
        Label& value = Own<Label>(panel, name, TwipsRect{kValueLeft, top, width, height}, initial,
                                  WithColor(kSimSunFont, color));
        return &value;
    };
    StatePage.LabelTime = figure("Label35", "Time:", 840, "LabelTime", "time", Rgb(0, 0, 0));
    StatePage.LabelSpeed = figure("Label1", "Your PC faster:", 1200, "LabelSpeed", "0%", kRed);
    StatePage.LabelStateNowImproving = figure("Label2", "Now improving:", 1560,
                                              "LabelStateNowImproving", "None", kGreen, 3615, 210);
    StatePage.LabelStateProcessLimited = figure("Label5", "Process limited count:", 1920,
                                                "LabelStateProcessLimited", "0", Rgb(192, 0, 192));
    StatePage.LabelStateMemoryState =
        figure("Label6", "Memory usage:", 2280, "LabelStateMemoryState", "0", kOrange);
    for (Label* value : {StatePage.LabelTime, StatePage.LabelSpeed,
                         StatePage.LabelStateProcessLimited, StatePage.LabelStateMemoryState}) {
        value->SetAutoSize(true);
    }
    BuildStateLegend(panel);
}

void MainWindow::BuildStateLegend(Panel& panel) {
    // The legend of the five series under the graph: each series' square
    // in its colour, and its caption.
    struct LegendEntry {
        Series series;
        const char* shape;
        int shape_left;
        const char* label;
        int label_left;
    };
    const LegendEntry legend[] = {
        {Series::Cpu, "Shape1", 600, "Label14", 840},
        {Series::MemoryLoad, "Shape2", 1440, "Label15", 1680},
        {Series::PageFile, "Shape3", 2640, "Label16", 2880},
        {Series::HD, "Shape5", 4080, "Label18", 4320},
        {Series::VirtualMemory, "Shape4", 5520, "Label17", 5760},
    };
    constexpr int kLegendTop = 4440;
    for (const LegendEntry& entry : legend) {
        const SeriesTraits& traits = TraitsOf(entry.series);
        Shape& square =
            Own<Shape>(panel, entry.shape, TwipsRect{entry.shape_left, kLegendTop, 135, 135},
                       Shape::Kind::RoundedRectangle, traits.default_color);
        square.SetFill(traits.default_color);
        Own<Label>(panel, entry.label, TwipsRect{entry.label_left, kLegendTop - 15, 600, 180},
                   std::string(traits.legend), kSimSunFont)
            .SetAutoSize(true);
    }
}

void MainWindow::StartEngine(SystemServices system) {
    priority_ = std::make_unique<PriorityRaiser>(
        system.desktop, system.processes, system.clock, system.random,
        PriorityControls{*ProcessPage.CheckNowImproveProcess, *ProcessPage.ComboSpeed,
                         *ProcessPage.LabelNowImproveProcess, *StatePage.LabelStateNowImproving,
                         *StatePage.LabelSpeed, *ProcessPage.LabelImprovedCount,
                         *ProcessPage.ListViewHistory});
    memory_ = std::make_unique<MemoryRelease>(
        system.processes, system.memory, system.pump, system.clock, system.boxes,
        std::string(kProgramTitle),
        MemoryControls{*MemoryPage.LabelMemoryAll, *MemoryPage.LabelMemoryUsed,
                       *MemoryPage.LabelMemoryLeft, *MemoryPage.LabelMemoryUsedPercent,
                       *StatePage.LabelStateMemoryState, *MemoryPage.ListViewMemoryLog,
                       *MemoryPage.CheckEnableAutoFreeMemory, *MemoryPage.ComboInterval});
    TimerProcess.SetHandler([this] { priority_->Tick(); });
    TimerMemory.SetHandler([this] { memory_->TimerMemory_Timer(); });
    TimerOnTimeState.SetHandler([this] { memory_->ShowMemoryState(); });
    TimerState.SetHandler(
        [this, &clock = system.clock] { StatePage.LabelTime->SetText(clock.TimeOfDayText()); });
}

Control* MainWindow::FindControl(std::string_view name) const {
    for (Control* control : window_controls_) {
        if (control->Name() == name)
            return control;
        if (auto* panel = dynamic_cast<Panel*>(control)) {
            for (Control* child : panel->Children()) {
                if (child->Name() == name)
                    return child;
            }
        }
    }
    return nullptr;
}

}  // namespace vellumar
