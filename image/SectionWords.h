// SPDX-License-Identifier: GPL-3.0-or-later
// The words of a programme text's frame: the heads of the text declaration
// ("%TEXT(NAME)") and of the programme ("%P00"), the declaration keyword of
// the text section and the END that closes either section. One table, read
// by the line compiler, the listing, the lexer and the language server; the
// label texts of records ("N010", and the ends "%P00" and "END") are made
// from it here.
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

// A record by its number, as a statement's label is written: "N010" (also
// "N000" and "N255", where the record itself is meant).
std::string RecordLabel(int record);

// Where a record stands in the programme text: "%P00" for the programme
// head (record 0), "END" for the end record (255), else its label ("N010").
std::string LabelText(int record);

// The head line of the text declaration of programme `name`: "%TEXT(NAME)".
std::string TextHeadLine(std::string_view name);

}  // namespace plc
