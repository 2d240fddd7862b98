// The protocol layer on a HID backend whose every answer comes from the fuzzer: interfaces that
// come and go, ids, report lengths, refused reports and any bytes fetched.
#include <vector>

#include "device/hid_transport.h"
#include "fuzz_check.h"

namespace {

class ScriptedBackend : public device::HidBackend {
  public:
    ScriptedBackend(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    bool yes() { return next() & 1; }

    std::vector<std::string> interfacePaths() override {
        std::vector<std::string> paths;
        for (int n = next() % 4; n > 0; --n) paths.push_back("if" + std::to_string(n));
        return paths;
    }
    device::HidHandle open(const std::string&) override {
        return yes() ? handles_++ : device::kInvalidHandle;
    }
    std::optional<device::HidAttributes> attributes(device::HidHandle) override {
        if (!yes()) return std::nullopt;
        const bool mouse = yes();
        return device::HidAttributes{std::uint16_t(mouse ? 0x1209 : next() << 8 | next()),
                                     std::uint16_t(mouse ? 0x5158 : next() << 8 | next()),
                                     next()};
    }
    std::optional<std::uint16_t> featureReportLength(device::HidHandle) override {
        if (!yes()) return std::nullopt;
        return yes() ? std::uint16_t(8) : std::uint16_t(next() << 8 | next());
    }
    bool setFeature(device::HidHandle, std::span<const std::uint8_t> report) override {
        fuzzing::require(report.size() == device::kReportLength);
        return yes();
    }
    bool getFeature(device::HidHandle, std::span<std::uint8_t> report) override {
        fuzzing::require(report.size() == device::kReportLength);
        for (std::uint8_t& b : report) b = next();
        return yes();
    }
    void close(device::HidHandle) override {}

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    device::HidHandle handles_ = 3;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedBackend backend(data, size);
    device::HidTransport transport(backend);
    (void)transport.CountHidDevices();
    if (!transport.OpenMouse(0x1209, 0x5158)) return 0;
    // Blocks of any length into and out of buffers of any size: nothing beyond them is touched.
    for (int round = 0; round < 4; ++round) {
        const std::uint16_t length = std::uint16_t(backend.next() << 4 | backend.next() >> 4);
        const auto access = backend.yes() ? device::Access::Long : device::Access::Short;
        std::vector<std::uint8_t> buffer(backend.next());
        if (backend.yes()) {
            (void)transport.ReadBlock(access, 0x6000, length, buffer);
        } else {
            (void)transport.WriteBlock(access, 0x6000, length, buffer);
        }
        (void)transport.ReceiveData();
        (void)transport.MouseStillPresent();
    }
    transport.Reset();
    fuzzing::require(!transport.handlesValid());
    return 0;
}
