#include "sim_control.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <type_traits>

#include "sim/sim_presets.h"

namespace mousesim {
namespace {

std::optional<unsigned long> number(const std::string& text, int base = 0) {
    if (text.empty()) return std::nullopt;
    try {
        std::size_t used = 0;
        const unsigned long v = std::stoul(text, &used, base);
        if (used != text.size()) return std::nullopt;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> idPair(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto vid = number(text.substr(0, colon), 16);
    const auto pid = number(text.substr(colon + 1), 16);
    if (!vid || !pid || *vid > 0xFFFF || *pid > 0xFFFF) return std::nullopt;
    return std::pair{static_cast<std::uint16_t>(*vid), static_cast<std::uint16_t>(*pid)};
}

}  // namespace

std::string usage() {
    return "usage: quorvex-mouse-sim MOUNTDIR [options]\n"
           "Serves a simulated Quorvex mouse as MOUNTDIR/hidraw0 (FUSE, in the foreground;\n"
           "SIGTERM or Ctrl-C unmounts). Control it through MOUNTDIR/ctl.\n"
           "  --kind macro|image      device kind (default macro)\n"
           "  --vid HEX --pid HEX     USB ids (default 1209:5158)\n"
           "  --feature-length N      feature report length (default 8)\n"
           "  --layout N              layout type in the device info (default 58)\n"
           "  --class HEX             class byte in the device info\n"
           "  --option HEX            option byte, register 0x90E4\n"
           "  --flash HEX             flash register 0x0008\n"
           "  --check HEX             register 0x90E7 (default AF)\n"
           "  --model-id HEXHEX       ModelId bytes (default 2802)\n"
           "  --blank                 no factory image in the memory\n"
           "  --report-latency-us N   time each report takes (default 0; a real mouse: 1000)\n"
           "  --mice N                N mice alike, hidraw0 onwards (default 1, at most 16)\n"
           "  --extra-device VID:PID  an unrelated HID node (repeatable)\n"
           "  --locked-device VID:PID an unrelated node that refuses to open (repeatable)\n"
           "Control file commands, for mouse 1 or, after \"mouseN \", mouse N: unplug | plug | "
           "fault refuse CMD | fault fetch on|off |\n"
           "  fault unplug-after N | fault clear | dump PATH | clear-counters\n";
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    o.firmware = sim::presetConfig(sim::DeviceKind::Macro);
    bool classGiven = false, optionGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        // A hex value up to `max`, stored into `out`.
        const auto hexValue = [&](auto& out, unsigned long max) {
            const auto v = value();
            const auto n = v ? number(*v, 16) : std::nullopt;
            if (!n || *n > max) {
                if (error.empty()) error = a + " needs a hex value up to " + std::to_string(max);
                return false;
            }
            out = static_cast<std::remove_reference_t<decltype(out)>>(*n);
            return true;
        };
        const auto hexByte = [&](std::uint8_t& out) { return hexValue(out, 0xFF); };
        // A decimal value from `min` to `max`, stored into `out`.
        const auto decimalValue = [&](auto& out, unsigned long min, unsigned long max) {
            const auto v = value();
            const auto n = v ? number(*v, 10) : std::nullopt;
            if (!n || *n < min || *n > max) {
                if (error.empty())
                    error = a + " is " + std::to_string(min) + " to " + std::to_string(max);
                return false;
            }
            out = static_cast<std::remove_reference_t<decltype(out)>>(*n);
            return true;
        };
        const auto hexWord = [&](std::uint16_t& out) { return hexValue(out, 0xFFFF); };
        if (a == "--kind") {
            const auto v = value();
            const auto kind = v ? sim::parseDeviceKind(*v) : std::nullopt;
            if (!kind) {
                if (error.empty()) error = "--kind is macro or image";
                return std::nullopt;
            }
            const sim::FirmwareConfig preset = sim::presetConfig(*kind);
            o.firmware.kind = preset.kind;
            if (!classGiven) o.firmware.classByte = preset.classByte;
            if (!optionGiven) o.firmware.optionByte = preset.optionByte;
        } else if (a == "--vid") {
            if (!hexWord(o.firmware.vendorId)) return std::nullopt;
        } else if (a == "--pid") {
            if (!hexWord(o.firmware.productId)) return std::nullopt;
        } else if (a == "--feature-length") {
            if (!decimalValue(o.firmware.featureReportLength, 2, 64)) return std::nullopt;
        } else if (a == "--layout") {
            if (!decimalValue(o.firmware.layout, 0, 255)) return std::nullopt;
        } else if (a == "--class") {
            if (!hexByte(o.firmware.classByte)) return std::nullopt;
            classGiven = true;
        } else if (a == "--option") {
            if (!hexByte(o.firmware.optionByte)) return std::nullopt;
            optionGiven = true;
        } else if (a == "--flash") {
            if (!hexByte(o.firmware.flashRegister)) return std::nullopt;
        } else if (a == "--check") {
            if (!hexByte(o.firmware.checkRegister)) return std::nullopt;
        } else if (a == "--model-id") {
            std::uint16_t id = 0;
            if (!hexWord(id)) return std::nullopt;
            o.firmware.modelId = {static_cast<std::uint8_t>(id >> 8),
                                  static_cast<std::uint8_t>(id)};
        } else if (a == "--mice") {
            if (!decimalValue(o.mice, 1, 16)) return std::nullopt;
        } else if (a == "--report-latency-us") {
            if (!decimalValue(o.firmware.reportLatencyUs, 0, 1000000)) return std::nullopt;
        } else if (a == "--blank") {
            o.factoryContents = false;
        } else if (a == "--extra-device" || a == "--locked-device") {
            const auto v = value();
            const auto ids = v ? idPair(*v) : std::nullopt;
            if (!ids) {
                if (error.empty()) error = a + " needs VID:PID in hex";
                return std::nullopt;
            }
            (a == "--extra-device" ? o.extraDevices : o.lockedDevices).push_back(*ids);
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (o.mountDir.empty()) {
            o.mountDir = a;
        } else {
            error = "only one MOUNTDIR";
            return std::nullopt;
        }
    }
    if (o.mountDir.empty()) {
        error = "MOUNTDIR is missing";
        return std::nullopt;
    }
    return o;
}

std::vector<std::uint8_t> mouseDescriptor(std::uint16_t featureReportLength) {
    const auto count = static_cast<std::uint8_t>(featureReportLength - 1);
    return {
        0x06, 0x00,  0xFF,  // Usage Page (vendor 0xFF00)
        0x09, 0x01,         // Usage (1)
        0xA1, 0x01,         // Collection (Application)
        0x15, 0x00,         //   Logical Minimum (0)
        0x26, 0xFF,  0x00,  //   Logical Maximum (255)
        0x75, 0x08,         //   Report Size (8)
        0x85, 0x40,         //   Report ID (0x40): commands
        0x95, count,        //   Report Count
        0x09, 0x02,         //   Usage (2)
        0xB1, 0x02,         //   Feature (Data, Var, Abs)
        0x85, 0x41,         //   Report ID (0x41): data
        0x95, count,        //   Report Count
        0x09, 0x03,         //   Usage (3)
        0xB1, 0x02,         //   Feature (Data, Var, Abs)
        0xC0,               // End Collection
    };
}

std::vector<std::uint8_t> keyboardDescriptor() {
    return {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,              // Generic Desktop, Keyboard, Application
        0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,  // modifier keys
        0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,  // 8 bits of Input
        0x95, 0x01, 0x75, 0x08, 0x81, 0x01,              // reserved byte
        0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x95, 0x05,  // LEDs
        0x75, 0x01, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01,  // Output
        0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x15, 0x00, 0x25, 0x65,  // key array
        0x95, 0x06, 0x75, 0x08, 0x81, 0x00, 0xC0,
    };
}

Simulator::Simulator(const Options& options) {
    int n = 0;
    for (int m = 0; m < options.mice; ++m) {
        auto& fw = firmwares_.emplace_back(std::make_unique<sim::MouseFirmware>(options.firmware));
        if (options.factoryContents) sim::programFactoryContents(*fw);
        fw->setLogging(false);  // a long-running node would otherwise grow without end
        nodes_.push_back({"hidraw" + std::to_string(n++), options.firmware.vendorId,
                          options.firmware.productId,
                          mouseDescriptor(options.firmware.featureReportLength), fw.get()});
    }
    for (const auto& [vid, pid] : options.extraDevices) {
        nodes_.push_back({"hidraw" + std::to_string(n++), vid, pid, keyboardDescriptor()});
    }
    for (const auto& [vid, pid] : options.lockedDevices) {
        nodes_.push_back(
            {"hidraw" + std::to_string(n++), vid, pid, keyboardDescriptor(), nullptr, true});
    }
}

const Node* Simulator::node(const std::string& name) const {
    for (const Node& n : nodes_) {
        if (n.name == name) return (n.firmware && !n.firmware->plugged()) ? nullptr : &n;
    }
    return nullptr;
}

std::string Simulator::control(const std::string& line) {
    std::istringstream in(line);
    std::string verb, what, arg;
    in >> verb;
    std::size_t mouse = 0;
    if (verb.starts_with("mouse")) {
        const auto n = number(verb.substr(5), 10);
        if (!n || *n < 1 || *n > firmwares_.size())
            return "mouse1 to mouse" + std::to_string(firmwares_.size()) + ", not " + verb;
        mouse = *n - 1;
        in >> verb;
    }
    in >> what >> arg;
    sim::MouseFirmware& fw = *firmwares_[mouse];
    if (verb.empty()) return {};
    if (verb == "unplug") {
        fw.unplug();
    } else if (verb == "plug") {
        fw.plug();
    } else if (verb == "clear-counters") {
        fw.clearTraffic();
    } else if (verb == "dump") {
        if (what.empty()) return "dump needs a file path";
        std::ofstream out(what, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(fw.memory().data()),
                  static_cast<std::streamsize>(fw.memory().size()));
        if (!out) return "cannot write " + what;
    } else if (verb == "fault" && what == "refuse") {
        const auto cmd = number(arg, 16);
        if (!cmd || *cmd > 0xFF) return "fault refuse needs a command byte in hex";
        fw.refuseCommand(static_cast<std::uint8_t>(*cmd));
    } else if (verb == "fault" && what == "fetch") {
        if (arg != "on" && arg != "off") return "fault fetch on|off";
        fw.failFetches(arg == "on");
    } else if (verb == "fault" && what == "unplug-after") {
        const auto n = number(arg, 10);
        if (!n) return "fault unplug-after needs a number of reports";
        fw.unplugAfter(*n);
    } else if (verb == "fault" && what == "clear") {
        fw.clearFaults();
    } else {
        return "unknown command: " + line;
    }
    return {};
}

std::string Simulator::status() const {
    const sim::MouseFirmware& firmware = *firmwares_.front();
    const sim::FirmwareCounters& c = firmware.counters();
    char text[512];
    std::snprintf(text, sizeof(text),
                  "plugged %d\ncommands %d\ndata_in %d\ndata_out %d\nerases %d\nreloads %d\n"
                  "rate_switches %d\nreloads_after_rate %d\n",
                  firmware.plugged() ? 1 : 0, c.commands, c.dataReportsIn, c.dataReportsOut,
                  c.erases, c.reloads, c.rateSwitches, c.reloadsAfterRate);
    return text;
}

}  // namespace mousesim
