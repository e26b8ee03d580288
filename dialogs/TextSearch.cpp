// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TextSearch.h"

#include <cinttypes>
#include <cstdio>

#include "resources/StringTable.h"

namespace plc {

namespace {


unsigned char LowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// The place of the occurrence [pos, end) of a whole-word search; false when
// a neighbour is a word character.
bool WholeWordPlace(std::string_view line, size_t pos, size_t end, MatchPlace& place) {
    const bool atStart = pos == 0;
    const bool atEnd = end == line.size();
    const auto wordAt = [&](size_t i) { return IsWordChar(static_cast<unsigned char>(line[i])); };
    if (!atStart && wordAt(pos - 1)) return false;
    if (!atEnd && wordAt(end)) return false;
    place = atStart ? (atEnd ? MatchPlace::WholeLine : MatchPlace::LineStart)
                    : (atEnd ? MatchPlace::LineEnd : MatchPlace::Inside);
    return true;
}

std::string LinePrefix(const char* format, int32_t lineNumber, int32_t column) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, lineNumber, column);
    return buffer;
}

}  // namespace

bool IsWordChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
    return folded;
}

std::vector<LineMatch> FindInLine(std::string_view line, std::string_view pattern,
                                  SearchOptions options) {
    std::vector<LineMatch> matches;
    if (pattern.empty() || line.empty() || pattern.size() > line.size()) return matches;
    std::string foldedLine, foldedPattern;
    if (!options.matchCase) {
        foldedLine = FoldCase(line);
        foldedPattern = FoldCase(pattern);
        line = foldedLine;
        pattern = foldedPattern;
    }
    size_t from = 0;
    for (size_t pos = line.find(pattern, from); pos != std::string_view::npos;
         pos = line.find(pattern, from)) {
        const size_t end = pos + pattern.size();
        MatchPlace place = MatchPlace::AnyPlace;
        if (options.wholeWord && !WholeWordPlace(line, pos, end, place)) {
            // Not a whole word: a whole word may still start inside it when
            // the find text holds a separator ("a a" in "xa a a").
            from = pos + 1;
            continue;
        }
        matches.push_back({static_cast<int32_t>(pos), place});
        from = end;
    }
    return matches;
}

std::string SearchEntry(int32_t lineNumber, int32_t column, std::string_view shown) {
    return LinePrefix("  LINE(%03" PRId32 ",%03" PRId32 "): ", lineNumber, column) +
           std::string(shown);
}

std::string ReplaceEntry(MatchPlace place, int32_t lineNumber, int32_t column,
                         std::string_view text) {
    const char* format = "  LINE(%03" PRId32 ",%03" PRId32 "): ";
    switch (place) {
    case MatchPlace::Inside: break;
    case MatchPlace::LineEnd: format = "  LINE(%03" PRId32 ",%03" PRId32 ") F2: "; break;
    case MatchPlace::LineStart: format = "  LINE(%03" PRId32 ",%03" PRId32 ") F3: "; break;
    case MatchPlace::WholeLine: format = "  LINE(%03" PRId32 ",%03" PRId32 ") F4: "; break;
    case MatchPlace::AnyPlace: format = "  LINE(%03" PRId32 ",%03" PRId32 ") F5: "; break;
    }
    return LinePrefix(format, lineNumber, column) + std::string(text);
}

std::string FillTwoPlaceholders(std::string_view pattern, std::string_view first,
                                std::string_view second) {
    std::string result;
    result.reserve(pattern.size() + first.size() + second.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            result.append(pattern[i + 1] == '1' ? first : second);
            ++i;
        } else {
            result.push_back(pattern[i]);
        }
    }
    return result;
}

std::string ReplaceQuestion(std::string_view find, std::string_view replace) {
    return FillTwoPlaceholders(LoadString(kIdsReplaceQuestion), find, replace);
}

std::string CountEntry(int32_t count) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%" PRId32 " ", count);
    return buffer + LoadString(kIdsConformityCount);
}

}  // namespace plc
