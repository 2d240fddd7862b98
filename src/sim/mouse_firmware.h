#pragma once
// A model of the Quorvex mouse as seen through its feature reports: what every command does,
// the memory behind the addresses, flash semantics on macro devices, a traffic log, and faults
// to inject. Tests, benchmarks, the simulated-mouse mode and the FUSE tool all drive it.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace sim {

enum class DeviceKind { ImageOnly, Macro };

struct FirmwareConfig {
    std::uint16_t vendorId = 0x1209;
    std::uint16_t productId = 0x5158;
    std::uint16_t featureReportLength = 8;
    DeviceKind kind = DeviceKind::Macro;
    std::uint8_t layout = 58;           // device info d3
    std::uint8_t classByte = 0xA0;      // device info d5
    std::uint8_t optionByte = 0x00;     // register 0x90E4
    std::uint8_t flashRegister = 0xC8;  // register 0x0008: 0x9D class 32, 0xC8 class 64
    std::uint8_t checkRegister = 0xAF;  // register 0x90E7
    std::array<std::uint8_t, 2> modelId{0x28, 0x02};
    // Time each report takes, as a USB control transfer does on a real mouse (about 1 ms).
    std::uint32_t reportLatencyUs = 0;
};

struct TrafficEntry {
    enum Direction { SetFeature, GetFeature } direction;
    std::array<std::uint8_t, 8> report;  // as sent, or as answered
    bool ok;
};

struct FirmwareCounters {
    int reloads = 0;           // command 0x19
    int rateSwitches = 0;      // command 0x03
    int reloadsAfterRate = 0;  // command 0x18
    int erases = 0;            // command 0x11
    int commands = 0;
    int dataReportsIn = 0;   // data reports sent to the mouse
    int dataReportsOut = 0;  // data reports fetched from the mouse
};

class MouseFirmware {
  public:
    static constexpr std::uint16_t kImageAddress = 0x6000;
    static constexpr std::size_t kMemorySize = 0x10000;
    static constexpr std::size_t kSectorSize = 4096;

    explicit MouseFirmware(FirmwareConfig config = {});

    const FirmwareConfig& config() const { return config_; }

    // One feature report from the host. `report` is the whole report, id first.
    bool setFeature(std::span<const std::uint8_t> report);
    // One fetch: `report[0]` is the requested id; the answer replaces the report.
    bool getFeature(std::span<std::uint8_t> report);

    // The 64 KiB address space. An image-only device keeps only its image at 0x6000.
    std::array<std::uint8_t, kMemorySize>& memory() { return memory_; }
    const std::array<std::uint8_t, kMemorySize>& memory() const { return memory_; }
    // Places bytes as a factory would, bypassing flash semantics.
    void program(std::uint16_t address, std::span<const std::uint8_t> bytes);
    std::span<const std::uint8_t> read(std::uint16_t address, std::size_t length) const;

    const FirmwareCounters& counters() const { return counters_; }
    const std::vector<TrafficEntry>& traffic() const { return traffic_; }
    void clearTraffic();
    void setLogging(bool on) { logging_ = on; }

    // Faults.
    void refuseCommand(std::uint8_t command) { refused_.insert(command); }
    // Accepts the command `times` more times, then refuses it.
    void refuseCommandAfter(std::uint8_t command, int times) { refuseAfter_[command] = times; }
    void failFetches(bool on) { failFetches_ = on; }
    // Data reports sent to the mouse fail while commands still succeed.
    void failDataReports(bool on) { failDataReports_ = on; }
    // After `reports` more reports the mouse is gone; every report then fails at once.
    void unplugAfter(std::size_t reports) { unplugAfter_ = reports; }
    // The next read of a block at `address` answers with one bit of its first byte flipped.
    void corruptNextReadAt(std::uint16_t address) { corruptReadAt_ = address; }
    void unplug() { goAway(); }
    void plug() {
        plugged_ = true;
        unplugAfter_.reset();
    }
    bool plugged() const { return plugged_; }
    // Counts the unplugs: a handle opened before one answers nothing after it, even once the
    // mouse is plugged back, as the node it was opened on is gone.
    unsigned plugGeneration() const { return generation_; }
    void clearFaults();

  private:
    bool countReport();
    void goAway() {
        if (plugged_) ++generation_;
        plugged_ = false;
    }
    void log(TrafficEntry::Direction direction, std::span<const std::uint8_t> report, bool ok);
    bool command(const std::uint8_t* r);
    void storeByte(std::uint16_t address, std::uint8_t value);
    void startReply(std::vector<std::uint8_t> bytes);
    bool longAccess() const { return config_.kind == DeviceKind::Macro; }

    FirmwareConfig config_;
    std::array<std::uint8_t, kMemorySize> memory_{};

    // What the next fetches deliver, 7 bytes each.
    std::vector<std::uint8_t> reply_;
    std::size_t replyPos_ = 0;
    // Where the next data reports go.
    std::uint32_t writeAddress_ = 0;
    std::size_t writeRemaining_ = 0;

    FirmwareCounters counters_;
    std::vector<TrafficEntry> traffic_;
    bool logging_ = true;

    std::set<std::uint8_t> refused_;
    std::map<std::uint8_t, int> refuseAfter_;
    bool failFetches_ = false;
    bool failDataReports_ = false;
    std::optional<std::size_t> unplugAfter_;
    std::optional<std::uint16_t> corruptReadAt_;
    bool plugged_ = true;
    unsigned generation_ = 0;
};

}  // namespace sim
