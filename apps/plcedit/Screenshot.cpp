// SPDX-License-Identifier: GPL-3.0-or-later
// plcedit-screenshot FILE.plc OUT.png [CARET-LINE]
// Opens the editor on FILE, runs Check syntax so that the message list shows
// the outcome, puts the caret on CARET-LINE (1-based, default 1), lets the
// timer update title and status line, and saves a picture of the window.
// scripts/screenshot runs it under Xvfb for the README.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "control/TorvixCtrl.h"
#include "editor/EditorCommands.h"
#include "editor/PlcEditorDlg.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SourceEdit.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: plcedit-screenshot FILE.plc OUT.png [CARET-LINE]\n");
        return 2;
    }
    QApplication app(argc, argv);
    // Message boxes (a failed check) are answered without being shown.
    plc::ScriptedDialogs dialogs;
    auto owned = std::make_unique<plc::CPlcEditorDlg>(dialogs);
    plc::CPlcEditorDlg* editor = owned.get();
    plc::CTorvixCtrl control(std::move(owned));
    if (!control.PlcCreate()) return 1;
    control.PlcSetOnline();
    control.PlcFileOpen(argv[1]);
    QWidget* window = editor->Window();
    editor->OnCommand(plc::ID_CHECK_SYNTAX);
    const int line = argc > 3 ? std::atoi(argv[3]) : 1;
    plc::SourceEdit* edit = editor->Edit();
    const int32_t pos = edit->LineIndex(line > 0 ? line - 1 : 0);
    edit->SetSel(pos, pos);
    edit->setFocus();
    int status = 1;
    QTimer::singleShot(600, [&] {
        editor->Frame().OnTimer();
        status = window->grab().save(argv[2]) ? 0 : 1;
        if (status != 0) std::fprintf(stderr, "plcedit-screenshot: cannot write %s\n", argv[2]);
        QApplication::exit(status);
    });
    app.exec();
    return status;
}
