// SPDX-License-Identifier: GPL-3.0-or-later
// How a programme file holds its text: the encoding of its bytes and its
// line ends. The editor holds every text as UTF-8 with CR LF line ends; a
// file is read as UTF-8 when its bytes are valid UTF-8, else as
// Windows-1252 (the code page of the legacy files), and Save writes the
// text back in the encoding and with the line ends the file had, so that
// every line the user did not touch keeps its bytes.
//
// Windows-1252 is read byte for byte: the 27 letters and signs it puts at
// 0x80 to 0x9F become their Unicode characters, and the five bytes it
// leaves unassigned there (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// control characters of the same number, so that every byte value comes
// back unchanged when the text is written in Windows-1252 again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plc {

enum class TextEncoding : uint8_t { Utf8, Windows1252 };
enum class LineEnd : uint8_t { CrLf, Lf, Cr };

// "UTF-8", "Windows-1252"; "CR LF", "LF", "CR".
const char* EncodingName(TextEncoding encoding);
const char* LineEndName(LineEnd end);
// The bytes of a line end.
std::string_view LineEndBytes(LineEnd end);
// A line end from the settings' spelling: "CRLF", "LF" or "CR" in any case
// and with or without blanks; `fallback` for anything else.
LineEnd ParseLineEnd(std::string_view text, LineEnd fallback);

// Whether `bytes` are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing beyond U+10FFFF). With `endMayBeCut` a sequence that the end of
// the bytes cuts short is allowed (a file read only in part).
bool IsUtf8(std::string_view bytes, bool endMayBeCut = false);

// Windows-1252 bytes as UTF-8. Never fails.
std::string Windows1252ToUtf8(std::string_view bytes);

// Text that may come from before the editor wrote UTF-8 (a setting, a
// stimuli file): UTF-8 as it is, anything else read as Windows-1252.
inline std::string AsUtf8(std::string_view bytes) {
    return IsUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

// UTF-8 text as Windows-1252 bytes. False when a character has no byte in
// Windows-1252 (or the text is no UTF-8): then `badOffset` is the offset of
// that character in `text`, and `out` holds only part of the text.
bool Utf8ToWindows1252(std::string_view text, std::string& out, size_t& badOffset);

// The code point of the UTF-8 sequence at `offset` and its length in bytes
// (a stray byte counts as itself, one byte long).
char32_t CodePointAt(std::string_view text, size_t offset, size_t* length = nullptr);

// How many characters UTF-8 `text` holds (a stray byte counts as one).
size_t CharacterCount(std::string_view text);

// How often each line end occurs: CR LF, a bare LF and a lone CR.
struct LineEndCounts {
    size_t crlf = 0;
    size_t lf = 0;
    size_t cr = 0;
    // More than one kind of line end.
    bool Mixed() const { return (crlf != 0) + (lf != 0) + (cr != 0) > 1; }
    // The kind that occurs most; on a tie CR LF before LF before CR;
    // `none` when the text has no line end.
    LineEnd Majority(LineEnd none) const;
};
LineEndCounts CountLineEnds(std::string_view bytes);

// `text` with every line end (CR LF, a bare LF, a lone CR) made `end`.
std::string WithLineEnds(std::string_view text, LineEnd end);

}  // namespace plc
