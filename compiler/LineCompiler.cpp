// SPDX-License-Identifier: GPL-3.0-or-later
// The line compiler: the section state machine, labels, name declarations,
// and the finalisation of the image at the programme's END line; asked for,
// it notes the line's source facts as it reads the line.
#include "compiler/LineCompiler.h"

#include <optional>

#include "compiler/LineFacts.h"
#include "compiler/ParseCursor.h"
#include "compiler/Scanners.h"
#include "compiler/Statements.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

constexpr size_t kMaxLineLength = 80;  // a line of 80 or more characters is refused

// Blank, tab, CR and LF, tested as one bit of a mask rather than by four
// comparisons.
constexpr uint64_t kBlanks =
    (uint64_t{1} << ' ') | (uint64_t{1} << '\t') | (uint64_t{1} << '\r') | (uint64_t{1} << '\n');
bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 64) & static_cast<bool>((kBlanks >> (u & 63)) & 1);
}

// Where the `k`-th character that is not blank stands in `text` (counted
// from 0); only faulty lines need it.
int32_t ColumnOf(std::string_view text, size_t k) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsBlank(text[i])) continue;
        if (k-- == 0) return static_cast<int32_t>(i);
    }
    return static_cast<int32_t>(text.size());
}

// Lines up to this length are worked on in buffers on the stack.
constexpr size_t kStackLine = 128;

// One line through the section state machine of a programme; with `facts`
// it notes where its sections, label, declaration and uses stand.
class LineCompiler {
public:
    explicit LineCompiler(CPlcProgram& program, LineFacts* facts = nullptr) : m_program(program), m_facts(facts) {}

    // ParseLine over the line's upper-case copy and the line itself;
    // `failPos` receives where in the line the parse stopped.
    int ParseStripped(std::string_view upper, std::string_view original, int32_t& lineIndex, size_t& failPos);

private:
    int ParseOutsideLine(ParseCursor& cur);
    int ParseTextLine(ParseCursor& cur);
    int ParseProgramLine(ParseCursor& cur, int32_t& lineIndex);
    int FinishProgram(int32_t& lineIndex);
    // A DEF line where no text section is open: refused, but noted when it is
    // well formed. Read on a cursor of its own, so that the line's fault
    // stays where the compiler found it.
    void NoteStrayDeclaration();

    CPlcProgram& m_program;
    LineFacts* m_facts;
};

// A DEF line after its keyword: a family letter, an index in the family's
// range, "=" and a name up to the line's end. 0 or the code of the fault.
int ReadDef(ParseCursor& cur, DefLine& def) {
    def.family = FamilyOfLetter(cur.Peek());
    if (def.family == nullptr) return kErrVariable;
    def.letterAt = cur.Position();
    cur.Advance();
    if (int err = ScanVar(cur, def.family->kind, def.index)) return err;
    if (!cur.Eat("=")) return kErrOperator;
    def.nameAt = cur.Position();
    if (!ScanName(cur, def.name)) return kErrName;
    if (!cur.AtEnd()) return kErrTooLong;  // over 32 characters, or a ")"
    return kErrNone;
}

}  // namespace

