// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the binary programme file reader.
//
// The first input byte picks how the rest becomes a file: raw (the bytes as
// they are) or as text (every four bytes one hexadecimal word on a line of
// its own, with the line end the byte picks), so that both arbitrary files
// and well-formed ones of any content reach the reader. Checks: a refused
// file leaves the image cleared and names the file and a reason; a file read
// is written back and reads as the same records; its listing ends with END.
#include <sys/mman.h>
#include <unistd.h>

#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "decoder/Listing.h"
#include "fuzz/FuzzScratchDir.h"
#include "image/PlcProgram.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// The file under test lives in memory; its name is the descriptor's path.
const std::string& MemoryFile(int& fd) {
    static int memfd = ::memfd_create("plcfuzz-bin", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(memfd);
    fd = memfd;
    return path;
}

bool IsCleared(const plc::CPlcProgram& program) {
    for (int i = 0; i < plc::kRecordCount; ++i)
        for (uint8_t byte : program.Record(i).b)
            if (byte != 0) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 32 * 1024) return 0;
    const uint8_t mode = data[0];
    std::string file;
    if ((mode & 1) == 0) {
        file.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    } else {
        static const char* const kEnds[] = {"\r\n", "\n", "\r", " "};
        const char* end = kEnds[(mode >> 1) & 3];
        char word[16];
        for (size_t i = 1; i + 4 <= size; i += 4) {
            const uint32_t value = static_cast<uint32_t>(data[i]) | static_cast<uint32_t>(data[i + 1]) << 8 |
                                   static_cast<uint32_t>(data[i + 2]) << 16 |
                                   static_cast<uint32_t>(data[i + 3]) << 24;
            std::snprintf(word, sizeof word, (mode & 8) ? "%08" PRIX32 : "%" PRIx32, value);
            file += word;
            file += end;
        }
    }
    int fd = -1;
    const std::string& path = MemoryFile(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, file.data(), file.size(), 0) != static_cast<ssize_t>(file.size()))
        Fail("cannot prepare the input file");

    plc::CPlcProgram program;
    program.Clear();
    std::string why;
    if (program.ReadBinaryFile(path, &why) != 1) {
        if (!IsCleared(program)) Fail("a refused file changed the image");
        if (why.rfind("'" + path + "': ", 0) != 0 || why.size() <= path.size() + 4)
            Fail("a refusal without the file and its reason: " + why);
        return 0;
    }
    std::string out = plc::fuzz::ScratchDir() + "/back.bin";
    if (program.WriteBinaryFile(out, false) != 1) Fail("the image read cannot be written back");
    plc::CPlcProgram again;
    again.Clear();
    if (again.ReadBinaryFile(out, &why) != 1) Fail("the file written back is refused: " + why);
    for (int i = 0; i < plc::kRecordCount; ++i)
        for (size_t k = 0; k < 8; ++k)
            if (program.Record(i).b[k] != again.Record(i).b[k])
                Fail("the file written back reads as other records");
    const plc::ListingOutcome listing = plc::ListProgramImage(program, "back.bin", "01/01/2000, 00:00");
    if (listing.text.size() < 3 || listing.text.compare(listing.text.size() - 3, 3, "END") != 0)
        Fail("the listing does not end with END");
    return 0;
}
