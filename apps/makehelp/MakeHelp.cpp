// plcedit-makehelp OUT-DIR
// Writes the help pages that come from the compiler's own tables, so that
// they cannot drift from it: language.html (the keyword chain and every
// statement form of every opcode, with an example line compiled by the real
// line compiler and its record bytes) and errors.html (every error code
// with its message text from the string table).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "compiler/CompileDriver.h"
#include "compiler/Statements.h"
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

// The form with its number conversions filled by 1 (labels by 2, so that
// a jump does not target its own line); empty when the form has operands
// that are names, which no single number fills.
std::string ExampleLine(const char* form) {
    std::string line;
    bool label = true, fillable = true;
    WalkFormat(
        form, [&line](char c) { line += c; },
        [&](std::string_view, char conversion) {
            if (std::string_view("duxX").find(conversion) == std::string_view::npos) {
                fillable = false;
                return;
            }
            line += label ? "001" : "2";
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

void WriteForm(std::ostream& out, const OpcodeRow& row, const char* form) {
    if (!form) return;
    const std::string example = ExampleLine(form);
    const std::string bytes = example.empty() ? std::string() : CompiledBytes(example);
    char opcode[8];
    std::snprintf(opcode, sizeof opcode, "%02X", row.opcode);
    out << "<tr><td>" << opcode << "</td><td><code>" << Escape(form) << "</code></td><td>";
    if (!bytes.empty()) out << "<code>" << Escape(example) << "</code></td><td><code>" << bytes << "</code>";
    else out << "</td><td>";
    out << "</td></tr>\n";
}

bool WriteLanguage(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<title>Statement reference</title><link rel=\"stylesheet\" href=\"help.css\"></head><body>\n"
           "<h1 id=\"language\">Statement reference</h1>\n"
           "<p>Made from the compiler's tables when PlcEdit was built.</p>\n"
           "<h2 id=\"keywords\">Keywords</h2>\n<p>The line compiler tries these in this order; "
           "the first that the statement starts with decides how it is read.</p>\n<p>";
    for (const KeywordRow& row : KeywordChain()) out << "<code>" << Escape(row.keyword) << "</code> ";
    out << "</p>\n<h2 id=\"forms\">Statement forms</h2>\n"
           "<table>\n<tr><th>Opcode</th><th>Form</th><th>Example</th><th>Record bytes</th></tr>\n";
    for (auto family : {FlowRows(), AssignRows(), MotionRows()}) {
        for (const OpcodeRow& row : family) {
            if (!row.compiles) continue;
            for (const Variant& variant : row.variants) {
                WriteForm(out, row, variant.text);
                WriteForm(out, row, variant.endText);
            }
        }
    }
    out << "</table>\n<p><a href=\"index.html\">Back to the help</a></p>\n</body></html>\n";
    return static_cast<bool>(out.flush());
}

bool WriteErrors(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<title>Error codes</title><link rel=\"stylesheet\" href=\"help.css\"></head><body>\n"
           "<h1 id=\"errors\">Error codes</h1>\n<table>\n<tr><th>Code</th><th>Message</th></tr>\n";
    for (uint32_t code = 1; kIdsErrorBase + code < kIdsTooManyErrors; ++code) {
        if (LoadString(kIdsErrorBase + code).empty()) continue;
        const std::string text = ErrorText(static_cast<int32_t>(code));
        out << "<tr id=\"error" << code << "\"><td>" << code << "</td><td>" << Escape(text) << "</td></tr>\n";
    }
    out << "</table>\n<p><a href=\"index.html\">Back to the help</a></p>\n</body></html>\n";
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: plcedit-makehelp OUT-DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    if (!WriteLanguage(dir + "/language.html") || !WriteErrors(dir + "/errors.html")) {
        std::cerr << "plcedit-makehelp: cannot write the pages in " << dir << "\n";
        return 1;
    }
    return 0;
}
