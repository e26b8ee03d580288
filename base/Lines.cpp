// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Lines.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plc {

namespace {

// The line at `start`; with `kMark`, also where the first `mark` in it
// stands (the line's end when it holds none), found in the same pass.
template <bool kMark>
LineBounds Scan(std::string_view text, size_t start, char mark, size_t& markAt) {
    const char* const base = text.data();
    const size_t size = text.size();
    size_t found = std::string_view::npos;
    size_t i = start;
    bool ended = false;
#if defined(__SSE2__)
    // Sixteen bytes at a time where the text has that many left.
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), marks = _mm_set1_epi8(mark);
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
        const auto breaks =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
        if constexpr (kMark) {
            // A mark past the line's end in the same block is held to the end below.
            const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, marks)));
            if (found == std::string_view::npos && hits != 0) found = i + static_cast<size_t>(std::countr_zero(hits));
        }
        if (breaks != 0) {
            i += static_cast<size_t>(std::countr_zero(breaks));
            ended = true;
            break;
        }
    }
#endif
    for (; !ended && i < size; ++i) {
        const char c = base[i];
        if (c == '\n' || c == '\r') {
            ended = true;
            break;
        }
        if constexpr (kMark)
            if (c == mark && found == std::string_view::npos) found = i;
    }
    const LineBounds bounds = !ended ? LineBounds{size, size + 1}
                                     : LineBounds{i, base[i] == '\r' && i + 1 < size && base[i + 1] == '\n' ? i + 2 : i + 1};
    if constexpr (kMark) markAt = found < bounds.end ? found : bounds.end;
    return bounds;
}

}  // namespace

LineBounds LineFrom(std::string_view text, size_t start) {
    size_t unused = 0;
    return Scan<false>(text, start, '\0', unused);
}

LineBounds LineFrom(std::string_view text, size_t start, char mark, size_t& markAt) {
    return Scan<true>(text, start, mark, markAt);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string_view line;
    for (LineReader reader(text); reader.Next(line);) lines.emplace_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineBreak) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) text += lineBreak;
        text += lines[i];
    }
    return text;
}

size_t CountLines(std::string_view text) {
    size_t lines = 1;
    for (size_t at = 0; (at = LineFrom(text, at).next) <= text.size();) ++lines;
    return lines;
}

}  // namespace plc
