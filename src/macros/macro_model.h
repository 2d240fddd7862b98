#pragma once
// The macros of a macro device: name records, event blocks, and the event list, the editable
// text form of one macro ("1 Ctrl CODE:8101", "0 120", ...).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace macros {

using Byte = std::uint8_t;

inline constexpr std::size_t kSlotCount = 32;
inline constexpr std::size_t kRecordSize = 32;
inline constexpr std::size_t kNameBytes = 28;  // 14 UTF-16 code units
inline constexpr std::size_t kBlockSize = 1024;
inline constexpr Byte kEndMark = 0x00;

enum class DelayMode { None, Default, Recorded };

struct EventList {
    // Line 0 is the mode line ("00", "01" + default delay, "10"); every further line is one event.
    std::vector<std::string> lines;
    DelayMode mode = DelayMode::None;
    int defaultDelay = 0;  // the common delay of a Default macro
};

// Record n of the name area: data length (big-endian), 0, name length, name (UTF-16BE).
std::uint16_t dataLength(std::span<const Byte> record);
void setDataLength(std::span<Byte> record, std::uint16_t length);
// The record's name as UTF-8; a name length beyond the 28-byte field (an erased record) gives
// no name.
std::string recordName(std::span<const Byte> record);
// Writes a name (UTF-8) as UTF-16BE into the record: at most 28 bytes, never splitting a
// surrogate pair; the bytes beyond the name stay as they were.
void setRecordName(std::span<Byte> record, const std::string& name);

// The length of the event that starts with `code` (1 for the end mark); 0 when no event starts
// with it.
std::size_t eventLength(Byte code);

// The event list of a slot's first `length` bytes (a length above 1024 counts as 0).
EventList MacroToMemo(std::span<const Byte> block, std::size_t length);

// The bytes of an event list (the mode line takes no part), end mark included. An event list
// that would not fit the slot is cut after the last whole event that does; `cut` tells.
std::vector<Byte> MemoToMacro(const std::vector<std::string>& lines, bool* cut = nullptr);

// How an event line shows in the macro list: kind 0 delay, 1 press, 2 release, and its text
// ("120 ms", "Ctrl").
int lineKind(const std::string& line);
std::string lineDisplayText(const std::string& line);

}  // namespace macros
