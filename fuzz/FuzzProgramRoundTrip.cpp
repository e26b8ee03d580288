// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: whole programme texts through compile, binary file, read,
// listing and compile again.
//
// The input is a programme text. Compiled in place, without splitting it
// into lines first, it gives the messages and image its lines give. When it
// compiles, the image is written as a
// binary programme file and read back; the records read must be the records
// written. The listing of the image read must call itself clean, and its text
// must compile to the same image (bytes 0 to 7 of every record). The text
// renumbered must compile as well.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"
#include "decoder/RenumberText.h"
#include "fuzz/FuzzScratchDir.h"
#include "image/PlcProgram.h"

namespace {

[[noreturn]] void Fail(const char* what, int record = -1) {
    std::fprintf(stderr, "%s", what);
    if (record >= 0) std::fprintf(stderr, ": record %d", record);
    std::fprintf(stderr, "\n");
    std::abort();
}

bool SameImage(const plc::CPlcProgram& a, const plc::CPlcProgram& b, int& record) {
    for (int i = 0; i < plc::kRecordCount; ++i) {
        for (size_t k = 0; k < 8; ++k) {
            if (a.Record(i).b[k] != b.Record(i).b[k]) {
                record = i;
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = plc::SplitLines(input);

    plc::CPlcProgram built;
    const plc::CompileOutcome first = plc::CompileProgramText(built, lines);
    plc::CPlcProgram inPlace;
    const plc::CompileOutcome direct = plc::CompileProgramSource(inPlace, input);
    if (direct.entries != first.entries) Fail("the text compiled in place gives other messages");
    if (int record = 0; !SameImage(built, inPlace, record))
        Fail("the text compiled in place gives another image", record);
    if (first.success) {
        std::string path = plc::fuzz::ScratchDir() + "/image.bin";
        if (built.WriteBinaryFile(path, false) != 1) Fail("the binary programme file cannot be written");
        plc::CPlcProgram read;
        read.Clear();
        std::string why;
        if (read.ReadBinaryFile(path, &why) != 1) Fail(("the binary programme file is refused: " + why).c_str());
        int record = 0;
        if (!SameImage(built, read, record)) Fail("the file reads back other records", record);

        const plc::ListingOutcome listing = plc::ListProgramImage(read, "image.bin", "01/01/2000, 00:00");
        if (listing.errorCount != 0) Fail(("a compiled image lists with errors: " + listing.entries.back()).c_str());
        plc::CPlcProgram again;
        const plc::CompileOutcome second = plc::CompileProgramText(again, plc::SplitLines(listing.text));
        if (!second.success) Fail("a clean listing does not compile");
        if (!SameImage(built, again, record)) Fail("the listing compiles to another image", record);
    }

    plc::CPlcProgram renumbered;
    const plc::RenumberTextOutcome renum = plc::RenumberProgramText(renumbered, lines);
    if (renum.compiled && renum.renumbered) {
        plc::CPlcProgram check;
        if (!plc::CompileProgramText(check, renum.lines).success) Fail("the renumbered text does not compile");
    }
    return 0;
}