bool CompileLine(CPlcProgram& program, std::string_view text, int32_t& lineIndex, int32_t& error,
                 SourceFacts* facts) {
    error = kErrNone;
    program.SetErrorColumn(0);
    if (text.empty() || text.size() >= kMaxLineLength) {
        error = kErrTooLong;
        return false;
    }
    // The line without blanks and its upper-case copy; for the facts, also
    // the column each of their characters stands in.
    char joined[kMaxLineLength];
    char upper[kMaxLineLength];
    int32_t columns[kMaxLineLength];
    size_t n = 0;
    if (facts == nullptr) {
        for (const char c : text) {
            if (IsBlank(c)) continue;
            joined[n] = c;
            upper[n] = AsciiUpper(c);
            ++n;
        }
    } else {
        for (size_t i = 0; i < text.size(); ++i) {
            if (IsBlank(text[i])) continue;
            joined[n] = text[i];
            upper[n] = AsciiUpper(text[i]);
            columns[n] = static_cast<int32_t>(i);
            ++n;
        }
    }
    if (n == 0) return true;
    const std::string_view upperView(upper, n), joinedView(joined, n);
    std::optional<LineFacts> lineFacts;
    if (facts != nullptr) lineFacts.emplace(*facts, lineIndex, text, upperView, joinedView, columns);
    int32_t reported = lineIndex;
    size_t failPos = 0;
    const int code = LineCompiler(program, lineFacts ? &*lineFacts : nullptr)
                         .ParseStripped(upperView, joinedView, reported, failPos);
    if (code != kErrNone) {
        error = code;
        // The column of the character the compiler stopped at; past the end,
        // the column after the last character. Errors found for another line
        // (at the programme's END) have none.
        if (reported == lineIndex)
            program.SetErrorColumn(failPos < n ? ColumnOf(text, failPos) + 1 : ColumnOf(text, n - 1) + 2);
        lineIndex = reported;
        return false;
    }
    return true;
}

void OpenProgramSection(CPlcProgram& program) {
    program.Clear();
    int32_t line = 0, error = 0;
    CompileLine(program, Word(SectionWord::ProgramHead), line, error);
}

int ParseLine(CPlcProgram& program, std::string_view line, int32_t& lineIndex) {
    char small[kStackLine];
    std::string large;
    char* upper = small;
    if (line.size() > kStackLine) {
        large.resize(line.size());
        upper = large.data();
    }
    for (size_t i = 0; i < line.size(); ++i) upper[i] = AsciiUpper(line[i]);
    size_t failPos = 0;
    return LineCompiler(program).ParseStripped(std::string_view(upper, line.size()), line, lineIndex, failPos);
}

int LineCompiler::ParseStripped(std::string_view upper, std::string_view original, int32_t& lineIndex,
                                size_t& failPos) {
    ParseCursor cur(upper, original);
    int code = kErrInternal;
    switch (m_program.SectionState()) {
        case kOutsideSection: code = ParseOutsideLine(cur); break;
        case kInTextSection: code = ParseTextLine(cur); break;
        case kInProgramSection: code = ParseProgramLine(cur, lineIndex); break;
        default: break;
    }
    failPos = cur.FaultPosition();
    return code;
}

// Outside any section only the two heads are allowed.
int LineCompiler::ParseOutsideLine(ParseCursor& cur) {
    if (cur.Eat(Word(SectionWord::TextHead))) {
        if (m_program.IsTextDeclared()) return kErrTextDeclared;
        // The section is entered even when the head is faulty, so that its
        // DEF lines are not reported once more each.
        m_program.SetSectionState(kInTextSection);
        if (m_facts) m_facts->OpenSection(SectionKind::Text, Word(SectionWord::TextHead).size());
        if (!cur.Eat("(")) return kErrName;
        const size_t nameAt = cur.Position();
        std::string name;
        if (!ScanName(cur, name)) return kErrName;
        if (!cur.Eat(")")) return kErrNameTooLong;
        if (m_facts) m_facts->NameSection(nameAt, nameAt + name.size());
        if (!cur.AtEnd()) return kErrTooLong;
        m_program.SetProgramName(name);
        return kErrNone;
    }
    if (cur.Eat(Word(SectionWord::ProgramHead))) {
        if (m_program.IsProgramEnded()) return kErrProgramDefined;
        if (!cur.AtEnd()) return kErrTooLong;
        m_program.SetSectionState(kInProgramSection);
        if (m_facts) m_facts->OpenSection(SectionKind::Program, Word(SectionWord::ProgramHead).size());
        return kErrNone;
    }
    if (m_facts) NoteStrayDeclaration();
    return kErrNoHead;
}

