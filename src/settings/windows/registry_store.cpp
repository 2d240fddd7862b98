#include "settings/windows/registry_store.h"

#include <vector>

namespace settings {
namespace {

// Longer values are not settings of ours; they are left alone.
constexpr DWORD kLongestValue = 256;

}  // namespace

std::unique_ptr<MouseSettingsStore> makeSystemMouseSettingsStore() {
    return std::make_unique<RegistryMouseSettingsStore>();
}

bool RegistryMouseSettingsStore::openKey(const std::string& key) {
    closeKey();
    // An existing key only: the editor never creates one.
    return RegOpenKeyExA(root_, key.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) ==
           ERROR_SUCCESS;
}

void RegistryMouseSettingsStore::closeKey() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

std::optional<std::string> RegistryMouseSettingsStore::readString(const std::string& name) {
    if (!key_) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > kLongestValue)
        return std::nullopt;
    std::vector<char> text(size + 1, '\0');
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    // A stored string may or may not carry its terminator.
    return std::string(text.data());
}

bool RegistryMouseSettingsStore::writeString(const std::string& name, const std::string& value) {
    if (!key_) return false;
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

void RegistryMouseSettingsStore::setMouseSpeed(int sensitivity) {
    // The speed is passed as the pointer argument itself.
    spi_(SPI_SETMOUSESPEED, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(sensitivity)),
         SPIF_SENDCHANGE);
}

void RegistryMouseSettingsStore::setMouse(int threshold1, int threshold2, int acceleration) {
    int values[3] = {threshold1, threshold2, acceleration};
    spi_(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
}

void RegistryMouseSettingsStore::setDoubleClickTime(int milliseconds) {
    spi_(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(milliseconds), nullptr, SPIF_SENDCHANGE);
}

void RegistryMouseSettingsStore::setWheelScrollLines(int lines) {
    spi_(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr, SPIF_UPDATEINIFILE);
}

}  // namespace settings
