// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialogs: Qt's message boxes, file, font and print dialogs, the
// desktop's browser for help pages.
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace plc {

MsgAnswer QtDialogs::Ask(QWidget* parent, const std::string& text, MsgButtons buttons,
                         MsgIcon icon, const std::string& caption) {
    QMessageBox box(parent);
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        case QMessageBox::Cancel: return MsgAnswer::Cancel;
        default: return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

namespace {

bool RunFileDialog(QWidget* parent, const FileDialogRequest& request, bool save,
                   std::string& chosen) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !save);
    dialog.setDirectory(FileNameToQString(request.initialDirectory));
    dialog.setNameFilter(ToQString(QtNameFilter(request.filter)));
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    chosen = FileNameToBytes(dialog.selectedFiles().first());
    return true;
}

}  // namespace

bool QtDialogs::OpenFileName(QWidget* parent, const FileDialogRequest& request,
                             std::string& chosen) {
    return RunFileDialog(parent, request, false, chosen);
}

bool QtDialogs::SaveFileName(QWidget* parent, const FileDialogRequest& request,
                             std::string& chosen) {
    return RunFileDialog(parent, request, true, chosen);
}

bool QtDialogs::ChooseFont(QWidget* parent, QFont& font) {
    bool ok = false;
    QFont picked = QFontDialog::getFont(&ok, font, parent);
    if (ok) font = picked;
    return ok;
}

bool QtDialogs::PrintSetup(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    // The whole document only: no selection, page range or current page.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::Exec(QDialog& dialog) { return dialog.exec(); }

bool QtDialogs::OpenHelp(const QUrl& url) { return QDesktopServices::openUrl(url); }

void QtDialogs::Beep() { QApplication::beep(); }

Dialogs& DesktopDialogs() {
    static QtDialogs dialogs;
    return dialogs;
}

std::string QtNameFilter(const std::string& systemFilter) {
    std::string result;
    size_t pos = 0;
    while (pos < systemFilter.size()) {
        size_t bar = systemFilter.find('|', pos);
        if (bar == std::string::npos) break;
        std::string description = systemFilter.substr(pos, bar - pos);
        size_t end = systemFilter.find('|', bar + 1);
        if (end == std::string::npos) end = systemFilter.size();
        std::string pattern = systemFilter.substr(bar + 1, end - bar - 1);
        pos = end + 1;
        // Qt reads the patterns from the parentheses at the end of the
        // description, so the description loses its own and gets the pattern.
        if (size_t paren = description.rfind(" ("); paren != std::string::npos &&
                                                    description.back() == ')')
            description.erase(paren);
        std::string patterns;
        size_t from = 0;
        while (from <= pattern.size()) {
            size_t semi = pattern.find(';', from);
            if (semi == std::string::npos) semi = pattern.size();
            std::string one = pattern.substr(from, semi - from);
            if (one == "*.*") one.resize(1);  // "*"
            if (!one.empty()) {
                if (!patterns.empty()) patterns += ' ';
                patterns += one;
            }
            from = semi + 1;
        }
        if (!result.empty()) result += ";;";
        result += description;
        result += " (";
        result += patterns;
        result += ')';
    }
    return result;
}

}  // namespace plc
