// SPDX-License-Identifier: GPL-3.0-or-later
// The compile driver core: a whole source text into the programme image, with
// the message-list entries exactly as the editor shows them. The editor, the
// command line and the tests each present the outcome their own way.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Lines.h"  // SplitLines, JoinLines and CountLines, by which texts become lines
#include "compiler/SourceFacts.h"
#include "image/PlcProgram.h"

namespace plc {

inline constexpr int kMaxErrors = 30;

struct CompileOutcome {
    bool success = false;        // compiled without error; image complete
    bool emptyText = false;      // nothing to compile: the editor offers the skeleton
    bool interrupted = false;    // stopped after kMaxErrors errors
    int32_t errorCount = 0;
    uint32_t addSum = 0;         // checksum, valid when success
    uint32_t xorSum = 0;
    std::vector<std::string> entries;  // message-list entries in order

    // One error entry per faulty line: its 1-based line number and code, in
    // order (the same errors the entries show, for navigation and tests).
    struct Error {
        int32_t line;        // 1-based
        int32_t code;
        int32_t column = 0;  // 1-based column of the offending token; 0 when unknown
    };
    std::vector<Error> errors;
};

// Fetches line `index` (0-based) without its line break; false when the line
// cannot be fetched.
using LineFetcher = std::function<bool(int32_t index, std::string& line)>;

// Each of the compiles below also collects the text's source facts when it
// is given `facts` (empty to begin with): every line is read for them, also
// those after a compilation stopped at kMaxErrors, whose errors are not
// reported and whose statements do not reach `program`. Without it nothing
// is collected.

// Compiles `lineCount` lines fetched one by one. `textEmpty` tells whether the
// whole text is empty (then nothing is compiled and emptyText is set).
CompileOutcome CompileProgramLines(CPlcProgram& program, int32_t lineCount, bool textEmpty,
                                   const LineFetcher& fetch, SourceFacts* facts = nullptr);

// Compiles the lines of a text held in memory.
CompileOutcome CompileProgramText(CPlcProgram& program, const std::vector<std::string>& lines,
                                  SourceFacts* facts = nullptr);

// Compiles a whole source text without splitting it first: the same outcome
// as CompileProgramText(program, SplitLines(text)), no copy of any line. The
// command line and the language server compile through here.
CompileOutcome CompileProgramSource(CPlcProgram& program, std::string_view text, SourceFacts* facts = nullptr);

// Compiles one full statement line ("N010 NOP") in a fresh programme section
// and gives the record of `label`; the error code. The line goes to the line
// compiler directly, stripped of blanks as the driver strips it, so a
// rendered line longer than the edit control's lines still compiles.
int CompileLineInSection(std::string_view text, int label, PlcInstr& out);

// The message text of an error code without the entry prefix:
// "Error at lable adressing (Nxxx)."
std::string ErrorText(int32_t code);

// The error entry for a 1-based line number and a code:
// "  LINE(012): ERR(04) - Error at lable adressing (Nxxx)."
std::string FormatErrorEntry(int32_t lineNumber, int32_t code);

// The programme skeleton offered for an empty text, from the local time and
// the editor window's caption.
std::string ProgramSkeleton(const std::tm& localTime, std::string_view caption);

// "; %d/%m/%Y, %H:%M, " of the given local time (headers of skeleton and listing).
std::string FormatHeaderTime(const std::tm& localTime);

// Local time now, or SOURCE_DATE_EPOCH when that is set (reproducible output).
std::tm CurrentLocalTime();

}  // namespace plc
