// Reading a file whole. Every whole read of the system (the editor's files,
// the settings, plcc's input) goes through the one loop here, so that how a
// file is read, how much may come and which files are taken at all is
// decided in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace plc {

// How a read of a descriptor ended.
enum class ReadEnd {
    Complete,  // everything up to the end (or the known size) is in the bytes
    TooLarge,  // more than the limit came; the bytes hold the limit and one more
    Failed,    // a read failed; errno says why
};

inline constexpr size_t kNoReadLimit = SIZE_MAX;

// Reads what `fd` holds from where it stands into `bytes` (replacing them).
// With `knownSize` (a regular file's size) it reads that many bytes into a
// buffer of that size and stops there; without, it reads in growing steps
// to the end. It stops once more than `limit` bytes have come.
ReadEnd ReadDescriptor(int fd, std::string& bytes, std::optional<size_t> knownSize = std::nullopt,
                       size_t limit = kNoReadLimit);

// Opens `path` and reads it whole, bytes unchanged. False (errno set) when it
// cannot be opened or read, or names a folder; `data` is then untouched.
bool ReadWholeFile(const std::string& path, std::string& data);

}  // namespace plc
