// SPDX-License-Identifier: GPL-3.0-or-later
// The line-end rule of every reader of text lines: CR LF, a bare LF and a
// lone CR each end a line, and the text after the last line end is the last
// line (empty when the text ends with a line break). The compiler, the text
// declaration file, the command line and the language server take their
// lines from here, as the edit control does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plc {

// Where the line that starts at `start` ends, and where the line after it
// starts (past the text's end when there is none).
struct LineBounds {
    size_t end;
    size_t next;
};

// The bounds of the line that starts at `start` (at most the text's size).
LineBounds LineFrom(std::string_view text, size_t start);

// The same, and where the first `mark` in the line stands (the line's end
// when it holds none), found in the same pass over the bytes: the compiler
// finds a line and its comment's ";" at once.
LineBounds LineFrom(std::string_view text, size_t start, char mark, size_t& markAt);

// Reads a text's lines in order, each as a view into the text:
// `for (LineReader lines(text); lines.Next(line);)`.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    // The next line; false once the last line was read.
    bool Next(std::string_view& line) {
        if (m_next > m_text.size()) return false;
        const LineBounds bounds = LineFrom(m_text, m_next);
        m_start = m_next;
        line = m_text.substr(m_start, bounds.end - m_start);
        m_next = bounds.next;
        return true;
    }
    // Where the line Next gave last starts in the text.
    size_t Start() const { return m_start; }

private:
    std::string_view m_text;
    size_t m_start = 0;
    size_t m_next = 0;
};

// The text's lines as the edit control holds them.
std::vector<std::string> SplitLines(std::string_view text);

// Lines joined into one text, `lineBreak` between them (none after the last):
// SplitLines backwards.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineBreak);

// How many lines SplitLines makes of `text`, without making them.
size_t CountLines(std::string_view text);

}  // namespace plc
