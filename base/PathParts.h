// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of a file's path as a name that comes in writes it: both "\"
// and "/" separate folders. Whoever needs the folder of a document, the name
// of a file or its stem asks here.
#pragma once

#include <string>
#include <string_view>

namespace plc {

constexpr bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// The folder part of `path` without the separator after it: empty when the
// path names no folder ("prog.plc"), "/" for a file in the root ("/prog.plc").
constexpr std::string_view FolderPart(std::string_view path) {
    const size_t sep = path.find_last_of("/\\");
    if (sep == std::string_view::npos) return {};
    return sep == 0 ? path.substr(0, 1) : path.substr(0, sep);
}

// The folder a file of `path` lies in: its folder part, "." when it has none.
inline std::string FolderOf(std::string_view path) {
    const std::string_view folder = FolderPart(path);
    return folder.empty() ? std::string(".") : std::string(folder);
}

// The file's name, after the last separator.
constexpr std::string_view FileNameOf(std::string_view path) {
    const size_t sep = path.find_last_of("/\\");
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

// The file's name without its extension, the text from its last "." on; a
// name that only begins with a "." (".profile") has none.
constexpr std::string_view StemOf(std::string_view path) {
    const std::string_view name = FileNameOf(path);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace plc
