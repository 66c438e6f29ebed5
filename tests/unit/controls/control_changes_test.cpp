// Which setter of a control tells its window what, and that setting what is
// already there tells nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"

namespace vellumar {
namespace {

struct Recorder : ControlObserver {
    struct Seen {
        ControlChange change;
        int row;
        int column;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    void OnControlChanged(ControlChange change, ChangeDetail detail) override {
        seen.push_back({change, detail.row, detail.column});
    }
};

struct Rig {
    Label label{"Label1", {}, "text", {}};
    CheckBox box{"Check1", {}, "caption", {}};
    ComboList combo{"Combo1", {}, {}};
    ListView list{"List1", {}, {}, {{"A", 100}, {"B", 100}}};
    Recorder recorder;
    Rig() {
        combo.AddItem("one");
        combo.AddItem("two");
        list.AddRow("r0");
        list.AddRow("r1");
        for (Control* control : std::initializer_list<Control*>{&label, &box, &combo, &list})
            control->SetObserver(&recorder);
    }
};

TEST(ControlChanges, EachSetterSendsItsChangeWithItsDetailAndAnUnchangedValueSendsNone) {
    using C = ControlChange;
    const struct {
        const char* what;
        std::function<void(Rig&)> act;
        std::vector<Recorder::Seen> expected;
    } cases[] = {
        {"show hidden", [](Rig& r) { r.label.SetVisible(false); }, {{C::Visible, -1, -1}}},
        {"same visibility", [](Rig& r) { r.label.SetVisible(true); }, {}},
        {"move", [](Rig& r) { r.label.Move(5, 6); }, {{C::Bounds, -1, -1}}},
        {"same place", [](Rig& r) { r.label.Move(0, 0); }, {}},
        {"text", [](Rig& r) { r.label.SetText("new"); }, {{C::Text, -1, -1}}},
        {"same text", [](Rig& r) { r.label.SetText("text"); }, {}},
        {"underline", [](Rig& r) { r.label.SetUnderline(true); }, {{C::Style, -1, -1}}},
        {"same underline", [](Rig& r) { r.label.SetUnderline(false); }, {}},
        {"tool tip", [](Rig& r) { r.label.SetToolTip("tip"); }, {{C::ToolTip, -1, -1}}},
        {"same tool tip", [](Rig& r) { r.label.SetToolTip(""); }, {}},
        {"tick", [](Rig& r) { r.box.SetValue(1); }, {{C::Value, -1, -1}}},
        {"same tick", [](Rig& r) { r.box.SetValue(0); }, {}},
        {"item", [](Rig& r) { r.combo.AddItem("three"); }, {{C::Items, -1, -1}}},
        {"pick", [](Rig& r) { r.combo.SelectIndex(1); }, {{C::Text, -1, -1}, {C::Value, -1, -1}}},
        {"pick none", [](Rig& r) { r.combo.SelectIndex(-1); }, {}},
        {"pick beyond", [](Rig& r) { r.combo.SelectIndex(2); }, {}},
        {"row", [](Rig& r) { r.list.AddRow("r2"); }, {{C::RowAdded, 2, 0}}},
        {"cell", [](Rig& r) { r.list.SetCell(1, 1, "x"); }, {{C::CellChanged, 1, 1}}},
        {"cell beyond", [](Rig& r) { r.list.SetCell(2, 0, "x"); }, {}},
        {"scroll", [](Rig& r) { r.list.EnsureVisible(1); }, {{C::ScrollToRow, 1, -1}}},
        {"scroll beyond", [](Rig& r) { r.list.EnsureVisible(5); }, {}},
        {"select", [](Rig& r) { r.list.SelectRow(0); }, {{C::Selection, -1, -1}}},
        {"same selection", [](Rig& r) { r.list.SelectRow(-1); }, {}},
        {"clear", [](Rig& r) { r.list.Clear(); }, {{C::RowsCleared, -1, -1}}},
        {"remove row", [](Rig& r) { r.list.RemoveRow(1); }, {{C::RowRemoved, 1, -1}}},
        {"icon without a list", [](Rig& r) { r.list.SetRowIcon(0, "k"); }, {}},
    };
    for (const auto& c : cases) {
        Rig rig;
        c.act(rig);
        EXPECT_EQ(rig.recorder.seen, c.expected) << c.what;
    }
}

}  // namespace
}  // namespace vellumar
