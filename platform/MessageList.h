// SPDX-License-Identifier: GPL-3.0-or-later
// The message list below the source text: entries are appended at the end
// and keep the order of insertion; double-clicking an entry is reported, and
// so is every change of the entries (written()).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QListWidget>

namespace plc {

class MessageList : public QListWidget {
    Q_OBJECT
public:
    explicit MessageList(QWidget* parent = nullptr);

    void Append(std::string_view entry);
    // Appends many entries at once, scrolling once.
    void Append(const std::vector<std::string>& entries);
    void Clear();
    int Count() const;
    // The text of entry `index`; empty when there is no such entry.
    std::string Text(int index) const;
    // Every entry in order.
    std::vector<std::string> Texts() const;
    // The text of the selected entry; empty when none is selected.
    std::string SelectedText() const;

signals:
    void entryDoubleClicked();
    // Entries were appended or cleared.
    void written();
};

}  // namespace plc
