// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs that answer from a script: each expected dialog is queued with its
// answer; a dialog that comes when another (or none) is expected is recorded
// as a failure and answered with Cancel. Every dialog shown is logged with its
// text, buttons and icon, so that a test checks what the user would have seen.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QFont>

#include "platform/Dialogs.h"

namespace plc {

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Ask, OpenFile, SaveFile, Font, Print, Modal };

    // What a dialog showed, as logged.
    struct Shown {
        Kind kind;
        std::string text;        // message text, or the modal dialog's title
        MsgButtons buttons = MsgButtons::Ok;
        MsgIcon icon = MsgIcon::None;
        std::string caption;
        FileDialogRequest request;  // file dialogs
    };

    // Called for every unexpected dialog; the default records the failure.
    using FailureHandler = std::function<void(const std::string&)>;
    explicit ScriptedDialogs(FailureHandler onFailure = {});

    // Queue the answers, in the order the dialogs are to come. `textPart`,
    // when given, must occur in the message text.
    ScriptedDialogs& ExpectAsk(MsgAnswer answer, std::string textPart = {});
    // std::nullopt cancels the dialog.
    ScriptedDialogs& ExpectOpenFile(std::optional<std::string> chosen);
    ScriptedDialogs& ExpectSaveFile(std::optional<std::string> chosen);
    ScriptedDialogs& ExpectFont(std::optional<QFont> chosen);
    // `configure`, when given, sets the printer up as the user would (an
    // output file, paper, copies) before the dialog ends.
    ScriptedDialogs& ExpectPrintSetup(bool ok, std::function<void(QPrinter&)> configure = {});
    // A modal dialog of ours: `inspect` sees it (and may fill it in) before
    // it "ends" with `result`.
    ScriptedDialogs& ExpectModal(int result, std::function<void(QDialog&)> inspect = {});

    const std::vector<Shown>& Log() const { return m_log; }
    const std::vector<std::string>& Failures() const { return m_failures; }
    size_t Pending() const { return m_queue.size(); }
    int Beeps() const { return m_beeps; }
    const std::vector<std::string>& HelpUrls() const { return m_helpUrls; }
    // Forgets the log, the failures, the beeps and what is still queued.
    void Reset();

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

private:
    struct Expected {
        Kind kind = Kind::Ask;
        MsgAnswer answer = MsgAnswer::Cancel;
        std::string textPart = {};
        std::optional<std::string> file = {};
        std::optional<QFont> font = {};
        bool ok = false;
        int result = 0;
        std::function<void(QDialog&)> inspect = {};
        std::function<void(QPrinter&)> configurePrinter = {};
    };
    ScriptedDialogs& Queue(Expected expected);
    // The open and the save dialog: logged, then answered from the queue.
    bool AnswerFile(Kind kind, const FileDialogRequest& request, std::string& chosen);
    // Takes the next expected dialog when it is of `kind`; records a failure
    // otherwise.
    std::optional<Expected> Next(Kind kind, const std::string& what);
    void Fail(const std::string& message);

    FailureHandler m_onFailure;
    std::deque<Expected> m_queue;
    std::vector<Shown> m_log;
    std::vector<std::string> m_failures;
    std::vector<std::string> m_helpUrls;
    int m_beeps = 0;
};

const char* KindName(ScriptedDialogs::Kind kind);

}  // namespace plc
