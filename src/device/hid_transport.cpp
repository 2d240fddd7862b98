#include "device/hid_transport.h"

#include <algorithm>
#include <vector>

namespace device {
namespace {

using Report = std::array<std::uint8_t, kReportLength>;

constexpr Report kCommandProbe{
    kCommandReportId, kCmdRegisterRead, 0x00, 0x11, 0x00, 0x01, 0x00, 0x00};
constexpr Report kDataProbe{kDataReportId, 0, 0, 0, 0, 0, 0, 0};
// Bytes after the end of a block in its last report. 0xFF can clear no flash bit, so even a
// firmware that took them could not change anything.
constexpr std::uint8_t kFiller = 0xFF;

struct BlockCommand {
    std::uint8_t command, p2, p3, p4, p5;
};

BlockCommand blockCommand(Access access, std::uint8_t shortCmd, std::uint8_t longCmd,
                          std::uint16_t address, std::uint16_t length) {
    const auto low = static_cast<std::uint8_t>(address & 0xFF);
    const auto lenHigh = static_cast<std::uint8_t>(length >> 8);
    const auto lenLow = static_cast<std::uint8_t>(length & 0xFF);
    if (access == Access::Short) return {shortCmd, 0x00, low, lenHigh, lenLow};
    return {longCmd, static_cast<std::uint8_t>(address >> 8), low, lenHigh, lenLow};
}

}  // namespace

bool HidTransport::sendReport(HidHandle handle, const Report& report) {
    return backend_.setFeature(handle, report);
}

int HidTransport::CountHidDevices() {
    int count = 0;
    for (const std::string& path : backend_.interfacePaths()) {
        const HidHandle h = backend_.open(path);
        if (h == kInvalidHandle) continue;
        ++count;
        backend_.close(h);
    }
    return count;
}

bool HidTransport::OpenMouse(std::uint16_t vendorId, std::uint16_t productId) {
    Reset();
    bool matched = false;
    std::vector<HidHandle> opened;
    std::string commandPath, dataPath;
    for (const std::string& path : backend_.interfacePaths()) {
        const HidHandle h = backend_.open(path);
        if (h == kInvalidHandle) continue;
        opened.push_back(h);
        const auto attrs = backend_.attributes(h);
        const auto length = backend_.featureReportLength(h);
        if (!attrs || !length || *length != kReportLength) continue;
        if (attrs->vendorId != vendorId || attrs->productId != productId) continue;
        matched = true;
        vendorId_ = vendorId;
        productId_ = productId;
        featureReportLength_ = *length;
        if (sendReport(h, kCommandProbe)) {
            commandHandle_ = h;
            commandPath = path;
        }
        if (sendReport(h, kDataProbe)) {
            dataHandle_ = h;
            dataPath = path;
        }
    }
    // Everything the walk opened that did not end up as a handle of the link is closed,
    // including an earlier match that a later one replaced.
    for (HidHandle h : opened) {
        if (h != commandHandle_ && h != dataHandle_) backend_.close(h);
    }
    devicePath_ = commandHandle_ != kInvalidHandle ? commandPath : dataPath;
    return matched;
}

bool HidTransport::SendCommand(std::uint8_t command, std::uint8_t p2, std::uint8_t p3,
                               std::uint8_t p4, std::uint8_t p5) {
    if (commandHandle_ == kInvalidHandle) return false;
    return sendReport(commandHandle_, {kCommandReportId, command, p2, p3, p4, p5, 0x00, 0x00});
}

bool HidTransport::SendData(const Chunk& data) {
    Report report{kDataReportId};
    std::copy(data.begin(), data.end(), report.begin() + 1);
    const bool sent = dataHandle_ != kInvalidHandle && sendReport(dataHandle_, report);
    if (!sent) ++failedReports_;
    return sent;
}

const Chunk& HidTransport::ReceiveData() {
    receiveBuffer_.fill(0xFF);
    Report request{kDataReportId};
    if (dataHandle_ != kInvalidHandle && backend_.getFeature(dataHandle_, request)) {
        std::copy(request.begin() + 1, request.end(), receiveBuffer_.begin());
    } else {
        ++failedReports_;
    }
    return receiveBuffer_;
}

bool HidTransport::ReadBlock(Access access, std::uint16_t address, std::uint16_t length,
                             std::span<std::uint8_t> target, const ChunkPump& pump) {
    PieceRead read;
    if (!StartRead(access, address, length, target, read)) return false;
    ContinueRead(read, read.reportsLeft(), pump);
    return true;
}

bool HidTransport::StartRead(Access access, std::uint16_t address, std::uint16_t length,
                             std::span<std::uint8_t> target, PieceRead& read) {
    std::ranges::fill(target, 0xFF);
    read = {target, length, 0};
    const BlockCommand c = blockCommand(access, kCmdShortRead, kCmdLongRead, address, length);
    if (SendCommand(c.command, c.p2, c.p3, c.p4, c.p5)) return true;
    read.position = length;  // nothing to fetch after a refused command
    return false;
}

void HidTransport::ContinueRead(PieceRead& read, std::size_t reports, const ChunkPump& pump) {
    const std::size_t stored = std::min<std::size_t>(read.length, read.target.size());
    for (; reports > 0 && !read.done(); --reports, read.position += kChunkLength) {
        if (pump) pump();
        const Chunk& chunk = ReceiveData();
        if (read.position < stored) {
            const std::size_t n = std::min(kChunkLength, stored - read.position);
            std::copy_n(chunk.begin(), n,
                        read.target.begin() + static_cast<std::ptrdiff_t>(read.position));
        }
    }
}

bool HidTransport::WriteBlock(Access access, std::uint16_t address, std::uint16_t length,
                              std::span<const std::uint8_t> source, const ChunkPump& pump) {
    const BlockCommand c = blockCommand(access, kCmdShortWrite, kCmdLongWrite, address, length);
    if (!SendCommand(c.command, c.p2, c.p3, c.p4, c.p5)) return false;
    const std::size_t available = std::min<std::size_t>(length, source.size());
    for (std::size_t pos = 0; pos < length; pos += kChunkLength) {
        if (pump) pump();
        Chunk chunk;
        chunk.fill(kFiller);
        if (pos < available) {
            const std::size_t n = std::min(kChunkLength, available - pos);
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(pos), n, chunk.begin());
        }
        SendData(chunk);
    }
    return true;
}

bool HidTransport::MouseStillPresent() {
    if (!handlesValid()) return false;
    const auto paths = backend_.interfacePaths();
    if (std::find(paths.begin(), paths.end(), devicePath_) == paths.end()) return false;
    const auto attrs = backend_.attributes(commandHandle_);
    return attrs && attrs->vendorId == vendorId_ && attrs->productId == productId_;
}

void HidTransport::Reset() {
    if (commandHandle_ != kInvalidHandle) backend_.close(commandHandle_);
    if (dataHandle_ != kInvalidHandle && dataHandle_ != commandHandle_) backend_.close(dataHandle_);
    commandHandle_ = kInvalidHandle;
    dataHandle_ = kInvalidHandle;
    vendorId_ = 0;
    productId_ = 0;
    featureReportLength_ = 0;
    devicePath_.clear();
}

}  // namespace device
