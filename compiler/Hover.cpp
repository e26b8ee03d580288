// SPDX-License-Identifier: GPL-3.0-or-later
// Hover: what a variable is called, where a jump goes, what a statement
// keyword compiles to, and what an input, output, status flag, register,
// control flag or drive value is, from the source facts and the instruction
// tables.
#include <string>

#include "base/Ascii.h"
#include "compiler/Assist.h"
#include "compiler/CompileDriver.h"
#include "compiler/StatementForms.h"
#include "compiler/Statements.h"
#include "image/RecordLayout.h"
#include "image/SectionWords.h"

namespace plc {

namespace {

// Forms listed under a keyword; the rest are counted.
constexpr size_t kListedForms = 12;

void AddLine(std::string& text, const std::string& line) {
    if (!text.empty()) text.push_back('\n');
    text += line;
}

HoverInfo VariableHover(const ProgramIndex& index, const Token& t) {
    HoverInfo h;
    h.code = VariableName(t.var, t.index);
    h.topic = {TopicKind::Variable, std::string(1, FamilyOf(t.var).letter), h.code};
    const VarFamily& family = FamilyOf(t.var);
    h.text = family.what;
    if (t.index >= family.count) {
        h.text += " (index out of range: " + std::string(1, family.letter) + "000 to " +
                  VariableName(t.var, family.count - 1) + ")";
    } else if (const Declaration* d = index.FindDeclaration(t.var, t.index)) {
        h.text += ", DEF name " + d->name + " (line " + std::to_string(d->line + 1) + ")";
    } else {
        h.text += ", no DEF name";
    }
    return h;
}

HoverInfo LabelHover(const ProgramIndex& index, const Token& t) {
    HoverInfo h;
    h.topic = {TopicKind::Label, {}, LabelText(t.label)};
    const LabelLine* target = index.FindLabel(t.label);
    if (target == nullptr) {
        h.code = t.text;
        h.text = "no statement carries this label";
        return h;
    }
    h.code = target->statement;
    h.text = "line " + std::to_string(target->line + 1);
    if (t.kind == TokenKind::LabelDef) {
        h.text += ", " + std::to_string(index.LabelUses(t.label).size()) + " jump(s) or call(s) to it";
    }
    return h;
}

// The name of a register or control flag that a keyword sets ("SETINPOSWINDOW=H"
// sets INPOSWINDOW); nullptr when it sets none.
struct KeywordName {
    const char* name = nullptr;
    int number = 0;
    TopicKind kind = TopicKind::Register;
    const char* what = "";
};

KeywordName NameInKeyword(std::string_view keyword) {
    if (!keyword.starts_with("SET")) return {};
    const std::string_view after = keyword.substr(3);
    const struct {
        const char* (*name)(uint8_t);
        TopicKind kind;
        const char* what;
    } tables[] = {{RegisterName, TopicKind::Register, "register"}, {CtrlFlagName, TopicKind::CtrlFlag, "control flag"}};
    for (const auto& table : tables) {
        for (int n = 0; n < 256; ++n) {
            const char* name = table.name(static_cast<uint8_t>(n));
            if (name == nullptr) break;
            const std::string_view text(name);
            if (after.starts_with(text) && after.substr(text.size()).starts_with("=")) return {name, n, table.kind, table.what};
        }
    }
    return {};
}

HoverInfo KeywordHover(const Token& t, std::string_view lineText, int label) {
    HoverInfo h;
    const KeywordRow& row = KeywordChain()[static_cast<size_t>(t.keywordRow)];
    const std::vector<StatementForm>& forms = KeywordForms(static_cast<size_t>(t.keywordRow));
    const std::string family = forms.empty() ? std::string(row.keyword) : FormWord(forms.front().text);
    h.topic = {TopicKind::Statement, family, forms.empty() ? std::string(row.keyword) : FormHead(forms.front())};

    // The form this line compiles to, when it compiles.
    PlcInstr rec;
    const OpcodeRow* opcodeRow = nullptr;
    const Variant* variant = nullptr;
    if (CompileLineInSection(lineText.substr(0, lineText.find(';')), label, rec) == 0 && rec.used()) {
        opcodeRow = FindOpcodeRow(rec.opcode());
        if (opcodeRow != nullptr) variant = SelectVariant(*opcodeRow, rec, label);
    }
    if (variant != nullptr) {
        const bool toEnd = variant->endText != nullptr && rec.target() == kEndRecord;
        const char* format = toEnd ? variant->endText : variant->text;
        h.code = FormText(format, toEnd ? variant->endArgs : variant->args);
        for (const StatementForm& f : forms) {
            if (f.variant == variant && f.format == format) h.code = f.text;  // with the keyword's own names
        }
        h.text = "compiles to opcode " + std::to_string(rec.opcode()) + ", record kind " + std::to_string(rec.kind());
    } else {
        h.code = forms.empty() ? std::string(row.keyword) : h.topic.name;
        h.text = "statement " + family;
    }
    if (const KeywordName name = NameInKeyword(row.keyword); name.name != nullptr) {
        AddLine(h.text, std::string(name.what) + " " + name.name + " (number " + std::to_string(name.number) +
                            "); what it does on the drive is in the drive's manual");
    }
    if (!forms.empty()) {
        AddLine(h.text, "Forms:");
        for (size_t i = 0; i < forms.size() && i < kListedForms; ++i) {
            AddLine(h.text, "- " + forms[i].text + " (opcode " + std::to_string(forms[i].row->opcode) + ")");
        }
        if (forms.size() > kListedForms) AddLine(h.text, "- ... " + std::to_string(forms.size() - kListedForms) + " more");
    }
    return h;
}

// The column range of a keyword's register or control flag name, for the
// topic of a hover over it.
bool OverName(const Token& t, std::string_view lineText, int32_t column, const KeywordName& name) {
    const size_t at = std::string_view(t.text).find(name.name);  // in the blank-free text
    if (at == std::string_view::npos) return false;
    size_t seen = 0;
    for (int32_t c = t.column; c < t.column + t.length && c < static_cast<int32_t>(lineText.size()); ++c) {
        const char ch = lineText[static_cast<size_t>(c)];
        if (ch == ' ' || ch == '\t') continue;
        if (c == column) return seen >= at && seen < at + std::string_view(name.name).size();
        ++seen;
    }
    return false;
}

HoverInfo IoHover(const Token& t) {
    HoverInfo h;
    h.code = t.text;
    const std::string letters = AsciiUpper(std::string_view(t.text).substr(0, 2));
    for (const bool input : {true, false}) {
        for (const IoGroup& g : input ? InputGroups() : OutputGroups()) {
            if (g.letters != letters) continue;
            const char* what = input ? "input" : "output";
            h.topic = {input ? TopicKind::Input : TopicKind::Output, letters, {}};
            if (t.index < 0 || t.index >= g.count) {
                h.text = std::string(what) + " group " + letters + " has the numbers 0 to " + std::to_string(g.count - 1);
                return h;
            }
            const uint8_t bit = g.bit[static_cast<size_t>(t.index)];
            const char* name = input ? InputName(bit) : OutputName(bit);
            h.code = name;
            h.topic.name = name;
            h.text = std::string(what) + " " + std::to_string(bit) + " of the drive (group " + letters + ", number " +
                     std::to_string(t.index) + ")";
            return h;
        }
    }
    h.text = "input or output";
    return h;
}

HoverInfo StatusHover(const Token& t) {
    HoverInfo h;
    h.code = AsciiUpper(t.text);
    h.topic = {TopicKind::Status, {}, h.code};
    for (int n = 0; n < kStatusCount; ++n) {
        if (h.code != StatusName(static_cast<uint8_t>(n))) continue;
        h.text = "drive status flag " + std::to_string(n);
        if (n == kStatusWoti) h.text += "; SET Mxxx = " + h.code + " reads it, a jump cannot test it";
        return h;
    }
    h.text = "no status flag of this name";
    return h;
}

// A drive value read by SET Fxxx = name or SET Hxxx = name: its number in
// the table of the family it is read into (ACTPOS is 2 as F, 4 as H).
HoverInfo DriveValueHover(const Token& t) {
    HoverInfo h;
    h.code = AsciiUpper(t.text);
    h.topic = {TopicKind::DriveValue, {}, h.code};
    const bool asFloat = t.var == VarKind::F;
    const int opcode = asFloat ? Op::SetFDriveValue : Op::SetHDriveValue;
    h.text = "drive value " + std::to_string(t.index) + " read into " + (asFloat ? "a " : "an ") +
             FamilyOf(t.var).what + " (SET " + std::string(LetterOf(t.var)) + "xxx = " + h.code + ", opcode " +
             std::to_string(opcode) + ")";
    AddLine(h.text, "what it holds and in which units is in the drive's manual");
    return h;
}

HoverInfo SectionHover(const Token& t, const ProgramIndex& index) {
    HoverInfo h;
    h.code = t.text;
    const std::string up = AsciiUpper(t.text);
    if (t.kind == TokenKind::SectionEnd) {
        h.topic = {TopicKind::Section, {}, std::string(Word(SectionWord::End))};
        h.text = "end of the section";
        for (const IndexSection& s : index.Sections()) {
            if (s.endLine == t.line && s.kind == SectionKind::Program) h.text = "end of the programme (label 255)";
        }
    } else if (up.starts_with(Word(SectionWord::TextHead))) {
        h.topic = {TopicKind::Section, {}, std::string(Word(SectionWord::TextHead))};
        h.text = "text declaration: DEF lines name variables, END closes it";
    } else {
        h.topic = {TopicKind::Section, {}, std::string(Word(SectionWord::ProgramHead))};
        h.text = "programme: statements N001 to N254 in ascending order, END closes it";
    }
    return h;
}

}  // namespace

std::optional<HoverInfo> HoverAt(const ProgramIndex& index, std::string_view lineText, int32_t line, int32_t column) {
    const Token t = index.TokenNear(line, column);
    HoverInfo h;
    switch (t.kind) {
        case TokenKind::Variable:
        case TokenKind::DefName: h = VariableHover(index, t); break;
        case TokenKind::LabelRef:
        case TokenKind::LabelDef: h = LabelHover(index, t); break;
        case TokenKind::Keyword: {
            const Token* label = index.FindOnLine(line, TokenKind::LabelDef);
            h = KeywordHover(t, lineText, label != nullptr ? label->label : kFirstLabel);
            const KeywordName name = NameInKeyword(KeywordChain()[static_cast<size_t>(t.keywordRow)].keyword);
            if (name.name != nullptr && OverName(t, lineText, column, name)) h.topic = {name.kind, {}, name.name};
            break;
        }
        case TokenKind::Io: h = IoHover(t); break;
        case TokenKind::Status: h = StatusHover(t); break;
        case TokenKind::DriveValue: h = DriveValueHover(t); break;
        case TokenKind::ProgramName:
            h.code = t.text;
            h.text = "programme name";
            h.topic = {TopicKind::Programme, {}, t.text};
            break;
        case TokenKind::SectionHead:
        case TokenKind::SectionEnd: h = SectionHover(t, index); break;
        default: return std::nullopt;
    }
    h.token = t;
    return h;
}

}  // namespace plc
