#include "macros/macro_model.h"

#include <charconv>
#include <cstdio>

#include "image/hex_text.h"
#include "image/utf_text.h"
#include "keys/key_tables.h"

namespace macros {
namespace {

struct MouseEvent {
    Byte code;
    const char* line;
};

constexpr MouseEvent kMouseEvents[] = {
    {0xA1, "1 LeftKey CODE:00A1"},   {0x21, "2 LeftKey CODE:0021"},
    {0xA2, "1 RightKey CODE:00A2"},  {0x22, "2 RightKey CODE:0022"},
    {0xA4, "1 MiddleKey CODE:00A4"}, {0x24, "2 MiddleKey CODE:0024"},
    {0xA8, "1 Forward CODE:00A8"},   {0x28, "2 Forward CODE:0028"},
    {0xB0, "1 Backward CODE:00B0"},  {0x30, "2 Backward CODE:0030"},
};

// Events the editor never writes but recognises, with their lengths.
int reservedLength(Byte code) {
    switch (code) {
        case 0x03:
        case 0xFC:
            return 1;
        case 0xFD:
            return 2;
        case 0x04:
        case 0x83:
            return 3;
        default:
            return 0;
    }
}

// The virtual key whose name a modifier bit shows under.
int modifierVirtualKey(Byte bit) {
    switch (bit) {
        case 0x01:
            return 0x11;
        case 0x02:
            return 0x10;
        case 0x04:
            return 0x12;
        case 0x08:
            return 0x5B;
        case 0x80:
            return 0x5C;
        default:
            return -1;
    }
}

std::string hex2(Byte b) {
    return image::toHexText(std::span<const Byte>(&b, 1));
}

}  // namespace

std::size_t eventLength(Byte code) {
    switch (code) {
        case 0x81:
        case 0x01:
        case 0x82:
        case 0x02:
            return 2;
        case 0xFE:
            return 3;
        case kEndMark:
            return 1;
        default:
            break;
    }
    if (const int reserved = reservedLength(code)) return static_cast<std::size_t>(reserved);
    for (const MouseEvent& m : kMouseEvents) {
        if (m.code == code) return 1;
    }
    return 0;
}

std::uint16_t dataLength(std::span<const Byte> record) {
    return static_cast<std::uint16_t>(record[0] << 8 | record[1]);
}

void setDataLength(std::span<Byte> record, std::uint16_t length) {
    record[0] = static_cast<Byte>(length >> 8);
    record[1] = static_cast<Byte>(length & 0xFF);
}

std::string recordName(std::span<const Byte> record) {
    const std::size_t length = record[3];
    if (length > kNameBytes) return {};  // a blank (erased) record: 0xFF, no name
    // Code units are taken from the end; a leading odd byte is ignored.
    const std::size_t units = length / 2;
    const std::size_t first = 4 + length - units * 2;
    std::vector<char16_t> text;
    for (std::size_t u = 0; u < units; ++u) {
        text.push_back(
            static_cast<char16_t>(record[first + 2 * u] << 8 | record[first + 2 * u + 1]));
    }
    return image::utf16ToUtf8(text);
}

void setRecordName(std::span<Byte> record, const std::string& name) {
    std::vector<char16_t> units = image::utf8ToUtf16(name);
    if (units.size() > kNameBytes / 2) {
        units.resize(kNameBytes / 2);
        if (units.back() >= 0xD800 && units.back() <= 0xDBFF) units.pop_back();
    }
    record[2] = 0;
    record[3] = static_cast<Byte>(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        record[4 + 2 * i] = static_cast<Byte>(units[i] >> 8);
        record[5 + 2 * i] = static_cast<Byte>(units[i] & 0xFF);
    }
}

EventList MacroToMemo(std::span<const Byte> block, std::size_t length) {
    if (length > kBlockSize || length > block.size()) length = 0;
    EventList list;
    list.lines.push_back("00");
    std::array<int, 4> firstDelays{};
    std::size_t delays = 0;
    std::size_t i = 0;
    while (length > 0 && i < length - 1) {
        const Byte code = block[i];
        // An event that would run past the data length is not part of the macro.
        const auto need = [&](std::size_t n) { return i + n <= length; };
        if ((code == 0x81 || code == 0x01) && need(2)) {
            const int vk = modifierVirtualKey(block[i + 1]);
            const std::string name =
                vk < 0 ? std::string() : keys::KeyIndexToKeyName(keys::VirtualKeyToKeyIndex(vk));
            list.lines.push_back(std::string(code == 0x81 ? "1 " : "2 ") + name +
                                 " CODE:" + hex2(code) + hex2(block[i + 1]));
            i += 2;
        } else if ((code == 0x82 || code == 0x02) && need(2)) {
            list.lines.push_back(std::string(code == 0x82 ? "1 " : "2 ") +
                                 keys::KeyUsageToKeyName(block[i + 1]) + " CODE:" + hex2(code) +
                                 hex2(block[i + 1]));
            i += 2;
        } else if (code == 0xFE && need(3)) {
            const int v = block[i + 1] * 256 + block[i + 2];
            list.lines.push_back("0 " + std::to_string(v));
            if (delays < firstDelays.size()) firstDelays[delays++] = v;
            i += 3;
        } else if (const int reserved = reservedLength(code)) {
            i += static_cast<std::size_t>(reserved);
        } else {
            const MouseEvent* mouse = nullptr;
            for (const MouseEvent& m : kMouseEvents) {
                if (m.code == code) mouse = &m;
            }
            if (!mouse) break;  // no event starts with this byte: the rest cannot be read
            list.lines.push_back(mouse->line);
            i += 1;
        }
    }
    const auto [d1, d2, d3, d4] = firstDelays;
    if (d1 == 0 && d2 == 0 && d3 == 0 && d4 == 0) {
        list.mode = DelayMode::None;
    } else if (d1 == d2 && d2 == d3 && d3 == d4) {
        list.mode = DelayMode::Default;
        list.defaultDelay = d1;
        list.lines[0] = "01" + std::to_string(d1);
    } else {
        list.mode = DelayMode::Recorded;
        list.lines[0] = "10";
    }
    return list;
}

std::vector<Byte> MemoToMacro(const std::vector<std::string>& lines, bool* cut) {
    std::vector<Byte> bytes;
    if (cut) *cut = false;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty()) continue;
        std::string hex;
        if (line[0] == '0') {
            long v = 0;
            if (line.size() > 2) {
                const char* first = line.data() + 2;
                const auto [end, ec] = std::from_chars(first, line.data() + line.size(), v);
                if (ec != std::errc()) v = ec == std::errc::result_out_of_range ? 65535 : 0;
            }
            if (v < 0) v = 0;
            if (v > 65535) v = 65535;  // four hex digits hold no more
            char text[8];
            std::snprintf(text, sizeof(text), "FE%04lX", v);
            hex = text;
        } else {
            hex = line.size() >= 4 ? line.substr(line.size() - 4) : line;
            if (hex.starts_with("00")) hex = hex.substr(2);
        }
        const auto event = image::fromHexText(hex);
        if (!event) continue;  // not an event line of ours
        if (bytes.size() + event->size() + 1 > kBlockSize) {
            if (cut) *cut = true;
            break;
        }
        bytes.insert(bytes.end(), event->begin(), event->end());
    }
    bytes.push_back(0x00);
    return bytes;
}

int lineKind(const std::string& line) {
    if (line.empty() || line[0] < '0' || line[0] > '2') return 0;
    return line[0] - '0';
}

std::string lineDisplayText(const std::string& line) {
    std::string text = line;
    if (lineKind(line) == 0) {
        text += " ms";
    } else {
        text = text.size() > 10 ? text.substr(0, text.size() - 10) : std::string();
    }
    return text.size() > 2 ? text.substr(2) : std::string();
}

}  // namespace macros
