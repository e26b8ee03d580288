// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorSearch.h"

#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor/PlcEditorDoc.h"
#include "platform/Dialogs.h"
#include "platform/MessageList.h"
#include "platform/SourceEdit.h"
#include "resources/StringTable.h"

namespace plc {

EditorSearch::EditorSearch(const EditorContext& context,
                           const CPlcEditorDoc& document)
    : m_context(context),
      m_document(document) {}

SearchOptions EditorSearch::Options() const {
    return {m_searchDlg.m_bMatchCase != 0, m_searchDlg.m_bWholeWord != 0};
}

std::vector<EditorSearch::Hit> EditorSearch::FindHits(const std::string& find,
                                                      SearchOptions options) const {
    std::vector<Hit> hits;
    std::string line;
    for (int32_t i = 0; m_document.GetEditLine(i, line); ++i) {
        const std::vector<LineMatch> matches = FindInLine(line, find, options);
        if (matches.empty()) continue;
        const int32_t lineStart = m_context.edit->LineIndex(i);
        for (const LineMatch& match : matches) hits.push_back({i, match, lineStart + match.column});
    }
    return hits;
}

void EditorSearch::OnSearchReplace() {
    if (!m_context.edit || !m_context.messages) return;

    // A selection within one line is what the user wants to find.
    std::string selected;
    m_document.GetSelectedText(selected);
    if (!selected.empty()) m_searchDlg.m_strFind = selected;
    if (!m_searchDlg.DoModal(m_context.dialogs, m_context.window)) return;
    m_searched = true;

    if (m_searchDlg.m_bReplace == 0) {
        Search();
    } else if (m_searchDlg.m_bReplaceAll != 0) {
        if (m_context.dialogs.Ask(m_context.window, LoadString(kIdsReallyReplaceAll), MsgButtons::YesNo,
                          MsgIcon::Question, LoadString(kIdsSearchCaption)) != MsgAnswer::Yes)
            return;
        ReplaceAll();
    } else {
        ReplaceOneByOne();
    }
}

void EditorSearch::Search() {
    const std::string& find = m_searchDlg.m_strFind;
    const std::vector<Hit> hits = FindHits(find, Options());
    std::vector<std::string> entries;
    entries.reserve(hits.size() + 2);
    for (const Hit& hit : hits) entries.push_back(SearchEntry(hit.line + 1, hit.match.column, find));
    entries.emplace_back();
    entries.push_back(CountEntry(static_cast<int32_t>(hits.size())));
    m_context.messages->Clear();
    m_context.messages->Append(entries);
    if (!hits.empty()) GoToHit(hits, true, true);
}

void EditorSearch::OnFindNext() { FindAgain(true); }

void EditorSearch::OnFindPrevious() { FindAgain(false); }

void EditorSearch::FindAgain(bool forward) {
    if (!m_context.edit) return;
    if (!m_searched || m_searchDlg.m_strFind.empty()) {
        OnSearchReplace();
        return;
    }
    GoToHit(FindHits(m_searchDlg.m_strFind, Options()), forward, false);
}

void EditorSearch::GoToHit(const std::vector<Hit>& hits, bool forward, bool fromSelectionStart) {
    if (hits.empty()) {
        m_context.edit->ClearSearchMarks();
        m_context.dialogs.Beep();
        return;
    }
    const auto length = static_cast<int32_t>(m_searchDlg.m_strFind.size());
    std::vector<std::pair<int32_t, int32_t>> ranges;
    ranges.reserve(hits.size());
    for (const Hit& hit : hits) ranges.emplace_back(hit.start, hit.start + length);
    m_context.edit->SetSearchMarks(ranges);

    int32_t selStart = 0, selEnd = 0;
    m_context.edit->GetSel(selStart, selEnd);
    const Hit* target = nullptr;
    if (forward) {
        // The first hit from the caret on (a search from the dialog takes
        // the selected hit itself); after the last, the first.
        const int32_t from = fromSelectionStart ? selStart : selEnd;
        auto it = std::find_if(hits.begin(), hits.end(), [from](const Hit& h) { return h.start >= from; });
        target = it == hits.end() ? &hits.front() : &*it;
    } else {
        auto it = std::find_if(hits.rbegin(), hits.rend(),
                               [&](const Hit& h) { return h.start + length <= selStart; });
        target = it == hits.rend() ? &hits.back() : &*it;
    }
    m_context.edit->SetSel(target->start, target->start + length);
    m_context.edit->ScrollCaret();
}

void EditorSearch::ReplaceAll() {
    const std::string find = m_searchDlg.m_strFind;
    const std::string& replacement = m_searchDlg.m_strReplace;
    const std::string question = ReplaceQuestion(find, replacement);
    const std::vector<Hit> hits = FindHits(find, Options());
    const auto findLength = static_cast<int32_t>(find.size());
    const auto growth = static_cast<int64_t>(replacement.size()) - findLength;

    // A text that would pass the size limit could not be opened whole once
    // saved: nothing is replaced then.
    if (int64_t{m_context.edit->GetTextLength()} + growth * static_cast<int64_t>(hits.size()) >
        m_context.edit->GetLimitText()) {
        m_context.dialogs.Ask(m_context.window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
        return;
    }

    std::vector<std::string> entries;
    entries.reserve(hits.size() + 2);
    int32_t lastEnd = -1;  // behind the last replacement
    {
        // Every replacement through the target range, all of them one step
        // of Undo, the control's change reported once.
        SourceEdit::Batch batch(*m_context.edit);
        SourceEdit::UndoGroup group(*m_context.edit);
        int64_t shift = 0;  // how much the text before the hit has grown
        int32_t line = -1, lineShift = 0;
        for (const Hit& hit : hits) {
            if (hit.line != line) {
                line = hit.line;
                lineShift = 0;
            }
            const auto start = static_cast<int32_t>(hit.start + shift);
            m_context.edit->ReplaceRange(start, start + findLength, replacement);
            lastEnd = start + static_cast<int32_t>(replacement.size());
            entries.push_back(ReplaceEntry(hit.match.place, hit.line + 1, hit.match.column + lineShift, question));
            shift += growth;
            lineShift += static_cast<int32_t>(growth);
        }
    }
    // The caret goes behind the last replacement, once.
    if (lastEnd >= 0) {
        m_context.edit->SetSel(lastEnd, lastEnd);
        m_context.edit->ScrollCaret();
    }
    entries.emplace_back();
    entries.push_back(CountEntry(static_cast<int32_t>(hits.size())));
    m_context.messages->Clear();
    m_context.messages->Append(entries);
}

void EditorSearch::ReplaceOneByOne() {
    const std::string find = m_searchDlg.m_strFind;
    const std::string& replacement = m_searchDlg.m_strReplace;
    const SearchOptions options = Options();
    const std::string caption = LoadString(kIdsSearchCaption);
    const std::string question = ReplaceQuestion(find, replacement);
    const auto findLength = static_cast<int32_t>(find.size());
    const auto growth = static_cast<int32_t>(replacement.size()) - findLength;

    m_context.messages->Clear();
    std::vector<std::string> entries;
    auto listEntries = [&] { m_context.messages->Append(entries); };
    int32_t count = 0;
    bool textFull = false;
    std::string line;
    // Each line is read when its turn comes, so it holds the replacements
    // made in the lines before; the occurrences of a line are all found in
    // the line as it was, so a replacement is never searched again. Each
    // occurrence is selected for its question.
    for (int32_t i = 0; !textFull && m_document.GetEditLine(i, line); ++i) {
        int32_t shift = 0;  // how much this line has grown so far
        for (const LineMatch& match : FindInLine(line, find, options)) {
            const int32_t start = m_context.edit->LineIndex(i) + match.column + shift;
            m_context.edit->SetSel(start, start + findLength);
            // A replacement that the text limit would cut off would leave a
            // partial text: the command stops before it.
            if (m_context.edit->GetTextLength() + growth > m_context.edit->GetLimitText()) {
                textFull = true;
                break;
            }
            m_context.edit->ScrollCaret();
            const MsgAnswer answer = m_context.dialogs.Ask(m_context.window, question, MsgButtons::YesNoCancel,
                                                   MsgIcon::Question, caption);
            if (answer == MsgAnswer::Cancel) {
                listEntries();
                return;
            }
            if (answer != MsgAnswer::Yes) continue;
            m_context.edit->ReplaceSel(replacement);
            entries.push_back(ReplaceEntry(match.place, i + 1, match.column + shift, question));
            ++count;
            shift += growth;
        }
    }
    entries.emplace_back();
    entries.push_back(CountEntry(count));
    listEntries();
    // The edit control's own alarm for a full text.
    if (textFull) m_context.dialogs.Ask(m_context.window, LoadString(kIdsMaxSize), MsgButtons::Ok, MsgIcon::None);
}

}  // namespace plc
