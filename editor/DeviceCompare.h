// SPDX-License-Identifier: GPL-3.0-or-later
// Compare with device: the editor's programme, compiled, against the
// programme the device holds, record by record as decoded text.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "image/PlcProgram.h"

namespace plc {

enum class RecordChange { Same, Changed, Added, Removed };

struct RecordDifference {
    int index;
    RecordChange change;
    std::string editor;  // decoded record of the editor's programme; empty when absent
    std::string device;  // decoded record of the device's programme; empty when absent
};

// Every record that either programme uses, in record order: the same,
// changed, only in the editor's (added) or only in the device's (removed).
std::vector<RecordDifference> CompareImages(const CPlcProgram& editor, const CPlcProgram& device);

// The two programmes side by side with their checksums; changed rows
// stand out by colour and by the difference column.
class CompareView : public QDialog {
    Q_OBJECT
public:
    CompareView(QWidget* parent, const std::vector<RecordDifference>& differences,
                const CPlcProgram& editor, const CPlcProgram& device);
};

}  // namespace plc
