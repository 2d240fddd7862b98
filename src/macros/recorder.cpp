#include "macros/recorder.h"

#include <algorithm>

#include "keys/key_tables.h"

namespace macros {
namespace {

constexpr std::uint32_t kMaxDelay = 65535;

const char* mouseLine(MouseButton b, bool down) {
    switch (b) {
        case MouseButton::Left:
            return down ? "1 LeftKey CODE:00A1" : "2 LeftKey CODE:0021";
        case MouseButton::Right:
            return down ? "1 RightKey CODE:00A2" : "2 RightKey CODE:0022";
        case MouseButton::Middle:
            return down ? "1 MiddleKey CODE:00A4" : "2 MiddleKey CODE:0024";
        case MouseButton::Forward:
            return down ? "1 Forward CODE:00A8" : "2 Forward CODE:0028";
        case MouseButton::Backward:
            return down ? "1 Backward CODE:00B0" : "2 Backward CODE:0030";
    }
    return "";
}

// The code digits of a key line: the five modifier keys have codes of their own.
std::string codeDigits(int vk, bool press) {
    const char* modifier = nullptr;
    switch (vk) {
        case 0x11:
            modifier = "01";
            break;
        case 0x10:
            modifier = "02";
            break;
        case 0x12:
            modifier = "04";
            break;
        case 0x5B:
            modifier = "08";
            break;
        case 0x5C:
            modifier = "80";
            break;
        default:
            break;
    }
    if (modifier) return std::string(press ? "81" : "01") + modifier;
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::uint8_t usage = keys::KeyIndexToKeyUsage(keys::VirtualKeyToKeyIndex(vk));
    return std::string(press ? "82" : "02") + kHex[usage >> 4] + kHex[usage & 0x0F];
}

}  // namespace

int genericVirtualKey(int vk) {
    switch (vk) {
        case 0xA0:
        case 0xA1:
            return 0x10;
        case 0xA2:
        case 0xA3:
            return 0x11;
        case 0xA4:
        case 0xA5:
            return 0x12;
        default:
            return vk;
    }
}

void Recorder::startNormal(std::vector<std::string>& lines) {
    lines.clear();
    lastTick_ = 0;
    pressCount_ = releaseCount_ = 0;
    pressLimit_ = false;
    lastKey_ = -1;
    // A key held across the start or stop of a recording must not skew later recordings.
    heldCount_ = 0;
    recording_ = true;
    inserting_ = false;
}

void Recorder::startInsert(int position, bool front, int insertPresses, int insertReleases) {
    position_ = position;
    front_ = front;
    insertPresses_ = insertPresses;
    insertReleases_ = insertReleases;
    lastTick_ = 0;
    heldCount_ = 0;
    pressLimit_ = false;
    lastKey_ = -1;
    recording_ = true;
    inserting_ = true;
}

void Recorder::stop() {
    recording_ = false;
    inserting_ = false;
    lastTick_ = 0;
    heldCount_ = 0;
}

void Recorder::ensureModeLine(std::vector<std::string>& lines, const DelayOptions& options) const {
    if (!lines.empty()) return;
    switch (options.mode) {
        case DelayMode::Recorded:
            lines.push_back("10");
            break;
        case DelayMode::Default:
            lines.push_back("01" + options.defaultDelayText);
            break;
        case DelayMode::None:
            lines.push_back("00");
            break;
    }
}

void Recorder::place(std::vector<std::string>& lines, const std::string& line) {
    if (!inserting_) {
        lines.push_back(line);
        return;
    }
    const std::size_t at = static_cast<std::size_t>(position_ + (front_ ? 1 : 2));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(std::min(at, lines.size())), line);
    ++position_;
}

int Recorder::selectedItem(const std::vector<std::string>& lines) const {
    return inserting_ ? position_ : static_cast<int>(lines.size()) - 2;
}

void Recorder::addDelays(std::vector<std::string>& lines, std::uint32_t now,
                         const DelayOptions& options) {
    if (options.mode == DelayMode::None) return;
    if (lastTick_ != 0) {
        std::uint32_t e = options.mode == DelayMode::Recorded
                              ? now - lastTick_
                              : static_cast<std::uint32_t>(std::max(0, options.defaultDelay));
        if (options.mode == DelayMode::Recorded && e > kMaxDelay) e = kMaxDelay;
        for (std::uint32_t i = 0; i < e / kMaxDelay; ++i) place(lines, "0 65535");
        if (e % kMaxDelay) place(lines, "0 " + std::to_string(e % kMaxDelay));
    }
    lastTick_ = now == 0 ? 1 : now;  // 0 means "none yet"
}

bool Recorder::takePress() {
    int& count = inserting_ ? insertPresses_ : pressCount_;
    if (count >= kLimit) {
        pressLimit_ = true;
        return false;
    }
    ++count;
    return true;
}

bool Recorder::takeRelease() {
    int& count = inserting_ ? insertReleases_ : releaseCount_;
    if (count >= kLimit) return false;
    ++count;
    return true;
}

bool Recorder::keyboard(std::vector<std::string>& lines, int vk, KeyState state, std::uint32_t now,
                        const DelayOptions& options) {
    if (!recording_) return false;
    const std::string name = keys::KeyIndexToKeyName(keys::VirtualKeyToKeyIndex(vk));
    if (name == "255") return false;
    ensureModeLine(lines, options);
    std::string prefix;
    switch (state) {
        case KeyState::On:
            if (vk == lastKey_ && heldCount_ != 0) return false;
            if (takePress()) prefix = "1 ";
            lastKey_ = vk;
            ++heldCount_;
            break;
        case KeyState::Repeat:
            if (vk == lastKey_) return false;  // auto-repeat of the held key
            ++heldCount_;
            if (takePress()) prefix = "1 ";
            lastKey_ = vk;
            break;
        case KeyState::Off: {
            if (!pressLimit_) {
                if (takeRelease()) prefix = "2 ";
                lastKey_ = vk;
                --heldCount_;
            }
            const int presses = inserting_ ? insertPresses_ : pressCount_;
            if (presses >= kLimit && vk != lastKey_) {
                if (takeRelease()) prefix = "2 ";
                lastKey_ = vk;
                --heldCount_;
            }
            break;
        }
    }
    if (!prefix.empty()) {
        addDelays(lines, now, options);
        place(lines, prefix + name + " CODE:" + codeDigits(vk, prefix == "1 "));
    }
    return (inserting_ ? insertReleases_ : releaseCount_) >= kLimit;
}

void Recorder::mouse(std::vector<std::string>& lines, MouseButton button, bool down,
                     std::uint32_t now, const DelayOptions& options) {
    if (!recording_) return;
    ensureModeLine(lines, options);
    addDelays(lines, now, options);
    place(lines, mouseLine(button, down));
}

}  // namespace macros