// Inside %TEXT(NAME) ... END: DEF lines name variables.
int LineCompiler::ParseTextLine(ParseCursor& cur) {
    if (cur.Eat(Word(SectionWord::Def))) {
        DefLine def;
        const int err = ReadDef(cur, def);
        if (m_facts) m_facts->Declaration(def, err == kErrNone);
        if (err != kErrNone) return err;
        m_program.SetName(def.family->kind, def.index, def.name);
        return kErrNone;
    }
    if (cur.Eat(Word(SectionWord::End))) {
        if (!cur.AtEnd()) return kErrTooLong;
        m_program.SetTextDeclared();
        m_program.SetSectionState(kOutsideSection);
        if (m_facts) m_facts->CloseSection();
        return kErrNone;
    }
    return kErrTextCommand;
}

// Inside %P00 ... END: labelled statements and the closing END.
int LineCompiler::ParseProgramLine(ParseCursor& cur, int32_t& lineIndex) {
    if (cur.Eat("N")) {
        uint16_t label = 0;
        if (!ScanWritten(cur, kFirstLabel, kLastLabel, label)) return kErrLabel;
        if (m_facts) m_facts->Statement(label, cur.Position());
        if (m_program.Record(label).used()) return kErrLabelUsed;
        PlcInstr rec;
        if (int err = CompileStatement(cur, rec)) return err;
        rec.setUsed(1);
        rec.setLine(static_cast<uint16_t>(lineIndex));
        m_program.Record(label) = rec;
        return kErrNone;
    }
    if (cur.Eat(Word(SectionWord::End))) {
        // The section ends even when something follows END.
        m_program.SetProgramEnded();
        m_program.SetSectionState(kOutsideSection);
        if (m_facts) m_facts->CloseSection();
        if (!cur.AtEnd()) return kErrTooLong;
        return FinishProgram(lineIndex);
    }
    if (m_facts) NoteStrayDeclaration();
    return kErrNoLabelOrEnd;
}

void LineCompiler::NoteStrayDeclaration() {
    ParseCursor cur(m_facts->Upper(), m_facts->Original());
    DefLine def;
    if (cur.Eat(Word(SectionWord::Def)) && ReadDef(cur, def) == kErrNone) m_facts->StrayDeclaration(def);
}

// Builds the END record, the link chain and the entry record, then checks
// that every jump target exists and that labels rise with the text's lines.
int LineCompiler::FinishProgram(int32_t& lineIndex) {
    PlcInstr& end = m_program.Record(kEndRecord);
    end.setOpcode(Op::JmpEnd);
    end.setNext(kEndRecord);
    end.setTarget(kEndRecord);
    end.setUsed(1);
    end.setKind(kKindControlFlow);
    PlcInstr& entry = m_program.Record(kEntryRecord);
    entry.setOpcode(Op::Jmp);
    entry.setUsed(1);
    entry.setKind(kKindControlFlow);

    // One pass over the labels links each used record to the next and notes
    // the first jump whose target is missing and the first label whose line
    // does not rise above the one before it. A missing target is reported
    // before a fault of order. RET, BRKPT, NOP and JMP END keep target 0,
    // the always-used entry record; the entry and END records always jump to
    // used records.
    int previous = kEntryRecord;
    const PlcInstr* earlier = nullptr;  // the used label before this one
    const PlcInstr* missingTarget = nullptr;
    const PlcInstr* outOfOrder = nullptr;
    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        const PlcInstr& rec = m_program.Record(r);
        if (!rec.used()) continue;
        m_program.Record(previous).setNext(static_cast<uint16_t>(r));
        previous = r;
        if (missingTarget == nullptr && rec.kind() == kKindControlFlow &&
            (rec.target() >= kRecordCount || !m_program.Record(rec.target()).used()))
            missingTarget = &rec;
        if (outOfOrder == nullptr && earlier != nullptr && earlier->line() >= rec.line()) outOfOrder = earlier;
        earlier = &rec;
    }
    m_program.Record(previous).setNext(kEndRecord);

    entry.setTarget(entry.next());

    if (missingTarget != nullptr) {
        lineIndex = missingTarget->line();
        return kErrTargetMissing;
    }
    if (outOfOrder != nullptr) {
        lineIndex = outOfOrder->line();
        return kErrOrder;
    }
    return kErrNone;
}

}  // namespace plc
