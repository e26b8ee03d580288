// The place a message-list entry names: "LINE(nnn)" names a line (compiler,
// listing and Renum entries), "LINE(nnn,ccc)" a line and the 0-based column
// of a search result. Plain text work, so that it is tested without a window.
#pragma once

#include <cstdint>
#include <string_view>

namespace plc {

struct LineReference {
    enum class Kind { None, Line, LineAndColumn };
    Kind kind = Kind::None;
    int32_t line = 0;    // 1-based as written; 0 when there is no number
    int32_t column = 0;  // 0-based, for LineAndColumn
};

// Reads the reference of an entry: the text between its first "(" and its
// first ")". Kind::None when the "(" is missing or first, or when nothing
// stands between the two. Numbers are read as decimal digits up to the first
// non-digit (none gives 0); a number too large for 32 bits reads as the
// largest value, which names no line.
LineReference ParseLineReference(std::string_view entry);

}  // namespace plc
