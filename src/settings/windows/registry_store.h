#pragma once
// The desktop's mouse settings on Windows: string values in the user's registry and the running
// system's parameters through SystemParametersInfoA.
#include <windows.h>

#include <string>

#include "settings/mouse_settings.h"

namespace settings {

class RegistryMouseSettingsStore : public MouseSettingsStore {
  public:
    using SystemParametersFunction = BOOL(WINAPI*)(UINT action, UINT param, PVOID value,
                                                   UINT flags);

    // Keys are opened under `root` (tests use a key of their own); the system calls go to `spi`.
    explicit RegistryMouseSettingsStore(HKEY root = HKEY_CURRENT_USER,
                                        SystemParametersFunction spi = ::SystemParametersInfoA)
        : root_(root), spi_(spi) {}
    ~RegistryMouseSettingsStore() override { closeKey(); }

    bool openKey(const std::string& key) override;
    void closeKey() override;
    std::optional<std::string> readString(const std::string& name) override;
    bool writeString(const std::string& name, const std::string& value) override;
    void setMouseSpeed(int sensitivity) override;
    void setMouse(int threshold1, int threshold2, int acceleration) override;
    void setDoubleClickTime(int milliseconds) override;
    void setWheelScrollLines(int lines) override;

  private:
    HKEY root_;
    SystemParametersFunction spi_;
    HKEY key_ = nullptr;
};

}  // namespace settings
