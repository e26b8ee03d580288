// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DeviceCompare.h"

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "decoder/DecodeRecord.h"
#include "platform/Text.h"

namespace plc {

namespace {

std::string Decoded(const CPlcProgram& program, int index) {
    if (program.Record(index).opcode() == 0) return {};
    std::string text;
    DecodeRecord(program, text, index);
    return text;
}

QString ChecksumText(const CPlcProgram& program) {
    uint32_t xorSum = 0, addSum = 0;
    program.ComputeChecksum(xorSum, addSum);
    char text[48];
    std::snprintf(text, sizeof text, "0x%08X / 0x%08X", static_cast<unsigned>(addSum),
                  static_cast<unsigned>(xorSum));
    return ToQString(text);
}

const char* ChangeText(RecordChange change) {
    switch (change) {
        case RecordChange::Same: return "";
        case RecordChange::Changed: return "changed";
        case RecordChange::Added: return "added";
        case RecordChange::Removed: return "removed";
    }
    return "";
}

}  // namespace

std::vector<RecordDifference> CompareImages(const CPlcProgram& editor, const CPlcProgram& device) {
    std::vector<RecordDifference> differences;
    for (int i = 0; i < kRecordCount; ++i) {
        const bool inEditor = editor.Record(i).opcode() != 0;
        const bool inDevice = device.Record(i).opcode() != 0;
        if (!inEditor && !inDevice) continue;
        RecordDifference d{i, RecordChange::Same, Decoded(editor, i), Decoded(device, i)};
        if (!inDevice) d.change = RecordChange::Added;
        else if (!inEditor) d.change = RecordChange::Removed;
        else if (!std::equal(editor.Record(i).b.begin(), editor.Record(i).b.begin() + 8, device.Record(i).b.begin()))
            d.change = RecordChange::Changed;
        differences.push_back(std::move(d));
    }
    return differences;
}

CompareView::CompareView(QWidget* parent, const std::vector<RecordDifference>& differences,
                         const CPlcProgram& editor, const CPlcProgram& device)
    : QDialog(parent) {
    setObjectName("compare");
    setWindowTitle("Compare with device");
    auto* sums = new QLabel(QString("Checksum of the editor's programme: %1    of the device's: %2")
                                .arg(ChecksumText(editor), ChecksumText(device)),
                            this);
    sums->setObjectName("checksums");
    auto* table = new QTableWidget(static_cast<int>(differences.size()), 4, this);
    table->setObjectName("records");
    table->setHorizontalHeaderLabels({"Record", "Editor", "Device", "Difference"});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    int row = 0;
    for (const RecordDifference& d : differences) {
        const QString cells[] = {QString::number(d.index), ToQString(d.editor), ToQString(d.device),
                                 ToQString(ChangeText(d.change))};
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (d.change != RecordChange::Same) item->setBackground(QBrush(QColor(255, 236, 200)));
            table->setItem(row, column, item);
        }
        ++row;
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sums);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(860, 560);
}

}  // namespace plc
