// Search/Replace (command 32775): runs once over the whole text and lists
// every occurrence of the find text in the message list, or replaces the
// occurrences, one by one with a question or all at once, each as an edit
// that Undo takes back.
//
// The search/replace dialog lives here for the editor object's whole life,
// so that its texts, options and last action are offered again.
#pragma once

#include <cstdint>

#include "dialogs/SearchReplaceDlg.h"
#include "editor/EditorWidgets.h"

namespace plc {

class CPlcEditorDoc;
class Dialogs;

class EditorSearch {
public:
    EditorSearch(const EditorWidgets& widgets, Dialogs& dialogs, const CPlcEditorDoc& document);

    void OnSearchReplace();

    CSearchReplaceDlg& SearchDialog() { return m_searchDlg; }
    // The length that a double-click selects at a search entry: the one the
    // search/replace dialog's last action button set.
    void SetMatchLength(int32_t length) { m_searchDlg.m_nMatchLength = length; }
    int32_t MatchLength() const { return m_searchDlg.m_nMatchLength; }

private:
    QWidget* const& m_window;
    SourceEdit* const& m_editSource;
    MessageList* const& m_listMessages;
    Dialogs& m_dialogs;
    const CPlcEditorDoc& m_document;
    CSearchReplaceDlg m_searchDlg;  // the search/replace dialog and its last settings
};

}  // namespace plc
