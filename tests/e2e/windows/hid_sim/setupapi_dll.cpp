// The test build of setupapi.dll: the HID interface list that the editor's Windows backend
// walks holds the simulated machine's device paths (from the test hid.dll); other lists and
// every other export are Wine's own setupapi.dll, loaded under the name setupapi_orig.dll (see
// setupapi.def).
#include <windows.h>
// windows.h first: the SetupAPI header builds on its types.
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// The standard HID interface class.
constexpr GUID kHidClass{
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

template <typename Function>
Function wine(const char* name) {
    static const HMODULE builtin = LoadLibraryA("setupapi_orig.dll");
    return reinterpret_cast<Function>(
        builtin ? reinterpret_cast<void*>(GetProcAddress(builtin, name)) : nullptr);
}

// The test hid.dll's list of device paths; null when the process has Wine's own hid.dll.
using PathsFunction = int(WINAPI*)(char*, int);
PathsFunction simulatedPaths() {
    static const PathsFunction paths = [] {
        const HMODULE hid = LoadLibraryA("hid.dll");
        return reinterpret_cast<PathsFunction>(
            hid ? reinterpret_cast<void*>(GetProcAddress(hid, "QuorvexSimInterfacePaths"))
                : nullptr);
    }();
    return paths;
}

// A list of ours: the paths present when it was made, as SetupAPI keeps a snapshot too.
struct List {
    std::vector<std::string> paths;
};
SRWLOCK listsLock = SRWLOCK_INIT;
std::set<const void*> lists;

List* ours(HDEVINFO handle) {
    AcquireSRWLockShared(&listsLock);
    const bool found = lists.count(handle) != 0;
    ReleaseSRWLockShared(&listsLock);
    return found ? static_cast<List*>(handle) : nullptr;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

extern "C" {

HDEVINFO WINAPI simSetupDiGetClassDevsA(const GUID* interfaceClass, PCSTR enumerator, HWND parent,
                                        DWORD flags) {
    const PathsFunction paths = simulatedPaths();
    const bool hidInterfaces = interfaceClass && IsEqualGUID(*interfaceClass, kHidClass) &&
                               (flags & DIGCF_DEVICEINTERFACE) && !(flags & DIGCF_ALLCLASSES) &&
                               !enumerator;
    int needed = paths && hidInterfaces ? paths(nullptr, 0) : -1;
    if (needed < 0) {
        const auto f =
            wine<HDEVINFO(WINAPI*)(const GUID*, PCSTR, HWND, DWORD)>("SetupDiGetClassDevsA");
        return f ? f(interfaceClass, enumerator, parent, flags) : INVALID_HANDLE_VALUE;
    }
    std::string block;
    // The list may grow between asking its size and taking it.
    do {
        block.assign(static_cast<std::size_t>(needed), '\0');
        needed = paths(block.data(), static_cast<int>(block.size()));
    } while (needed > static_cast<int>(block.size()));
    auto* list = new List;
    for (const char* p = block.data(); *p; p += std::strlen(p) + 1) list->paths.emplace_back(p);
    AcquireSRWLockExclusive(&listsLock);
    lists.insert(list);
    ReleaseSRWLockExclusive(&listsLock);
    return list;
}

BOOL WINAPI simSetupDiEnumDeviceInterfaces(HDEVINFO handle, PSP_DEVINFO_DATA device,
                                           const GUID* interfaceClass, DWORD index,
                                           PSP_DEVICE_INTERFACE_DATA data) {
    const List* list = ours(handle);
    if (!list) {
        const auto f =
            wine<BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD,
                               PSP_DEVICE_INTERFACE_DATA)>("SetupDiEnumDeviceInterfaces");
        return f ? f(handle, device, interfaceClass, index, data) : FALSE;
    }
    if (!data || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) || !interfaceClass)
        return fail(ERROR_INVALID_USER_BUFFER);
    if (!IsEqualGUID(*interfaceClass, kHidClass) || index >= list->paths.size())
        return fail(ERROR_NO_MORE_ITEMS);
    data->InterfaceClassGuid = kHidClass;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = index + 1;
    return TRUE;
}

BOOL WINAPI simSetupDiGetDeviceInterfaceDetailA(HDEVINFO handle, PSP_DEVICE_INTERFACE_DATA data,
                                                PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail,
                                                DWORD size, PDWORD required,
                                                PSP_DEVINFO_DATA device) {
    const List* list = ours(handle);
    if (!list) {
        const auto f = wine<BOOL(WINAPI*)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA,
                                          PSP_DEVICE_INTERFACE_DETAIL_DATA_A, DWORD, PDWORD,
                                          PSP_DEVINFO_DATA)>("SetupDiGetDeviceInterfaceDetailA");
        return f ? f(handle, data, detail, size, required, device) : FALSE;
    }
    if (!data || data->Reserved == 0 || data->Reserved > list->paths.size())
        return fail(ERROR_INVALID_PARAMETER);
    const std::string& path = list->paths[data->Reserved - 1];
    const DWORD needed = static_cast<DWORD>(
        offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + path.size() + 1);
    if (required) *required = needed;
    // As Windows does: a size without a record is the caller's mistake, no record asks the size.
    if (!detail) return fail(size ? ERROR_INVALID_USER_BUFFER : ERROR_INSUFFICIENT_BUFFER);
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
        return fail(ERROR_INVALID_USER_BUFFER);
    if (size < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(
        reinterpret_cast<char*>(detail) + offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath),
        path.c_str(), path.size() + 1);
    if (device && device->cbSize == sizeof(SP_DEVINFO_DATA)) {
        device->ClassGuid = kHidClass;
        device->DevInst = static_cast<DWORD>(data->Reserved);
    }
    return TRUE;
}

BOOL WINAPI simSetupDiDestroyDeviceInfoList(HDEVINFO handle) {
    AcquireSRWLockExclusive(&listsLock);
    const bool mine = lists.erase(handle) != 0;
    ReleaseSRWLockExclusive(&listsLock);
    if (mine) {
        delete static_cast<List*>(handle);
        return TRUE;
    }
    const auto f = wine<BOOL(WINAPI*)(HDEVINFO)>("SetupDiDestroyDeviceInfoList");
    return f ? f(handle) : FALSE;
}

}  // extern "C"
