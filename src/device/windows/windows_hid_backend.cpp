#include "device/windows/windows_hid_backend.h"

#include <cstring>
#include <vector>

namespace device {
namespace {

// HIDP_STATUS_SUCCESS
constexpr NTSTATUS kHidpSuccess = 0x00110000;

}  // namespace

WindowsHidBackend::~WindowsHidBackend() {
    for (const auto& [id, handle] : handles_) api_->CloseHandle(handle);
}

const HidApi& WindowsHidBackend::api() {
    if (!api_) api_ = &load_();
    return *api_;
}

HANDLE WindowsHidBackend::native(HidHandle handle) const {
    const auto it = handles_.find(handle);
    return it == handles_.end() ? INVALID_HANDLE_VALUE : it->second;
}

std::vector<std::string> WindowsHidBackend::interfacePaths() {
    const HidApi& a = api();
    std::vector<std::string> paths;
    if (!a.SetupDiGetClassDevsA || !a.SetupDiEnumDeviceInterfaces ||
        !a.SetupDiGetDeviceInterfaceDetailA || !a.SetupDiDestroyDeviceInfoList)
        return paths;
    GUID hidClass = kHidInterfaceClass;
    if (a.HidD_GetHidGuid) a.HidD_GetHidGuid(&hidClass);
    const HDEVINFO list =
        a.SetupDiGetClassDevsA(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (list == INVALID_HANDLE_VALUE) return paths;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA item{};
        item.cbSize = sizeof(item);
        if (!a.SetupDiEnumDeviceInterfaces(list, nullptr, &hidClass, index, &item)) break;
        DWORD size = 0;
        SetLastError(0);
        if (a.SetupDiGetDeviceInterfaceDetailA(list, &item, nullptr, 0, &size, nullptr) ||
            GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= sizeof(DWORD))
            continue;
        std::vector<std::uint8_t> block(size, 0);
        auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(block.data());
        // The size of the fixed part of the record, as the platform counts it (8 in a 64-bit
        // program, 5 in a 32-bit one).
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!a.SetupDiGetDeviceInterfaceDetailA(list, &item, detail, size, nullptr, nullptr))
            continue;
        // The path ends at its terminator or at the end of the block, whichever comes first.
        const char* path = detail->DevicePath;
        const std::size_t room =
            size - static_cast<std::size_t>(path - reinterpret_cast<char*>(block.data()));
        paths.emplace_back(path, strnlen(path, room));
    }
    a.SetupDiDestroyDeviceInfoList(list);
    return paths;
}

HidHandle WindowsHidBackend::open(const std::string& path) {
    const HidApi& a = api();
    if (!a.CreateFileA) return kInvalidHandle;
    // No read or write access is needed for feature reports, and other programs keep theirs.
    const HANDLE h = a.CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return kInvalidHandle;
    const HidHandle id = next_++;
    handles_[id] = h;
    return id;
}

std::optional<HidAttributes> WindowsHidBackend::attributes(HidHandle handle) {
    const HidApi& a = api();
    const HANDLE h = native(handle);
    if (h == INVALID_HANDLE_VALUE || !a.HidD_GetAttributes) return std::nullopt;
    HIDD_ATTRIBUTES attrs{};
    attrs.Size = sizeof(attrs);
    if (!a.HidD_GetAttributes(h, &attrs)) return std::nullopt;
    return HidAttributes{attrs.VendorID, attrs.ProductID, attrs.VersionNumber};
}

std::optional<std::uint16_t> WindowsHidBackend::featureReportLength(HidHandle handle) {
    const HidApi& a = api();
    const HANDLE h = native(handle);
    if (h == INVALID_HANDLE_VALUE || !a.HidD_GetPreparsedData || !a.HidP_GetCaps ||
        !a.HidD_FreePreparsedData)
        return std::nullopt;
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!a.HidD_GetPreparsedData(h, &data) || !data) return std::nullopt;
    HIDP_CAPS caps{};
    const bool ok = a.HidP_GetCaps(data, &caps) == kHidpSuccess;
    a.HidD_FreePreparsedData(data);
    if (!ok) return std::nullopt;
    return caps.FeatureReportByteLength;
}

bool WindowsHidBackend::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    const HidApi& a = api();
    const HANDLE h = native(handle);
    if (h == INVALID_HANDLE_VALUE || !a.HidD_SetFeature) return false;
    // HidD_SetFeature takes a writable buffer.
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    return a.HidD_SetFeature(h, buffer.data(), static_cast<ULONG>(buffer.size())) != FALSE;
}

bool WindowsHidBackend::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    const HidApi& a = api();
    const HANDLE h = native(handle);
    if (h == INVALID_HANDLE_VALUE || !a.HidD_GetFeature) return false;
    return a.HidD_GetFeature(h, report.data(), static_cast<ULONG>(report.size())) != FALSE;
}

void WindowsHidBackend::close(HidHandle handle) {
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return;
    api().CloseHandle(it->second);
    handles_.erase(it);
}

}  // namespace device
