// The line compiler: the section state machine, labels, name declarations,
// and the finalisation of the image at the programme's END line.
#include "compiler/ParseCursor.h"
#include "compiler/Statements.h"
#include "image/PlcProgram.h"

namespace plc {

namespace {

constexpr size_t kMaxLineLength = 80;  // a line of 80 or more characters is refused

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool CPlcProgram::CompileLine(std::string_view text, int32_t& lineIndex, int32_t& error) {
    error = kErrNone;
    if (text.empty() || text.size() >= kMaxLineLength) {
        error = kErrTooLong;
        return false;
    }
    std::string joined;
    joined.reserve(text.size());
    for (char c : text) {
        if (!IsBlank(c)) joined.push_back(c);
    }
    if (joined.empty()) return true;
    int32_t reported = lineIndex;
    const int code = ParseLine(joined, reported);
    if (code != kErrNone) {
        error = code;
        lineIndex = reported;
        return false;
    }
    return true;
}

int CPlcProgram::ParseLine(std::string_view line, int32_t& lineIndex) {
    ParseCursor cur(line);
    switch (m_sectionState) {
        case kOutsideSection: return ParseOutsideLine(cur);
        case kInTextSection: return ParseTextLine(cur);
        case kInProgramSection: return ParseProgramLine(cur, lineIndex);
        default: return kErrInternal;
    }
}

// Outside any section only the two heads are allowed.
int CPlcProgram::ParseOutsideLine(ParseCursor& cur) {
    if (cur.Eat("%TEXT")) {
        if (m_textDeclared) return kErrTextDeclared;
        // The section is entered even when the head is faulty, so that its
        // DEF lines are not reported once more each.
        m_sectionState = kInTextSection;
        if (!cur.Eat("(")) return kErrName;
        std::string name;
        if (!ScanName(cur, name)) return kErrName;
        if (!cur.Eat(")")) return kErrNameTooLong;
        if (!cur.AtEnd()) return kErrTooLong;
        m_programName = name;
        return kErrNone;
    }
    if (cur.Eat("%P00")) {
        if (m_programEnded) return kErrProgramDefined;
        if (!cur.AtEnd()) return kErrTooLong;
        m_sectionState = kInProgramSection;
        return kErrNone;
    }
    return kErrNoHead;
}

// Inside %TEXT(NAME) ... END: DEF lines name variables.
int CPlcProgram::ParseTextLine(ParseCursor& cur) {
    if (cur.Eat("DEF")) {
        VarKind kind;
        switch (cur.Peek()) {
            case 'C': kind = VarKind::C; break;
            case 'F': kind = VarKind::F; break;
            case 'H': kind = VarKind::H; break;
            case 'M': kind = VarKind::M; break;
            case 'Z': kind = VarKind::Z; break;
            default: return kErrVariable;
        }
        cur.Advance();
        uint8_t index = 0;
        if (int err = ScanVar(cur, kind, index)) return err;
        if (!cur.Eat("=")) return kErrOperator;
        std::string name;
        if (!ScanName(cur, name)) return kErrName;
        if (!cur.AtEnd()) return kErrTooLong;  // over 32 characters, or a ")"
        SetName(kind, index, name);
        return kErrNone;
    }
    if (cur.Eat("END")) {
        if (!cur.AtEnd()) return kErrTooLong;
        m_textDeclared = 1;
        m_sectionState = kOutsideSection;
        return kErrNone;
    }
    return kErrTextCommand;
}

// Inside %P00 ... END: labelled statements and the closing END.
int CPlcProgram::ParseProgramLine(ParseCursor& cur, int32_t& lineIndex) {
    if (cur.Eat("N")) {
        uint16_t label = 0;
        if (!ScanWord(cur, label, kFirstLabel, kLastLabel)) return kErrLabel;
        if (m_records[label].used()) return kErrLabelUsed;
        PlcInstr rec;
        if (int err = CompileStatement(cur, rec)) return err;
        if (const OpcodeRow* row = FindOpcodeRow(rec.opcode())) rec.setKind(row->kind);
        rec.setUsed(1);
        rec.setLine(static_cast<uint16_t>(lineIndex));
        m_records[label] = rec;
        return kErrNone;
    }
    if (cur.Eat("END")) {
        // The section ends even when something follows END.
        m_programEnded = 1;
        m_sectionState = kOutsideSection;
        if (!cur.AtEnd()) return kErrTooLong;
        return FinishProgram(lineIndex);
    }
    return kErrNoLabelOrEnd;
}

// Builds the END record, the link chain and the entry record, then checks
// that every jump target exists and that labels rise with the text's lines.
int CPlcProgram::FinishProgram(int32_t& lineIndex) {
    PlcInstr& end = m_records[kEndRecord];
    end.setOpcode(Op::JmpEnd);
    end.setNext(kEndRecord);
    end.setTarget(kEndRecord);
    end.setUsed(1);
    end.setKind(kKindControlFlow);

    int previous = kEntryRecord;
    for (int r = kFirstLabel; r <= kEndRecord; ++r) {
        if (!m_records[static_cast<size_t>(r)].used()) continue;
        m_records[static_cast<size_t>(previous)].setNext(static_cast<uint16_t>(r));
        previous = r;
    }

    PlcInstr& entry = m_records[kEntryRecord];
    entry.setOpcode(Op::Jmp);
    entry.setTarget(entry.next());
    entry.setUsed(1);
    entry.setKind(kKindControlFlow);

    // RET, BRKPT, NOP and JMP END keep target 0, the always-used entry record.
    for (const PlcInstr& rec : m_records) {
        if (!rec.used() || rec.kind() != kKindControlFlow) continue;
        if (rec.target() >= kRecordCount || !m_records[rec.target()].used()) {
            lineIndex = rec.line();
            return kErrTargetMissing;
        }
    }

    for (int r = kFirstLabel; r < kLastLabel; ++r) {
        const PlcInstr& rec = m_records[static_cast<size_t>(r)];
        if (!rec.used()) continue;
        for (int s = r + 1; s <= kLastLabel; ++s) {
            const PlcInstr& following = m_records[static_cast<size_t>(s)];
            if (!following.used()) continue;
            if (rec.line() >= following.line()) {
                lineIndex = rec.line();
                return kErrOrder;
            }
            break;
        }
    }
    return kErrNone;
}

}  // namespace plc
