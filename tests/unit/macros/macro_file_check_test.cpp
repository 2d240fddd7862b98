#include "macros/macro_file_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace macros {
namespace {

using Bytes = std::vector<Byte>;
using Kind = MacroDamage::Kind;

struct Slot {
    Bytes record = Bytes(kRecordSize, 0x00);
    Bytes block = Bytes(kBlockSize, 0xFF);
};

// A slot with these events (end mark added) and this name (UTF-16BE bytes).
Slot slot(const Bytes& events, const Bytes& name = {}) {
    Slot s;
    std::copy(events.begin(), events.end(), s.block.begin());
    s.block[events.size()] = kEndMark;
    setDataLength(s.record, static_cast<std::uint16_t>(events.size() + 1));
    s.record[3] = static_cast<Byte>(name.size());
    std::copy(name.begin(), name.end(), s.record.begin() + 4);
    return s;
}

Slot withLength(Slot s, std::uint16_t length) {
    setDataLength(s.record, length);
    return s;
}

std::optional<Kind> damage(const Slot& s) {
    const auto d = checkMacro(s.record, s.block);
    return d ? std::optional(d->kind) : std::nullopt;
}

TEST(MacroFileCheck, EveryFieldAtItsLimits) {
    Slot erased{Bytes(kRecordSize, 0xFF), Bytes(kBlockSize, 0xFF)};
    Slot erasedNamed = erased;
    setRecordName(erasedNamed.record, "Reload");  // renamed on a blank mouse, never recorded
    Slot erasedField = erased;
    erasedField.record[10] = 0x41;
    const Bytes full(1023, 0xA1);
    Bytes delays;
    for (int i = 0; i < 341; ++i) delays.insert(delays.end(), {0xFE, 0xFF, 0xFF});
    const Bytes twentyEight = [] {
        Bytes n;
        for (int i = 0; i < 14; ++i) n.insert(n.end(), {0x00, static_cast<Byte>('a' + i)});
        return n;
    }();
    struct Case {
        const char* what;
        Slot slot;
        std::optional<Kind> expected;
    };
    const Case cases[] = {
        {"empty slot", withLength(slot({}), 0), std::nullopt},
        {"erased record", erased, std::nullopt},
        {"erased length with a name", erasedNamed, std::nullopt},
        {"end mark alone", slot({}), std::nullopt},
        {"1024 bytes of clicks", slot(full), std::nullopt},
        {"1024 bytes of delays", slot(delays), std::nullopt},
        {"reserved codes", slot({0x03, 0xFC, 0xFD, 0x00, 0x04, 0x00, 0x00, 0x83, 1, 2}),
         std::nullopt},
        {"length 1025", withLength(slot(full), 1025), Kind::DataLength},
        {"length FF FE", withLength(slot({}), 0xFFFE), Kind::DataLength},
        {"length FF 00 with no name", withLength(slot({}), 0xFF00), Kind::DataLength},
        {"28-byte name", slot({0xA1}, twentyEight), std::nullopt},
        {"30-byte name", slot({0xA1}, Bytes(30, 0x00)), Kind::NameLength},
        {"odd name length", slot({0xA1}, {0x00, 0x41, 0x00}), Kind::NameLength},
        {"length FF over a name", erasedField, Kind::NameLength},
        {"surrogate pair", slot({}, {0xD8, 0x3D, 0xDE, 0x00}), std::nullopt},
        {"high surrogate alone", slot({}, {0x00, 0x41, 0xD8, 0x3D}), Kind::NameText},
        {"high surrogate then a letter", slot({}, {0xD8, 0x3D, 0x00, 0x41}), Kind::NameText},
        {"low surrogate alone", slot({}, {0xDE, 0x00}), Kind::NameText},
        {"delay cut by the length", withLength(slot({0xFE, 0x00, 0x10}), 3), Kind::Events},
        {"no end mark at the length", withLength(slot({0xA1, 0x21}), 2), Kind::Events},
        {"end mark before the length", slot({0xA1, 0x00, 0x21}), Kind::Events},
        {"unknown code", slot({0xA1, 0x99}), Kind::Events},
        {"event past the length", withLength(slot({0xA1, 0x82}), 3), Kind::Events},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(damage(c.slot), c.expected) << c.what;
    }
    const auto d = checkMacro(withLength(slot(full), 1025).record, slot(full).block);
    EXPECT_EQ(d->value, 1025u) << "the message names the length";
}

// What the editor itself compiles and names always passes.
TEST(MacroFileCheck, MacrosOfTheEditorPass) {
    const std::vector<std::string> lines{"10",
                                         "1 Ctrl CODE:8101",
                                         "0 120",
                                         "1 A CODE:8204",
                                         "0 80",
                                         "2 A CODE:0204",
                                         "0 95",
                                         "2 Ctrl CODE:0101",
                                         "1 LeftKey CODE:00A1",
                                         "2 Backward CODE:0030"};
    Slot s = slot({});
    const Bytes bytes = MemoToMacro(lines);
    std::copy(bytes.begin(), bytes.end(), s.block.begin());
    setDataLength(s.record, static_cast<std::uint16_t>(bytes.size()));
    for (const char* name :
         {"", "AB", "Fourteen chars", "\xF0\x9F\x98\x80 smile", "宏一二三四五六七八九十"}) {
        setRecordName(s.record, name);
        EXPECT_FALSE(checkMacro(s.record, s.block)) << name;
    }
}

TEST(MacroFileCheck, RandomContentsAreRefused) {
    std::mt19937 random(20);
    Slot s;
    for (int n = 0; n < 2000; ++n) {
        for (Byte& b : s.record) b = static_cast<Byte>(random());
        for (Byte& b : s.block) b = static_cast<Byte>(random());
        EXPECT_TRUE(checkMacro(s.record, s.block)) << n;
    }
}

}  // namespace
}  // namespace macros
