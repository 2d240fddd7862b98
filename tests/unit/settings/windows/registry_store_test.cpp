// The registry store against Wine's own registry, under a key of the test's own, and the system
// calls it makes.
#include "settings/windows/registry_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace settings {
namespace {

struct Call {
    UINT action, param;
    std::vector<int> values;  // what the pointer argument stands for
    UINT flags;
    friend bool operator==(const Call&, const Call&) = default;
};
std::vector<Call> calls;

BOOL WINAPI recordCall(UINT action, UINT param, PVOID value, UINT flags) {
    Call c{action, param, {}, flags};
    if (action == SPI_SETMOUSE) {
        const int* v = static_cast<const int*>(value);
        c.values = {v[0], v[1], v[2]};
    } else if (action == SPI_SETMOUSESPEED) {
        c.values = {static_cast<int>(reinterpret_cast<INT_PTR>(value))};
    } else if (value) {
        c.values = {-1};  // a pointer where none belongs
    }
    calls.push_back(c);
    return TRUE;
}

struct Registry : ::testing::Test {
    HKEY root = nullptr;
    std::string rootName = "Software\\QuorvexTests\\" + std::to_string(GetCurrentProcessId());

    void SetUp() override {
        calls.clear();
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, rootName.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &root, nullptr),
                  ERROR_SUCCESS);
        put("Control Panel\\Mouse", {{"MouseSensitivity", "10"},
                                     {"DoubleClickSpeed", "500"},
                                     {"MouseSpeed", "1"},
                                     {"MouseThreshold1", "6"},
                                     {"MouseThreshold2", "10"}});
        put("Control Panel\\Desktop", {{"WheelScrollLines", "3"}});
    }
    void TearDown() override {
        RegCloseKey(root);
        RegDeleteTreeA(HKEY_CURRENT_USER, rootName.c_str());
    }
    void put(const std::string& key, std::vector<std::pair<std::string, std::string>> values) {
        HKEY k;
        RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        for (const auto& [name, value] : values)
            RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
    }
    std::string get(const std::string& key, const std::string& name) {
        char text[64] = {};
        DWORD size = sizeof(text);
        RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size);
        return text;
    }
};

TEST_F(Registry, ReadsStepsAndAppliesThemWithTheSystemCalls) {
    RegistryMouseSettingsStore store(root, recordCall);
    MouseSettings s;
    s.RefreshMouseSystemParameterA(store);
    s.RefreshMouseSystemParameterB(store);
    EXPECT_EQ(s.step(MouseSettings::Speed), 6);
    EXPECT_EQ(s.step(MouseSettings::DoubleClick), 0) << "500 ms fills no step";
    EXPECT_EQ(s.step(MouseSettings::Scroll), 3);
    s.setStep(MouseSettings::DoubleClick, 10);
    s.apply(store);
    EXPECT_EQ(get("Control Panel\\Mouse", "DoubleClickSpeed"), "270");
    EXPECT_EQ(get("Control Panel\\Mouse", "MouseSensitivity"), "10");
    EXPECT_EQ(calls, (std::vector<Call>{{SPI_SETMOUSESPEED, 0, {10}, SPIF_SENDCHANGE},
                                        {SPI_SETMOUSE, 0, {6, 10, 1}, SPIF_SENDCHANGE},
                                        {SPI_SETDOUBLECLICKTIME, 270, {}, SPIF_SENDCHANGE},
                                        {SPI_SETWHEELSCROLLLINES, 3, {}, SPIF_UPDATEINIFILE}}));
}

TEST_F(Registry, ValuesThatAreNotSettingsAreLeftAlone) {
    HKEY mouse;
    RegOpenKeyExA(root, "Control Panel\\Mouse", 0, KEY_ALL_ACCESS, &mouse);
    const DWORD number = 10;
    RegSetValueExA(mouse, "MouseSensitivity", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    const std::string huge(5000, '7');
    RegSetValueExA(mouse, "DoubleClickSpeed", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(huge.c_str()),
                   static_cast<DWORD>(huge.size() + 1));
    RegSetValueExA(mouse, "MouseSpeed", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(mouse);
    RegDeleteTreeA(root, "Control Panel\\Desktop");

    RegistryMouseSettingsStore store(root, recordCall);
    ASSERT_TRUE(store.openKey("Control Panel\\Mouse"));
    EXPECT_FALSE(store.readString("MouseSensitivity")) << "not a string";
    EXPECT_FALSE(store.readString("DoubleClickSpeed")) << "too long to be a setting";
    EXPECT_EQ(store.readString("MouseSpeed"), "");
    EXPECT_FALSE(store.readString("Missing"));
    store.closeKey();
    EXPECT_FALSE(store.openKey("Control Panel\\Desktop")) << "gone, and never created";
    HKEY desktop;
    EXPECT_NE(RegOpenKeyExA(root, "Control Panel\\Desktop", 0, KEY_READ, &desktop), ERROR_SUCCESS);

    MouseSettings s;
    s.RefreshMouseSystemParameterA(store);
    s.RefreshMouseSystemParameterB(store);
    s.apply(store);
    EXPECT_TRUE(calls.empty()) << "nothing was read, so nothing reaches the system";
}

TEST_F(Registry, AWriteThatDidNotTakeSaysSo) {
    RegistryMouseSettingsStore store(root, recordCall);
    EXPECT_FALSE(store.writeString("DoubleClickSpeed", "270")) << "no key open";
    ASSERT_TRUE(store.openKey("Control Panel\\Mouse"));
    EXPECT_TRUE(store.writeString("DoubleClickSpeed", "340"));
    EXPECT_EQ(get("Control Panel\\Mouse", "DoubleClickSpeed"), "340");
    RegDeleteTreeA(root, "Control Panel\\Mouse");  // gone under the open key
    EXPECT_FALSE(store.writeString("DoubleClickSpeed", "270"));
}

TEST_F(Registry, TheRealSystemCallTakesTheValue) {
    UINT before = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &before, 0);
    RegistryMouseSettingsStore store(root);
    store.setWheelScrollLines(7);
    UINT now = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &now, 0);
    EXPECT_EQ(now, 7u);
    store.setWheelScrollLines(static_cast<int>(before));
}

}  // namespace
}  // namespace settings
