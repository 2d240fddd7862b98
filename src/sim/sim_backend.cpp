#include "sim/sim_backend.h"

namespace sim {

SimBackend::Interface& SimBackend::addMouse(MouseFirmware& firmware, std::string path) {
    const FirmwareConfig& c = firmware.config();
    return addDevice({std::move(path), c.vendorId, c.productId, c.featureReportLength, &firmware});
}

SimBackend::Interface& SimBackend::addDevice(Interface iface) {
    interfaces_.push_back(std::move(iface));
    return interfaces_.back();
}

SimBackend::Interface* SimBackend::find(const std::string& path) {
    for (Interface& i : interfaces_) {
        if (i.path == path) return &i;
    }
    return nullptr;
}

bool SimBackend::listed(const Interface& iface) const {
    return iface.present && (iface.firmware == nullptr || iface.firmware->plugged());
}

SimBackend::Interface* SimBackend::byHandle(device::HidHandle handle) {
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return nullptr;
    Interface& iface = interfaces_[it->second.index];
    // A mouse unplugged since the handle was opened stays gone for it.
    const bool sameNode =
        !iface.firmware || iface.firmware->plugGeneration() == it->second.generation;
    return listed(iface) && sameNode ? &iface : nullptr;
}

std::vector<std::string> SimBackend::interfacePaths() {
    std::vector<std::string> paths;
    for (const Interface& i : interfaces_) {
        if (listed(i)) paths.push_back(i.path);
    }
    return paths;
}

device::HidHandle SimBackend::open(const std::string& path) {
    ++opens_;
    for (std::size_t k = 0; k < interfaces_.size(); ++k) {
        const Interface& i = interfaces_[k];
        if (i.path == path && listed(i) && i.openable) {
            handles_[nextHandle_] = {k, i.firmware ? i.firmware->plugGeneration() : 0u};
            return nextHandle_++;
        }
    }
    return device::kInvalidHandle;
}

std::optional<device::HidAttributes> SimBackend::attributes(device::HidHandle handle) {
    const Interface* i = byHandle(handle);
    if (!i) return std::nullopt;
    return device::HidAttributes{i->vendorId, i->productId, 0x0100};
}

std::optional<std::uint16_t> SimBackend::featureReportLength(device::HidHandle handle) {
    const Interface* i = byHandle(handle);
    if (!i) return std::nullopt;
    return i->featureReportLength;
}

bool SimBackend::setFeature(device::HidHandle handle, std::span<const std::uint8_t> report) {
    Interface* i = byHandle(handle);
    return i && i->firmware && i->firmware->setFeature(report);
}

bool SimBackend::getFeature(device::HidHandle handle, std::span<std::uint8_t> report) {
    Interface* i = byHandle(handle);
    return i && i->firmware && i->firmware->getFeature(report);
}

void SimBackend::close(device::HidHandle handle) {
    handles_.erase(handle);
}

std::vector<std::string> SimBackend::deniedInterfaces(std::uint16_t vendorId,
                                                      std::uint16_t productId) {
    std::vector<std::string> paths;
    for (const Interface& i : interfaces_) {
        if (listed(i) && !i.openable && i.vendorId == vendorId && i.productId == productId)
            paths.push_back(i.path);
    }
    return paths;
}

}  // namespace sim
