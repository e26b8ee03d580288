// SPDX-License-Identifier: GPL-3.0-or-later
// The text side of Search/Replace, without widgets: finding the occurrences
// of a find text in one line under the case and whole-word rules, and the
// message-list entries that report them.
//
// Text is UTF-8, searched byte for byte. Letters are the ASCII letters
// only: case folding turns A to Z into a to z and leaves every other byte
// alone, and a word character is an ASCII letter or digit (the underscore
// and bytes from 0x80 up, every byte of a character outside ASCII, separate
// words).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plc {

// Where a whole-word occurrence stands in its line; it picks the format of a
// replacement's list entry.
enum class MatchPlace : uint8_t {
    Inside,     // whole word, neither at the start nor at the end of the line
    LineEnd,    // whole word at the end of the line ("F2")
    LineStart,  // whole word at the start of the line ("F3")
    WholeLine,  // whole word covering the whole line ("F4")
    AnyPlace,   // Whole word off ("F5")
};

struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
};

struct LineMatch {
    int32_t column;  // 0-based byte offset in the line
    MatchPlace place;
    bool operator==(const LineMatch&) const = default;
};

// True for A to Z, a to z and 0 to 9.
bool IsWordChar(unsigned char c);

// A to Z become a to z; every other byte stays.
std::string FoldCase(std::string_view text);

// Every occurrence of `pattern` in `line`, left to right. An occurrence that
// is taken ends the search at its end, so taken occurrences never overlap;
// one that the whole-word rule rejects is no occurrence at all, and the
// search goes on from the byte after its start. An empty pattern, an empty
// line or a pattern longer than the line finds nothing.
std::vector<LineMatch> FindInLine(std::string_view line, std::string_view pattern,
                                  SearchOptions options);

// "  LINE(nnn,ccc): " followed by `shown`: a search hit. `lineNumber` is
// 1-based, `column` 0-based; both get at least three digits.
std::string SearchEntry(int32_t lineNumber, int32_t column, std::string_view shown);

// The entry of a replacement: the prefix that `place` selects ("  LINE(nnn,ccc): ",
// or with " F2", " F3", " F4", " F5" before the colon) followed by `text`.
std::string ReplaceEntry(MatchPlace place, int32_t lineNumber, int32_t column,
                         std::string_view text);

// Puts `first` in place of every "%1" and `second` in place of every "%2" of
// `pattern` in one pass, so that an argument holding "%1" or "%2" is copied
// as it stands.
std::string FillTwoPlaceholders(std::string_view pattern, std::string_view first,
                                std::string_view second);

// The question and list text of a replacement: "Replace '<find>' with '<replace>'."
std::string ReplaceQuestion(std::string_view find, std::string_view replace);

// The closing entry: the count, a blank and "Conformity found/replaced."
std::string CountEntry(int32_t count);

}  // namespace plc
