// SPDX-License-Identifier: GPL-3.0-or-later
// plcedit-makehelp OUT-DIR
// Writes the help pages that come from the compiler's own tables, so that
// they cannot drift from it: a page per statement family (every statement
// form of every opcode, with an example line compiled by the real line
// compiler and its record bytes), language.html (the families and the
// keyword chain) and errors.html (every error code with its message text
// from the string table).
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "compiler/CompileDriver.h"
#include "compiler/HelpPages.h"
#include "compiler/Statements.h"
#include "image/ErrorCodes.h"
#include "image/InstrSet.h"
#include "image/PlcProgram.h"
#include "resources/StringTable.h"

namespace {

using namespace plc;

std::string Escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// The width a conversion's flags ask for ("03" gives 3); 1 without one.
int Width(std::string_view flags) {
    int width = 0;
    for (char c : flags) {
        if (c == '.') break;
        if (c >= '0' && c <= '9') width = width * 10 + (c - '0');
    }
    return width > 0 ? width : 1;
}

// The form as written in a programme, each number shown as "#" per digit
// it takes ("N### JMP (F### = F###) N###"), a name as NAME, a character as
// C, a decimal number as #.#.
std::string CanonicalForm(const char* form) {
    std::string text;
    WalkFormat(
        form, [&text](char c) { text += c; },
        [&text](std::string_view flags, char conversion) {
            switch (conversion) {
                case 's': text += "NAME"; break;
                case 'c': text += "C"; break;
                case 'f': text += "#.#"; break;
                default: text.append(static_cast<size_t>(std::max(Width(flags), 3)), '#');
            }
        });
    return text;
}

// The form with its number conversions filled by 1 (labels by 2, so that
// a jump does not target its own line), at the width the form writes them;
// empty when the form has operands that are names, which no single number
// fills.
std::string ExampleLine(const char* form) {
    std::string line;
    bool label = true, fillable = true;
    WalkFormat(
        form, [&line](char c) { line += c; },
        [&](std::string_view flags, char conversion) {
            if (std::string_view("duxX").find(conversion) == std::string_view::npos) {
                fillable = false;
                return;
            }
            const std::string digit = label ? "1" : "2";
            line += std::string(static_cast<size_t>(std::min(Width(flags), 8)) - 1, '0') + digit;
            label = false;
        });
    return fillable ? line : std::string();
}

// Compiles `line` as statement 1 of a programme section; the record's
// bytes in hexadecimal, empty when the line does not compile.
std::string CompiledBytes(const std::string& line) {
    PlcInstr record;
    if (CompileLineInSection(line, 1, record) != 0) return {};
    std::string bytes;
    char hex[4];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", record.b[i]);
        bytes += hex;
    }
    return bytes;
}

void WriteForm(std::ostream& out, const char* form) {
    if (!form) return;
    const std::string example = ExampleLine(form);
    const std::string bytes = example.empty() ? std::string() : CompiledBytes(example);
    out << "<tr><td><code>" << Escape(CanonicalForm(form)) << "</code></td><td>";
    if (!bytes.empty()) out << "<code>" << Escape(example) << "</code></td><td><code>" << bytes << "</code>";
    else out << "</td><td>";
    out << "</td></tr>\n";
}

void WriteHead(std::ostream& out, const std::string& title) {
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<title>" << Escape(title) << "</title><link rel=\"stylesheet\" href=\"help.css\"></head><body>\n";
}

void WriteFoot(std::ostream& out) {
    out << "<p><a href=\"language.html\">Statement reference</a> &middot; "
           "<a href=\"index.html\">Contents</a></p>\n</body></html>\n";
}

// One page per statement family: each opcode under its own anchor, with
// its forms, an example compiled by the line compiler and its record bytes.
bool WriteFamily(const std::string& dir, StatementFamily family) {
    std::ofstream out(dir + "/" + FamilyPage(family), std::ios::binary);
    WriteHead(out, FamilyTitle(family));
    out << "<h1>" << Escape(FamilyTitle(family)) << "</h1>\n"
           "<p>Made from the compiler's tables when PlcEdit was built. Each example is "
           "compiled by the compiler itself; the bytes are the record it writes.</p>\n";
    for (auto rows : {FlowRows(), AssignRows(), MotionRows()}) {
        for (const OpcodeRow& row : rows) {
            if (!row.compiles || FamilyOfOpcode(row.opcode) != family) continue;
            char opcode[8];
            std::snprintf(opcode, sizeof opcode, "%02X", row.opcode);
            out << "<h2 id=\"" << OpcodeAnchor(row.opcode) << "\">Opcode " << opcode << "</h2>\n"
                << "<table>\n<tr><th>Form</th><th>Example</th><th>Record bytes</th></tr>\n";
            for (const Variant& variant : row.variants) {
                WriteForm(out, variant.text);
                WriteForm(out, variant.endText);
            }
            out << "</table>\n";
        }
    }
    WriteFoot(out);
    return static_cast<bool>(out.flush());
}

