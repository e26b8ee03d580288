// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScriptedDialogs.h"

#include <QDialog>
#include <QUrl>

#include "platform/Text.h"

namespace plc {

const char* KindName(ScriptedDialogs::Kind kind) {
    switch (kind) {
        case ScriptedDialogs::Kind::Ask: return "message box";
        case ScriptedDialogs::Kind::OpenFile: return "open dialog";
        case ScriptedDialogs::Kind::SaveFile: return "save dialog";
        case ScriptedDialogs::Kind::Font: return "font dialog";
        case ScriptedDialogs::Kind::Print: return "print dialog";
        case ScriptedDialogs::Kind::Modal: return "modal dialog";
    }
    return "dialog";
}

ScriptedDialogs::ScriptedDialogs(FailureHandler onFailure) : m_onFailure(std::move(onFailure)) {}

ScriptedDialogs& ScriptedDialogs::Queue(Expected expected) {
    m_queue.push_back(std::move(expected));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectAsk(MsgAnswer answer, std::string textPart) {
    return Queue({.kind = Kind::Ask, .answer = answer, .textPart = std::move(textPart)});
}

ScriptedDialogs& ScriptedDialogs::ExpectOpenFile(std::optional<std::string> chosen) {
    return Queue({.kind = Kind::OpenFile, .file = std::move(chosen)});
}

ScriptedDialogs& ScriptedDialogs::ExpectSaveFile(std::optional<std::string> chosen) {
    return Queue({.kind = Kind::SaveFile, .file = std::move(chosen)});
}

ScriptedDialogs& ScriptedDialogs::ExpectFont(std::optional<QFont> chosen) {
    return Queue({.kind = Kind::Font, .font = std::move(chosen)});
}

ScriptedDialogs& ScriptedDialogs::ExpectPrintSetup(bool ok,
                                                   std::function<void(QPrinter&)> configure) {
    return Queue({.kind = Kind::Print, .ok = ok, .configurePrinter = std::move(configure)});
}

ScriptedDialogs& ScriptedDialogs::ExpectModal(int result, std::function<void(QDialog&)> inspect) {
    return Queue({.kind = Kind::Modal, .result = result, .inspect = std::move(inspect)});
}

void ScriptedDialogs::Reset() {
    m_queue.clear();
    m_log.clear();
    m_failures.clear();
    m_helpUrls.clear();
    m_beeps = 0;
}

void ScriptedDialogs::Fail(const std::string& message) {
    m_failures.push_back(message);
    if (m_onFailure) m_onFailure(message);
}

std::optional<ScriptedDialogs::Expected> ScriptedDialogs::Next(Kind kind, const std::string& what) {
    if (m_queue.empty()) {
        Fail(std::string("unexpected ") + KindName(kind) + ": " + what);
        return std::nullopt;
    }
    if (m_queue.front().kind != kind) {
        Fail(std::string("expected a ") + KindName(m_queue.front().kind) + ", got a " +
             KindName(kind) + ": " + what);
        return std::nullopt;
    }
    Expected e = std::move(m_queue.front());
    m_queue.pop_front();
    return e;
}

MsgAnswer ScriptedDialogs::Ask(QWidget*, const std::string& text, MsgButtons buttons,
                               MsgIcon icon, const std::string& caption) {
    m_log.push_back({Kind::Ask, text, buttons, icon, caption, {}});
    auto e = Next(Kind::Ask, text);
    if (!e) return MsgAnswer::Cancel;
    if (!e->textPart.empty() && text.find(e->textPart) == std::string::npos)
        Fail("message box \"" + text + "\" does not contain \"" + e->textPart + "\"");
    return e->answer;
}

bool ScriptedDialogs::AnswerFile(Kind kind, const FileDialogRequest& request,
                                 std::string& chosen) {
    m_log.push_back({kind, {}, MsgButtons::Ok, MsgIcon::None, {}, request});
    auto e = Next(kind, request.initialDirectory);
    if (!e || !e->file) return false;
    chosen = *e->file;
    return true;
}

bool ScriptedDialogs::OpenFileName(QWidget*, const FileDialogRequest& request,
                                   std::string& chosen) {
    return AnswerFile(Kind::OpenFile, request, chosen);
}

bool ScriptedDialogs::SaveFileName(QWidget*, const FileDialogRequest& request,
                                   std::string& chosen) {
    return AnswerFile(Kind::SaveFile, request, chosen);
}

bool ScriptedDialogs::ChooseFont(QWidget*, QFont& font) {
    m_log.push_back({Kind::Font, ToBytes(font.family()), MsgButtons::Ok, MsgIcon::None, {}, {}});
    auto e = Next(Kind::Font, ToBytes(font.family()));
    if (!e || !e->font) return false;
    font = *e->font;
    return true;
}

bool ScriptedDialogs::PrintSetup(QWidget*, QPrinter& printer) {
    m_log.push_back({Kind::Print, {}, MsgButtons::Ok, MsgIcon::None, {}, {}});
    auto e = Next(Kind::Print, "print setup");
    if (e && e->configurePrinter) e->configurePrinter(printer);
    return e && e->ok;
}

int ScriptedDialogs::Exec(QDialog& dialog) {
    std::string title = ToBytes(dialog.windowTitle());
    m_log.push_back({Kind::Modal, title, MsgButtons::Ok, MsgIcon::None, {}, {}});
    auto e = Next(Kind::Modal, title);
    if (!e) return QDialog::Rejected;
    if (e->inspect) e->inspect(dialog);
    return e->result;
}

bool ScriptedDialogs::OpenHelp(const QUrl& url) {
    m_helpUrls.push_back(ToBytes(url.toString()));
    return true;
}

void ScriptedDialogs::Beep() { ++m_beeps; }

}  // namespace plc
