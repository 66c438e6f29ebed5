#include "engine/cpu_limit_dialog.h"

#include <charconv>

#include "engine/process_limits.h"

namespace vellumar {

namespace {

TextStyle DialogFont() {
    TextStyle style;
    style.face = "Verdana";
    style.points = 7.5;
    return style;
}

constexpr int kSliderMin = 1;
constexpr int kSliderMax = 99;
constexpr int kNewLimitPercent = 99;

}  // namespace

FormSetProcessCpuPercent::FormSetProcessCpuPercent(ProcessLimits& limits, ListView& list)
    : Label1("Label1", TwipsRect{1290, 240, 375, 180}, "PID:", DialogFont()),
      Label2("Label2", TwipsRect{960, 600, 705, 180}, "Process:", DialogFont()),
      Label3("Label3", TwipsRect{600, 1200, 1110, 180}, "Rate to limit:", DialogFont()),
      LabelProcessPID("LabelProcessPID", TwipsRect{1800, 240, 105, 180}, "0", DialogFont()),
      LabelProcessPath("LabelProcessPath", TwipsRect{1800, 600, 4485, 570}, "Unknown",
                       DialogFont()),
      ImageProcessIco("ImageProcessIco", TwipsRect{120, 120, 615, 615}, "Process icon"),
      SliderPercent("SliderPercent", TwipsRect{1800, 1200, 4335, 615}, kSliderMin, kSliderMax,
                    kNewLimitPercent),
      LabelPercent("LabelPercent", TwipsRect{6360, 1440, 615, 495}, "99", DialogFont()),
      CommandModify("CommandModify", TwipsRect{2040, 2160, 1335, 375}, "Adjustment"),
      CommandFree("CommandFree", TwipsRect{3600, 2160, 1335, 375}, "Release"),
      CommandOK("CommandOK", TwipsRect{2040, 2640, 1335, 375}, "OK"),
      CommandCancel("CommandCancel", TwipsRect{3600, 2640, 1335, 375}, "Cancel"),
      limits_(limits),
      list_(list) {
    LabelProcessPID.SetAutoSize(true);
    SliderPercent.onChange = [this] { SliderPercent_Change(); };
    CommandOK.onClick = [this] { CommandOK_Click(); };
    CommandCancel.onClick = [this] { CommandCancel_Click(); };
    CommandModify.onClick = [this] { CommandModify_Click(); };
    CommandFree.onClick = [this] { CommandFree_Click(); };
    controls_ = {&ImageProcessIco,  &Label1,      &LabelProcessPID, &Label2,
                 &LabelProcessPath, &Label3,      &SliderPercent,   &LabelPercent,
                 &CommandModify,    &CommandFree, &CommandOK,       &CommandCancel};
    SetMode(CpuLimitMode::NewLimit);
}

void FormSetProcessCpuPercent::SetMode(CpuLimitMode mode) {
    mode_ = mode;
    const bool existing = mode == CpuLimitMode::ExistingLimit;
    CommandModify.SetVisible(existing);
    CommandFree.SetVisible(existing);
    CommandOK.SetVisible(!existing);
    CommandCancel.SetVisible(!existing);
}

PushButton* FormSetProcessCpuPercent::DefaultButton() const {
    return const_cast<PushButton*>(mode_ == CpuLimitMode::NewLimit ? &CommandOK : &CommandModify);
}

PushButton* FormSetProcessCpuPercent::CancelButton() const {
    return mode_ == CpuLimitMode::NewLimit ? const_cast<PushButton*>(&CommandCancel) : nullptr;
}

void FormSetProcessCpuPercent::ShowModal() {
    shown_ = true;
    if (host_)
        host_->ShowModal();
    // A dialog that could not be shown, or went with its owner, has unloaded.
    if (shown_)
        Unload();
}

void FormSetProcessCpuPercent::Unload() {
    const bool was_shown = shown_;
    shown_ = false;
    if (was_shown && host_)
        host_->Close();
    ResetControls();
}

void FormSetProcessCpuPercent::ResetControls() {
    LabelProcessPID.SetText("0");
    LabelProcessPath.SetText("Unknown");
    ImageProcessIco.SetPicture(nullptr);
    SliderPercent.SetValue(kNewLimitPercent);
    LabelPercent.SetText(std::to_string(SliderPercent.Value()));
    SetMode(CpuLimitMode::NewLimit);
}

ProcessId FormSetProcessCpuPercent::ShownPid() const {
    const std::string& text = LabelProcessPID.Text();
    ProcessId pid = 0;
    std::from_chars(text.data(), text.data() + text.size(), pid);
    return pid;
}

void FormSetProcessCpuPercent::WriteSelectedRow(const std::string& text) {
    list_.SetCell(list_.SelectedRow(), kColumnLimit, text);
}

void FormSetProcessCpuPercent::CommandOK_Click() {
    // Three limits held leaves no slot: the Limit command refuses before
    // showing the dialog, so only a race gets here, and then nothing changes.
    if (ProcessLimit* slot = limits_.FirstFree()) {
        slot->InUse = true;
        slot->PID = ShownPid();
        slot->Path = LabelProcessPath.Text();
        slot->LimitPercent = SliderPercent.Value();
        WriteSelectedRow(std::to_string(SliderPercent.Value()) + "%");
    }
    Unload();
}

void FormSetProcessCpuPercent::CommandModify_Click() {
    if (ProcessLimit* slot = limits_.FirstWithPid(ShownPid()))
        slot->LimitPercent = SliderPercent.Value();
    WriteSelectedRow(std::to_string(SliderPercent.Value()) + "%");
    Unload();
}

void FormSetProcessCpuPercent::CommandFree_Click() {
    if (ProcessLimit* slot = limits_.FirstWithPid(ShownPid()))
        slot->InUse = false;
    WriteSelectedRow("");
    Unload();
}

void FormSetProcessCpuPercent::CommandCancel_Click() {
    Unload();
}

void FormSetProcessCpuPercent::SliderPercent_Change() {
    LabelPercent.SetText(std::to_string(SliderPercent.Value()));
}

}  // namespace vellumar
