// SPDX-License-Identifier: GPL-3.0-or-later
// Page setup and Print: the margins and the editor font in the settings
// file, and the source text on the printer as the edit control holds it,
// headed by the document's name.
#pragma once

#include "editor/EditorContext.h"

namespace plc {

class CPlcEditorDoc;

class EditorPrint {
public:
    EditorPrint(const EditorContext& context, const CPlcEditorDoc& document);

    void OnPageSetup();
    void OnFilePrint();

private:
    const EditorContext& m_context;
    const CPlcEditorDoc& m_document;
};

}  // namespace plc
