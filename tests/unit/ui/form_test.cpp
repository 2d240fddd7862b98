#include "ui/form.h"

#include <gtest/gtest.h>

#include "fake_host.h"

namespace ui {
namespace {

struct Events {
    std::vector<std::string> log;
    void watch(Control& c) {
        c.onMouseEnter = [this](Control& x) { log.push_back("enter " + x.name()); };
        c.onMouseLeave = [this](Control& x) { log.push_back("leave " + x.name()); };
        c.onClick = [this](Control& x) { log.push_back("click " + x.name()); };
        c.onMouseDown = [this](Control& x, MouseButton, int px, int py) {
            log.push_back("down " + x.name() + " " + std::to_string(px) + "," + std::to_string(py));
        };
    }
};

struct FormFixture : ::testing::Test {
    Form form{"test"};
    Events events;
    Control& add(ControlKind kind, const std::string& name, Rect r, Control* parent = nullptr) {
        Control& c = form.add(kind, name, parent);
        c.setBounds(r);
        events.watch(c);
        return c;
    }
};

TEST_F(FormFixture, WindowedControlsLieAboveLabelsAndLaterControlsAboveEarlier) {
    Control& edit = add(ControlKind::Edit, "edit", {10, 10, 50, 20});
    add(ControlKind::Picture, "picture", {0, 0, 100, 100});
    Control& label = add(ControlKind::Label, "label", {0, 0, 40, 40});
    EXPECT_EQ(form.hitTest(20, 15), &edit) << "an edit created first is still above the label";
    EXPECT_EQ(form.hitTest(5, 5), &label);
    EXPECT_EQ(form.hitTest(80, 80)->name(), "picture");
    EXPECT_EQ(form.hitTest(200, 200), nullptr);
    form.bringToFront(form.at("picture"));
    EXPECT_EQ(form.hitTest(5, 5)->name(), "picture");
    EXPECT_EQ(form.hitTest(20, 15), &edit);
    label.setVisible(false);
    form.bringToFront(label);
    EXPECT_EQ(form.hitTest(5, 5)->name(), "picture") << "hidden controls take no pointer";
}

TEST_F(FormFixture, CaptionlessOverlaySwallowsClicksButNotEdits) {
    add(ControlKind::Label, "Btn_Apply", {10, 10, 60, 30});
    add(ControlKind::Edit, "Edt_Repeat1", {100, 10, 40, 18});
    Control& overlay = add(ControlKind::Label, "Disable_All", {0, 0, 800, 600});
    form.pointerDown(20, 20, MouseButton::Left);
    form.pointerUp(20, 20, MouseButton::Left);
    EXPECT_EQ(events.log, (std::vector<std::string>{"enter Disable_All", "down Disable_All 20,20",
                                                    "click Disable_All"}));
    events.log.clear();
    EXPECT_EQ(form.hitTest(110, 15)->name(), "Edt_Repeat1")
        << "an overlay cannot cover a windowed control";
    overlay.setVisible(false);
    form.pointerDown(20, 20, MouseButton::Left);
    form.pointerUp(20, 20, MouseButton::Left);
    EXPECT_EQ(events.log, (std::vector<std::string>{"leave Disable_All", "enter Btn_Apply",
                                                    "down Btn_Apply 10,10", "click Btn_Apply"}));
}

TEST_F(FormFixture, EnterAndLeaveFollowThePointer) {
    add(ControlKind::Label, "a", {0, 0, 10, 10});
    add(ControlKind::Label, "b", {20, 0, 10, 10});
    form.pointerMove(5, 5);
    form.pointerMove(6, 6);
    form.pointerMove(25, 5);
    form.pointerMove(50, 50);
    form.pointerMove(25, 5);
    form.pointerLeft();
    EXPECT_EQ(events.log, (std::vector<std::string>{"enter a", "leave a", "enter b", "leave b",
                                                    "enter b", "leave b"}));
}

TEST_F(FormFixture, ClickNeedsPressAndReleaseOverTheSameEnabledControl) {
    add(ControlKind::Label, "a", {0, 0, 10, 10});
    Control& b = add(ControlKind::Label, "b", {20, 0, 10, 10});
    form.pointerDown(5, 5, MouseButton::Left);
    form.pointerUp(25, 5, MouseButton::Left);
    form.pointerDown(25, 5, MouseButton::Right);
    form.pointerUp(25, 5, MouseButton::Right);
    b.setEnabled(false);
    form.pointerMove(5, 5);
    form.pointerDown(25, 5, MouseButton::Left);
    form.pointerUp(25, 5, MouseButton::Left);
    EXPECT_EQ(events.log, (std::vector<std::string>{"enter a", "down a 5,5", "leave a", "enter b",
                                                    "down b 5,5", "enter a", "leave a"}))
        << "no click for a release elsewhere, for the right button, or on a disabled control "
           "(which fires nothing)";
}

TEST_F(FormFixture, ChildrenMoveWithTheirContainerAndLieAboveIt) {
    Control& box = add(ControlKind::GroupBox, "Gb_Delay", {100, 100, 200, 100});
    Control& child = add(ControlKind::Label, "IB_RecDelay", {10, 10, 50, 20}, &box);
    EXPECT_EQ(child.formBounds(), (Rect{110, 110, 50, 20}));
    EXPECT_EQ(form.hitTest(115, 115), &child);
    EXPECT_EQ(form.hitTest(250, 150), &box);
    box.setVisible(false);
    EXPECT_FALSE(child.showing());
    EXPECT_EQ(form.hitTest(115, 115), nullptr);
}

// A control in a disabled container, however deep, keeps its own flag but takes no click and
// no key until the container is enabled again.
TEST_F(FormFixture, ADisabledContainerDisablesWhatItHolds) {
    Control& panel = add(ControlKind::Panel, "panel", {0, 0, 300, 200});
    Control& box = add(ControlKind::GroupBox, "Gb_Delay", {100, 100, 200, 100}, &panel);
    add(ControlKind::Label, "IB_NoDelay", {10, 10, 50, 20}, &box);
    Control& edit = add(ControlKind::Edit, "Edt_Delay", {10, 50, 40, 18}, &box);
    edit.onKeyPress = [](Control&, char32_t& ch) { ch = 0; };
    const auto clickAndType = [&] {
        events.log.clear();
        form.pointerDown(115, 115, MouseButton::Left);
        form.pointerUp(115, 115, MouseButton::Left);
        form.setFocus(&edit);
        return form.keyPress(U'a');
    };
    for (Control* off : {&box, &panel}) {
        off->setEnabled(false);
        EXPECT_EQ(clickAndType(), U'a') << off->name() << ": the edit's filter is not asked";
        EXPECT_TRUE(events.log.empty()) << off->name();
        EXPECT_TRUE(edit.enabled() && !edit.usable()) << off->name();
        off->setEnabled(true);
    }
    EXPECT_EQ(clickAndType(), 0u);
    EXPECT_EQ(events.log.back(), "click IB_NoDelay");
}

TEST_F(FormFixture, KeysGoToTheFocusedControlAndExitFollowsFocusLoss) {
    Control& a = add(ControlKind::Edit, "a", {0, 0, 40, 18});
    Control& b = add(ControlKind::Edit, "b", {0, 30, 40, 18});
    a.onKeyPress = [](Control&, char32_t& ch) {
        if (ch < U'0' || ch > U'9') ch = 0;
    };
    a.onExit = [this](Control& c) { events.log.push_back("exit " + c.name()); };
    EXPECT_EQ(form.keyPress(U'x'), U'x') << "no focus, nobody filters";
    form.pointerDown(5, 5, MouseButton::Left);
    EXPECT_EQ(form.focus(), &a);
    EXPECT_EQ(form.keyPress(U'7'), U'7');
    EXPECT_EQ(form.keyPress(U'x'), 0u);
    form.setFocus(&b);
    EXPECT_EQ(events.log.back(), "exit a");
}

TEST_F(FormFixture, ChangesAreRecordedForRepainting) {
    Control& c = add(ControlKind::Label, "a", {0, 0, 10, 10});
    form.takeDirty();
    const auto before = c.revision();
    c.setCaption("x");
    c.setCaption("x");
    EXPECT_EQ(c.revision(), before + 1) << "setting the same value is no change";
    c.setPosition(50, 50);
    const auto dirty = form.takeDirty();
    ASSERT_EQ(dirty.size(), 3u);
    EXPECT_EQ(dirty[1], (Rect{0, 0, 10, 10})) << "the old place";
    EXPECT_EQ(dirty[2], (Rect{50, 50, 10, 10})) << "the new place";
}

TEST(Timers, FireInOrderOnVirtualTime) {
    testing_support::FakeHost host;
    Timer fast("fast", 100, true), slow("slow", 250, true), off("off", 50, false);
    std::vector<std::string> log;
    fast.onTimer = [&] { log.push_back("fast@" + std::to_string(host.now())); };
    slow.onTimer = [&] {
        log.push_back("slow@" + std::to_string(host.now()));
        fast.setEnabled(false);
    };
    off.onTimer = [&] { log.push_back("off"); };
    host.attachTimer(fast);
    host.attachTimer(slow);
    host.attachTimer(off);
    host.advance(600);
    EXPECT_EQ(log, (std::vector<std::string>{"fast@100", "fast@200", "slow@250", "slow@500"}));
    fast.setEnabled(true);  // restarts its interval from now
    host.advance(150);
    EXPECT_EQ(log, (std::vector<std::string>{"fast@100", "fast@200", "slow@250", "slow@500",
                                             "fast@700", "slow@750"}));
}

}  // namespace
}  // namespace ui
