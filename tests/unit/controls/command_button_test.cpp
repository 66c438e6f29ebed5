// The Command model: property errors, palette, access keys, persistence,
// region and the input state machine with its events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_instances.h"
#include "command_test_support.h"
#include "controls/command_button.h"

namespace vellumar::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Records the events a button raises, in order.
struct EventLog {
    explicit EventLog(CommandButton& button) {
        CommandEvents& e = button.Events();
        e.Click = [this] { names.push_back("Click"); };
        e.KeyDown = [this](std::int16_t& key, std::int16_t&) {
            names.push_back("KeyDown " + std::to_string(key));
        };
        e.KeyPress = [this](std::int16_t& key) {
            names.push_back("KeyPress " + std::to_string(key));
        };
        e.KeyUp = [this](std::int16_t& key, std::int16_t&) {
            names.push_back("KeyUp " + std::to_string(key));
        };
        e.MouseDown = [this](std::int16_t& b, std::int16_t&, float&, float&) {
            names.push_back("MouseDown " + std::to_string(b));
        };
        e.MouseMove = [this](std::int16_t& b, std::int16_t&, float&, float&) {
            names.push_back("MouseMove " + std::to_string(b));
        };
        e.MouseUp = [this](std::int16_t& b, std::int16_t&, float&, float&) {
            names.push_back("MouseUp " + std::to_string(b));
        };
        e.MouseOut = [this] { names.push_back("MouseOut"); };
    }
    std::vector<std::string> names;
};

