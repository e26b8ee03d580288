// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/LabelText.h"

#include <cstdio>

#include "image/PlcProgram.h"

namespace plc {

std::string RecordLabel(int record) {
    char text[16];
    std::snprintf(text, sizeof text, "N%03d", record);
    return text;
}

std::string LabelText(int record) {
    if (record == kEntryRecord) return std::string(Word(SectionWord::ProgramHead));
    if (record == kEndRecord) return std::string(Word(SectionWord::End));
    return RecordLabel(record);
}

}  // namespace plc
