// SPDX-License-Identifier: GPL-3.0-or-later
// The Recent file entries of the File menu and the files they offer: the
// file that was open when the editor last closed (LastPath), then the files
// opened and saved since, newest first, at most eight. The list lives in
// the settings file ([Menu] LastPath, Recent1 ... Recent8), read and written
// under the settings' lock, so that two editors keep each other's entries.
//
// The document holds the list: it tells it the files it opens and saves,
// and the list asks the document to open the entry the user chose.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace plc {

class RecentFiles {
public:
    // `open` opens an entry the user chose in the menu.
    explicit RecentFiles(std::function<void(const std::string& name)> open);

    // A fresh window's "Recent file" sub-menu and its first entry; the
    // entries of a window that is gone went with its menu.
    void Attach(QMenu* menu, QAction* firstEntry);
    // Puts a file opened or saved at the top of the list.
    void Remember(const std::string& name);
    // Takes a file out of the list and out of the menu.
    void Forget(const std::string& name);
    // Keeps the document's file as the one the list offers first.
    static void RememberLast(const std::string& name);
    // The file the first entry stands for; empty when the list is empty.
    static std::string First();

private:
    // The menu's entries from the settings.
    void Refresh();
    void SetFirstEntry(const std::string& text);

    std::function<void(const std::string&)> m_open;
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_firstEntry;
    std::vector<QPointer<QAction>> m_entries;  // the entries after the first
    QObject m_receiver;  // receives the entries' triggers; they stop when the list goes
};

}  // namespace plc
