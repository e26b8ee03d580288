// Navigation over the programme's names: hovering a variable shows its DEF
// name and hovering a jump target the line it jumps to; Ctrl+click or Go to
// definition on a jump or CALL target goes to its label (on a variable, to
// its DEF line); Go to line; Find uses lists every line that uses the label
// or variable under the caret in the message list, where a double-click
// selects the line as it does for errors.
#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>

#include "editor/EditorWidgets.h"

namespace plc {

class Dialogs;

class EditorNavigation {
public:
    EditorNavigation(const EditorWidgets& widgets, Dialogs& dialogs);

    // A fresh window's hover and Ctrl+click.
    void SetupNavigation();

    void OnGotoLine();
    void OnGotoDefinition();
    void OnFindUses();

private:
    void ShowHover(int32_t pos, QPoint globalPoint);
    // Goes to the label named by the jump target or CALL at `pos`; false
    // when there is none there.
    bool GotoDefinitionAt(int32_t pos);

    QWidget* const& m_window;
    SourceEdit* const& m_editSource;
    MessageList* const& m_listMessages;
    Dialogs& m_dialogs;
    QObject m_receiver;  // receives hover and Ctrl+click; they stop when this part goes
};

}  // namespace plc
