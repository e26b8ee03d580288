// SPDX-License-Identifier: GPL-3.0-or-later
// A command of the editor window as one row: menu 202 (menu, text with
// mnemonic, command id, initial grayed state, handler), the toolbar (image
// and slot) and the keyboard (shortcut) take their actions from the row, so
// menu entry, button and key are the same command, declared once.
//
// The table of the rows stands beside the editor object (EditorCommands()
// in PlcEditorDlg.h), which binds each command to the handler of the part
// that owns it; the window builds its menus and toolbar from the table
// without knowing the handlers.
#pragma once

#include <cstdint>

#include <QKeySequence>

namespace plc {

class CPlcEditorDlg;

// Command ids (they double as string ids: the tooltip of a toolbar button
// is the string of its command id).
enum CommandId : int {
    ID_FILE_NEW = 32768,
    ID_FILE_OPEN = 32769,
    ID_FILE_SAVE = 32770,
    ID_EDIT_CUT = 32771,
    ID_EDIT_COPY = 32772,
    ID_EDIT_PASTE = 32773,
    ID_EDIT_UNDO = 32774,
    ID_SEARCH_REPLACE = 32775,
    ID_FILE_PRINT = 32776,
    ID_HELP = 32777,
    ID_CHECK_SYNTAX = 32778,
    ID_RENUM = 32779,
    ID_SIMULATE = 32780,
    ID_READ_FROM_FILE = 32781,
    ID_SAVE_IN_FILE = 32782,
    ID_READ_FROM_DEVICE = 32783,
    ID_SAVE_IN_DEVICE = 32784,
    ID_PAGE_SETUP = 32785,
    ID_FILE_EXIT = 32786,
    ID_EDIT_SELECT_ALL = 32787,
    ID_FILE_SAVE_AS = 32788,
    ID_INFO = 32789,
    ID_FILE_RECENT = 32791,
    // Commands the editor added later, numbered apart from menu 202's.
    ID_EDIT_REDO = 33280,
    ID_COMPARE_DEVICE = 33281,
    ID_FIND_NEXT = 33282,
    ID_FIND_PREVIOUS = 33283,
    ID_EXTRAS = 65535,
    // The View menu: live check, zoom and navigation.
    ID_VIEW_LIVE_CHECK = 33024,
    ID_VIEW_ZOOM_IN = 33025,
    ID_VIEW_ZOOM_OUT = 33026,
    ID_VIEW_ZOOM_RESET = 33027,
    ID_NEXT_ERROR = 33028,
    ID_PREVIOUS_ERROR = 33029,
    ID_GOTO_LINE = 33030,
    ID_GOTO_DEFINITION = 33031,
    ID_FIND_USES = 33032,
    // What the analysis shows of a programme: warnings, its flow graph, its
    // names back after a read-back.
    ID_VIEW_WARNINGS = 34816,
    ID_VIEW_FLOW_GRAPH = 34817,
    ID_RESTORE_NAMES = 34818,
    // Completion and the navigation history.
    ID_EDIT_COMPLETE = 33056,
    ID_NAVIGATE_BACK = 33057,
    ID_NAVIGATE_FORWARD = 33058,
    ID_VIEW_COMPLETE_TYPING = 33059,
    // The text's encoding.
    ID_FILE_SAVE_ENCODING = 35328,
};

enum class MenuId : uint8_t { File, Recent, Edit, Program, View, Help };

// A command's key: the desktop's standard key where there is one, else a
// key text in QKeySequence's portable form; neither for no key.
struct CommandKey {
    QKeySequence::StandardKey standard = QKeySequence::UnknownKey;
    const char* text = nullptr;
};

struct EditorCommand {
    MenuId menu;
    const char* text;      // menu text with its mnemonic
    int id;
    bool grayed;           // state in menu 202
    bool separatorAfter;   // a menu separator follows the entry
    void (*handler)(CPlcEditorDlg& editor);  // runs the command on the part that owns it
    CommandKey key;        // the command's shortcut
    CommandKey alternateKey;  // a second binding of the same command
    int image = -1;        // the button image in the toolbar strip; -1 for none
    int toolbarSlot = -1;  // position on the toolbar; -1 when not on it
    bool checkable = false;  // an on/off entry
};

// The key sequences of a command's shortcut and its alternate, in this
// order; empty for a command without keys.
QList<QKeySequence> CommandShortcuts(const EditorCommand& command);

// Titles of the pull-down menus.
const char* MenuTitle(MenuId menu);

}  // namespace plc
