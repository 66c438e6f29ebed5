#pragma once
// FormSetProcessCpuPercent: the modal dialog in which a CPU-usage limit is
// set, changed or released. The Limit command (engine/process_limits.h)
// fills it for the selected row of ListViewProcesses and shows it in one of
// two modes: a new limit ("OK", "Cancel") or an existing one ("Adjustment",
// "Release"). Each button writes the table and the row, then unloads the
// dialog, so the next opening starts again from the initial state.
//
// The window (app/win32/cpu_limit_dialog_window.h) creates one child window
// per control, runs the dialog modally, owned by the main window, and ends
// it when the form unloads.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"
#include "controls/image_list.h"
#include "controls/slider.h"
#include "platform/system.h"

namespace vellumar {

class ProcessLimits;

inline constexpr std::string_view kCpuLimitDialogCaption = "Process CPU usage limit";
// Client size of the dialog in twips.
inline constexpr int kCpuLimitDialogWidthTwips = 7080;
inline constexpr int kCpuLimitDialogHeightTwips = 3525;

class CpuLimitDialogHost {
  public:
    virtual ~CpuLimitDialogHost() = default;
    // Shows the dialog modally, owned by the main window; returns when the
    // form has unloaded.
    virtual void ShowModal() = 0;
    // Ends a dialog that is shown; nothing otherwise.
    virtual void Close() = 0;
};

enum class CpuLimitMode { NewLimit, ExistingLimit };

class FormSetProcessCpuPercent {
  public:
    // `list` is ListViewProcesses, whose selected row the buttons write.
    FormSetProcessCpuPercent(ProcessLimits& limits, ListView& list);
    FormSetProcessCpuPercent(const FormSetProcessCpuPercent&) = delete;
    FormSetProcessCpuPercent& operator=(const FormSetProcessCpuPercent&) = delete;

    void AttachHost(CpuLimitDialogHost* host) { host_ = host; }
    // Whether the dialog is on the screen (the tray icon's gate and the
    // advertisement line ask).
    bool Shown() const { return shown_; }
    // Shows the buttons of one mode and hides the other pair.
    void SetMode(CpuLimitMode mode);
    CpuLimitMode Mode() const { return mode_; }
    // Shows the dialog modally; returns once it has unloaded.
    void ShowModal();
    // Closes the dialog and puts every control back to its initial state.
    void Unload();

    void CommandOK_Click();
    void CommandCancel_Click();
    void CommandModify_Click();
    void CommandFree_Click();
    void SliderPercent_Change();

    // The dialog's controls in tab order (captions and pictures first).
    const std::vector<Control*>& Controls() const { return controls_; }
    // The button that Enter presses in the current mode, and the one Esc
    // presses (nullptr when the mode has none).
    PushButton* DefaultButton() const;
    PushButton* CancelButton() const;

    Label Label1;
    Label Label2;
    Label Label3;
    Label LabelProcessPID;
    Label LabelProcessPath;
    IconView ImageProcessIco;
    Slider SliderPercent;
    Label LabelPercent;
    PushButton CommandModify;
    PushButton CommandFree;
    PushButton CommandOK;
    PushButton CommandCancel;

  private:
    ProcessId ShownPid() const;
    void WriteSelectedRow(const std::string& text);
    void ResetControls();

    ProcessLimits& limits_;
    ListView& list_;
    CpuLimitDialogHost* host_ = nullptr;
    bool shown_ = false;
    CpuLimitMode mode_ = CpuLimitMode::NewLimit;
    std::vector<Control*> controls_;
};

}  // namespace vellumar
