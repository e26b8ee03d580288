// SPDX-License-Identifier: GPL-3.0-or-later
// Where the things the analysis reports on stand in a programme's text: each
// statement line's label, keyword and jump target, every DEF with its name,
// and every variable a statement names, read from the source facts the
// compile of the text collects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/SourceFacts.h"
#include "image/PlcProgram.h"

namespace plc {

// A stretch of one line: 0-based line and column, length in bytes. A line of
// -1 means that the place is not known.
struct TextSpan {
    int32_t line = -1;
    int32_t column = 0;
    int32_t length = 0;
    bool Known() const { return line >= 0; }
};

// The places of one statement line.
struct StatementSites {
    TextSpan label;    // "N010"
    TextSpan keyword;  // the statement keyword the keyword chain matched ("RET", "CALLN", "SETH")
    TextSpan target;   // the jump or CALL target ("N200", "END")
};

struct DefSite {
    VarKind var = VarKind::H;
    int index = 0;
    std::string name;  // as written
    TextSpan at;       // the name on its DEF line
};

struct UseSite {
    VarKind var = VarKind::H;
    int index = 0;
    TextSpan at;  // the variable on its statement line ("H005")
};

struct SourceSites {
    std::vector<StatementSites> lines;  // by 0-based line; empty spans on other lines
    std::vector<DefSite> defs;          // in text order
    std::vector<UseSite> uses;          // in text order, statements only

    // The sites of a line; empty ones for a line outside the text.
    const StatementSites& Line(int32_t line) const;
};

// The sites in the facts of a compiled text (tokens in text order).
SourceSites ReadSourceSites(const SourceFacts& facts);
// Compiles a programme text given as its lines (no line breaks) for its facts
// alone, and reads their sites.
SourceSites ReadSourceSites(const std::vector<std::string>& lines);

}  // namespace plc
