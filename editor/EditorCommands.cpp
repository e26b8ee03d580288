// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/EditorCommands.h"

#include <QList>

#include "platform/Text.h"

namespace plc {

QList<QKeySequence> CommandShortcuts(const EditorCommand& command) {
    QList<QKeySequence> keys;
    for (const CommandKey& key : {command.key, command.alternateKey}) {
        QList<QKeySequence> bound;
        if (key.standard != QKeySequence::UnknownKey) bound = QKeySequence::keyBindings(key.standard);
        // A standard key that this desktop leaves unbound falls back to the text.
        if (bound.isEmpty() && key.text) bound << QKeySequence(ToQString(key.text));
        for (const QKeySequence& sequence : bound)
            if (!sequence.isEmpty() && !keys.contains(sequence)) keys << sequence;
    }
    return keys;
}

const char* MenuTitle(MenuId menu) {
    switch (menu) {
        case MenuId::File: return "&File";
        case MenuId::Recent: return "&Recent file";
        case MenuId::Edit: return "&Edit";
        case MenuId::Program: return "&PLC Program";
        case MenuId::View: return "&View";
        case MenuId::Help: return "?";
    }
    return "";
}

}  // namespace plc
