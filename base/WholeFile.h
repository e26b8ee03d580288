// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a file whole. Every whole read of the system (the editor's files,
// the settings and the registry, the binary programme files, plcc's input)
// goes through the one reader here, so that how a file is opened, which
// kinds of file are taken at all and how much may come is decided in one
// place: a reader opens without blocking, looks at what it opened before it
// reads, and stops one byte after the most its format allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace plc {

// How a read of a descriptor ended.
enum class ReadEnd {
    Complete,  // everything up to the end is in the bytes
    TooLarge,  // more than the limit came; the bytes hold the limit and one more
    Failed,    // a read failed; errno says why
};

inline constexpr size_t kNoReadLimit = SIZE_MAX;

// Reads what `fd` holds from where it stands to its end into `bytes`
// (replacing them). `sizeHint` (a regular file's size) sizes the first
// buffer; the read goes on to the end all the same, so a file whose size says
// 0 (the files of /proc) or that grew meanwhile is read whole. It stops once
// more than `limit` bytes have come.
ReadEnd ReadDescriptor(int fd, std::string& bytes, std::optional<size_t> sizeHint = std::nullopt,
                       size_t limit = kNoReadLimit);

// What a whole-file read accepts.
struct WholeFileRules {
    size_t limit = kNoReadLimit;  // the most bytes the file's format allows
    bool pipes = false;           // a pipe or FIFO is read too (up to the limit)
};

// How a whole-file read ended; true when the file was read.
struct FileRead {
    enum class Fault {
        None,
        CannotOpen,  // the file cannot be found or opened (errno in `error`)
        Folder,      // a folder
        NotRegular,  // a device, a socket, or a pipe where none is taken
        TooLarge,    // more than the limit
        CannotRead,  // a read failed (errno in `error`)
    };
    Fault fault = Fault::None;
    int error = 0;
    uint32_t mode = 0;        // the file's type and permission bits (st_mode), once known
    size_t limit = kNoReadLimit;

    explicit operator bool() const { return fault == Fault::None; }
    // The reason in words, to follow the file's name: "is a folder", "is a
    // character device, not a regular file", "is larger than 4 MiB",
    // "cannot open: No such file or directory".
    std::string Reason() const;
};

// "4 MiB", "30000 bytes": a limit in the words of a message.
std::string SizeInWords(size_t bytes);

// Reads the file `path` whole, bytes unchanged, into `data` (replacing them;
// untouched when the file is refused or cannot be read, except that a file
// over the limit leaves the limit's bytes and one more there). Only a regular
// file is read (and, with `rules.pipes`, a pipe or FIFO); anything else is
// refused before a byte is read, and nothing blocks on opening.
FileRead ReadWholeFile(const std::string& path, std::string& data, const WholeFileRules& rules = {});

// Looks at the file `path` by name, as ReadWholeFile would before it reads:
// its kind and, for a regular file, its size against the limit. Nothing is
// opened.
FileRead ExamineFile(const std::string& path, const WholeFileRules& rules = {});

// The same for a descriptor already open (standard input, say): its kind is
// checked as a file's would be.
FileRead ReadWholeDescriptor(int fd, std::string& data, const WholeFileRules& rules = {});

}  // namespace plc
