// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: arbitrary records through the record decoder.
//
// Input: bytes 0 to 7 of a record, then optionally its index (one byte) and
// bytes 8 to 11. Checks, besides never crashing or reading outside the
// record (the sanitizers and the library's bounds assertions watch):
// - the result agrees with the style of the line (error lines start with
//   "; ERROR", "ERROR:" or "Nnnn (!)"; valid lines with the record's label or
//   a reserved-command comment);
// - the line does not depend on bytes 8 to 11;
// - a valid line that compiles renders again to the same line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "decoder/DecodeRecord.h"
#include "image/PlcProgram.h"
#include "tests/TestUtil.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s: \"%s\"\n", what, text.c_str());
    std::abort();
}

bool IsErrorLine(const std::string& text) {
    if (text.starts_with("; ERROR") || text.starts_with("ERROR:")) return true;
    return text.size() >= 8 && text[0] == 'N' && text[1] >= '0' && text[1] <= '9' && text[2] >= '0' &&
           text[2] <= '9' && text[3] >= '0' && text[3] <= '9' && text.compare(4, 4, " (!)") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    plc::PlcInstr rec;
    std::memcpy(rec.b.data(), data, 8);
    int index = 10;
    if (size > 8) index = data[8] == 0 || data[8] == 255 ? 1 : data[8];
    for (size_t i = 9; i < size && i < 13; ++i) rec.b[i - 1] = data[i];

    static plc::CPlcProgram program;
    static plc::CPlcProgram plain;  // the same record with bytes 8 to 11 cleared
    program.Record(index) = rec;
    plc::PlcInstr bare = rec;
    for (size_t i = 8; i < 12; ++i) bare.b[i] = 0;
    plain.Record(index) = bare;

    std::string text = "stale";
    const int result = plc::DecodeRecord(program, text, index);
    std::string again;
    if (plc::DecodeRecord(plain, again, index) != result || again != text) Fail("bytes 8 to 11 change the line", text);

    char label[8];
    std::snprintf(label, sizeof label, "N%03d ", index);
    if ((result != 0) == IsErrorLine(text)) Fail("result disagrees with the line", text);
    if (result != 0 && !text.starts_with(label) && !text.starts_with("; PLC: Reserved Command - "))
        Fail("valid line without its label", text);

    // Idempotence: a valid statement line that compiles renders to itself.
    if (result != 0 && text.starts_with(label)) {
        plc::PlcInstr compiled;
        if (plc::test::CompileLineInSection(text, index, compiled) == 0) {
            int rerenderedResult = 0;
            const std::string rendered = plc::test::Render(compiled, index, &rerenderedResult);
            if (rerenderedResult == 0 || rendered != text)
                Fail(("recompiled line renders as \"" + rendered + "\"; was").c_str(), text);
        }
    }
    program.Record(index) = plc::PlcInstr{};
    plain.Record(index) = plc::PlcInstr{};
    return 0;
}