bool WriteLanguage(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    WriteHead(out, "Statement reference");
    out << "<h1 id=\"language\">Statement reference</h1>\n"
           "<p>Made from the compiler's tables when PlcEdit was built.</p>\n"
           "<h2 id=\"forms\">Statement families</h2>\n<ul>\n";
    for (StatementFamily family : kStatementFamilies)
        out << "<li><a href=\"" << FamilyPage(family) << "\">" << Escape(FamilyTitle(family)) << "</a></li>\n";
    out << "<li><a href=\"names.html\">Names of inputs, outputs, status flags, registers, control flags and "
           "drive values</a></li>\n";
    out << "</ul>\n<h2 id=\"keywords\">Keywords</h2>\n<p>The line compiler tries these in this order; "
           "the first that the statement starts with decides how it is read.</p>\n<p>";
    for (const KeywordRow& row : KeywordChain()) out << "<code>" << Escape(row.keyword) << "</code> ";
    out << "</p>\n";
    WriteFoot(out);
    return static_cast<bool>(out.flush());
}

// One table of a name list: each number 0 to 255 that `name` names.
template <class Name>
void WriteNameTable(std::ostream& out, const char* id, const char* title, const char* what, Name&& name) {
    out << "<h2 id=\"" << id << "\">" << title << "</h2>\n<p>" << what
        << "</p>\n<table>\n<tr><th>Number</th><th>Name</th></tr>\n";
    for (int number = 0; number < 256; ++number) {
        const std::string text = name(static_cast<uint8_t>(number));
        if (!text.empty())
            out << "<tr><td>" << number << "</td><td><code>" << Escape(text) << "</code></td></tr>\n";
    }
    out << "</table>\n";
}

std::string Named(const char* name) { return name ? std::string(name) : std::string(); }

// The names the statements take for inputs, outputs, status flags, drive
// registers, control flags and drive values, with their numbers, from the
// compiler's own tables.
bool WriteNames(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    WriteHead(out, "Names");
    out << "<h1 id=\"names\">Names</h1>\n<p>Made from the compiler's tables when PlcEdit was built.</p>\n"
           "<h2 id=\"io\">Inputs and outputs</h2>\n<p>Written as group and number (<code>IS0</code>, "
           "<code>OE3</code>); the record holds the bit number.</p>\n"
           "<table>\n<tr><th>Group</th><th>Kind</th><th>Numbers</th><th>Bit numbers</th></tr>\n";
    for (auto groups : {InputGroups(), OutputGroups()}) {
        for (const IoGroup& group : groups) {
            out << "<tr><td><code>" << Escape(group.letters) << "</code></td><td>"
                << (group.isInput ? "input" : "output") << "</td><td>0&ndash;" << group.count - 1 << "</td><td>";
            for (int i = 0; i < group.count && i < static_cast<int>(group.bit.size()); ++i)
                out << (i ? ", " : "") << static_cast<int>(group.bit[static_cast<size_t>(i)]);
            out << "</td></tr>\n";
        }
    }
    out << "</table>\n";
    WriteNameTable(out, "inputs", "Input bits", "The names of the input bit numbers.",
                   [](uint8_t n) { return Named(InputName(n)); });
    WriteNameTable(out, "outputs", "Output bits", "The names of the output bit numbers.",
                   [](uint8_t n) { return Named(OutputName(n)); });
    WriteNameTable(out, "status", "Status flags", "The drive's status flags, as in <code>JMP (STA_INPOS = 1)</code>.",
                   [](uint8_t n) { return n < kStatusCount ? Named(StatusName(n)) : std::string(); });
    WriteNameTable(out, "registers", "Drive registers", "The registers the assignments read and write.",
                   [](uint8_t n) { return Named(RegisterName(n)); });
    WriteNameTable(out, "ctrlflags", "Control flags", "The drive's control flags.",
                   [](uint8_t n) { return Named(CtrlFlagName(n)); });
    WriteNameTable(out, "valuesF", "Drive values (float)", "Drive values read into float variables.",
                   [](uint8_t n) { return Named(DriveValueFName(n)); });
    WriteNameTable(out, "valuesH", "Drive values (integer)", "Drive values read into integer variables.",
                   [](uint8_t n) { return Named(DriveValueHName(n)); });
    WriteFoot(out);
    return static_cast<bool>(out.flush());
}

