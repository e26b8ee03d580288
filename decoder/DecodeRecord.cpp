// SPDX-License-Identifier: GPL-3.0-or-later
// The record decoder: renders records of the image as canonical source text,
// and the iterator that walks the image for a listing.
#include "decoder/DecodeRecord.h"

#include <cstdio>

#include "decoder/RecordPrinter.h"
#include "image/ErrorCodes.h"

namespace plc {

int DecodeRecord(const CPlcProgram& program, std::string& text, int index) {
    if (index < 0 || index >= kRecordCount) {
        text = kUnknownOpcodeText;
        return 0;
    }
    const PlcInstr& rec = program.Record(index);
    if (rec.opcode() == 0) {
        char buf[48];
        std::snprintf(buf, sizeof buf, kNoCodeText, index);
        text = buf;
        return 0;
    }
    const OpcodeRow* row = FindOpcodeRow(rec.opcode());
    if (row == nullptr) {
        text = kUnknownOpcodeText;
        return 0;
    }
    return RenderRecord(*row, rec, index, text);
}

int DecodeNextRecord(CPlcProgram& program, std::string& text, int32_t& line, int32_t& error) {
    error = 0;
    for (int i = program.DecodePosition() < 1 ? 1 : program.DecodePosition(); i <= kLastLabel; ++i) {
        const PlcInstr& rec = program.Record(i);
        if (rec.used() != 1 && rec.opcode() == 0) continue;
        if (DecodeRecord(program, text, i) == 0) error = kErrTextCoding;
        line = rec.line();
        program.SetDecodePosition(i + 1);
        return 1;
    }
    program.SetDecodePosition(1);
    return 0;
}

int GetIoName(bool isInput, uint8_t number, std::string& name) {
    const char* found = isInput ? InputName(number) : OutputName(number);
    name = found != nullptr ? found : "???ERR";
    return found != nullptr ? 1 : 0;
}

}  // namespace plc
