// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/NavigationHistory.h"

#include <algorithm>

#include "platform/SourceEdit.h"

namespace plc {

NavigationHistory::Place NavigationHistory::Caret() const {
    int32_t start = 0, end = 0;
    m_editSource->GetSel(start, end);
    const int32_t line = m_editSource->LineFromChar(end);
    return {line, end - m_editSource->LineIndex(line)};
}

void NavigationHistory::GoTo(const Place& place) {
    const int32_t line = std::clamp(place.line, 0, m_editSource->GetLineCount() - 1);
    const int32_t pos = m_editSource->LineIndex(line) + std::clamp(place.column, 0, m_editSource->LineLength(line));
    m_editSource->SetSel(pos, pos);
    m_editSource->ScrollCaret();
}

void NavigationHistory::Push(std::vector<Place>& places, const Place& place) {
    if (places.size() >= kMaxPlaces) places.erase(places.begin());
    places.push_back(place);
}

void NavigationHistory::JumpToLine(int32_t line) {
    Jump([this, line] { m_editSource->GotoLine(line); });
}

void NavigationHistory::Remember(const Place& from) {
    // A jump within the line it started on is no place to come back to.
    if (Caret().line == from.line) return;
    Push(m_back, from);
    m_forward.clear();
}

bool NavigationHistory::Step(std::vector<Place>& from, std::vector<Place>& to) {
    if (!m_editSource || from.empty()) return false;
    Push(to, Caret());
    GoTo(from.back());
    from.pop_back();
    return true;
}

}  // namespace plc