// What to look at when the compiler gives `code`. A switch without a
// default: a new code in the enum does not build until it has its line.
const char* WhatToCheck(ErrorCode code) {
    switch (code) {
        case kErrNone: return "";
        case kErrNoLabelOrEnd: return "Each statement line starts with its label N001 to N254 (or is END); a comment needs its ';'.";
        case kErrTooLong: return "The line or the name is too long; a comment without its ';' makes the line run on.";
        case kErrInternal: return "The compiler met a state it does not expect: keep the programme and report it with the line.";
        case kErrLabel: return "The label: N followed by 1 to 254, nothing else before the statement.";
        case kErrUnknownCommand: return "The keyword after the label, and the form of the statement, against the statement pages.";
        case kErrJumpTarget: return "The jump's target: a label Nxxx or END after the condition.";
        case kErrLabelUsed: return "Two statements carry the same label: renumber, or change one of them.";
        case kErrReadLine: return "The line could not be read from the text: check the file for stray control characters.";
        case kErrMissingProgramEnd: return "The programme section %P00 needs END as its last line.";
        case kErrName: return "The name in %TEXT(NAME) or DEF ... = NAME: letters, digits and '_' only, not empty.";
        case kErrNameTooLong: return "The name has more than 32 characters.";
        case kErrNoHead: return "The programme starts with %P00 (and the names with %TEXT(NAME)); check the head line's spelling.";
        case kErrTextCommand: return "Between %TEXT(NAME) and its END only DEF lines: DEF Hxx = Name.";
        case kErrTextDeclared: return "There is one %TEXT(NAME) section; join the two.";
        case kErrCounter: return "The counter number Cxxx: its range is on the names and statement pages.";
        case kErrFloat: return "The float variable number Fxxx.";
        case kErrInteger: return "The integer variable number Hxxx.";
        case kErrFlag: return "The flag number Mxxx.";
        case kErrTimer: return "The timer number Zxxx.";
        case kErrVariable: return "The operand must be a variable H, F, M, Z or C with its number, or a name given by DEF.";
        case kErrOperator: return "The operator of the assignment (=, +, -, ...) and what may stand on its two sides.";
        case kErrProgramDefined: return "There is one %P00 section.";
        case kErrMissingTextEnd: return "The %TEXT(NAME) section needs its END before %P00.";
        case kErrNoProgram: return "The text holds no %P00 ... END section.";
        case kErrIoNumber: return "The input or output: group letters and number as on the names page (IS0, OE3, ...).";
        case kErrValue: return "The value: its type and range for this operand, on the statement page.";
        case kErrBracket: return "The closing ']' at the end of the print statement.";
        case kErrCompare: return "The condition compares with 0 only: (Hxxx = 0), (Fxxx != 0.0).";
        case kErrNoFollowing: return "The compiler found no statement to follow this one: keep the programme and report it.";
        case kErrTargetMissing: return "The label the jump or call names is not on any statement.";
        case kErrOrder: return "The labels must rise from line to line; Renum puts them in order.";
        case kErrRenumber: return "Renum needs the statements to fit the labels 1 to 254: fewer statements.";
        case kErrTextCoding: return "A record of the programme file does not turn back into a statement: the file is damaged or from another version.";
        case kErrGo: return "The GO statement's form: GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx or GO 0.";
        case kErrLineNotReplaced: return "Renum could not find a statement's line in the text any more: check the text for changes made meanwhile.";
    }
    return "";
}

// Every code of the error enum, each with its message and what to check.
bool WriteErrors(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    WriteHead(out, "Error codes");
    out << "<h1 id=\"errors\">Error codes</h1>\n<table>\n<tr><th>Code</th><th>Message</th><th>What to check</th></tr>\n";
    for (const ErrorCode code : kErrorCodes) {
        out << "<tr id=\"error" << static_cast<int>(code) << "\"><td>" << static_cast<int>(code) << "</td><td>"
            << Escape(ErrorText(code)) << "</td><td>" << Escape(WhatToCheck(code)) << "</td></tr>\n";
    }
    out << "</table>\n";
    WriteFoot(out);
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: plcedit-makehelp OUT-DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    bool written = WriteLanguage(dir + "/language.html") && WriteErrors(dir + "/errors.html") &&
                   WriteNames(dir + "/names.html");
    for (StatementFamily family : kStatementFamilies) written = written && WriteFamily(dir, family);
    if (!written) {
        std::cerr << "plcedit-makehelp: cannot write the pages in " << dir << "\n";
        return 1;
    }
    return 0;
}
