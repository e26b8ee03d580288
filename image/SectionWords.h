// SPDX-License-Identifier: GPL-3.0-or-later
// The words of a programme text's frame: the heads of the text declaration
// ("%TEXT(NAME)") and of the programme ("%P00"), the declaration keyword of
// the text section and the END that closes either section. One table, read
// by the line compiler, the listing, the lexer and the language server; the
// label texts of records ("N010", and the ends "%P00" and "END") are made
// from it in image/LabelText.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace plc {

enum class SectionWord : uint8_t { TextHead, ProgramHead, Def, End };

// In the order of SectionWord.
inline constexpr std::string_view kSectionWords[] = {"%TEXT", "%P00", "DEF", "END"};
static_assert(std::size(kSectionWords) == static_cast<size_t>(SectionWord::End) + 1, "a word for every entry");

constexpr std::string_view Word(SectionWord word) { return kSectionWords[static_cast<size_t>(word)]; }

// The character both section heads begin with.
inline constexpr char kSectionHeadMark = '%';
static_assert(Word(SectionWord::TextHead)[0] == kSectionHeadMark && Word(SectionWord::ProgramHead)[0] == kSectionHeadMark,
              "both heads begin with the mark");

// The head line of the text declaration of programme `name`: "%TEXT(NAME)".
inline std::string TextHeadLine(std::string_view name) {
    std::string line(Word(SectionWord::TextHead));
    line += '(';
    line += name;
    line += ')';
    return line;
}

}  // namespace plc
