// The test build of hid.dll: the functions the editor's Windows backend loads answer for the
// simulated machine; handles that are not the machine's go to Wine's own hid.dll, loaded under
// the name hid_orig.dll, to which every other export is forwarded (see hid.def).
#include <windows.h>
// windows.h first: the HID header builds on its types.
#include <hidsdi.h>

#include <cstring>
#include <set>

#include "sim_machine.h"

namespace {

using hidsim::Machine;

template <typename Function>
Function wine(const char* name) {
    static const HMODULE builtin = LoadLibraryA("hid_orig.dll");
    return reinterpret_cast<Function>(
        builtin ? reinterpret_cast<void*>(GetProcAddress(builtin, name)) : nullptr);
}

std::optional<Machine::Handle> ours(HANDLE handle) {
    Machine* machine = Machine::instance();
    return machine ? machine->interfaceOf(handle) : std::nullopt;
}

// The preparsed data handed out for our interfaces; Wine's own look different.
struct Preparsed {
    hidsim::Capabilities caps;
};
SRWLOCK preparsedLock = SRWLOCK_INIT;
std::set<const void*> preparsed;

bool isOurs(const void* data) {
    AcquireSRWLockShared(&preparsedLock);
    const bool found = preparsed.count(data) != 0;
    ReleaseSRWLockShared(&preparsedLock);
    return found;
}

BOOLEAN notConnected() {
    SetLastError(ERROR_DEVICE_NOT_CONNECTED);
    return FALSE;
}

}  // namespace

extern "C" {

void WINAPI simHidD_GetHidGuid(GUID* guid) {
    if (guid) *guid = hidsim::kHidClass;
}

BOOLEAN WINAPI simHidD_GetAttributes(HANDLE handle, PHIDD_ATTRIBUTES attributes) {
    const auto h = ours(handle);
    if (!h) {
        const auto f = wine<BOOLEAN(WINAPI*)(HANDLE, PHIDD_ATTRIBUTES)>("HidD_GetAttributes");
        return f ? f(handle, attributes) : FALSE;
    }
    if (!h->live) return notConnected();
    if (!attributes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uint16_t vendorId = 0, productId = 0;
    Machine::instance()->identity(h->iface, vendorId, productId);
    attributes->Size = sizeof(*attributes);
    attributes->VendorID = vendorId;
    attributes->ProductID = productId;
    attributes->VersionNumber = 0x0100;
    return TRUE;
}

BOOLEAN WINAPI simHidD_GetPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* data) {
    const auto h = ours(handle);
    if (!h) {
        const auto f =
            wine<BOOLEAN(WINAPI*)(HANDLE, PHIDP_PREPARSED_DATA*)>("HidD_GetPreparsedData");
        return f ? f(handle, data) : FALSE;
    }
    if (!h->live) return notConnected();
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* p = new Preparsed{Machine::instance()->capabilities(h->iface)};
    AcquireSRWLockExclusive(&preparsedLock);
    preparsed.insert(p);
    ReleaseSRWLockExclusive(&preparsedLock);
    *data = reinterpret_cast<PHIDP_PREPARSED_DATA>(p);
    return TRUE;
}

BOOLEAN WINAPI simHidD_FreePreparsedData(PHIDP_PREPARSED_DATA data) {
    AcquireSRWLockExclusive(&preparsedLock);
    const bool mine = preparsed.erase(data) != 0;
    ReleaseSRWLockExclusive(&preparsedLock);
    if (mine) {
        delete reinterpret_cast<Preparsed*>(data);
        return TRUE;
    }
    const auto f = wine<BOOLEAN(WINAPI*)(PHIDP_PREPARSED_DATA)>("HidD_FreePreparsedData");
    return f ? f(data) : FALSE;
}

NTSTATUS WINAPI simHidP_GetCaps(PHIDP_PREPARSED_DATA data, PHIDP_CAPS caps) {
    if (!isOurs(data)) {
        const auto f = wine<NTSTATUS(WINAPI*)(PHIDP_PREPARSED_DATA, PHIDP_CAPS)>("HidP_GetCaps");
        return f ? f(data, caps) : HIDP_STATUS_INVALID_PREPARSED_DATA;
    }
    if (!caps) return HIDP_STATUS_INVALID_PREPARSED_DATA;
    const hidsim::Capabilities& c = reinterpret_cast<const Preparsed*>(data)->caps;
    std::memset(caps, 0, sizeof(*caps));
    caps->UsagePage = c.usagePage;
    caps->Usage = c.usage;
    caps->FeatureReportByteLength = c.featureLength;
    caps->NumberLinkCollectionNodes = 1;
    return HIDP_STATUS_SUCCESS;
}

BOOLEAN WINAPI simHidD_SetFeature(HANDLE handle, PVOID report, ULONG length) {
    const auto h = ours(handle);
    if (!h) {
        const auto f = wine<BOOLEAN(WINAPI*)(HANDLE, PVOID, ULONG)>("HidD_SetFeature");
        return f ? f(handle, report, length) : FALSE;
    }
    if (!report) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Machine::instance()->exchange(*h, {static_cast<std::uint8_t*>(report), length}, true);
}

BOOLEAN WINAPI simHidD_GetFeature(HANDLE handle, PVOID report, ULONG length) {
    const auto h = ours(handle);
    if (!h) {
        const auto f = wine<BOOLEAN(WINAPI*)(HANDLE, PVOID, ULONG)>("HidD_GetFeature");
        return f ? f(handle, report, length) : FALSE;
    }
    if (!report) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Machine::instance()->exchange(*h, {static_cast<std::uint8_t*>(report), length}, false);
}

// For the test setupapi.dll: the device paths present, each ended by a zero byte, and one more
// zero byte. Returns the size needed (and fills `buffer` only when it is large enough), or -1
// when there is no simulated machine.
int WINAPI QuorvexSimInterfacePaths(char* buffer, int size) {
    Machine* machine = Machine::instance();
    if (!machine) return -1;
    std::string block;
    for (const std::string& path : machine->presentPaths()) block.append(path).push_back('\0');
    block.push_back('\0');
    const int needed = static_cast<int>(block.size());
    if (buffer && size >= needed) std::memcpy(buffer, block.data(), block.size());
    return needed;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    // The log's last lines, written by the control thread every few milliseconds otherwise.
    if (reason == DLL_PROCESS_DETACH) {
        if (Machine* machine = Machine::existing()) machine->flush(false);
    }
    return TRUE;
}

}  // extern "C"
