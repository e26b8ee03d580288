// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the editor shows modally or hands to the desktop goes through
// Dialogs: message boxes, the file, font and print dialogs, modal dialogs of
// our own, the help viewer and the beep. QtDialogs shows the real thing;
// ScriptedDialogs answers from a queue so that tests never block on a window.
#pragma once

#include <string>

class QDialog;
class QFont;
class QPrinter;
class QUrl;
class QWidget;

namespace plc {

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Stop, Question, Warning, Information };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// A file dialog's request: the initial directory, the filter in the system's
// "description|pattern|description|pattern|" form and the extension that a
// name typed without one receives.
struct FileDialogRequest {
    std::string initialDirectory;
    std::string filter;
    std::string defaultExtension;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box; the caption is "PlcEdit" unless one is given.
    virtual MsgAnswer Ask(QWidget* parent, const std::string& text, MsgButtons buttons,
                          MsgIcon icon, const std::string& caption = "PlcEdit") = 0;

    // The open and save dialogs; false when cancelled, otherwise `chosen` is
    // the full path.
    virtual bool OpenFileName(QWidget* parent, const FileDialogRequest& request,
                              std::string& chosen) = 0;
    virtual bool SaveFileName(QWidget* parent, const FileDialogRequest& request,
                              std::string& chosen) = 0;

    // The font dialog starting from `font`; on OK `font` holds the pick.
    virtual bool ChooseFont(QWidget* parent, QFont& font) = 0;

    // The print dialog for `printer`; false when cancelled.
    virtual bool PrintSetup(QWidget* parent, QPrinter& printer) = 0;

    // Runs one of our own modal dialogs; returns its result code.
    virtual int Exec(QDialog& dialog) = 0;

    // Opens a help page in the desktop's browser.
    virtual bool OpenHelp(const QUrl& url) = 0;

    // The information beep.
    virtual void Beep() = 0;
};

// The real dialogs of the desktop.
class QtDialogs : public Dialogs {
public:
    MsgAnswer Ask(QWidget* parent, const std::string& text, MsgButtons buttons, MsgIcon icon,
                  const std::string& caption = "PlcEdit") override;
    bool OpenFileName(QWidget* parent, const FileDialogRequest& request,
                      std::string& chosen) override;
    bool SaveFileName(QWidget* parent, const FileDialogRequest& request,
                      std::string& chosen) override;
    bool ChooseFont(QWidget* parent, QFont& font) override;
    bool PrintSetup(QWidget* parent, QPrinter& printer) override;
    int Exec(QDialog& dialog) override;
    bool OpenHelp(const QUrl& url) override;
    void Beep() override;
};

// The process's real dialogs.
Dialogs& DesktopDialogs();

// An error message: the text with an OK button and the stop icon.
inline void ShowError(Dialogs& dialogs, QWidget* parent, const std::string& text) {
    dialogs.Ask(parent, text, MsgButtons::Ok, MsgIcon::Stop);
}

// The system's filter "desc|pattern|desc|pattern|" as a Qt name filter
// ("desc (pattern);;..."); "*.*" becomes "*", which matches every file here.
std::string QtNameFilter(const std::string& systemFilter);

}  // namespace plc
