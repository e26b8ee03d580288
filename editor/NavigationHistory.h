// SPDX-License-Identifier: GPL-3.0-or-later
// The places the caret jumped from, for Navigate back and Navigate forward:
// a jump to a definition (F12, Ctrl+click), to a line (Ctrl+G), to an
// error (F8, Shift+F8) or to the line a message names (a double-click in the
// message list) remembers where the caret stood, so that Alt+Left
// returns there and Alt+Right goes to the jump's place again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plc {

class SourceEdit;

class NavigationHistory {
public:
    explicit NavigationHistory(SourceEdit* const& edit) : m_editSource(edit) {}

    // Puts the caret at the start of `line`, remembering where it stood.
    void JumpToLine(int32_t line);
    // Runs `move`, which puts the caret or a selection elsewhere (a line or
    // text that a message names), remembering where the caret stood.
    template <class Move>
    void Jump(Move&& move) {
        if (!m_editSource) return;
        const Place from = Caret();
        move();
        Remember(from);
    }
    // Back to the place before the latest jump, forward to the place a Back
    // left; false when there is none.
    bool Back() { return Step(m_back, m_forward); }
    bool Forward() { return Step(m_forward, m_back); }
    bool CanGoBack() const { return !m_back.empty(); }
    bool CanGoForward() const { return !m_forward.empty(); }

    // The places kept; older ones are forgotten.
    static constexpr size_t kMaxPlaces = 100;

private:
    // A place as line and column, so that edits on other lines keep it.
    struct Place {
        int32_t line = 0;
        int32_t column = 0;
    };
    Place Caret() const;
    // Keeps `from` as the place to come back to when the caret left its line.
    void Remember(const Place& from);
    void GoTo(const Place& place);
    static void Push(std::vector<Place>& places, const Place& place);
    // Goes to the latest place of `from`, keeping the caret's in `to`.
    bool Step(std::vector<Place>& from, std::vector<Place>& to);

    SourceEdit* const& m_editSource;
    std::vector<Place> m_back, m_forward;
};

}  // namespace plc
