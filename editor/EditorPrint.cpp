// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorPrint.h"

#include <QDialog>
#include <algorithm>

#include "dialogs/PageSettings.h"
#include "dialogs/PageSetupDlg.h"
#include "dialogs/Printing.h"
#include "editor/PlcEditorDoc.h"
#include "platform/Dialogs.h"
#include "platform/SourceEdit.h"

namespace plc {

EditorPrint::EditorPrint(const EditorContext& context,
                         const CPlcEditorDoc& document)
    : m_context(context), m_document(document) {}

void EditorPrint::OnPageSetup() {
    if (!m_context.edit) return;
    const QFont current = m_context.edit->ShownEditorFont();
    CPageSetupDlg dialog(m_context.dialogs, &current);
    if (m_context.dialogs.Exec(dialog) != QDialog::Accepted) return;
    // Rebuilt also when only the margins changed.
    QFont font;
    if (CreateEditorFont(font) && m_context.edit) m_context.edit->SetEditorFont(font);
}

void EditorPrint::OnFilePrint() {
    if (!m_context.edit) return;
    PrintRequest request;
    const int32_t lineCount = m_context.edit->GetLineCount();
    request.lines.reserve(static_cast<size_t>(std::max(lineCount, 0)));
    for (int32_t line = 0; line < lineCount; ++line) {
        std::string text;
        m_document.GetEditLine(line, text);
        request.lines.push_back(std::move(text));
    }
    request.documentName = m_document.FileName();
    request.screenFont = m_context.edit->ShownEditorFont();
    request.topMarginMM = GetTopMargin();
    request.leftMarginMM = GetLeftMargin();
    PrintSource(m_context.dialogs, m_context.window, request);
}

}  // namespace plc
