// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: source lines through the line compiler.
//
// The input is split at line breaks and each line goes through CompileLine
// of one programme, starting outside any section, so heads, declarations,
// statements and END lines all meet arbitrary text. Besides never crashing,
// every statement that compiled must decode as a valid statement, and its
// text must compile back to the same bytes and record kind.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "compiler/LineCompiler.h"
#include "decoder/DecodeRecord.h"
#include "image/PlcProgram.h"
#include "tests/TestUtil.h"

namespace {

// Bytes of a record that the statement itself writes (2 and 3 are the link).
constexpr size_t kStatementBytes[] = {0, 1, 4, 5, 6, 7};

[[noreturn]] void Fail(const char* what, const std::string& text, int index) {
    std::fprintf(stderr, "%s: record %d: \"%s\"\n", what, index, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    plc::CPlcProgram program;
    program.Clear();
    int32_t index = 0;
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string_view::npos) end = input.size();
        int32_t line = index, error = 0;
        plc::CompileLine(program, input.substr(start, end - start), line, error);
        ++index;
        start = end + 1;
    }
    // After an END line the records are linked (bytes 2 and 3): only the
    // statement's own bytes are compared.
    for (int i = plc::kFirstLabel; i <= plc::kLastLabel; ++i) {
        const plc::PlcInstr& rec = program.Record(i);
        if (!rec.used()) continue;
        std::string text;
        if (plc::DecodeRecord(program, text, i) == 0) Fail("compiled record does not decode", text, i);
        plc::PlcInstr back;
        if (plc::test::CompileLineInSection(text, i, back) != 0) Fail("rendered text does not compile", text, i);
        for (size_t b : kStatementBytes) {
            if (back.b[b] != rec.b[b])
                Fail("rendered text compiles to other bytes", text, i);
        }
        if (back.kind() != rec.kind()) Fail("rendered text compiles to another kind", text, i);
    }
    return 0;
}
