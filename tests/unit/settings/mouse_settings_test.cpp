#include "settings/mouse_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace settings {
namespace {

// The user's settings as key -> name -> text, and the system calls made.
struct FakeStore : MouseSettingsStore {
    std::map<std::string, std::map<std::string, std::string>> keys{
        {"Control Panel\\Mouse",
         {{"MouseSensitivity", "10"},
          {"DoubleClickSpeed", "500"},
          {"MouseSpeed", "1"},
          {"MouseThreshold1", "6"},
          {"MouseThreshold2", "10"}}},
        {"Control Panel\\Desktop", {{"WheelScrollLines", "3"}}}};
    std::string open;
    std::vector<std::string> calls;
    std::vector<std::string> refused;  // value names whose writes do not take
    bool openKey(const std::string& key) override {
        if (!keys.count(key)) return false;
        open = key;
        return true;
    }
    void closeKey() override { open.clear(); }
    std::optional<std::string> readString(const std::string& name) override {
        const auto& values = keys[open];
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    bool writeString(const std::string& name, const std::string& value) override {
        if (std::ranges::find(refused, name) != refused.end()) return false;
        keys[open][name] = value;
        calls.push_back("write " + name + "=" + value);
        return true;
    }
    void setMouseSpeed(int v) override { calls.push_back("speed " + std::to_string(v)); }
    void setMouse(int a, int b, int c) override {
        calls.push_back("mouse " + std::to_string(a) + " " + std::to_string(b) + " " +
                        std::to_string(c));
    }
    void setDoubleClickTime(int ms) override {
        calls.push_back("double-click " + std::to_string(ms));
    }
    void setWheelScrollLines(int n) override { calls.push_back("wheel " + std::to_string(n)); }
};

TEST(MouseSettings, ReadsStepsAndKeepsUnknownValues) {
    FakeStore store;
    MouseSettings s;
    s.RefreshMouseSystemParameterA(store);
    s.RefreshMouseSystemParameterB(store);
    EXPECT_EQ(s.step(MouseSettings::Speed), 6) << "sensitivity 10";
    EXPECT_EQ(s.step(MouseSettings::DoubleClick), 0) << "500 ms is no step";
    EXPECT_EQ(s.doubleClickTime(), 500);
    EXPECT_EQ(s.step(MouseSettings::Scroll), 3);
    store.keys["Control Panel\\Mouse"]["MouseSensitivity"] = "3";
    s.RefreshMouseSystemParameterA(store);
    EXPECT_EQ(s.step(MouseSettings::Speed), 6) << "3 leaves the step";
    store.keys["Control Panel\\Mouse"]["MouseSensitivity"] = "fast";
    s.RefreshMouseSystemParameterA(store);
    EXPECT_EQ(s.sensitivity(), 3) << "text that is no number changes nothing";
}

TEST(MouseSettings, ApplyWritesChosenStepsAndHandsEverythingToTheSystem) {
    FakeStore store;
    MouseSettings s;
    s.RefreshMouseSystemParameterA(store);
    s.RefreshMouseSystemParameterB(store);
    s.apply(store);
    EXPECT_EQ(store.calls,
              (std::vector<std::string>{"write MouseSensitivity=10", "write WheelScrollLines=3",
                                        "speed 10", "mouse 6 10 1", "double-click 500", "wheel 3"}))
        << "no DoubleClickSpeed without a step; the acceleration goes back unchanged";
    store.calls.clear();
    s.setStep(MouseSettings::DoubleClick, 10);
    s.setStep(MouseSettings::Scroll, 3);
    s.apply(store);
    EXPECT_EQ(store.keys["Control Panel\\Mouse"]["DoubleClickSpeed"], "270");
    EXPECT_EQ(s.doubleClickTime(), 270);
    store.keys.clear();
    store.calls.clear();
    s.apply(store);
    EXPECT_EQ(store.calls.size(), 4u) << "without the keys only the system calls run";
}

TEST(MouseSettings, ApplyReportsWhatDidNotTakeAndKeepsItsValue) {
    FakeStore store;
    MouseSettings s;
    s.RefreshMouseSystemParameterA(store);
    s.RefreshMouseSystemParameterB(store);
    store.refused = {"DoubleClickSpeed"};
    store.keys.erase("Control Panel\\Desktop");
    s.setStep(MouseSettings::DoubleClick, 10);
    s.setStep(MouseSettings::Scroll, 7);
    EXPECT_EQ(s.apply(store), (std::vector{MouseSettings::DoubleClick, MouseSettings::Scroll}));
    EXPECT_EQ(s.doubleClickTime(), 500) << "the system gets the value it had";
}

// Nothing that was never read or chosen reaches the system, and nothing it cannot take.
TEST(MouseSettings, ValuesNeverReadAreNotHandedToTheSystem) {
    struct Case {
        const char* what;
        std::function<void(FakeStore&)> change;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases{
        {"no keys at all", [](FakeStore& s) { s.keys.clear(); }, {}},
        {"empty and broken values",
         [](FakeStore& s) {
             s.keys["Control Panel\\Mouse"] = {{"MouseSensitivity", ""},
                                               {"DoubleClickSpeed", "fast"},
                                               {"MouseSpeed", "1"},
                                               {"MouseThreshold1", "6"}};
             s.keys["Control Panel\\Desktop"] = {{"WheelScrollLines", "3 lines"}};
         },
         {}},
        {"out of range",
         [](FakeStore& s) {
             s.keys["Control Panel\\Mouse"]["MouseSensitivity"] = "99";
             s.keys["Control Panel\\Mouse"]["DoubleClickSpeed"] = "-5";
         },
         {"write WheelScrollLines=3", "mouse 6 10 1", "wheel 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeStore store;
        c.change(store);
        MouseSettings s;
        s.RefreshMouseSystemParameterA(store);
        s.RefreshMouseSystemParameterB(store);
        s.apply(store);
        EXPECT_EQ(store.calls, c.calls);
    }
}

TEST(MouseSettings, StepTables) {
    EXPECT_EQ(valueOfStep(MouseSettings::Speed, 1), 1);
    EXPECT_EQ(valueOfStep(MouseSettings::Speed, 10), 18);
    EXPECT_EQ(valueOfStep(MouseSettings::DoubleClick, 1), 900);
    EXPECT_EQ(stepOfValue(MouseSettings::DoubleClick, 830), 2);
    EXPECT_EQ(stepOfValue(MouseSettings::Speed, 20), 0);
    EXPECT_EQ(valueOfStep(MouseSettings::Scroll, 0), 0);
}

}  // namespace
}  // namespace settings
