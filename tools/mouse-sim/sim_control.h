#pragma once
// What quorvex-mouse-sim exposes, independent of FUSE: the nodes it serves, their report
// descriptors, its command line, and the commands of its control file.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/mouse_firmware.h"

namespace mousesim {

struct Node {
    std::string name;  // "hidraw0", ...
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::vector<std::uint8_t> descriptor;
    sim::MouseFirmware* firmware = nullptr;  // null for an unrelated device
    bool locked = false;                     // refuses to open, as without permission
};

struct Options {
    std::string mountDir;
    sim::FirmwareConfig firmware;
    bool factoryContents = true;
    int mice = 1;  // mice of the same kind, hidraw0 onwards
    std::vector<std::pair<std::uint16_t, std::uint16_t>> extraDevices;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> lockedDevices;
};

// Parses "MOUNTDIR [options]"; on error, nothing and a message in `error`.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);
std::string usage();

// A vendor-page descriptor with feature reports 0x40 and 0x41, sized so that the feature
// report length (as Windows counts it) is `featureReportLength`.
std::vector<std::uint8_t> mouseDescriptor(std::uint16_t featureReportLength);
// A boot keyboard's descriptor: input and output reports, no feature report.
std::vector<std::uint8_t> keyboardDescriptor();

class Simulator {
  public:
    explicit Simulator(const Options& options);

    const std::vector<Node>& nodes() const { return nodes_; }
    // The node with that name, if it is present (the mouse is absent while unplugged).
    const Node* node(const std::string& name) const;
    sim::MouseFirmware& firmware(std::size_t mouse = 0) { return *firmwares_.at(mouse); }

    // Runs one line written to the control file; returns an error text, empty on success. A
    // leading "mouseN" sends it to mouse N (1 onwards) instead of the first.
    std::string control(const std::string& line);
    // What reading the control file shows: state and counters.
    std::string status() const;

  private:
    std::vector<std::unique_ptr<sim::MouseFirmware>> firmwares_;
    std::vector<Node> nodes_;
};

}  // namespace mousesim
