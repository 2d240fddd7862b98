// Macro event blocks as read from a mouse or a file, and event lists as the editor's text:
// read into lines, compiled back, and once compiled stable under another round.
#include <sstream>

#include "fuzz_check.h"
#include "macros/macro_model.h"

namespace {

std::vector<std::uint8_t> roundTrip(const std::vector<std::uint8_t>& compiled) {
    return macros::MemoToMacro(macros::MacroToMemo(compiled, compiled.size()).lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes are the record's data length; the rest is the slot's block.
    const std::size_t length = std::size_t(data[0]) << 8 | data[1];
    const std::span<const std::uint8_t> block(data + 2, size - 2);
    const macros::EventList list = macros::MacroToMemo(block, length);
    for (const std::string& line : list.lines) {
        (void)macros::lineKind(line);
        (void)macros::lineDisplayText(line);
    }
    const std::vector<std::uint8_t> compiled = macros::MemoToMacro(list.lines);
    fuzzing::require(compiled.size() <= macros::kBlockSize);
    fuzzing::require(roundTrip(compiled) == compiled);

    // The same bytes as lines of text, as an edited event list would hold them.
    std::vector<std::string> lines;
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    bool cut = false;
    const std::vector<std::uint8_t> fromText = macros::MemoToMacro(lines, &cut);
    fuzzing::require(fromText.size() <= macros::kBlockSize);
    return 0;
}
