// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/RecentFiles.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "platform/Profile.h"
#include "platform/Text.h"

namespace plc {

namespace {

constexpr const char* kNoRecentFile = "?";
constexpr const char* kMenuSection = "Menu";
constexpr const char* kLastPathKey = "LastPath";
// The Recent file menu lists at most this many files: the one open when the
// editor last closed, then the files opened and saved since, newest first.
constexpr int kRecentFiles = 8;

std::string RecentKey(int index) { return "Recent" + std::to_string(index + 1); }

std::vector<std::string> ReadRecentFiles(const ProfileEntries& settings) {
    std::vector<std::string> files;
    for (int i = 0; i < kRecentFiles; ++i) {
        std::string name = settings.GetString(kMenuSection, RecentKey(i), "");
        if (!name.empty()) files.push_back(std::move(name));
    }
    return files;
}

void WriteRecentFiles(ProfileEntries& settings, std::vector<std::string> files) {
    files.resize(std::min<size_t>(files.size(), kRecentFiles));
    for (int i = 0; i < kRecentFiles; ++i)
        settings.WriteString(kMenuSection, RecentKey(i), i < static_cast<int>(files.size()) ? files[static_cast<size_t>(i)] : "");
}

// What the Recent file menu offers, in its order: the file open when the
// editor last closed, then the files opened and saved since, newest first.
std::vector<std::string> OfferedRecentFiles(const ProfileEntries& settings) {
    std::vector<std::string> offered;
    const std::string last = settings.GetString(kMenuSection, kLastPathKey, kNoRecentFile);
    if (last != kNoRecentFile && !last.empty()) offered.push_back(last);
    for (std::string& name : ReadRecentFiles(settings)) {
        if (offered.size() >= static_cast<size_t>(kRecentFiles)) break;
        if (std::find(offered.begin(), offered.end(), name) == offered.end()) offered.push_back(std::move(name));
    }
    return offered;
}

// "&" in a file name is shown, not taken as a mnemonic.
QString MenuText(const std::string& text) {
    return FileNameToQString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

RecentFiles::RecentFiles(std::function<void(const std::string& name)> open) : m_open(std::move(open)) {}

void RecentFiles::Attach(QMenu* menu, QAction* firstEntry) {
    m_menu = menu;
    m_firstEntry = firstEntry;
    m_entries.clear();
    Refresh();
}

void RecentFiles::Remember(const std::string& name) {
    // Read and written under the settings' lock: another editor adding its
    // file meanwhile keeps its entry.
    Profile().Edit([&](ProfileEntries& settings) {
        std::vector<std::string> files = ReadRecentFiles(settings);
        std::erase(files, name);
        files.insert(files.begin(), name);
        WriteRecentFiles(settings, std::move(files));
    });
    Refresh();
}

void RecentFiles::Forget(const std::string& name) {
    Profile().Edit([&](ProfileEntries& settings) {
        if (settings.GetString(kMenuSection, kLastPathKey, kNoRecentFile) == name)
            settings.WriteString(kMenuSection, kLastPathKey, kNoRecentFile);
        std::vector<std::string> files = ReadRecentFiles(settings);
        if (std::erase(files, name) != 0) WriteRecentFiles(settings, std::move(files));
    });
    Refresh();
}

void RecentFiles::RememberLast(const std::string& name) { Profile().WriteString(kMenuSection, kLastPathKey, name); }

std::string RecentFiles::First() {
    const std::vector<std::string> offered = OfferedRecentFiles(Profile().Read());
    return offered.empty() ? std::string() : offered.front();
}

void RecentFiles::Refresh() {
    const std::vector<std::string> offered = OfferedRecentFiles(Profile().Read());
    // The first entry stands for the first file; "?" only when there is none.
    SetFirstEntry(offered.empty() ? std::string(kNoRecentFile) : offered.front());
    if (!m_menu) return;
    for (QAction* action : m_entries) delete action;
    m_entries.clear();
    for (size_t i = 1; i < offered.size(); ++i) {
        const std::string& name = offered[i];
        QAction* action = m_menu->addAction(MenuText(name));
        QObject::connect(action, &QAction::triggered, &m_receiver, [this, name] { m_open(name); });
        m_entries.push_back(action);
    }
}

void RecentFiles::SetFirstEntry(const std::string& text) {
    if (!m_firstEntry) return;
    m_firstEntry->setText(MenuText(text));
    m_firstEntry->setEnabled(text != kNoRecentFile);
}

}  // namespace plc
