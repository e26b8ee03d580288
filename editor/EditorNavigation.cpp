// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorNavigation.h"

// The names are read with the programme index, which follows the line
// compiler's rules, so that navigation agrees with what compiles.

#include <QInputDialog>
#include <cinttypes>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "compiler/Assist.h"
#include "compiler/ProgramIndex.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "platform/Text.h"

namespace plc {

namespace {

std::vector<std::string> EditLines(const SourceEdit& edit) {
    std::vector<std::string> lines(static_cast<size_t>(edit.GetLineCount()));
    for (size_t i = 0; i < lines.size(); ++i) edit.GetLine(static_cast<int32_t>(i), lines[i]);
    return lines;
}

// The token at a character index; a caret just behind a word names the word.
Token TokenAtChar(const ProgramIndex& index, const SourceEdit& edit, int32_t pos) {
    const int32_t line = edit.LineFromChar(pos);
    return index.TokenNear(line, pos - edit.LineIndex(line));
}

// The line that a Ctrl+click at `pos` goes to: a jump or CALL target's
// label, a variable's DEF line (not the label or name being defined); -1
// for anything else. `token` gets the word.
int32_t DefinitionAt(const ProgramIndex& index, const SourceEdit& edit, int32_t pos, Token& token) {
    token = TokenAtChar(index, edit, pos);
    const bool reference = token.kind == TokenKind::LabelRef || token.kind == TokenKind::Variable;
    return reference ? index.DefinitionLine(token) : -1;
}

// A hover as the tool tip shows it: the word's canonical text in bold, then
// its explanation, a line each.
std::string HoverTip(const HoverInfo& hover) {
    const auto html = [](const std::string& text) {
        return ToBytes(ToQString(text).toHtmlEscaped());
    };
    std::string tip = "<p style='white-space:pre'><b><code>" + html(hover.code) + "</code></b>";
    size_t start = 0;
    while (start < hover.text.size()) {
        const size_t end = std::min(hover.text.find('\n', start), hover.text.size());
        tip += "<br>" + html(hover.text.substr(start, end - start));
        start = end + 1;
    }
    return tip + "</p>";
}

// "  LINE(012): <statement>", the form a double-click in the list follows.
std::string LineEntry(int32_t line, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "  LINE(%03" PRId32 "): ", line + 1);
    return head + text;
}

std::string Trimmed(std::string text) {
    const size_t semi = text.find(';');
    if (semi != std::string::npos) text.erase(semi);
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

EditorNavigation::EditorNavigation(const EditorContext& context)
    : m_context(context),
      m_history(m_context.edit) {}

void EditorNavigation::SetupNavigation() {
    QObject::connect(m_context.edit, &SourceEdit::hovered, &m_receiver,
                     [this](int32_t pos, QPoint globalPoint) { ShowHover(pos, globalPoint); });
    QObject::connect(m_context.edit, &SourceEdit::ctrlClicked, &m_receiver,
                     [this](int32_t pos) { GotoDefinitionAt(pos); });
    QObject::connect(m_context.edit, &SourceEdit::ctrlHovered, &m_receiver, [this](int32_t pos) { ShowLinkAt(pos); });
}

void EditorNavigation::ShowHover(int32_t pos, QPoint globalPoint) {
    if (!m_context.edit) return;
    const ProgramIndex index = ProgramIndex::OfSource(m_context.edit->GetText());
    const int32_t line = m_context.edit->LineFromChar(pos);
    std::string text;
    m_context.edit->GetLine(line, text);
    if (const std::optional<HoverInfo> hover = HoverAt(index, text, line, pos - m_context.edit->LineIndex(line)))
        m_context.edit->ShowTip(globalPoint, HoverTip(*hover), true);
}

void EditorNavigation::ShowLinkAt(int32_t pos) {
    if (!m_context.edit) return;
    Token token;
    if (pos < 0 || DefinitionAt(ProgramIndex::OfSource(m_context.edit->GetText()), *m_context.edit, pos, token) < 0) {
        m_context.edit->ShowLink(0, 0);
        return;
    }
    m_context.edit->ShowLink(m_context.edit->LineIndex(token.line) + token.column, token.length);
}

bool EditorNavigation::GotoDefinitionAt(int32_t pos) {
    if (!m_context.edit) return false;
    Token token;
    const int32_t target = DefinitionAt(ProgramIndex::OfSource(m_context.edit->GetText()), *m_context.edit, pos, token);
    if (target < 0) return false;
    m_history.JumpToLine(target);
    return true;
}

void EditorNavigation::OnNavigateBack() {
    if (!m_history.Back()) m_context.dialogs.Beep();
}

void EditorNavigation::OnNavigateForward() {
    if (!m_history.Forward()) m_context.dialogs.Beep();
}

void EditorNavigation::OnGotoDefinition() {
    if (!m_context.edit) return;
    int32_t start = 0, end = 0;
    m_context.edit->GetSel(start, end);
    if (!GotoDefinitionAt(start)) m_context.dialogs.Beep();
}

void EditorNavigation::OnGotoLine() {
    if (!m_context.edit) return;
    int32_t start = 0, end = 0;
    m_context.edit->GetSel(start, end);
    QInputDialog dialog(m_context.window);
    dialog.setWindowTitle("Go to line");
    dialog.setLabelText(QString("Line (1 - %1):").arg(m_context.edit->GetLineCount()));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, m_context.edit->GetLineCount());
    dialog.setIntValue(m_context.edit->LineFromChar(start) + 1);
    if (m_context.dialogs.Exec(dialog) != QDialog::Accepted) return;
    m_history.JumpToLine(dialog.intValue() - 1);
}

void EditorNavigation::OnFindUses() {
    if (!m_context.edit || !m_context.messages) return;
    const std::vector<std::string> lines = EditLines(*m_context.edit);
    const ProgramIndex index(lines);
    int32_t start = 0, end = 0;
    m_context.edit->GetSel(start, end);
    const Token token = TokenAtChar(index, *m_context.edit, start);
    std::string name;
    if (ProgramIndex::NamesLabel(token)) {
        name = token.label == 255 ? "END" : Trimmed(token.text);
    } else if (ProgramIndex::NamesVariable(token)) {
        name = VariableName(token.var, token.index);
        if (const Declaration* declaration = index.FindDeclaration(token.var, token.index))
            name += " (" + declaration->name + ")";
    } else {
        m_context.dialogs.Beep();
        return;
    }
    const std::vector<Token> uses = index.UsesOf(token);
    std::vector<std::string> entries{"Uses of " + name + ":"};
    std::set<int32_t> listed;
    for (const Token& use : uses) {
        if (!listed.insert(use.line).second) continue;
        entries.push_back(LineEntry(use.line, Trimmed(lines[static_cast<size_t>(use.line)])));
    }
    m_context.messages->Clear();
    m_context.messages->Append(entries);
}

}  // namespace plc
