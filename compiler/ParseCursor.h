// A cursor over the two aligned working copies of a normalised source line:
// the upper-case copy, from which keywords, operators and numbers are read,
// and the case-preserving copy, from which names are read at the same place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "image/Ascii.h"

namespace plc {

class ParseCursor {
public:
    // `line` is already stripped of blanks, tabs and line breaks.
    explicit ParseCursor(std::string_view line);

    bool AtEnd() const { return m_pos >= m_upper.size(); }
    // The character at the cursor in the upper-case copy, '\0' at the end.
    char Peek(size_t ahead = 0) const {
        return m_pos + ahead < m_upper.size() ? m_upper[m_pos + ahead] : '\0';
    }
    // The character at the cursor in the case-preserving copy, '\0' at the end.
    char PeekOriginal() const { return m_pos < m_original.size() ? m_original[m_pos] : '\0'; }
    bool StartsWith(std::string_view prefix) const {
        return std::string_view(m_upper).substr(m_pos).starts_with(prefix);
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
    std::string_view Rest() const { return std::string_view(m_upper).substr(m_pos); }

private:
    std::string m_upper;
    std::string m_original;
    size_t m_pos = 0;
};

}  // namespace plc
