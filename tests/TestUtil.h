// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the core tests.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/CompileDriver.h"
#include "decoder/DecodeRecord.h"
#include "image/PlcProgram.h"

namespace plc::test {

struct LineResult {
    int code = 0;
    PlcInstr rec;  // the label's record after the line (all zero when it failed)
};

using plc::CompileLineInSection;

// Compiles `statement` as the statement of label `label` inside a programme
// section, as the line "N<label> <statement>".
inline LineResult CompileStatementLine(std::string_view statement, int label = 10) {
    LineResult result;
    result.code = CompileLineInSection("N" + std::to_string(label) + " " + std::string(statement), label,
                                       result.rec);
    return result;
}

// Bytes 0 to 7 of a record as 16 lower-case hexadecimal digits.
inline std::string Hex8(const PlcInstr& rec) {
    std::string out;
    char buf[3];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", rec.b[static_cast<size_t>(i)]);
        out += buf;
    }
    return out;
}

// Renders `rec` as record `index` of an image; `result` receives the decoder's result.
inline std::string Render(const PlcInstr& rec, int index, int* result = nullptr) {
    CPlcProgram program;
    program.Clear();
    program.Record(index) = rec;
    std::string text;
    const int r = DecodeRecord(program, text, index);
    if (result != nullptr) *result = r;
    return text;
}

// A record from its first eight bytes given as 16 hexadecimal digits.
inline PlcInstr FromHex8(std::string_view hex) {
    PlcInstr rec;
    for (size_t i = 0; i < 8 && 2 * i + 1 < hex.size(); ++i) {
        rec.b[i] = static_cast<uint8_t>(std::stoul(std::string(hex.substr(2 * i, 2)), nullptr, 16));
    }
    return rec;
}

// Compiles a whole text given as lines.
inline CompileOutcome CompileLines(CPlcProgram& program, const std::vector<std::string>& lines) {
    return CompileProgramText(program, lines);
}

}  // namespace plc::test
