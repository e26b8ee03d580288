// SPDX-License-Identifier: GPL-3.0-or-later
// The programmes the benchmarks run on: 254 statements each, one mixed
// evenly from every statement form of the instruction tables (each form
// rendered by the decoder from a record with legal operands), one of jumps only.
#pragma once

#include <bit>
#include <cstdio>
#include <string>
#include <vector>

#include "decoder/DecodeRecord.h"
#include "decoder/RecordPrinter.h"
#include "image/InstrSet.h"
#include "image/PlcProgram.h"

namespace bench {

// A legal value for an operand of this domain, so that the rendered form
// compiles again.
inline uint32_t SampleValue(plc::Dom dom, int label) {
    using plc::Dom;
    switch (dom) {
        case Dom::LabelNo: return static_cast<uint32_t>(label == 254 ? 1 : label + 1);
        case Dom::Zero: return 0;
        case Dom::Value01: return static_cast<uint32_t>(label % 2);
        case Dom::Int32: return static_cast<uint32_t>(-123456);
        case Dom::UInt32: return 250000;
        case Dom::Float: {
            const uint32_t bits = std::bit_cast<uint32_t>(2.75f);
            return (bits << 16) | (bits >> 16);
        }
        case Dom::Word: return 1234;
        case Dom::ParamNo: return 202;
        default: return static_cast<uint32_t>(label % 2 + 1);
    }
}

struct Form {
    const plc::OpcodeRow* row;
    const plc::Variant* variant;
    bool endForm;
};

// Every statement form: each variant of each compiling row, its END form too.
inline std::vector<Form> AllForms() {
    std::vector<Form> forms;
    for (auto family : {plc::FlowRows(), plc::AssignRows(), plc::MotionRows()}) {
        for (const plc::OpcodeRow& row : family) {
            if (!row.compiles) continue;
            for (const plc::Variant& v : row.variants) {
                forms.push_back({&row, &v, false});
                if (v.endText != nullptr) forms.push_back({&row, &v, true});
            }
        }
    }
    return forms;
}

// `faulty` puts an unknown command on label 250, so that the text has an error.
inline std::string MixedProgramme(bool faulty = false) {
    const std::vector<Form> forms = AllForms();
    std::string text = "; benchmark programme\r\n%TEXT(Bench)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\n";
    plc::CPlcProgram program;
    for (int label = 1; label <= 254; ++label) {
        // Evenly over the forms, whatever their number.
        const Form& form = forms[static_cast<size_t>(label - 1) * forms.size() / 254];
        plc::PlcInstr rec;
        rec.setOpcode(form.row->opcode);
        for (const plc::Operand& op : form.endForm ? form.variant->endArgs : form.variant->args)
            plc::SetFieldValue(op.src, rec, SampleValue(op.dom, label));
        if (form.endForm) rec.setTarget(plc::kEndRecord);
        if (form.row->selector != plc::Src::None)
            plc::SetFieldValue(form.row->selector, rec, form.variant->when >= 0 ? static_cast<uint32_t>(form.variant->when) : 1);
        for (const plc::FixedByte& f : form.variant->fixed)
            if (f.at >= 0) rec.b[static_cast<size_t>(f.at)] = f.value;
        program.Record(label) = rec;
        std::string line;
        plc::DecodeRecord(program, line, label);
        if (faulty && label == 250) line = "N250 FOO";
        text += line;
        if (label % 4 == 0) text += "\t\t; step " + std::to_string(label);
        text += "\r\n";
    }
    text += "END\r\n";
    return text;
}

inline const char* const kJumpForms[] = {
    "JMP (H%d = H%d) N%03d", "JMP (F%d >= F%d) END", "JMP (ACTVAL < H%d) N%03d",
    "JMP (M%d & IE%d) N%03d", "JMP (STA_INPOS = %d) END", "JMP (C%d != %d) N%03d",
    "JMP (RXMSG, %d, H%d) N%03d", "CALL N%03d", "NOP", "JMP N%03d",
};

inline std::string JumpProgramme() {
    std::string text = "; benchmark programme\r\n%TEXT(Bench)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\n";
    char line[96], stmt[64];
    for (int label = 1; label <= 254; ++label) {
        const int target = label == 254 ? 1 : label + 1;
        const int a = label % 8, b = (label * 7) % 8;
        switch (label % 10) {
            case 0: std::snprintf(stmt, sizeof stmt, kJumpForms[0], a, b, target); break;
            case 1: std::snprintf(stmt, sizeof stmt, kJumpForms[1], a, b); break;
            case 2: std::snprintf(stmt, sizeof stmt, kJumpForms[2], a, target); break;
            case 3: std::snprintf(stmt, sizeof stmt, kJumpForms[3], a, b, target); break;
            case 4: std::snprintf(stmt, sizeof stmt, kJumpForms[4], label % 2); break;
            case 5: std::snprintf(stmt, sizeof stmt, kJumpForms[5], a, b, target); break;
            case 6: std::snprintf(stmt, sizeof stmt, kJumpForms[6], a, b, target); break;
            case 7: std::snprintf(stmt, sizeof stmt, kJumpForms[7], target); break;
            case 8: std::snprintf(stmt, sizeof stmt, "%s", kJumpForms[8]); break;
            default: std::snprintf(stmt, sizeof stmt, kJumpForms[9], target); break;
        }
        std::snprintf(line, sizeof line, "N%03d %s\t\t; step %d\r\n", label, stmt, label);
        text += line;
    }
    text += "END\r\n";
    return text;
}

}  // namespace bench
