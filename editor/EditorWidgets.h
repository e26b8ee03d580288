// SPDX-License-Identifier: GPL-3.0-or-later
// The widgets of the open editor window that the parts of the editor object
// work on: the window itself (the owner of their dialogs and message boxes),
// the source editor and the message list.
//
// The window part (EditorFrame) holds this and fills it in when it builds
// the window; it clears it again when the window goes. Every other part is
// given references to the pointers it uses, so that it sees the window of
// the moment: null while there is none.
#pragma once

class QWidget;

namespace plc {

class MessageList;
class SourceEdit;

struct EditorWidgets {
    QWidget* window = nullptr;
    SourceEdit* edit = nullptr;
    MessageList* messages = nullptr;
};

}  // namespace plc
