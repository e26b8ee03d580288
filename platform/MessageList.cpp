// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageList.h"

#include "platform/Text.h"

namespace plc {

MessageList::MessageList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit entryDoubleClicked(); });
}

void MessageList::Append(std::string_view entry) {
    addItem(ToQString(entry));
    scrollToBottom();
    emit written();
}

void MessageList::Append(const std::vector<std::string>& entries) {
    if (entries.empty()) return;
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries) texts << ToQString(entry);
    addItems(texts);
    scrollToBottom();
    emit written();
}

void MessageList::Clear() {
    clear();
    emit written();
}

int MessageList::Count() const { return count(); }

std::string MessageList::Text(int index) const {
    const QListWidgetItem* it = item(index);
    return it ? ToBytes(it->text()) : std::string();
}

std::vector<std::string> MessageList::Texts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < count(); ++i) texts.push_back(Text(i));
    return texts;
}

std::string MessageList::SelectedText() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? std::string() : ToBytes(items.first()->text());
}

}  // namespace plc
