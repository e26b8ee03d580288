// The record decoder: renders records of the image as canonical source text,
// and the iterator that walks the image for a listing.
#include <cstdio>

#include "decoder/RecordPrinter.h"
#include "image/ErrorCodes.h"
#include "image/PlcProgram.h"

namespace plc {

int CPlcProgram::DecodeRecord(std::string& text, int index) const {
    if (index < 0 || index >= kRecordCount) {
        text = kUnknownOpcodeText;
        return 0;
    }
    const PlcInstr& rec = m_records[static_cast<size_t>(index)];
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

int CPlcProgram::DecodeNextRecord(std::string& text, int32_t& line, int32_t& error) {
    error = 0;
    for (int i = m_decodePos < 1 ? 1 : m_decodePos; i <= kLastLabel; ++i) {
        const PlcInstr& rec = m_records[static_cast<size_t>(i)];
        if (rec.used() != 1 && rec.opcode() == 0) continue;
        if (DecodeRecord(text, i) == 0) error = kErrTextCoding;
        line = rec.line();
        m_decodePos = i + 1;
        return 1;
    }
    m_decodePos = 1;
    return 0;
}

int CPlcProgram::GetIoName(bool isInput, uint8_t number, std::string& name) {
    const char* found = isInput ? InputName(number) : OutputName(number);
    name = found != nullptr ? found : "???ERR";
    return found != nullptr ? 1 : 0;
}

}  // namespace plc
