#include "device/windows/hid_api.h"

namespace device {
namespace {

template <typename Function>
void take(HMODULE library, const char* name, Function& target) {
    target =
        library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                : nullptr;
}

HidApi load() {
    HidApi api;
    const HMODULE hid = LoadLibraryA("HID.dll");
    take(hid, "HidD_GetHidGuid", api.HidD_GetHidGuid);
    take(hid, "HidD_GetAttributes", api.HidD_GetAttributes);
    take(hid, "HidD_GetPreparsedData", api.HidD_GetPreparsedData);
    take(hid, "HidD_FreePreparsedData", api.HidD_FreePreparsedData);
    take(hid, "HidP_GetCaps", api.HidP_GetCaps);
    take(hid, "HidD_SetFeature", api.HidD_SetFeature);
    take(hid, "HidD_GetFeature", api.HidD_GetFeature);
    const HMODULE setup = LoadLibraryA("SetupApi.dll");
    take(setup, "SetupDiGetClassDevsA", api.SetupDiGetClassDevsA);
    take(setup, "SetupDiEnumDeviceInterfaces", api.SetupDiEnumDeviceInterfaces);
    take(setup, "SetupDiGetDeviceInterfaceDetailA", api.SetupDiGetDeviceInterfaceDetailA);
    take(setup, "SetupDiDestroyDeviceInfoList", api.SetupDiDestroyDeviceInfoList);
    api.CreateFileA = ::CreateFileA;
    api.CloseHandle = ::CloseHandle;
    return api;
}

}  // namespace

const HidApi& systemHidApi() {
    static const HidApi api = load();
    return api;
}

}  // namespace device
