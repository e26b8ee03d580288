// Writing files so that a failure never costs the previous file, and the path
// rules shared by everything that names files: both "\" and "/" separate
// folders in names that come in, and an inserted separator is "/".
#pragma once

#include <string>
#include <string_view>

namespace plc {

// Writes `bytes` to a temporary file in the folder of `path`, checks every
// write, the flush to disk and the close, then renames the temporary file
// over `path`. A symbolic link is followed, so the file it names is replaced;
// a link that leads nowhere (dangling or looping) is refused. An existing
// file the user may not write is refused. A replaced file keeps its owner,
// group and permissions; a new file gets 0666 less the umask. Where no
// temporary file can take the old file's place (a folder the user may not
// write, or an owner the new file cannot be given) the file is written in
// place, and on failure its old bytes are written back.
// On failure the old file keeps its contents, the temporary file is removed,
// `error` (when given) says why, ending in the system's reason, and the
// result is false.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// `path` with every "\" turned into "/".
std::string NormalizeSeparators(std::string_view path);

// `directory` and `name` joined: "/" is inserted when the directory is not
// empty and does not already end in a separator ("\" or "/"). The result has
// its separators normalised.
std::string JoinPath(std::string_view directory, std::string_view name);

// The absolute, lexically normalised form of `path` (separators normalised
// first); `path` itself when it cannot be made absolute.
std::string FullPath(std::string_view path);

// True when a file of that name exists and can be opened for reading.
bool FileExists(const std::string& path);

}  // namespace plc
