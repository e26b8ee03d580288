#include "editor/EditorSearch.h"

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/TextSearch.h"
#include "editor/PlcEditorDoc.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

namespace plc {

EditorSearch::EditorSearch(const EditorWidgets& widgets, Dialogs& dialogs,
                           const CPlcEditorDoc& document)
    : m_window(widgets.window),
      m_editSource(widgets.edit),
      m_listMessages(widgets.messages),
      m_dialogs(dialogs),
      m_document(document) {}

void EditorSearch::OnSearchReplace() {
    if (!m_editSource || !m_listMessages) return;

    // A selection within one line is what the user wants to find.
    std::string selected;
    m_document.GetSelectedText(selected);
    if (!selected.empty()) m_searchDlg.m_strFind = selected;
    if (!m_searchDlg.DoModal(m_dialogs, m_window)) return;

    const std::string find = m_searchDlg.m_strFind;
    const std::string replacement = m_searchDlg.m_strReplace;
    const SearchOptions options{m_searchDlg.m_bMatchCase != 0, m_searchDlg.m_bWholeWord != 0};
    const bool replace = m_searchDlg.m_bReplace != 0;
    const bool replaceAll = replace && m_searchDlg.m_bReplaceAll != 0;
    const std::string caption = LoadString(kIdsSearchCaption);

    if (replaceAll && m_dialogs.Ask(m_window, LoadString(kIdsReallyReplaceAll), MsgButtons::YesNo,
                                    MsgIcon::Question, caption) != MsgAnswer::Yes)
        return;

    const std::string question = ReplaceQuestion(find, replacement);
    const auto findLength = static_cast<int32_t>(find.size());
    const auto growth = static_cast<int32_t>(replacement.size()) - findLength;

    m_listMessages->Clear();
    // The entries go to the list in one call at the end, and the edit
    // control reports the replacements as one change: each replacement
    // stays its own step of Undo.
    std::vector<std::string> entries;
    auto listEntries = [&] { m_listMessages->Append(entries); };
    SourceEdit::Batch batch(*m_editSource);
    int32_t count = 0;
    bool textFull = false;
    std::string line;
    // Each line is read when its turn comes, so it holds the replacements
    // made in the lines before; the occurrences of a line are all found in
    // the line as it was, so a replacement is never searched again.
    for (int32_t i = 0; !textFull && m_document.GetEditLine(i, line); ++i) {
        const int32_t lineNumber = i + 1;
        int32_t shift = 0;  // how much this line has grown so far
        for (const LineMatch& match : FindInLine(line, find, options)) {
            if (!replace) {
                entries.push_back(SearchEntry(lineNumber, match.column, find));
                ++count;
                continue;
            }
            const int32_t start = m_editSource->LineIndex(i) + match.column + shift;
            m_editSource->SetSel(start, start + findLength);
            // A replacement that the text limit would cut off would leave a
            // partial text and put the following selections on the wrong
            // characters: the command stops before it.
            if (m_editSource->GetTextLength() + growth > m_editSource->GetLimitText()) {
                textFull = true;
                break;
            }
            if (!replaceAll) {
                m_editSource->ScrollCaret();
                const MsgAnswer answer = m_dialogs.Ask(m_window, question, MsgButtons::YesNoCancel,
                                                       MsgIcon::Question, caption);
                if (answer == MsgAnswer::Cancel) {
                    listEntries();
                    return;
                }
                if (answer != MsgAnswer::Yes) continue;
            }
            m_editSource->ReplaceSel(replacement);
            entries.push_back(
                ReplaceEntry(match.place, lineNumber, match.column + shift, question));
            ++count;
            shift += growth;
        }
    }
    m_editSource->ScrollCaret();
    entries.emplace_back();
    entries.push_back(CountEntry(count));
    listEntries();
    // The edit control's own alarm for a full text.
    if (textFull) m_dialogs.Ask(m_window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
}

}  // namespace plc
