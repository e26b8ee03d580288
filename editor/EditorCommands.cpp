#include "editor/EditorCommands.h"

#include <array>

#include "editor/PlcEditorDlg.h"

namespace plc {

namespace {

using D = CPlcEditorDlg;

// Menu 202, in menu order.
constexpr std::array kCommands{
    EditorCommand{MenuId::File, "&New", ID_FILE_NEW, false, false, &D::OnFileNew},
    EditorCommand{MenuId::File, "&Open...", ID_FILE_OPEN, false, false, &D::OnFileOpen},
    EditorCommand{MenuId::File, "&Save", ID_FILE_SAVE, false, false, &D::OnFileSave},
    EditorCommand{MenuId::File, "Save &as...", ID_FILE_SAVE_AS, false, true, &D::OnFileSaveAs},
    EditorCommand{MenuId::File, "Page set&up...", ID_PAGE_SETUP, false, false, &D::OnPageSetup},
    EditorCommand{MenuId::File, "&Print...", ID_FILE_PRINT, false, true, &D::OnFilePrint},
    EditorCommand{MenuId::Recent, "?", ID_FILE_RECENT, true, false, &D::OnFileRecent},
    EditorCommand{MenuId::File, "&Exit", ID_FILE_EXIT, false, false, &D::OnFileExit},
    EditorCommand{MenuId::Edit, "&Undo", ID_EDIT_UNDO, false, true, &D::OnEditUndo},
    EditorCommand{MenuId::Edit, "C&ut", ID_EDIT_CUT, false, false, &D::OnEditCut},
    EditorCommand{MenuId::Edit, "&Copy", ID_EDIT_COPY, false, false, &D::OnEditCopy},
    EditorCommand{MenuId::Edit, "&Paste", ID_EDIT_PASTE, false, false, &D::OnEditPaste},
    EditorCommand{MenuId::Edit, "Select a&ll", ID_EDIT_SELECT_ALL, false, true, &D::OnEditSelectAll},
    EditorCommand{MenuId::Edit, "&Search/Replace...", ID_SEARCH_REPLACE, false, false, &D::OnSearchReplace},
    EditorCommand{MenuId::Program, "&Check syntax", ID_CHECK_SYNTAX, false, false, &D::OnCheckSyntax},
    EditorCommand{MenuId::Program, "R&enum", ID_RENUM, false, false, &D::OnRenum},
    EditorCommand{MenuId::Program, "Si&mulate...", ID_SIMULATE, true, true, &D::OnSimulate},
    EditorCommand{MenuId::Program, "Save &in file (device setting)", ID_SAVE_IN_FILE, false, false, &D::OnSaveInFile},
    EditorCommand{MenuId::Program, "Read &from file (device setting)", ID_READ_FROM_FILE, false, true, &D::OnReadFromFile},
    EditorCommand{MenuId::Program, "&Save in device", ID_SAVE_IN_DEVICE, true, false, &D::OnSaveInDevice},
    EditorCommand{MenuId::Program, "&Read from device", ID_READ_FROM_DEVICE, true, false, &D::OnReadFromDevice},
    EditorCommand{MenuId::View, "&Live check", ID_VIEW_LIVE_CHECK, false, true, &D::OnLiveCheck,
                  nullptr, nullptr, true},
    EditorCommand{MenuId::View, "Zoom &in", ID_VIEW_ZOOM_IN, false, false, &D::OnZoomIn, "Ctrl+=", "Ctrl++"},
    EditorCommand{MenuId::View, "Zoom &out", ID_VIEW_ZOOM_OUT, false, false, &D::OnZoomOut, "Ctrl+-"},
    EditorCommand{MenuId::View, "&Reset zoom", ID_VIEW_ZOOM_RESET, false, true, &D::OnZoomReset, "Ctrl+0"},
    EditorCommand{MenuId::View, "&Next error", ID_NEXT_ERROR, false, false, &D::OnNextError, "F8"},
    EditorCommand{MenuId::View, "&Previous error", ID_PREVIOUS_ERROR, false, true, &D::OnPreviousError, "Shift+F8"},
    EditorCommand{MenuId::View, "&Go to line...", ID_GOTO_LINE, false, false, &D::OnGotoLine, "Ctrl+G"},
    EditorCommand{MenuId::View, "Go to &definition", ID_GOTO_DEFINITION, false, false, &D::OnGotoDefinition, "F12"},
    EditorCommand{MenuId::View, "Find &uses", ID_FIND_USES, false, false, &D::OnFindUses, "Shift+F12"},
    EditorCommand{MenuId::Help, "&Help...", ID_HELP, false, false, &D::OnHelp},
    EditorCommand{MenuId::Help, "&Info...", ID_INFO, false, false, &D::OnInfo},
};

}  // namespace

std::span<const EditorCommand> EditorCommands() { return kCommands; }

const EditorCommand* FindCommand(int id) {
    for (const EditorCommand& command : kCommands)
        if (command.id == id) return &command;
    return nullptr;
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
