// SPDX-License-Identifier: GPL-3.0-or-later
// Upper-casing, lower-casing and character classes of the C locale: ASCII
// only; bytes from 0x80 up are neither letters nor digits and are not changed.
#pragma once

#include <string>
#include <string_view>

namespace plc {

inline constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline constexpr bool AsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline constexpr bool AsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline constexpr bool AsciiAlnum(char c) { return AsciiDigit(c) || AsciiAlpha(c); }
// A character of a word: a letter, a digit or '_'.
inline constexpr bool AsciiWordChar(char c) { return AsciiAlnum(c) || c == '_'; }

// Copies of `text` in upper and in lower case.
inline std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}
inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

// `text` upper-cased, without any blank (space or tab): a statement as the
// line compiler and its keyword chain read it.
inline std::string AsciiUpperWithoutBlanks(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (c != ' ' && c != '\t') out.push_back(AsciiUpper(c));
    return out;
}

// `text` without the blanks (spaces and tabs) at either end.
inline constexpr std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Names compared without regard to ASCII case (settings sections and keys,
// member names of the control).
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace plc
