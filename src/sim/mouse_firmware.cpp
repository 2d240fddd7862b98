#include "sim/mouse_firmware.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace sim {
namespace {

constexpr std::uint8_t kCommandId = 0x40;
constexpr std::uint8_t kDataId = 0x41;
constexpr std::size_t kReport = 8;

std::uint16_t word(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::uint16_t>(high << 8 | low);
}

}  // namespace

MouseFirmware::MouseFirmware(FirmwareConfig config) : config_(config) {
    // Fresh flash reads as erased; the image-only device's memory starts the same way.
    memory_.fill(0xFF);
    // Enough of an image for identification to pass: the ModelId where the layout keeps it.
    const std::uint16_t modelIdOffset = config_.layout == 29 ? 83 : 87;
    program(static_cast<std::uint16_t>(kImageAddress + modelIdOffset), config_.modelId);
}

void MouseFirmware::program(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) memory_[address++] = b;
}

std::span<const std::uint8_t> MouseFirmware::read(std::uint16_t address, std::size_t length) const {
    length = std::min(length, kMemorySize - address);
    return std::span<const std::uint8_t>(memory_).subspan(address, length);
}

void MouseFirmware::clearTraffic() {
    traffic_.clear();
    counters_ = {};
}

void MouseFirmware::clearFaults() {
    refused_.clear();
    refuseAfter_.clear();
    failFetches_ = false;
    failDataReports_ = false;
    unplugAfter_.reset();
    corruptReadAt_.reset();
}

bool MouseFirmware::countReport() {
    if (config_.reportLatencyUs > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(config_.reportLatencyUs));
    if (!plugged_) return false;
    if (unplugAfter_) {
        if (*unplugAfter_ == 0) {
            goAway();
            unplugAfter_.reset();
            return false;
        }
        --*unplugAfter_;
    }
    return true;
}

void MouseFirmware::log(TrafficEntry::Direction direction, std::span<const std::uint8_t> report,
                        bool ok) {
    if (!logging_) return;
    TrafficEntry e{direction, {}, ok};
    std::copy_n(report.begin(), std::min(report.size(), e.report.size()), e.report.begin());
    traffic_.push_back(e);
}

bool MouseFirmware::setFeature(std::span<const std::uint8_t> report) {
    bool ok = report.size() >= kReport && countReport();
    if (ok) {
        if (report[0] == kCommandId) {
            ok = command(report.data());
        } else if (report[0] == kDataId && failDataReports_) {
            ok = false;  // refused, and its bytes are not stored
        } else if (report[0] == kDataId) {
            ++counters_.dataReportsIn;
            for (std::size_t k = 1; k < kReport && writeRemaining_ > 0; ++k, --writeRemaining_) {
                storeByte(static_cast<std::uint16_t>(writeAddress_++), report[k]);
            }
        } else {
            ok = false;
        }
    }
    log(TrafficEntry::SetFeature, report, ok);
    return ok;
}

bool MouseFirmware::getFeature(std::span<std::uint8_t> report) {
    bool ok = report.size() >= kReport && countReport() && !failFetches_ && report[0] == kDataId;
    if (ok) {
        ++counters_.dataReportsOut;
        for (std::size_t k = 1; k < kReport; ++k) {
            report[k] = replyPos_ < reply_.size() ? reply_[replyPos_] : 0x00;
            ++replyPos_;
        }
    }
    log(TrafficEntry::GetFeature, report, ok);
    return ok;
}

void MouseFirmware::startReply(std::vector<std::uint8_t> bytes) {
    reply_ = std::move(bytes);
    replyPos_ = 0;
}

void MouseFirmware::storeByte(std::uint16_t address, std::uint8_t value) {
    // Flash can only clear bits: a write over unerased bytes shows as their AND.
    if (config_.kind == DeviceKind::Macro) {
        memory_[address] &= value;
    } else {
        memory_[address] = value;
    }
}

bool MouseFirmware::command(const std::uint8_t* r) {
    ++counters_.commands;
    const std::uint8_t cmd = r[1];
    if (refused_.count(cmd)) return false;
    if (const auto it = refuseAfter_.find(cmd); it != refuseAfter_.end()) {
        if (it->second == 0) return false;
        --it->second;
    }
    // A new command ends whatever transfer the previous one started.
    startReply({});
    writeRemaining_ = 0;
    const std::uint16_t length = word(r[4], r[5]);
    switch (cmd) {
        case 0x04: {  // register read
            const std::uint16_t reg = word(r[2], r[3]);
            std::uint8_t value = 0x00;
            if (reg == 0x90E7) value = config_.checkRegister;
            if (reg == 0x90E4) value = config_.optionByte;
            if (reg == 0x0008) value = config_.flashRegister;
            startReply({value, 0, 0, 0, 0, 0, 0});
            return true;
        }
        case 0x16:  // device info
            startReply({0, 0, 0, config_.layout, 0, config_.classByte, 0});
            return true;
        case 0x0B:    // short block read: only the low address byte travels
        case 0x0E: {  // long block read
            if (cmd == 0x0E && !longAccess()) return false;
            std::uint16_t address =
                cmd == 0x0B ? static_cast<std::uint16_t>(kImageAddress + r[3]) : word(r[2], r[3]);
            std::vector<std::uint8_t> bytes(length);
            const bool corrupt = corruptReadAt_ == address && !bytes.empty();
            if (corrupt) corruptReadAt_.reset();
            for (auto& b : bytes) b = memory_[address++];
            if (corrupt) bytes[0] ^= 0x01;
            startReply(std::move(bytes));
            return true;
        }
        case 0x09:  // short block write
        case 0x12:  // long block write
            if (cmd == 0x12 && !longAccess()) return false;
            writeAddress_ = cmd == 0x09 ? kImageAddress + r[3] : word(r[2], r[3]);
            writeRemaining_ = length;
            return true;
        case 0x11: {  // sector erase
            if (!longAccess()) return false;
            ++counters_.erases;
            const std::size_t start = (static_cast<std::size_t>(r[2]) << 8) & ~(kSectorSize - 1);
            std::fill_n(memory_.begin() + static_cast<std::ptrdiff_t>(start), kSectorSize, 0xFF);
            return true;
        }
        case 0x19:
            ++counters_.reloads;
            return true;
        case 0x03:
            ++counters_.rateSwitches;
            return true;
        case 0x18:
            ++counters_.reloadsAfterRate;
            return true;
        default:
            return true;  // the probe's register 0x0011 and anything else: accepted
    }
}

}  // namespace sim
