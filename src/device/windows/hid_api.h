#pragma once
// The SetupAPI and HID.dll functions the Windows backend calls, as a table of pointers: the
// program fills it by loading the libraries by name at run time, tests fill it with fakes.
#include <windows.h>
// windows.h first: the HID and SetupAPI headers build on its types.
#include <hidsdi.h>
#include <setupapi.h>

namespace device {

struct HidApi {
    // HID.dll; null where the library could not be loaded.
    void(WINAPI* HidD_GetHidGuid)(GUID*) = nullptr;
    BOOLEAN(WINAPI* HidD_GetAttributes)(HANDLE, PHIDD_ATTRIBUTES) = nullptr;
    BOOLEAN(WINAPI* HidD_GetPreparsedData)(HANDLE, PHIDP_PREPARSED_DATA*) = nullptr;
    BOOLEAN(WINAPI* HidD_FreePreparsedData)(PHIDP_PREPARSED_DATA) = nullptr;
    NTSTATUS(WINAPI* HidP_GetCaps)(PHIDP_PREPARSED_DATA, PHIDP_CAPS) = nullptr;
    BOOLEAN(WINAPI* HidD_SetFeature)(HANDLE, PVOID, ULONG) = nullptr;
    BOOLEAN(WINAPI* HidD_GetFeature)(HANDLE, PVOID, ULONG) = nullptr;
    // SetupApi.dll; null where the library could not be loaded.
    HDEVINFO(WINAPI* SetupDiGetClassDevsA)(const GUID*, PCSTR, HWND, DWORD) = nullptr;
    BOOL(WINAPI* SetupDiEnumDeviceInterfaces)
    (HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD, PSP_DEVICE_INTERFACE_DATA) = nullptr;
    BOOL(WINAPI* SetupDiGetDeviceInterfaceDetailA)
    (HDEVINFO, PSP_DEVICE_INTERFACE_DATA, PSP_DEVICE_INTERFACE_DETAIL_DATA_A, DWORD, PDWORD,
     PSP_DEVINFO_DATA) = nullptr;
    BOOL(WINAPI* SetupDiDestroyDeviceInfoList)(HDEVINFO) = nullptr;
    // The device paths are files; faked too, so that tests decide what opens.
    HANDLE(WINAPI* CreateFileA)
    (LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) = nullptr;
    BOOL(WINAPI* CloseHandle)(HANDLE) = nullptr;
};

// The HID interface class for when HID.dll cannot tell it.
inline constexpr GUID kHidInterfaceClass{
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// Loads SetupApi.dll and HID.dll by name (once) and returns their functions.
const HidApi& systemHidApi();

}  // namespace device
