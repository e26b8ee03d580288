// Hover: what a variable is called, where a jump goes, and what a statement
// keyword compiles to.
#include <cstdio>
#include <string>

#include "apps/plcc/LspDocument.h"
#include "compiler/LineCompiler.h"
#include "compiler/Statements.h"
#include "image/PlcProgram.h"
#include "image/RecordLayout.h"

namespace plcc::lsp {

namespace {

std::string VariableHover(const Document& doc, const plc::Token& t) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a literal
    // put in front of a temporary string.
    std::string text(1, '`');
    text += VariableName(t.var, t.index);
    text += "`: ";
    text += plc::FamilyOf(t.var).what;
    if (t.index >= plc::VarCount(t.var)) return text + " (index out of range)";
    if (const plc::Declaration* d = doc.index.FindDeclaration(t.var, t.index)) {
        text += ", DEF name `" + d->name + "` (line " + std::to_string(d->line + 1) + ")";
    } else {
        text += ", no DEF name";
    }
    return text;
}

std::string LabelHover(const Document& doc, const plc::Token& t) {
    const plc::LabelLine* target = doc.index.FindLabel(t.label);
    if (target == nullptr) return "`" + t.text + "`: no statement carries this label";
    std::string text = "```\n" + target->statement + "\n```\nline " + std::to_string(target->line + 1);
    if (t.kind == plc::TokenKind::LabelDef) {
        text += ", " + std::to_string(doc.index.LabelUses(t.label).size()) + " jump(s) or call(s) to it";
    }
    return text;
}

// The form a statement line compiles to, or nullptr when it does not compile.
const plc::Variant* CompiledForm(std::string_view line, plc::PlcInstr& rec, int& label) {
    line = line.substr(0, line.find(';'));
    plc::CPlcProgram program;
    plc::OpenProgramSection(program);
    int32_t index = 1, error = 0;
    if (!plc::CompileLine(program, line, index, error)) return nullptr;
    for (label = plc::kFirstLabel; label <= plc::kLastLabel; ++label) {
        rec = program.Record(label);
        if (!rec.used()) continue;
        const plc::OpcodeRow* row = plc::FindOpcodeRow(rec.opcode());
        if (row == nullptr) return nullptr;
        return plc::SelectVariant(*row, rec, label);
    }
    return nullptr;
}

std::string KeywordHover(const Document& doc, const plc::Token& t) {
    const std::vector<StatementForm>& forms = KeywordForms(static_cast<size_t>(t.keywordRow));
    plc::PlcInstr rec;
    int label = 0;
    std::string text;
    if (const plc::Variant* v = CompiledForm(doc.Line(t.line), rec, label)) {
        const bool toEnd = v->endText != nullptr && rec.target() == plc::kEndRecord;
        text.push_back('`');
        text += FormText(toEnd ? v->endText : v->text, toEnd ? v->endArgs : v->args);
        text += "` compiles to opcode ";
        text += std::to_string(rec.opcode());
        text += ", record kind ";
        text += std::to_string(rec.kind());
    } else {
        text.push_back('`');
        text += plc::KeywordChain()[static_cast<size_t>(t.keywordRow)].keyword;
        text += "`";
    }
    if (!forms.empty()) {
        text += "\n\nForms:";
        for (const StatementForm& f : forms) {
            text += "\n- `" + f.text + "` (opcode " + std::to_string(f.row->opcode) + ", record kind " +
                    std::to_string(f.row->kind) + ")";
        }
    }
    return text;
}

}  // namespace

std::string VariableName(plc::VarKind kind, int index) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%c%03d", plc::FamilyOf(kind).letter, index);
    return buf;
}


json Hover(const Document& doc, int32_t line, int32_t column) {
    plc::Token t = doc.index.TokenAt(line, column);
    // A cursor just behind a token still means that token.
    if (t.kind == plc::TokenKind::None && column > 0) t = doc.index.TokenAt(line, column - 1);
    std::string text;
    switch (t.kind) {
        case plc::TokenKind::Variable:
        case plc::TokenKind::DefName: text = VariableHover(doc, t); break;
        case plc::TokenKind::LabelRef:
        case plc::TokenKind::LabelDef: text = LabelHover(doc, t); break;
        case plc::TokenKind::Keyword: text = KeywordHover(doc, t); break;
        case plc::TokenKind::Io: text = "`" + t.text + "`: input or output"; break;
        case plc::TokenKind::Status: text = "`" + t.text + "`: drive status flag"; break;
        case plc::TokenKind::ProgramName: text = "`" + t.text + "`: programme name"; break;
        default: return nullptr;
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", TokenRange(t)}};
}

}  // namespace plcc::lsp
