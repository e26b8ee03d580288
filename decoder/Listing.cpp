// SPDX-License-Identifier: GPL-3.0-or-later
// The programme listing: frame, head line, one line per listed record, and
// the entries that report undecodable records against their listed line.
#include "decoder/Listing.h"

#include <cinttypes>
#include <cstdio>

#include "compiler/CompileDriver.h"
#include "compiler/LineCompiler.h"
#include "compiler/ProgramIndex.h"
#include "decoder/DecodeRecord.h"
#include "image/ErrorCodes.h"
#include "image/SectionWords.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

constexpr int32_t kHeadLine = 3;  // header, empty line, then the head (without names)

// True when record `index` is one the listing shows.
bool IsListed(const CPlcProgram& program, int index) {
    if (index < kFirstLabel || index > kLastLabel) return false;
    const PlcInstr& rec = program.Record(index);
    return rec.used() == 1 || rec.opcode() != 0;
}

}  // namespace

// True when the rendered `text` of record `index` stands for it: compiled
// alone as a statement line of a scratch programme, it gives the record's own
// bytes (0, 1 and 4 to 7; 2 and 3 are the link the whole programme makes),
// and a jump it makes goes to 0, to 255 or to a record the listing shows.
// A comment line (a reserved command) compiles to nothing, so the record
// would be lost: it does not compile back either.
bool RecordCompilesBack(const CPlcProgram& program, int index, const std::string& text) {
    std::string_view statement(text);
    statement = statement.substr(0, statement.find(';'));
    if (statement.find_first_not_of(" \t") == std::string_view::npos) return false;
    CPlcProgram scratch;
    OpenProgramSection(scratch);
    int32_t line = 1, error = 0;
    if (!CompileLine(scratch, statement, line, error)) return false;
    const PlcInstr& listed = program.Record(index);
    const PlcInstr& compiled = scratch.Record(index);
    for (int b : {0, 1, 4, 5, 6, 7}) {
        if (compiled.b[static_cast<size_t>(b)] != listed.b[static_cast<size_t>(b)]) return false;
    }
    if (compiled.kind() == 1) {
        const int target = compiled.target();
        if (target != kEntryRecord && target != kEndRecord && !IsListed(program, target)) return false;
    }
    return true;
}

std::string DeclarationSectionText(const DeclaredNames& names, int32_t* lines) {
    const std::string def(Word(SectionWord::Def)), end(Word(SectionWord::End));
    std::string text = TextHeadLine(names.programName) + "\r\n";
    for (const DeclaredName& n : names.names) text += def + " " + VariableName(n.var, n.index) + " = " + n.name + "\r\n";
    text += end + "\r\n\r\n";
    if (lines != nullptr) *lines = static_cast<int32_t>(names.names.size()) + 3;
    return text;
}

std::string ListingDate(const std::tm& localTime) {
    char buf[64];
    if (std::strftime(buf, sizeof buf, "%d/%m/%Y, %H:%M", &localTime) == 0) return {};
    return buf;
}

ListingOutcome ListProgramImage(CPlcProgram& program, std::string_view fileName,
                                std::string_view dateText, const DeclaredNames* names) {
    ListingOutcome out;
    out.entries.push_back(LoadString(kIdsTextCoding));
    out.entries.emplace_back();

    out.text = "; ";
    out.text += dateText;
    out.text += ", ";
    out.text += fileName;
    out.text += "\r\n\r\n";
    int32_t headLine = kHeadLine;
    if (names != nullptr) {
        int32_t sectionLines = 0;
        out.text += DeclarationSectionText(*names, &sectionLines);
        headLine += sectionLines;
    }

    std::string head;
    if (!program.HasProgramHead(head)) {
        head = LoadString(kIdsNoProgramHead);
        char prefix[48];
        std::snprintf(prefix, sizeof prefix, "  LINE(%03" PRId32 "): ERR() - ", headLine);
        out.entries.push_back(prefix + head);
        out.errors.push_back({headLine, 0});
        ++out.errorCount;
    }
    out.text += head;
    out.text += "\r\n";

    // The pass always runs to its end, so the next pass starts at record 1.
    int32_t lineNumber = headLine;
    std::string recordText;
    int32_t sourceLine = 0;
    int32_t error = 0;
    int index = 0;  // the record the iterator delivers, found the way it finds it
    while (DecodeNextRecord(program, recordText, sourceLine, error)) {
        do ++index;
        while (index < kLastLabel && !IsListed(program, index));
        ++lineNumber;
        out.lines[static_cast<size_t>(index)] = lineNumber;
        out.text += recordText;
        out.text += "\r\n";
        // A listing never calls a line clean that does not compile back to
        // its record.
        if (error == 0 && !RecordCompilesBack(program, index, recordText)) error = kErrTextCoding;
        if (error != 0) {
            out.entries.push_back(FormatErrorEntry(lineNumber, error));
            out.errors.push_back({lineNumber, error});
            ++out.errorCount;
            ++out.undecodable;
        }
    }
    out.text += Word(SectionWord::End);

    AppendTextCodingSummary(out.entries, out.errorCount);
    return out;
}

void AppendTextCodingSummary(std::vector<std::string>& entries, int32_t errorCount) {
    if (errorCount != 0) {
        char count[32];
        std::snprintf(count, sizeof count, "%" PRId32 " ", errorCount);
        entries.emplace_back();
        entries.push_back(FormatString(kIdsTextCodingErrors, count));
    } else {
        entries.push_back(LoadString(kIdsTextCodingOk));
    }
}

}  // namespace plc
