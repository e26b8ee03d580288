// SPDX-License-Identifier: GPL-3.0-or-later
// The programme listing: a whole image turned back into source text, with the
// message-list entries of the run. The editor shows the result; the command
// line writes it out; nothing here touches a window.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/CompileDriver.h"
#include "image/PlcProgram.h"
#include "image/TextDeclFile.h"

namespace plc {

struct ListingOutcome {
    // The listed text: lines separated by CR LF, "END" without a line break.
    std::string text;
    // Message-list entries in order. When errors were counted the last one
    // is the summary that the editor also shows in a message box.
    std::vector<std::string> entries;
    int32_t errorCount = 0;            // the missing head counts as one
    // The error entries' listing lines and codes, in order; code 0 is the
    // missing programme head, whose entry has none.
    std::vector<CompileOutcome::Error> errors;
    // Records that could not be decoded, or whose listed line does not
    // compile back to them (both reported with code 33).
    int32_t undecodable = 0;
    // The 1-based line of each listed record; 0 for records not listed.
    std::array<int32_t, kRecordCount> lines{};
};

// Lists the image of `program` (whose record iterator it runs through one
// whole pass). `fileName` is the file the image was read from; `dateText` is
// the date part of the header line, "%d/%m/%Y, %H:%M" of the local time.
// With `names` (from a text declaration file) the text declaration section
// with one DEF line per name stands between the header and the programme.
ListingOutcome ListProgramImage(CPlcProgram& program, std::string_view fileName,
                                std::string_view dateText, const DeclaredNames* names = nullptr);

// The text declaration section of restored names: "%TEXT(NAME)", a DEF line
// per name, "END" and an empty line, with CR LF line ends; its line count
// goes to `lines`.
std::string DeclarationSectionText(const DeclaredNames& names, int32_t* lines = nullptr);

// Ends the entries of a text coding run: an empty entry and the error summary
// when errors were counted, else the "no error" entry.
void AppendTextCodingSummary(std::vector<std::string>& entries, int32_t errorCount);

// True when `text`, the rendering of record `index`, stands for the record:
// compiled alone it gives the record's own bytes, and a jump it makes goes
// to a record the listing shows (or to 0 or 255). A comment line (a reserved
// command) compiles to nothing and so does not stand for its record.
bool RecordCompilesBack(const CPlcProgram& program, int index, const std::string& text);

// "%d/%m/%Y, %H:%M" of the given local time.
std::string ListingDate(const std::tm& localTime);

}  // namespace plc
