// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation over the programme's names: hovering a word explains it (a
// variable's DEF name, the line a jump goes to, what a keyword compiles to,
// what an input, output, status flag, register or control flag is);
// Ctrl+click or Go to definition on a jump or CALL target goes to its label
// (on a variable, to its DEF line), and with Ctrl held such a target is
// underlined as a link; Go to line; Find uses lists every line that uses the
// label or variable under the caret in the message list, where a
// double-click selects the line as it does for errors. Navigate back and
// forward retrace the jumps (NavigationHistory.h).
#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>

#include "editor/EditorContext.h"
#include "editor/NavigationHistory.h"

namespace plc {

class EditorNavigation {
public:
    explicit EditorNavigation(const EditorContext& context);

    // A fresh window's hover and Ctrl+click.
    void SetupNavigation();

    void OnGotoLine();
    void OnGotoDefinition();
    void OnFindUses();
    void OnNavigateBack();
    void OnNavigateForward();
    // The jumps that Navigate back retraces; the code view's error
    // navigation jumps through it too.
    NavigationHistory& History() { return m_history; }

private:
    void ShowHover(int32_t pos, QPoint globalPoint);
    // Underlines the jump or CALL target or variable at `pos` that Ctrl+click
    // would follow; -1 or any other place takes the underline away.
    void ShowLinkAt(int32_t pos);
    // Goes to the label named by the jump target or CALL at `pos`; false
    // when there is none there.
    bool GotoDefinitionAt(int32_t pos);

    const EditorContext& m_context;
    NavigationHistory m_history;
    QObject m_receiver;  // receives hover and Ctrl+click; they stop when this part goes
};

}  // namespace plc
