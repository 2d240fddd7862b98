#include "macros/macro_file_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace macros {
namespace {

using Bytes = std::vector<Byte>;
using Kind = MacroDamage::Kind;

struct Slot {
    Bytes record = Bytes(kRecordSize, 0x00);
    Bytes block = Bytes(kBlockSize, 0xFF);
};

// A slot with these events (end mark added, or `length` as its data length) and name bytes.
Slot slot(const Bytes& events, const Bytes& name = {}, int length = -1) {
    Slot s;
    std::copy(events.begin(), events.end(), s.block.begin());
    s.block[events.size()] = kEndMark;
    setDataLength(s.record, static_cast<std::uint16_t>(length < 0 ? events.size() + 1 : length));
    s.record[3] = static_cast<Byte>(name.size());
    // A length past the record's name field says more than the field can hold.
    const std::size_t fits = std::min(name.size(), s.record.size() - 4);
    std::copy_n(name.begin(), fits, s.record.begin() + 4);
    return s;
}

TEST(MacroFileCheck, EveryFieldAtItsLimits) {
    const Slot erased{Bytes(kRecordSize, 0xFF)};
    Slot erasedNamed = erased, erasedField = erased;
    setRecordName(erasedNamed.record, "Reload");  // renamed on a blank mouse, never recorded
    erasedField.record[10] = 0x41;
    Bytes compiled = MemoToMacro({"10", "1 Ctrl CODE:8101", "0 65535", "2 Backward CODE:0030"});
    compiled.pop_back();  // slot() adds the end mark
    Slot editors = slot(compiled);
    setRecordName(editors.record, "\xE5\xAE\x8F \xF0\x9F\x98\x80 fourteen");
    Bytes delays;
    for (int i = 0; i < 341; ++i) delays.insert(delays.end(), {0xFE, 0xFF, 0xFF});
    const Bytes clicks(1023, 0xA1);
    const std::pair<Slot, std::optional<Kind>> cases[] = {
        {slot({}, {}, 0), std::nullopt},
        {erased, std::nullopt},
        {erasedNamed, std::nullopt},
        {editors, std::nullopt},
        {slot(delays), std::nullopt},
        {slot({0x03, 0xFC, 0xFD, 0x00, 0x04, 0x00, 0x00, 0x83, 1, 2}), std::nullopt},
        {slot(clicks, {}, 1025), Kind::DataLength},
        {slot({}, {}, 0xFFFE), Kind::DataLength},
        {slot({0xA1}, Bytes(28, 0x30)), std::nullopt},
        {slot({0xA1}, Bytes(30, 0x30)), Kind::NameLength},
        {slot({0xA1}, {0x00, 0x41, 0x00}), Kind::NameLength},
        {erasedField, Kind::NameLength},
        {slot({}, {0xD8, 0x3D, 0xDE, 0x00}), std::nullopt},
        {slot({}, {0x00, 0x41, 0xD8, 0x3D}), Kind::NameText},
        {slot({}, {0xD8, 0x3D, 0x00, 0x41}), Kind::NameText},
        {slot({}, {0xDE, 0x00}), Kind::NameText},
        {slot({0xFE, 0x00, 0x10}, {}, 3), Kind::Events},
        {slot({0xA1, 0x21}, {}, 2), Kind::Events},
        {slot({0xA1, 0x00, 0x21}), Kind::Events},
        {slot({0xA1, 0x99}), Kind::Events},
    };
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        const auto damage = checkMacro(cases[n].first.record, cases[n].first.block);
        EXPECT_EQ(damage ? std::optional(damage->kind) : std::nullopt, cases[n].second) << n;
    }
    EXPECT_EQ(checkMacro(slot(clicks, {}, 1025).record, erased.block)->value, 1025u);
    std::mt19937 random(20);
    Slot noise;
    for (int n = 0; n < 2000; ++n) {
        for (Bytes* bytes : {&noise.record, &noise.block})
            for (Byte& b : *bytes) b = static_cast<Byte>(random());
        EXPECT_TRUE(checkMacro(noise.record, noise.block)) << "random bytes, " << n;
    }
}

}  // namespace
}  // namespace macros
