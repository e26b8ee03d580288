// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/SectionWords.h"

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

std::string TextHeadLine(std::string_view name) {
    std::string line(Word(SectionWord::TextHead));
    line += '(';
    line += name;
    line += ')';
    return line;
}

}  // namespace plc
