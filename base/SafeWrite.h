// SPDX-License-Identifier: GPL-3.0-or-later
// Writing files so that a failure or a kill never costs the previous file,
// and the path rules shared by everything that names files: both "\" and "/"
// separate folders in names that come in, and an inserted separator is "/".
#pragma once

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace plc {

// Writes `bytes` to `path` whole or not at all. The bytes go to a temporary
// file in the folder of `path` (unnamed where the file system allows, else
// named "<target>.tmp-<pid>-<n>"), every write, the flush to disk and the
// close are checked, and only then does the file take the target's place by
// a rename; temporary files of earlier writers of the target whose process is
// gone are removed first. A symbolic link is followed, so the file it names
// is replaced; a link that leads nowhere (dangling or looping) is refused, as
// is an existing file the user may not write and anything that is not a
// regular file. A replaced file keeps its owner, group and permissions; a new
// file gets 0666 less the umask.
// Where no temporary file can take the old file's place (a folder the user
// may not write, or an owner the new file cannot be given) the file is
// written in place, after a complete, synced copy of its old bytes in
// InPlaceBackupPath(path); that copy goes once the new bytes are on disk, and
// a failure's message names it. Where no such copy can be made the write is
// refused and nothing changes.
// On failure the old file keeps its contents, no temporary file is left,
// `error` (when given) says why, ending in the system's reason, and the
// result is false.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// One file of a group written together.
struct FileToWrite {
    std::string path;
    std::string_view bytes;
};

// Writes several files together: each is complete and flushed to disk under a
// temporary name before the first takes its place, and they take their
// places in the order given, so that the last one given is the last to
// change. False when a file could not be prepared (then none changed) or
// could not take its place (those before it have); `error` says why and
// `failed` (when given) is the index of the file that failed.
bool WriteFilesSafely(std::span<const FileToWrite> files, std::string* error = nullptr, size_t* failed = nullptr);

// A file written as a stream, whole or not at all, by the rules of
// WriteFileSafely: the bytes go to a temporary file beside the target as
// they come, and take the target's place only when Commit succeeds (written
// in place after a copy of the old bytes where no temporary file can take
// its place). Destroyed without Commit, it changes nothing and leaves no
// temporary file.
class SafeFileStream {
public:
    SafeFileStream();
    SafeFileStream(const SafeFileStream&) = delete;
    SafeFileStream& operator=(const SafeFileStream&) = delete;
    ~SafeFileStream();

    // False, with `error` saying why, when the target is refused or no
    // temporary file can be made; nothing changes then.
    bool Open(const std::string& path, std::string* error = nullptr);
    // The buffered stream the bytes go to; nullptr when not open. A write
    // that fails makes Commit fail.
    std::FILE* Stream() const;
    // Puts every byte written on disk and lets the file take the target's
    // place; false, with `error`, when a write failed or the file could not
    // take its place (the target then keeps its old bytes). The stream is
    // closed either way.
    bool Commit(std::string* error = nullptr);

private:
    struct Pending;
    std::unique_ptr<Pending> m_open;
};

// Where an in-place write of `path` keeps the copy of the old bytes:
// $XDG_STATE_HOME/plcedit/backup/<name>.<hash of the full path>.bak (else
// under ~/.local/state); empty when there is no such folder.
std::string InPlaceBackupPath(const std::string& path);

// The copy of `path`'s old bytes that an in-place write left because it did
// not finish (killed, or failed while it wrote): its path when one is there,
// else empty.
std::string LeftBackupOf(const std::string& path);

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
