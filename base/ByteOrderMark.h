// SPDX-License-Identifier: GPL-3.0-or-later
// The UTF-8 byte-order mark that editors of other systems put before a
// text. A source text starts after it wherever one is read (plcc, the
// editor's Open, the language server): the rule lives here alone.
#pragma once

#include <string_view>

namespace plc {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

inline constexpr bool HasByteOrderMark(std::string_view bytes) { return bytes.starts_with(kUtf8ByteOrderMark); }

// The source text of a file's bytes: the bytes after a byte-order mark, else
// all of them.
inline constexpr std::string_view SourceTextOfFile(std::string_view bytes) {
    return HasByteOrderMark(bytes) ? bytes.substr(kUtf8ByteOrderMark.size()) : bytes;
}

}  // namespace plc
