#pragma once
// The mouse protocol on top of HidBackend: 8-byte feature reports, id 0x40 for commands and
// 0x41 for 7-byte data chunks, and the block transfers built on them.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "device/hid_backend.h"

namespace device {

inline constexpr std::uint8_t kCommandReportId = 0x40;
inline constexpr std::uint8_t kDataReportId = 0x41;
inline constexpr std::size_t kReportLength = 8;
inline constexpr std::size_t kChunkLength = 7;

enum Command : std::uint8_t {
    kCmdRateSwitch = 0x03,
    kCmdRegisterRead = 0x04,
    kCmdShortWrite = 0x09,
    kCmdShortRead = 0x0B,
    kCmdLongRead = 0x0E,
    kCmdSectorErase = 0x11,
    kCmdLongWrite = 0x12,
    kCmdDeviceInfo = 0x16,
    kCmdReloadAfterRateSwitch = 0x18,
    kCmdReload = 0x19,
};

// Short access sends only the low address byte (image-only devices); long access the whole
// 16-bit address (macro devices).
enum class Access { Short, Long };

using Chunk = std::array<std::uint8_t, kChunkLength>;

// Called before every chunk of a block transfer, so the window can show the wait window and
// run its message queue. Empty for transfers that must not do that.
using ChunkPump = std::function<void()>;

// Number of reports a block of `length` bytes takes.
constexpr std::size_t chunkCount(std::size_t length) {
    return (length + kChunkLength - 1) / kChunkLength;
}

// A block read taken a few reports at a time (HidTransport::StartRead, ContinueRead).
struct PieceRead {
    std::span<std::uint8_t> target;
    std::uint16_t length = 0;
    std::size_t position = 0;  // bytes asked for so far
    bool done() const { return position >= length; }
    // Reports still to fetch.
    std::size_t reportsLeft() const { return done() ? 0 : chunkCount(length - position); }
};

class HidTransport {
  public:
    explicit HidTransport(HidBackend& backend) : backend_(backend) {}
    ~HidTransport() { Reset(); }
    HidTransport(const HidTransport&) = delete;
    HidTransport& operator=(const HidTransport&) = delete;

    // Number of HID interfaces present whose path can be opened.
    int CountHidDevices();

    // Walks every interface and opens the one with the ids and a feature report length of 8.
    // True when some interface matched, even if neither probe succeeded (then both handles stay
    // invalid). Where several match, the last whose probe succeeds provides each handle.
    bool OpenMouse(std::uint16_t vendorId, std::uint16_t productId);

    bool SendCommand(std::uint8_t command, std::uint8_t p2, std::uint8_t p3, std::uint8_t p4,
                     std::uint8_t p5);
    bool SendData(const Chunk& data);
    // 0xFF x 7 when the data handle is invalid or the fetch fails.
    const Chunk& ReceiveData();

    // Fills the whole target with 0xFF, then reads `length` bytes into it; never writes past
    // the target. False only when the read command is refused; a failed fetch contributes 0xFF.
    bool ReadBlock(Access access, std::uint16_t address, std::uint16_t length,
                   std::span<std::uint8_t> target, const ChunkPump& pump = {});
    // The same read in pieces: StartRead fills the target with 0xFF and sends the command
    // (false when it is refused); ContinueRead fetches up to `reports` more chunks.
    bool StartRead(Access access, std::uint16_t address, std::uint16_t length,
                   std::span<std::uint8_t> target, PieceRead& read);
    void ContinueRead(PieceRead& read, std::size_t reports, const ChunkPump& pump = {});
    // Writes `length` bytes of source (filler beyond the source's end). False only when the
    // write command is refused; the results of the data reports are not looked at.
    bool WriteBlock(Access access, std::uint16_t address, std::uint16_t length,
                    std::span<const std::uint8_t> source, const ChunkPump& pump = {});

    // True while the opened mouse is still listed under its path and still answers with its
    // ids on the link's own handle (so a mouse that vanished, even if its path was reused,
    // is not mistaken for present).
    bool MouseStillPresent();

    // True when an interface with these ids is there but this user may not open it.
    bool MouseAccessDenied(std::uint16_t vendorId, std::uint16_t productId) {
        return !backend_.deniedInterfaces(vendorId, productId).empty();
    }
    // Gives the mouse up: closes the handles, marks them invalid, forgets the identity.
    void Reset();

    bool handlesValid() const {
        return commandHandle_ != kInvalidHandle && dataHandle_ != kInvalidHandle;
    }
    std::uint16_t vendorId() const { return vendorId_; }
    std::uint16_t productId() const { return productId_; }
    // Device path of the interface that provides the command handle (empty when none).
    const std::string& devicePath() const { return devicePath_; }
    // Data reports that could not be sent or fetched so far. A block whose command succeeded can
    // still have lost reports; callers compare this count before and after to tell.
    int failedReports() const { return failedReports_; }

  private:
    bool sendReport(HidHandle handle, const std::array<std::uint8_t, kReportLength>& report);

    HidBackend& backend_;
    HidHandle commandHandle_ = kInvalidHandle;
    HidHandle dataHandle_ = kInvalidHandle;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    std::uint16_t featureReportLength_ = 0;
    std::string devicePath_;
    Chunk receiveBuffer_{};
    int failedReports_ = 0;
};

}  // namespace device
