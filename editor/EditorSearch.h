// SPDX-License-Identifier: GPL-3.0-or-later
// Search/Replace (command 32775): runs once over the whole text and lists
// every occurrence of the find text in the message list, or replaces the
// occurrences, one by one with a question or all at once.
//
// A search also goes to its hits: it selects the first hit from the caret
// on and marks every hit in the text until the text or the search changes;
// Find next (F3) and Find previous (Shift+F3) go from hit to hit, wrapping
// around the text. Replace all changes the text through the edit control's
// target range, with the caret set once at the end, and Undo takes it back
// in one step; a Replace all that would pass the document's size limit is
// refused whole.
//
// The search/replace dialog lives here for the editor object's whole life,
// so that its texts, options and last action are offered again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/SearchReplaceDlg.h"
#include "dialogs/TextSearch.h"
#include "editor/EditorContext.h"

namespace plc {

class CPlcEditorDoc;

class EditorSearch {
public:
    EditorSearch(const EditorContext& context, const CPlcEditorDoc& document);

    void OnSearchReplace();
    // The next hit of the last search after the selection, or the one
    // before it, wrapping around the text. Before any search they open the
    // dialog; without a hit they beep.
    void OnFindNext();
    void OnFindPrevious();

    CSearchReplaceDlg& SearchDialog() { return m_searchDlg; }
    // The length that a double-click selects at a search entry: the one the
    // search/replace dialog's last action button set.
    void SetMatchLength(int32_t length) { m_searchDlg.m_nMatchLength = length; }
    int32_t MatchLength() const { return m_searchDlg.m_nMatchLength; }

private:
    // One occurrence in the text: its line (0-based), its column and place
    // in the line, and its character index in the whole text.
    struct Hit {
        int32_t line;
        LineMatch match;
        int32_t start;
    };
    std::vector<Hit> FindHits(const std::string& find, SearchOptions options) const;
    // The dialog's find text and options.
    SearchOptions Options() const;
    // Lists, marks and goes to the hits of a Search.
    void Search();
    // Find next or previous: the dialog first when nothing was searched yet.
    void FindAgain(bool forward);
    void ReplaceAll();
    void ReplaceOneByOne();
    // Marks the hits in the text and selects the one `forward` from the
    // selection (wrapping); a beep when there is none.
    void GoToHit(const std::vector<Hit>& hits, bool forward, bool fromSelectionStart);

    const EditorContext& m_context;
    const CPlcEditorDoc& m_document;
    CSearchReplaceDlg m_searchDlg;  // the search/replace dialog and its last settings
    bool m_searched = false;        // a search ran: Find next and previous follow its settings
};

}  // namespace plc
