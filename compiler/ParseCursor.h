// SPDX-License-Identifier: GPL-3.0-or-later
// A cursor over the two aligned working copies of a normalised source line:
// the upper-case copy, from which keywords, operators and numbers are read,
// and the case-preserving copy, from which names are read at the same place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Ascii.h"

namespace plc {

class ParseCursor {
public:
    // Over two aligned views of one line, already stripped of blanks, tabs and
    // line breaks: `upper` its upper-case copy, `original` the line itself.
    // Both must outlive the cursor; nothing is copied.
    ParseCursor(std::string_view upper, std::string_view original)
        : m_upper(upper), m_original(original.substr(0, upper.size())) {}
    // Over a line of its own: the cursor keeps both copies (scanner tests and
    // the decoder's read-back check).
    explicit ParseCursor(std::string_view line);
    ParseCursor(const ParseCursor&) = delete;
    ParseCursor& operator=(const ParseCursor&) = delete;

    bool AtEnd() const { return m_pos >= m_upper.size(); }
    // The character at the cursor in the upper-case copy, '\0' at the end.
    char Peek(size_t ahead = 0) const {
        return m_pos + ahead < m_upper.size() ? m_upper[m_pos + ahead] : '\0';
    }
    // The character at the cursor in the case-preserving copy, '\0' at the end.
    char PeekOriginal() const { return m_pos < m_original.size() ? m_original[m_pos] : '\0'; }
    bool StartsWith(std::string_view prefix) const {
        // Byte by byte: the prefixes are short and most tests fail at once,
        // where a library compare costs a call each.
        if (prefix.size() > m_upper.size() - m_pos) return false;
        for (size_t i = 0; i < prefix.size(); ++i)
            if (m_upper[m_pos + i] != prefix[i]) return false;
        return true;
    }
    // Consumes `prefix` when the upper-case copy continues with it.
    bool Eat(std::string_view prefix) {
        if (!StartsWith(prefix)) return false;
        m_pos += prefix.size();
        return true;
    }
    void Advance(size_t n = 1) { m_pos = m_pos + n < m_upper.size() ? m_pos + n : m_upper.size(); }
    size_t Position() const { return m_pos; }
    void SetPosition(size_t pos) { m_pos = pos < m_upper.size() ? pos : m_upper.size(); }
    std::string_view Rest() const { return m_upper.substr(m_pos); }

    // The common number, up to eight digits whose value lies in [lo, hi]:
    // read in one pass and consumed. Anything else gives false with nothing
    // consumed or noted, and is left to the full scanners. Inline, so that
    // each caller's loop over the digits is predicted on its own.
    bool TakeShortUnsigned(uint32_t& value, double lo, double hi) {
        const std::string_view rest = Rest();
        constexpr size_t kMaxDigits = 8;
        uint32_t v = 0;
        size_t n = 0;
        for (; n < rest.size() && AsciiDigit(rest[n]); ++n) {
            if (n == kMaxDigits) return false;
            v = v * 10 + static_cast<uint32_t>(rest[n] - '0');
        }
        const auto exact = static_cast<double>(v);
        if (n == 0 || exact < lo || exact > hi) return false;
        m_pos += n;
        value = v;
        return true;
    }

    // Where a number scan that failed began (the line's fault lies there
    // rather than where the scan stopped); npos while none failed.
    void NoteFailedScan(size_t start) { m_failedScan = start; }
    // Where the line's fault lies when its compilation failed.
    size_t FaultPosition() const { return m_failedScan != std::string_view::npos ? m_failedScan : m_pos; }

private:
    std::string m_own;  // both copies when the cursor owns its line
    std::string_view m_upper;
    std::string_view m_original;
    size_t m_pos = 0;
    size_t m_failedScan = std::string_view::npos;
};

}  // namespace plc
