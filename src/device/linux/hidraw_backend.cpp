#include "device/linux/hidraw_backend.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

#include "device/report_descriptor.h"

namespace device {
namespace {

// The number of a "hidrawN" name, or -1 for any other name.
long hidrawNumber(const char* name) {
    constexpr const char kPrefix[] = "hidraw";
    if (std::strncmp(name, kPrefix, sizeof(kPrefix) - 1) != 0) return -1;
    const char* digits = name + sizeof(kPrefix) - 1;
    if (*digits == '\0') return -1;
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(digits, &end, 10);
    if (*end != '\0' || errno != 0 || n < 0 || !std::isdigit(static_cast<unsigned char>(*digits)))
        return -1;
    return n;
}

int retryIoctl(int fd, unsigned long request, void* arg) {
    int r;
    do {
        r = ::ioctl(fd, request, arg);
    } while (r < 0 && errno == EINTR);
    return r;
}

}  // namespace

HidrawBackend::HidrawBackend(std::string directory, std::optional<std::string> sysfsDirectory)
    : directory_(std::move(directory)),
      sysfsDirectory_(sysfsDirectory.value_or(directory_ == "/dev" ? "/sys/class/hidraw" : "")) {}

std::vector<std::string> HidrawBackend::interfacePaths() {
    std::vector<std::pair<long, std::string>> nodes;
    if (DIR* dir = ::opendir(directory_.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const long n = hidrawNumber(entry->d_name);
            if (n >= 0) nodes.emplace_back(n, directory_ + "/" + entry->d_name);
        }
        ::closedir(dir);
    }
    std::ranges::sort(nodes);
    std::vector<std::string> paths;
    paths.reserve(nodes.size());
    for (auto& node : nodes) paths.push_back(std::move(node.second));
    return paths;
}

HidHandle HidrawBackend::open(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? kInvalidHandle : fd;
}

std::optional<HidAttributes> HidrawBackend::attributes(HidHandle handle) {
    hidraw_devinfo info{};
    if (retryIoctl(handle, HIDIOCGRAWINFO, &info) < 0) return std::nullopt;
    // hidraw does not report the device's version number.
    return HidAttributes{static_cast<std::uint16_t>(info.vendor),
                         static_cast<std::uint16_t>(info.product), 0};
}

std::optional<std::uint16_t> HidrawBackend::featureReportLength(HidHandle handle) {
    int size = 0;
    if (retryIoctl(handle, HIDIOCGRDESCSIZE, &size) < 0) return std::nullopt;
    if (size <= 0 || static_cast<std::size_t>(size) > kMaxReportDescriptorSize) return std::nullopt;
    hidraw_report_descriptor desc{};
    desc.size = static_cast<__u32>(size);
    if (retryIoctl(handle, HIDIOCGRDESC, &desc) < 0) return std::nullopt;
    if (desc.size == 0 || desc.size > sizeof(desc.value)) return std::nullopt;
    return device::featureReportLength(std::span<const std::uint8_t>(desc.value, desc.size));
}

bool HidrawBackend::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    std::uint8_t buffer[8] = {};
    if (report.size() != sizeof(buffer)) return false;
    std::copy(report.begin(), report.end(), buffer);
    return retryIoctl(handle, HIDIOCSFEATURE(sizeof(buffer)), buffer) >= 0;
}

bool HidrawBackend::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    std::uint8_t buffer[8] = {};
    if (report.size() != sizeof(buffer)) return false;
    std::copy(report.begin(), report.end(), buffer);
    const int n = retryIoctl(handle, HIDIOCGFEATURE(sizeof(buffer)), buffer);
    if (n < 0) return false;
    std::copy(std::begin(buffer), std::end(buffer), report.begin());
    return true;
}

void HidrawBackend::close(HidHandle handle) {
    if (handle >= 0) ::close(handle);
}

std::vector<std::string> HidrawBackend::deniedInterfaces(std::uint16_t vendorId,
                                                        std::uint16_t productId) {
    std::vector<std::string> denied;
    if (sysfsDirectory_.empty()) return denied;
    for (const std::string& path : interfacePaths()) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            continue;
        }
        if (errno != EACCES && errno != EPERM) continue;
        // The kernel tells every user the ids of the node's device: HID_ID=bus:vendor:product.
        const std::string name = path.substr(path.rfind('/') + 1);
        std::ifstream uevent(sysfsDirectory_ + "/" + name + "/device/uevent");
        for (std::string line; std::getline(uevent, line);) {
            unsigned bus = 0, vendor = 0, product = 0;
            if (std::sscanf(line.c_str(), "HID_ID=%x:%x:%x", &bus, &vendor, &product) == 3 &&
                vendor == vendorId && product == productId)
                denied.push_back(path);
        }
    }
    return denied;
}

}  // namespace device
