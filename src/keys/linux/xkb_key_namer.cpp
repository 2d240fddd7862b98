#include "keys/linux/xkb_key_namer.h"

#include <cstdlib>

#include <xcb/xcb.h>
// The XKB protocol header names a field `explicit`, which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include "keys/key_positions.h"

namespace keys {
namespace {

// Dead keys type nothing by themselves; they are named by their accent.
char32_t accentOfDeadKey(xkb_keysym_t sym) {
    switch (sym) {
        case XKB_KEY_dead_grave:
            return U'`';
        case XKB_KEY_dead_acute:
            return U'\u00B4';
        case XKB_KEY_dead_circumflex:
            return U'^';
        case XKB_KEY_dead_tilde:
            return U'~';
        case XKB_KEY_dead_macron:
            return U'\u00AF';
        case XKB_KEY_dead_breve:
            return U'\u02D8';
        case XKB_KEY_dead_abovedot:
            return U'\u02D9';
        case XKB_KEY_dead_diaeresis:
            return U'\u00A8';
        case XKB_KEY_dead_abovering:
            return U'\u02DA';
        case XKB_KEY_dead_doubleacute:
            return U'\u02DD';
        case XKB_KEY_dead_caron:
            return U'\u02C7';
        case XKB_KEY_dead_cedilla:
            return U'\u00B8';
        case XKB_KEY_dead_ogonek:
            return U'\u02DB';
        default:
            return 0;
    }
}

// XKB events share this head.
struct XkbEventHead {
    std::uint8_t responseType;
    std::uint8_t xkbType;
};

class XkbKeyNamer : public KeyNamer {
  public:
    ~XkbKeyNamer() override {
        if (state_) xkb_state_unref(state_);
        if (keymap_) xkb_keymap_unref(keymap_);
        if (context_) xkb_context_unref(context_);
        if (connection_) xcb_disconnect(connection_);
    }

    bool open(const char* display) {
        connection_ = xcb_connect(display, nullptr);
        if (xcb_connection_has_error(connection_)) return false;
        if (!xkb_x11_setup_xkb_extension(
                connection_, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &firstEvent_, nullptr))
            return false;
        device_ = xkb_x11_get_core_keyboard_device_id(connection_);
        context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (device_ < 0 || !context_) return false;
        // A new layout (setxkbmap, the desktop's switcher) and group changes reach us as events.
        const std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                     XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                     XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
        const std::uint16_t maps =
            XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP;
        xcb_xkb_select_events(connection_, static_cast<xcb_xkb_device_spec_t>(device_), events, 0,
                              events, maps, maps, nullptr);
        return reload();
    }

    std::string printableName(TKeyboardHookKey key) const override {
        followChanges();
        const int evdev = KeyIndexToEvdevCode(key);
        if (evdev < 0 || !keymap_ || !state_) return {};
        const auto keycode = static_cast<xkb_keycode_t>(evdev + 8);
        // What the key types with no modifier: its first level in the current group, so that
        // Caps Lock or a held Shift changes no name.
        const xkb_layout_index_t layout = xkb_state_key_get_layout(state_, keycode);
        if (layout == XKB_LAYOUT_INVALID) return {};
        const xkb_keysym_t* syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap_, keycode, layout, 0, &syms) != 1) return {};
        if (const char32_t accent = accentOfDeadKey(syms[0])) return printableText(accent);
        return printableText(xkb_keysym_to_utf32(xkb_keysym_to_upper(syms[0])));
    }

  private:
    bool reload() const {
        xkb_keymap* keymap = xkb_x11_keymap_new_from_device(context_, connection_, device_,
                                                            XKB_KEYMAP_COMPILE_NO_FLAGS);
        xkb_state* state =
            keymap ? xkb_x11_state_new_from_device(keymap, connection_, device_) : nullptr;
        if (!state) {
            if (keymap) xkb_keymap_unref(keymap);
            return false;
        }
        if (state_) xkb_state_unref(state_);
        if (keymap_) xkb_keymap_unref(keymap_);
        keymap_ = keymap;
        state_ = state;
        return true;
    }

    void followChanges() const {
        xcb_flush(connection_);
        bool changed = false;
        while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
            const auto* head = reinterpret_cast<const XkbEventHead*>(e);
            if ((head->responseType & 0x7F) == firstEvent_) {
                if (head->xkbType == XCB_XKB_STATE_NOTIFY && !changed) {
                    const auto* s = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(e);
                    xkb_state_update_mask(state_, s->baseMods, s->latchedMods, s->lockedMods,
                                          static_cast<xkb_layout_index_t>(s->baseGroup),
                                          static_cast<xkb_layout_index_t>(s->latchedGroup),
                                          s->lockedGroup);
                } else if (head->xkbType != XCB_XKB_STATE_NOTIFY) {
                    changed = true;
                }
            }
            std::free(e);
        }
        if (changed) reload();
    }

    xcb_connection_t* connection_ = nullptr;
    std::uint8_t firstEvent_ = 0;
    std::int32_t device_ = -1;
    xkb_context* context_ = nullptr;
    mutable xkb_keymap* keymap_ = nullptr;
    mutable xkb_state* state_ = nullptr;
};

}  // namespace

std::shared_ptr<const KeyNamer> makeXkbKeyNamer(const char* display) {
    auto namer = std::make_shared<XkbKeyNamer>();
    if (!namer->open(display)) return nullptr;
    return namer;
}

}  // namespace keys