TEST(CommandProperties, ErrorsCarryTheirNumberAndLeaveTheValue) {
    CommandRig rig;
    const int paints = rig.host.paints;
    for (const int bad : {-1, 101, 32767}) {
        try {
            rig.button.SetPercent(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const PropertyError& e) {
            EXPECT_EQ(e.Number(), 380);
        }
    }
    EXPECT_EQ(rig.button.Percent(), 16);
    EXPECT_EQ(rig.host.paints, paints);
    rig.button.SetPercent(100);
    EXPECT_EQ(rig.button.Percent(), 100);

    try {
        rig.button.SetHWnd(42);
        ADD_FAILURE();
    } catch (const PropertyError& e) {
        EXPECT_EQ(e.Number(), 382);
    }
    EXPECT_EQ(rig.button.hWnd(), 0x5150u);

    RasterHost host(20, 20);
    ManualTimerService timers;
    CommandButton designed(host, timers, "Command1", ControlMode::kDesignTime);
    try {
        designed.SetHWnd(42);
        ADD_FAILURE();
    } catch (const PropertyError& e) {
        EXPECT_EQ(e.Number(), 387);
    }
}

TEST(CommandProperties, CreationDefaultsAndChangeNotices) {
    RasterHost host(20, 20);
    ManualTimerService timers;
    CommandButton button(host, timers, "Command7");
    EXPECT_EQ(button.Caption(), "Command7");
    EXPECT_EQ(host.window_text, "Command7");
    EXPECT_EQ(button.BackColor(), kSysBtnFace);
    EXPECT_EQ(button.ForeColor(), kSysBtnText);
    EXPECT_EQ(button.Font(), host.window_font);
    EXPECT_EQ(button.LastMouseButton(), 1);
    EXPECT_EQ(button.ButtonState(), 0);
    EXPECT_EQ(button.MouseDownEndColor(), 0u);
    EXPECT_EQ(button.OfficeXpMousemoveFrameColor(), 0x01807Fu);
    EXPECT_EQ(button.rectcolor(), 0x58C3FAu);
    EXPECT_FALSE(timers.IsRunning(button.Timer1()));
    button.SetXpType(3);
    button.SetRectcolor(1);
    EXPECT_THAT(host.changed, ElementsAre("XpType", "rectcolor"));
}

TEST(CommandPalette, SchemesAndTheStyle4ColourSets) {
    CommandRig rig;
    CommandButton& b = rig.button;
    EXPECT_EQ(b.Palette().FaceColor, kSysBtnFace);
    EXPECT_EQ(b.Palette().DarkShadowColor, kSys3DDkShadow);

    b.SetBackColor(Rgb(100, 150, 200));
    b.SetForeColor(Rgb(1, 2, 3));
    b.SetColorScheme(2);
    EXPECT_EQ(b.Palette(),
              (ButtonPalette{Rgb(100, 150, 200), Rgb(131, 181, 231), Rgb(147, 197, 247),
                             Rgb(36, 86, 136), Rgb(0, 0, 8), Rgb(1, 2, 3)}));

    b.SetColorScheme(3);
    EXPECT_EQ(b.Palette(), (ButtonPalette{0xC0C0C0, 0xDFDFDF, 0xFFFFFF, 0x808080, 0, 0}));
    EXPECT_EQ(b.OfficeXpFillColor(), Rgb(236, 233, 216));
    EXPECT_EQ(b.OfficeXpFrameColor(), Rgb(172, 169, 154));
    EXPECT_EQ(b.OfficeXpMousemoveFillColor(), Rgb(193, 210, 238));
    EXPECT_EQ(b.OfficeXpMousemoveFrameColor(), Rgb(49, 105, 198));
    b.SetColorScheme(1);
    EXPECT_EQ(b.OfficeXpFillColor(), Rgb(236, 233, 216));
    EXPECT_EQ(b.Palette().TextColor, Rgb(1, 2, 3));
    b.SetColorScheme(9);  // unknown schemes behave as 1
    EXPECT_EQ(b.Palette().FaceColor, kSysBtnFace);

    b.SetButtonType(4);  // rebuild writes the grey set, then the blue preset wins
    EXPECT_EQ(b.Percent(), 53);
    EXPECT_EQ(b.MidColor(), Rgb(124, 171, 255));
    EXPECT_EQ(b.EndColor(), Rgb(191, 211, 255));
    EXPECT_EQ(b.MouseMoveMidColor(), Rgb(157, 203, 255));
    EXPECT_EQ(b.MouseMoveEndColor(), Rgb(209, 231, 255));
    EXPECT_EQ(b.MouseDownMidColor(), Rgb(100, 153, 255));
    EXPECT_EQ(b.MouseDownEndColor(), Rgb(191, 211, 255));
    b.SetBackColor(Rgb(9, 9, 9));  // scheme 1 with style 4: the grey, blue and orange set
    EXPECT_EQ(b.MidColor(), Rgb(197, 197, 197));
    EXPECT_EQ(b.EndColor(), Rgb(238, 238, 238));
    EXPECT_EQ(b.MouseMoveMidColor(), Rgb(123, 167, 211));
    EXPECT_EQ(b.MouseMoveEndColor(), Rgb(210, 245, 251));
    EXPECT_EQ(b.MouseDownMidColor(), Rgb(227, 167, 105));
    EXPECT_EQ(b.MouseDownEndColor(), Rgb(252, 220, 199));
    EXPECT_EQ(b.Percent(), 53);
}

TEST(CommandAccessKey, FirstSingleAmpersandLookingPastOnePairAtMost) {
    EXPECT_EQ(AccessKeyOf("&Save"), U's');
    EXPECT_EQ(AccessKeyOf("Save &As"), U'a');
    EXPECT_EQ(AccessKeyOf("Fish && Chips"), std::nullopt);
    EXPECT_EQ(AccessKeyOf("A&&B &Bold"), U'b');
    EXPECT_EQ(AccessKeyOf("&"), std::nullopt);
    EXPECT_EQ(AccessKeyOf("End&"), std::nullopt);
    EXPECT_EQ(AccessKeyOf("a&&b&"), std::nullopt);
    EXPECT_EQ(AccessKeyOf("a&&&&b"), std::nullopt);
    EXPECT_EQ(AccessKeyOf("&&&x"), U'x');
    EXPECT_EQ(AccessKeyOf("&\xC3\x84pfel"), U'\u00E4');  // "&Äpfel"
    // Cyrillic and Greek keys, matched whichever case is typed.
    EXPECT_EQ(AccessKeyOf("&\xD0\x91\xD1\x83\xD1\x84\xD0\xB5\xD1\x80"), U'\u0431');  // "&Буфер"
    EXPECT_EQ(AccessKeyOf("\xCE\xA3\xCF\x8D&\xCE\xA9"), U'\u03C9');                  // "Σύ&Ω"

    CommandRig rig;
    rig.button.SetCaption("&Refresh");
    EXPECT_EQ(rig.button.AccessKey(), U'r');
    EXPECT_EQ(rig.host.window_text, "&Refresh");
    EventLog log(rig.button);
    rig.button.OnAccessKeyPress();
    EXPECT_THAT(log.names, ElementsAre("Click"));
    for (const char* caption : {"&\xD0\x91", "&\xD0\xB1"}) {  // "&Б", "&б"
        rig.button.SetCaption(caption);
        EXPECT_TRUE(rig.button.IsAccessKey(U'\u0411') && rig.button.IsAccessKey(U'\u0431'));
        EXPECT_FALSE(rig.button.IsAccessKey(U'\u0412'));
    }
}

TEST(CommandPersistence, ProgramInstancesLoadTheirStoredValues) {
    for (const CommandInstance& instance : ProgramCommandInstances()) {
        CommandRig rig(instance.name);
        EXPECT_EQ(rig.button.Caption(), instance.caption);
        EXPECT_EQ(rig.button.ButtonType(), 1);
        EXPECT_EQ(rig.button.XpType(), 2);
        EXPECT_EQ(rig.button.ColorScheme(), 1);
        EXPECT_EQ(rig.button.Font(), (FontSpec{"Verdana", 7.5, false, false}));
        EXPECT_EQ(rig.host.window_font, rig.button.Font());
        EXPECT_EQ(rig.button.ClientWidth(), instance.width_px);
        EXPECT_EQ(rig.button.ClientHeight(), instance.height_px);
        EXPECT_TRUE(rig.host.region.cutouts.empty());
    }
    EXPECT_EQ(FindCommandInstance("CommandFreeMemory")->width_px, 233);
    EXPECT_EQ(FindCommandInstance("NoSuchButton"), nullptr);
}

TEST(CommandPersistence, DefaultsAreNotWrittenAndSavingFollowsTheKeyTable) {
    CommandRig fresh(40, 20, 1);
    PropertyBag bag;
    fresh.button.WriteProperties(bag);
    EXPECT_THAT(bag.Keys(), ElementsAre("Font", "Caption"));  // "Command1" differs from "wwbutton"

    CommandButton& b = fresh.button;
    b.SetBackColor(1);
    b.SetForeColor(2);
    b.SetCaption("Go");
    b.SetColorScheme(2);
    b.SetShowFocusRect(false);
    b.SetRectcolor(3);
    b.SetPercent(40);
    b.SetMidColor(4);
    b.SetEndColor(5);
    b.SetMouseMoveMidColor(6);
    b.SetMouseMoveEndColor(7);
    b.SetMouseDownMidColor(8);
    b.SetMouseDownEndColor(9);
    b.SetOfficeXpFillColor(10);
    b.SetOfficeXpFrameColor(11);
    b.SetOfficeXpMousemoveFillColor(12);
    b.SetOfficeXpMousemoveFrameColor(13);
    b.SetXpType(3);
    b.SetButtonType(5);
    b.SetEnabled(false);
    PropertyBag all;
    b.WriteProperties(all);
    EXPECT_THAT(all.Keys(), ElementsAreArray({"BackColor",
                                              "ForeColor",
                                              "Enabled",
                                              "Font",
                                              "ButtonType",
                                              "XpType",
                                              "Caption",
                                              "ColorScheme",
                                              "ShowFocusRect",
                                              "rectcolor",
                                              "Percent",
                                              "MidColor",
                                              "EndColor",
                                              "MouseMoveMidColor",
                                              "MouseMoveEndColor",
                                              "MouseDownMidColor",
                                              "MouseDownEndColor",
                                              "OfficeXpFillColor",
                                              "OfficeXpFrameColor",
                                              "OfficeXpMousemoveFillColor",
                                              "OfficeXpMousemoveFrameColor"}));

    RasterHost host(40, 20);
    ManualTimerService timers;
    CommandButton copy(host, timers, "Other");
    copy.ReadProperties(all);
    PropertyBag again;
    copy.WriteProperties(again);
    EXPECT_EQ(again.Entries(), all.Entries());
    EXPECT_FALSE(host.window_enabled);
    EXPECT_EQ(copy.Palette().FaceColor, 1u);
}

TEST(CommandPersistence, StoredColoursOverrideThePaletteRebuild) {
    PropertyBag bag;
    bag.Set("buttontype", std::int32_t{4});  // keys match without regard to case
    bag.Set("MIDCOLOR", std::int32_t{0x123456});
    RasterHost host(60, 24);
    ManualTimerService timers;
    CommandButton button(host, timers, "Command1");
    button.ReadProperties(bag);
    EXPECT_EQ(button.ButtonType(), 4);
    EXPECT_EQ(button.MidColor(), 0x123456u);
    EXPECT_EQ(button.EndColor(), Rgb(215, 246, 215));  // absent: its default, not the grey set
    EXPECT_EQ(button.Caption(), "wwbutton");
    EXPECT_EQ(button.Font(), host.ambient_font);
    EXPECT_EQ(button.Percent(), 16);
    button.SetButtonType(4);
    EXPECT_EQ(button.MidColor(), Rgb(124, 171, 255));

    PropertyBag odd;
    odd.Set("Percent", std::int32_t{500});
    odd.Set("Enabled", std::int32_t{0});
    odd.Set("XpType", std::string("two"));
    button.ReadProperties(odd);
    EXPECT_EQ(button.Percent(), 16);
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(button.XpType(), 1);
    EXPECT_EQ(button.ButtonState(), 0);
}

TEST(CommandRegion, TypesThreeFourEightAndNineCutTheCorners) {
    const std::vector<Rect> expected = {{0, 0, 2, 1},     {0, 24, 2, 25},  {95, 0, 97, 1},
                                        {95, 24, 97, 25}, {0, 1, 1, 2},    {0, 23, 1, 24},
                                        {96, 1, 97, 2},   {96, 23, 97, 24}};
    for (const int type : {3, 4, 8, 9}) EXPECT_EQ(RegionCutouts(type, 97, 25), expected) << type;
    for (const int type : {0, 1, 2, 5, 6, 7, 10}) EXPECT_TRUE(RegionCutouts(type, 97, 25).empty());

    CommandRig rig;
    rig.button.SetButtonType(3);
    EXPECT_EQ(rig.host.region.cutouts, expected);
    EXPECT_EQ(rig.host.region.width, 97);
    rig.host.Resize(50, 30);
    rig.button.OnResize();
    EXPECT_EQ(rig.button.ClientWidth(), 50);
    EXPECT_EQ(rig.button.InnerRect(), (Rect{2, 2, 48, 28}));
    EXPECT_EQ(rig.button.CaptionRect(), (Rect{2, 2, 50, 30}));
    EXPECT_EQ(rig.host.region.cutouts[3], (Rect{48, 29, 50, 30}));
}

TEST(CommandMouse, RightButtonRaisesMouseDownButKeepsTheUpLook) {
    CommandRig rig;
    EventLog log(rig.button);
    rig.button.OnMouseDown(2, 0, 5, 5);
    EXPECT_EQ(rig.button.ButtonState(), 0);
    EXPECT_EQ(rig.button.LastMouseButton(), 2);
    rig.button.OnMouseDown(1, 0, 5, 5);
    rig.button.OnMouseUp(2, 0, 5, 5);
    EXPECT_EQ(rig.button.ButtonState(), 2);  // a right release leaves the state alone
    rig.button.OnMouseMove(2, 0, 5, 5);      // right held: no tracking
    EXPECT_FALSE(rig.timers.IsRunning(rig.button.Timer1()));
    EXPECT_THAT(log.names, ElementsAre("MouseDown 2", "MouseDown 1", "MouseUp 2"));
}

TEST(CommandMouse, HoverStartsTheWatchWhichEndsItOutside) {
    CommandRig rig;
    EventLog log(rig.button);
    rig.host.cursor = {10, 10};
    rig.button.OnMouseMove(0, 0, 10, 10);
    rig.button.OnMouseMove(0, 0, 97, 25);  // the far edge still counts as inside
    EXPECT_TRUE(rig.button.IsHovering());
    EXPECT_TRUE(rig.timers.IsRunning(rig.button.Timer1()));
    EXPECT_EQ(rig.button.Timer1().IntervalMs(), 10);
    rig.timers.Fire(rig.button.Timer1());
    EXPECT_TRUE(rig.button.IsHovering());
    rig.host.cursor = {10, -1};
    rig.timers.Fire(rig.button.Timer1());
    EXPECT_FALSE(rig.button.IsHovering());
    EXPECT_FALSE(rig.timers.IsRunning(rig.button.Timer1()));
    EXPECT_THAT(log.names, ElementsAre("MouseMove 0", "MouseMove 0", "MouseOut"));

    log.names.clear();
    rig.button.OnMouseMove(0, 0, -3, 4);  // outside: the watch starts, nothing else
    EXPECT_TRUE(rig.timers.IsRunning(rig.button.Timer1()));
    EXPECT_FALSE(rig.button.IsHovering());
    EXPECT_TRUE(log.names.empty());
}

TEST(CommandMouse, DragOutAndBackInRestoresTheDownLookWithoutANewPress) {
    CommandRig rig;
    EventLog log(rig.button);
    rig.host.cursor = {5, 5};
    rig.button.OnMouseDown(1, 0, 5, 5);
    rig.button.OnMouseMove(1, 0, 5, 5);
    EXPECT_EQ(rig.button.ButtonState(), 2);
    rig.host.cursor = {120, 5};
    rig.button.OnMouseMove(1, 0, 120, 5);
    rig.timers.Fire(rig.button.Timer1());
    EXPECT_EQ(rig.button.ButtonState(), 0);
    EXPECT_EQ(rig.host.At(5, 23), Rgb(243, 238, 219));  // up body
    rig.host.cursor = {6, 6};
    rig.button.OnMouseMove(1, 0, 6, 6);
    EXPECT_EQ(rig.button.ButtonState(), 2);
    EXPECT_EQ(rig.host.At(5, 23), Rgb(222, 222, 208));  // down body
    EXPECT_THAT(log.names, ElementsAre("MouseDown 1", "MouseMove 1", "MouseOut", "MouseMove 1"));
}

TEST(CommandMouse, ClickAndDoubleClick) {
    CommandRig rig;
    EventLog log(rig.button);
    rig.button.OnMouseDown(1, 0, 5, 5);
    rig.button.OnMouseUp(1, 0, 5, 5);
    rig.button.OnClick();
    EXPECT_EQ(rig.host.refreshes, 1);
    rig.button.OnDoubleClick();
    EXPECT_EQ(rig.button.ButtonState(), 2);
    rig.button.OnMouseUp(1, 0, 5, 5);
    EXPECT_THAT(log.names,
                ElementsAre("MouseDown 1", "MouseUp 1", "Click", "MouseDown 1", "MouseUp 1"));

    // A handler that changes the move's button decides what the control does.
    rig.button.Events().MouseMove = [](std::int16_t& button, std::int16_t&, float&, float&) {
        button = 1;
    };
    rig.button.OnMouseMove(0, 0, 5, 5);
    EXPECT_EQ(rig.button.ButtonState(), 2);
    EXPECT_FALSE(rig.button.IsHovering());
}

TEST(CommandKeyboard, SpacePressAndReleaseClickInOrder) {
    CommandRig rig;
    EventLog log(rig.button);
    rig.button.OnKeyDown(32, 0);
    EXPECT_EQ(rig.button.ButtonState(), 2);
    rig.button.OnKeyPress(32);
    rig.button.OnKeyUp(32, 0);
    EXPECT_EQ(rig.button.ButtonState(), 0);
    EXPECT_THAT(log.names, ElementsAre("KeyDown 32", "MouseDown 1", "KeyPress 32", "KeyUp 32",
                                       "MouseUp 1", "Click"));

    log.names.clear();
    rig.button.OnKeyUp(32, 0);  // no press before it: only KeyUp
    EXPECT_THAT(log.names, ElementsAre("KeyUp 32"));

    CommandRig fresh;
    EventLog fresh_log(fresh.button);
    fresh.button.OnKeyUp(32, 0);
    EXPECT_THAT(fresh_log.names, ElementsAre("KeyUp 32"));
}

TEST(CommandKeyboard, ArrowsMoveTheFocusAndAHandlerCanCancelAKey) {
    CommandRig rig;
    for (const std::int16_t key : {39, 40, 37, 38, 13, 65}) rig.button.OnKeyDown(key, 0);
    EXPECT_THAT(rig.host.focus_moves, ElementsAre(true, true, false, false));
    EXPECT_EQ(rig.button.LastKeyCode(), 65);

    EventLog log(rig.button);
    rig.button.Events().KeyDown = [](std::int16_t& key, std::int16_t&) { key = 0; };
    rig.button.OnKeyDown(32, 0);
    rig.button.OnKeyDown(39, 0);
    EXPECT_EQ(rig.button.ButtonState(), 0);
    EXPECT_EQ(rig.host.focus_moves.size(), 4u);
    EXPECT_EQ(rig.button.LastKeyCode(), 0);
    rig.button.Events().KeyDown = [](std::int16_t& key, std::int16_t&) { key = 1000; };
    rig.button.OnKeyDown(65, 0);
    EXPECT_EQ(rig.button.LastKeyCode(), 0);
    rig.button.OnKeyUp(32, 0);
    EXPECT_THAT(log.names, ElementsAre("KeyUp 32"));
}

TEST(CommandInput, DisabledButtonIgnoresInputButTracksFocus) {
    CommandRig rig;
    EventLog log(rig.button);
    rig.button.SetEnabled(false);
    rig.button.OnMouseDown(1, 0, 5, 5);
    rig.button.OnMouseMove(0, 0, 5, 5);
    rig.button.OnMouseUp(1, 0, 5, 5);
    rig.button.OnClick();
    rig.button.OnKeyDown(32, 0);
    rig.button.OnKeyUp(32, 0);
    rig.button.OnAccessKeyPress();
    EXPECT_TRUE(log.names.empty());
    EXPECT_FALSE(rig.timers.IsRunning(rig.button.Timer1()));
    rig.button.OnGotFocus();
    EXPECT_TRUE(rig.button.FocusVisible());
    rig.button.OnLostFocus();
    EXPECT_FALSE(rig.button.FocusVisible());
}

TEST(CommandPaint, ZeroSizeSkipsThePaintAndKeepsTheState) {
    CommandRig rig;
    rig.host.Resize(97, 0);
    rig.button.OnResize();
    const int paints = rig.host.paints;
    rig.button.PaintButton(2, true);
    EXPECT_EQ(rig.host.paints, paints);
    EXPECT_EQ(rig.button.ButtonState(), 0);
    rig.host.Resize(0, 25);
    rig.button.OnResize();
    rig.button.SetCaption("wider than nothing");
    EXPECT_EQ(rig.host.paints, paints);
    EXPECT_EQ(rig.button.LastPaintedCaption(), "Limit");
}

}  // namespace
}  // namespace vellumar::testing
