// Page setup and Print: the margins and the editor font in the settings
// file, and the source text on the printer as the edit control holds it.
#include <QDialog>
#include <algorithm>

#include "dialogs/PageSettings.h"
#include "dialogs/PageSetupDlg.h"
#include "dialogs/Printing.h"
#include "editor/PlcEditorDlg.h"
#include "platform/Dialogs.h"
#include "platform/SourceEdit.h"

namespace plc {

void CPlcEditorDlg::OnPageSetup() {
    if (!m_editSource) return;
    const QFont current = m_editSource->EditorFont();
    CPageSetupDlg dialog(m_dialogs, &current);
    if (m_dialogs.Exec(dialog) != QDialog::Accepted) return;
    // Rebuilt also when only the margins changed.
    if (CreateEditorFont(*m_pFont) && m_editSource) m_editSource->SetEditorFont(*m_pFont);
}

void CPlcEditorDlg::OnFilePrint() {
    if (!m_editSource) return;
    PrintRequest request;
    const int32_t lineCount = m_editSource->GetLineCount();
    request.lines.reserve(static_cast<size_t>(std::max(lineCount, 0)));
    for (int32_t line = 0; line < lineCount; ++line) {
        std::string text;
        GetEditLine(line, text);
        request.lines.push_back(std::move(text));
    }
    request.documentName = m_strFileName;
    request.screenFont = m_editSource->EditorFont();
    request.topMarginMM = GetTopMargin();
    request.leftMarginMM = GetLeftMargin();
    PrintSource(m_dialogs, Window(), request);
}

}  // namespace plc
