// The macro name area as read from a mouse or a file: 32 records of length and UTF-16BE name.
#include "fuzz_check.h"
#include "macros/macro_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + macros::kRecordSize <= size; at += macros::kRecordSize) {
        const std::span<const std::uint8_t> record(data + at, macros::kRecordSize);
        (void)macros::dataLength(record);
        const std::string name = macros::recordName(record);
        // What was read is written back and reads the same (invalid units already replaced).
        std::array<std::uint8_t, macros::kRecordSize> copy{};
        macros::setRecordName(copy, name);
        fuzzing::require(macros::recordName(copy) == name);
    }
    // Any text the user types as a name fits its record and keeps the bytes beyond it.
    std::array<std::uint8_t, macros::kRecordSize> record;
    record.fill(0xA5);
    macros::setRecordName(record, std::string(reinterpret_cast<const char*>(data), size));
    fuzzing::require(record[3] <= macros::kNameBytes && record[3] % 2 == 0);
    for (std::size_t i = 4 + record[3]; i < record.size(); ++i) fuzzing::require(record[i] == 0xA5);
    return 0;
}
