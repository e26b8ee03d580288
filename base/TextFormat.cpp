// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextFormat.h"

#include <algorithm>
#include <array>

#include "base/Ascii.h"

namespace plc {

namespace {

// The characters of Windows-1252's bytes 0x80 to 0x9F; an unassigned byte
// stands for the control character of its own number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t CharacterOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte};
}

// The byte of a character in Windows-1252, or -1 when it has none.
int ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    const auto* at = std::find(kHighControls.begin(), kHighControls.end(), c);
    return at == kHighControls.end() ? -1 : static_cast<int>(0x80 + (at - kHighControls.begin()));
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is
// none; `cut` tells a sequence that is only cut short by the end.
size_t SequenceAt(std::string_view s, size_t at, bool& cut) {
    cut = false;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if (at + i >= s.size()) {
            cut = true;
            return 0;
        }
        const unsigned char b = byte(at + i);
        if (i == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return 0;
    }
    return length;
}

}  // namespace

const char* EncodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? "Windows-1252" : "UTF-8";
}

const char* LineEndName(LineEnd end) {
    switch (end) {
        case LineEnd::Lf: return "LF";
        case LineEnd::Cr: return "CR";
        case LineEnd::CrLf: break;
    }
    return "CR LF";
}

std::string_view LineEndBytes(LineEnd end) {
    switch (end) {
        case LineEnd::Lf: return "\n";
        case LineEnd::Cr: return "\r";
        case LineEnd::CrLf: break;
    }
    return "\r\n";
}

LineEnd ParseLineEnd(std::string_view text, LineEnd fallback) {
    const std::string word = AsciiUpperWithoutBlanks(text);
    if (word == "CRLF") return LineEnd::CrLf;
    if (word == "LF") return LineEnd::Lf;
    if (word == "CR") return LineEnd::Cr;
    return fallback;
}

bool IsUtf8(std::string_view bytes, bool endMayBeCut) {
    for (size_t at = 0; at < bytes.size();) {
        bool cut = false;
        const size_t n = SequenceAt(bytes, at, cut);
        if (n == 0) return cut && endMayBeCut;
        at += n;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) AppendUtf8(out, CharacterOf(static_cast<unsigned char>(c)));
    return out;
}

char32_t CodePointAt(std::string_view text, size_t offset, size_t* length) {
    bool cut = false;
    const size_t n = offset < text.size() ? SequenceAt(text, offset, cut) : 0;
    if (length != nullptr) *length = std::max<size_t>(n, 1);
    if (n == 0) return offset < text.size() ? static_cast<unsigned char>(text[offset]) : 0;
    const auto byte = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[offset + i])); };
    switch (n) {
        case 1: return byte(0);
        case 2: return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
        case 3: return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        default:
            return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }
}

bool Utf8ToWindows1252(std::string_view text, std::string& out, size_t& badOffset) {
    out.clear();
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        bool cut = false;
        const size_t n = SequenceAt(text, at, cut);
        const int byte = n == 0 ? -1 : ByteOf(CodePointAt(text, at));
        if (byte < 0) {
            badOffset = at;
            return false;
        }
        out += static_cast<char>(byte);
        at += n;
    }
    return true;
}

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++count) {
        size_t n = 1;
        CodePointAt(text, at, &n);
        at += n;
    }
    return count;
}

LineEnd LineEndCounts::Majority(LineEnd none) const {
    if (crlf == 0 && lf == 0 && cr == 0) return none;
    if (crlf >= lf && crlf >= cr) return LineEnd::CrLf;
    return lf >= cr ? LineEnd::Lf : LineEnd::Cr;
}

LineEndCounts CountLineEnds(std::string_view bytes) {
    LineEndCounts counts;
    for (size_t at = bytes.find_first_of("\r\n"); at != std::string_view::npos;
         at = bytes.find_first_of("\r\n", at)) {
        if (bytes[at] == '\n') {
            ++counts.lf;
            ++at;
        } else if (at + 1 < bytes.size() && bytes[at + 1] == '\n') {
            ++counts.crlf;
            at += 2;
        } else {
            ++counts.cr;
            ++at;
        }
    }
    return counts;
}

std::string WithLineEnds(std::string_view text, LineEnd end) {
    const std::string_view eol = LineEndBytes(end);
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    for (size_t at = text.find_first_of("\r\n"); at != std::string_view::npos; at = text.find_first_of("\r\n", pos)) {
        out.append(text, pos, at - pos);
        out += eol;
        pos = at + (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1);
    }
    out.append(text, pos, std::string_view::npos);
    return out;
}

}  // namespace plc
