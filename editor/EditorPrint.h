// SPDX-License-Identifier: GPL-3.0-or-later
// Page setup and Print: the margins and the editor font in the settings
// file, and the source text on the printer as the edit control holds it,
// headed by the document's name.
#pragma once

#include "editor/EditorWidgets.h"

namespace plc {

class CPlcEditorDoc;
class Dialogs;

class EditorPrint {
public:
    EditorPrint(const EditorWidgets& widgets, Dialogs& dialogs, const CPlcEditorDoc& document);

    void OnPageSetup();
    void OnFilePrint();

private:
    QWidget* const& m_window;
    SourceEdit* const& m_editSource;
    Dialogs& m_dialogs;
    const CPlcEditorDoc& m_document;
};

}  // namespace plc
