// SPDX-License-Identifier: GPL-3.0-or-later
// What every part of the editor object is given: the widgets of the open
// editor window (the window itself, the owner of the parts' dialogs and
// message boxes; the source editor; the message list), the dialogs that
// questions and messages go through, and the host link.
//
// The editor object holds the one context. The window part (EditorFrame)
// fills in the widgets when it builds the window and clears them when the
// window goes; the control sets the host link. The other parts read it
// through a const reference, so that they see the window of the moment:
// null pointers while there is none.
#pragma once

class QWidget;

namespace plc {

class Dialogs;
class HostLink;
class MessageList;
class SourceEdit;

struct EditorContext {
    explicit EditorContext(Dialogs& dialogs) : dialogs(dialogs) {}
    EditorContext(const EditorContext&) = delete;
    EditorContext& operator=(const EditorContext&) = delete;

    QWidget* window = nullptr;
    SourceEdit* edit = nullptr;
    MessageList* messages = nullptr;
    Dialogs& dialogs;
    // The control's back-reference: its two file locations and the six
    // events to the host; null while the editor has no control.
    HostLink* control = nullptr;
};

}  // namespace plc
