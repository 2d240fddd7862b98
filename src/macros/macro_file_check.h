#pragma once
// Whether a macro taken from a file (a name record and its event block) is one the mouse can
// play and the editor can show, before it replaces anything.
#include <cstddef>
#include <optional>
#include <span>

#include "macros/macro_model.h"

namespace macros {

struct MacroDamage {
    enum class Kind {
        DataLength,  // above 1024 bytes; `value` is the length
        NameLength,  // odd or above 28 bytes; `value` is the length
        NameText,    // not UTF-16: a surrogate without its partner
        Events,      // the events do not end in the end mark at the data length; `value` is it
    };
    Kind kind;
    std::size_t value = 0;
};

// Nothing when the slot is usable. An erased record (data length FF FF) is an empty slot, and an
// erased name (length FF over an erased field) is an empty name, as a blank mouse holds them.
std::optional<MacroDamage> checkMacro(std::span<const Byte> record, std::span<const Byte> block);

}  // namespace macros
