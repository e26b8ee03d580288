// SPDX-License-Identifier: GPL-3.0-or-later
// A file's encoding: which bytes are UTF-8, Windows-1252 that gives every
// byte back, and the characters it cannot hold. (Line ends: the table of
// tests/LineEndCases.h, through the editor's Open and Save.)
#include <gtest/gtest.h>

#include <string>

#include "base/TextFormat.h"

namespace plc::test {
namespace {

// Every byte value read as Windows-1252 is valid UTF-8 and is written back
// as the same byte, the five unassigned ones included.
TEST(TextFormat, EveryWindows1252ByteComesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_TRUE(IsUtf8(utf8));
    std::string back;
    size_t bad = 0;
    ASSERT_TRUE(Utf8ToWindows1252(utf8, back, bad)) << bad;
    EXPECT_EQ(back, all);
    // The letters and signs of 0x80 to 0x9F are theirs, not Latin-1's controls.
    EXPECT_EQ(Windows1252ToUtf8("\x80\x96\xFC\xB0"), "\xE2\x82\xAC\xE2\x80\x93\xC3\xBC\xC2\xB0");
}

struct Refusal {
    const char* name;
    std::string text;
    size_t badOffset;
};

TEST(TextFormat, CharactersWindows1252CannotHoldAreRefused) {
    const Refusal cases[] = {
        {"arrow", "; a \xE2\x86\x92 b", 4},
        {"U+0080, whose byte is the euro sign's", "x\xC2\x80", 1},
        {"beyond the BMP", "\xF0\x9F\x98\x80", 0},
        {"no UTF-8 at all", "ok\xFC", 2},
    };
    for (const Refusal& c : cases) {
        std::string out;
        size_t bad = 99;
        EXPECT_FALSE(Utf8ToWindows1252(c.text, out, bad)) << c.name;
        EXPECT_EQ(bad, c.badOffset) << c.name;
    }
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
    bool validWhenCut;  // the bytes may end inside a sequence
};

TEST(TextFormat, WhatIsUtf8) {
    const Utf8Case cases[] = {
        {"ASCII", "N010 NOP ; x", true, true},
        {"two, three and four bytes", "\xC3\xBC \xE2\x80\x94 \xF0\x9F\x98\x80", true, true},
        {"Windows-1252 umlaut", "\xFC" "ber", false, false},
        {"overlong slash", "\xC0\xAF", false, false},
        {"overlong three bytes", "\xE0\x80\xAF", false, false},
        {"surrogate", "\xED\xA0\x80", false, false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false, false},
        {"lone continuation byte", "a\x80", false, false},
        {"cut at the end", "ab\xE2\x80", false, true},
        {"cut in the middle", "\xE2\x80 x", false, false},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(IsUtf8(c.bytes), c.valid) << c.name;
        EXPECT_EQ(IsUtf8(c.bytes, true), c.validWhenCut) << c.name;
    }
}

}  // namespace
}  // namespace plc::test
