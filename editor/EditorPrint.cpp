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

EditorPrint::EditorPrint(const EditorWidgets& widgets, Dialogs& dialogs,
                         const CPlcEditorDoc& document)
    : m_window(widgets.window), m_editSource(widgets.edit), m_dialogs(dialogs), m_document(document) {}

void EditorPrint::OnPageSetup() {
    if (!m_editSource) return;
    const QFont current = m_editSource->ShownEditorFont();
    CPageSetupDlg dialog(m_dialogs, &current);
    if (m_dialogs.Exec(dialog) != QDialog::Accepted) return;
    // Rebuilt also when only the margins changed.
    QFont font;
    if (CreateEditorFont(font) && m_editSource) m_editSource->SetEditorFont(font);
}

void EditorPrint::OnFilePrint() {
    if (!m_editSource) return;
    PrintRequest request;
    const int32_t lineCount = m_editSource->GetLineCount();
    request.lines.reserve(static_cast<size_t>(std::max(lineCount, 0)));
    for (int32_t line = 0; line < lineCount; ++line) {
        std::string text;
        m_document.GetEditLine(line, text);
        request.lines.push_back(std::move(text));
    }
    request.documentName = m_document.FileName();
    request.screenFont = m_editSource->ShownEditorFont();
    request.topMarginMM = GetTopMargin();
    request.leftMarginMM = GetLeftMargin();
    PrintSource(m_dialogs, m_window, request);
}

}  // namespace plc
