#include "keys/key_layout.h"

#include <utility>

namespace keys {
namespace {

class UsKeyNamer : public KeyNamer {
  public:
    std::string printableName(TKeyboardHookKey key) const override {
        if (key >= kh_A && key <= kh_Z) return std::string(1, static_cast<char>('A' + key - kh_A));
        if (key >= kh_0 && key <= kh_9) return std::string(1, static_cast<char>('0' + key - kh_0));
        switch (key) {
            case kh_OEM_1:
                return ";";
            case kh_OEM_2:
                return "/";
            case kh_OEM_3:
                return "`";
            case kh_OEM_4:
                return "[";
            case kh_OEM_5:
            case kh_OEM_102:  // a US layout on an ISO keyboard types the backslash there too
                return "\\";
            case kh_OEM_6:
                return "]";
            case kh_OEM_7:
                return "'";
            case kh_OEM_Plus:
                return "=";
            case kh_OEM_Comma:
                return ",";
            case kh_OEM_Minus:
                return "-";
            case kh_OEM_Period:
                return ".";
            default:
                return {};
        }
    }
};

std::shared_ptr<const KeyNamer>& current() {
    static std::shared_ptr<const KeyNamer> namer;
    return namer;
}

std::function<std::shared_ptr<const KeyNamer>()>& pending() {
    static std::function<std::shared_ptr<const KeyNamer>()> make;
    return make;
}

}  // namespace

const KeyNamer& usKeyNamer() {
    static const UsKeyNamer namer;
    return namer;
}

void setKeyNamer(std::shared_ptr<const KeyNamer> namer) {
    pending() = nullptr;
    current() = std::move(namer);
}

void setKeyNamerWhenNeeded(std::function<std::shared_ptr<const KeyNamer>()> make) {
    current() = nullptr;
    pending() = std::move(make);
}

const KeyNamer& keyNamer() {
    if (auto make = std::exchange(pending(), nullptr)) current() = make();
    return current() ? *current() : usKeyNamer();
}

bool namedByLayout(int keyIndex) {
    return (keyIndex >= kh_A && keyIndex <= kh_9) ||
           (keyIndex >= kh_OEM_1 && keyIndex <= kh_OEM_7) ||
           (keyIndex >= kh_OEM_Plus && keyIndex <= kh_OEM_Period) || keyIndex == kh_OEM_102;
}

std::string printableText(char32_t ch) {
    // Controls, spaces, surrogates and what lies beyond Unicode name no key.
    if (ch <= 0x20 || (ch >= 0x7F && ch <= 0xA0) || ch == 0xAD || (ch >= 0xD800 && ch <= 0xDFFF) ||
        ch > 0x10FFFF || ch == 0x2007 || ch == 0x202F || (ch >= 0x2000 && ch <= 0x200F) ||
        ch == 0x3000)
        return {};
    std::string out;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return out;
}

}  // namespace keys
