// SPDX-License-Identifier: GPL-3.0-or-later
// plcedit-makehelp OUT-DIR
// Writes the help pages that come from the compiler's own tables, so that
// they cannot drift from it: a page per statement family (every form of
// every keyword with its operands, their domains and ranges, an example
// compiled by the real line compiler with its record bytes, and the error
// codes the form can give), language.html (the families, the variables and
// the keyword chain), names.html (every name list) and errors.html (every
// error code with its message text from the string table). An example that
// does not compile back to its own form stops the build.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <iostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/Ascii.h"
#include "base/SafeWrite.h"
#include "compiler/CompileDriver.h"
#include "compiler/HelpPages.h"
#include "compiler/StatementForms.h"
#include "compiler/Statements.h"
#include "decoder/RecordPrinter.h"
#include "image/ErrorCodes.h"
#include "image/InstrSet.h"
#include "image/PlcProgram.h"
#include "image/VarFamilies.h"
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

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// A piece of a statement form: literal text, or one operand with the
// conversion that writes it and the name its keyword writes there.
struct Piece {
    std::string literal;
    bool operand = false;
    std::string flags;
    char conversion = 0;
    Dom dom = Dom::None;
    std::string name;      // written by the keyword ("OUTPUT", "IS00"); empty: the writer's choice
    bool ownLabel = false;  // the label the statement line starts with
    std::string prefix;    // the letters written right before it ("F" of "F###")
};

bool IsIo(Dom dom) { return dom == Dom::Input || dom == Dom::Output; }

// The pieces of a form of `keyword`. A name counts as the keyword's only
// where the keyword spells it (or, for an input or output, its group):
// elsewhere the writer chooses it.
std::vector<Piece> Pieces(const StatementForm& form, std::string_view keyword) {
    std::vector<Piece> pieces;
    size_t next = 0;
    WalkFormat(
        form.format,
        [&pieces](char c) {
            if (pieces.empty() || pieces.back().operand) pieces.emplace_back();
            pieces.back().literal += c;
        },
        [&](std::string_view flags, char conversion) {
            Piece piece;
            piece.operand = true;
            piece.flags = flags;
            piece.conversion = conversion;
            piece.dom = next < form.args->size() ? (*form.args)[next].dom : Dom::None;
            if (next < form.names.size()) {
                const std::string& name = form.names[next];
                const std::string spelt = IsIo(piece.dom) ? name.substr(0, name.find_first_of("0123456789")) : name;
                if (keyword.find(spelt) != std::string_view::npos) piece.name = name;
            }
            piece.ownLabel = next == 0 && pieces.size() == 1 && pieces[0].literal == "N";
            if (!pieces.empty() && !pieces.back().operand) {
                const std::string& before = pieces.back().literal;
                size_t from = before.size();
                while (from > 0 && (AsciiAlpha(before[from - 1]) || before[from - 1] == '_')) --from;
                piece.prefix = before.substr(from);
            }
            ++next;
            pieces.push_back(std::move(piece));
        });
    return pieces;
}

// Whether the writer chooses the operand (and the page explains it), as
// against the statement's own label and a name its keyword spells out.
bool Chosen(const Piece& p) { return p.operand && !p.ownLabel && (p.name.empty() || IsIo(p.dom)); }

// An operand as the form shows it: a number of a variable or label as one
// "#" per digit ("F###"), a name the keyword writes as written, an input
// or output as its group and "n", anything else as its domain's
// placeholder ("c.c", "0/1", "<name>") or what it is ("param", "msg").
std::string Shown(const Piece& p) {
    if (p.ownLabel) return "###";
    if (!p.name.empty() && !IsIo(p.dom)) return p.name;
    if (IsIo(p.dom) && !p.name.empty()) return p.name.substr(0, p.name.find_first_of("0123456789")) + "n";
    // Numbers that share a statement are told apart by what they are.
    switch (p.dom) {
        case Dom::ParamNo: return "param";
        case Dom::SubIndex: return "sub";
        case Dom::MsgNo: return "msg";
        case Dom::MsgLen: return "len";
        case Dom::NmtNode: return "node";
        case Dom::Word: return "w";
        default: break;
    }
    const std::string placeholder = Placeholder(p.dom);
    return placeholder == "xxx" ? "###" : placeholder;
}

std::string Pattern(const std::vector<Piece>& pieces) {
    std::string text;
    for (const Piece& p : pieces) text += p.operand ? Shown(p) : p.literal;
    return text;
}

// The first name of a named domain's table within its range.
std::string FirstName(Dom dom) {
    const DomainInfo& domain = DomainOf(dom);
    for (int n = static_cast<int>(domain.lo); domain.name && n <= static_cast<int>(domain.hi); ++n)
        if (const char* name = domain.name(static_cast<uint8_t>(n))) return name;
    return {};
}

std::string Formatted(const Piece& p, double value) {
    const std::string format = "%" + p.flags + (p.conversion == 'f' ? "f" : "lld");
    char text[64];
    if (p.conversion == 'f') std::snprintf(text, sizeof text, format.c_str(), value);
    else std::snprintf(text, sizeof text, format.c_str(), static_cast<long long>(value));
    return text;
}

// An operand filled with a value its domain takes (the own label 1, a
// target 2, else 2 where the range holds it), or with one it refuses
// (`wrong`): a number past the range's top, a name no table holds. A
// letter is `letter`: which of A and R a form stands for is its opcode's.
std::string Filled(const Piece& p, bool wrong, char letter) {
    if (p.ownLabel) return Formatted(p, 1);
    if (p.conversion == 'c') return wrong ? "Q" : std::string(1, letter);
    if (p.conversion == 's') {
        const std::string name = p.name.empty() ? FirstName(p.dom) : p.name;
        if (!wrong) return name;
        if (IsIo(p.dom)) return name.substr(0, name.find_first_of("0123456789")) + "9";
        return p.dom == Dom::Status ? "STA_WRONG" : "WRONG";
    }
    const DomainInfo& domain = DomainOf(p.dom);
    if (wrong) return p.dom == Dom::Float ? "1e39" : Formatted(p, domain.hi + 1);
    return Formatted(p, domain.lo <= 2 && 2 <= domain.hi ? 2 : domain.lo);
}

// The form's text with each operand filled; operand `wrong` (counting the
// pieces) filled with a value its domain refuses.
std::string Example(const std::vector<Piece>& pieces, char letter, size_t wrong = SIZE_MAX) {
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i)
        text += pieces[i].operand ? Filled(pieces[i], i == wrong, letter) : pieces[i].literal;
    return text;
}

// The error codes a form can give, found by the compiler itself: each
// operand the writer chooses filled with a value its domain refuses, and
// the statement cut short at every place after its keyword; a jump or call
// whose target no statement carries adds that error.
std::set<int> FormErrors(const std::vector<Piece>& pieces, char letter, std::string_view keyword) {
    std::set<int> codes;
    PlcInstr record;
    const auto compile = [&](const std::string& line) {
        if (const int code = CompileLineInSection(line, 1, record); code != kErrNone) codes.insert(code);
    };
    for (size_t i = 0; i < pieces.size(); ++i)
        if (Chosen(pieces[i])) compile(Example(pieces, letter, i));
    const std::string example = Example(pieces, letter);
    // Past the label, the blank after it and the keyword's letters.
    size_t at = example.find(' ') + 1;
    for (size_t letters = 0; at < example.size() && letters < keyword.size(); ++at)
        if (example[at] != ' ') ++letters;
    for (; at < example.size(); ++at) compile(example.substr(0, at));
    for (const Piece& p : pieces)
        if (p.dom == Dom::LabelNo && !p.ownLabel) codes.insert(kErrTargetMissing);
    return codes;
}

// What an operand of `dom` may be, in words, with its range from the
// domain table.
std::string DomainText(Dom dom) {
    const DomainInfo& domain = DomainOf(dom);
    const std::string range = Number(domain.lo) + " to " + Number(domain.hi);
    if (const VarFamily* family = FamilyOfDomain(dom)) {
        const bool vowel = std::string_view("aeiou").find(family->what[0]) != std::string_view::npos;
        return std::string(vowel ? "the number of an " : "the number of a ") + family->what + ", " + range;
    }
    switch (dom) {
        case Dom::LabelNo: return "the label of a statement of this programme, " + range;
        case Dom::Value01: return "0 or 1";
        case Dom::Zero: return "0 only";
        case Dom::Byte: return "a whole number, " + range;
        case Dom::Shift: return "a shift count, " + range;
        case Dom::ParamNo: return "a drive parameter number, " + range;
        case Dom::SubIndex: return "a parameter sub-index, " + range;
        case Dom::MsgNo: return "a fieldbus message number, " + range;
        case Dom::Word: return "a whole number, " + range;
        case Dom::Percent: return "a percentage, " + range;
        case Dom::NmtNode: return "a fieldbus node number, " + range;
        case Dom::MsgLen: return "a message length in bytes, " + range;
        case Dom::CmIndex: return "a number, " + range;
        case Dom::Int32:
        case Dom::UInt32: return "a whole number, " + range;
        case Dom::Float: return "a number with a decimal point, " + range;
        case Dom::Input: return "an input as group and number: <a href=\"names.html#io\">inputs and outputs</a>";
        case Dom::Output: return "an output as group and number: <a href=\"names.html#io\">inputs and outputs</a>";
        case Dom::Status: return "a status flag: <a href=\"names.html#status\">status flags</a>";
        case Dom::Register: return "a drive register: <a href=\"names.html#registers\">drive registers</a>";
        case Dom::CtrlFlag: return "a control flag: <a href=\"names.html#ctrlflags\">control flags</a>";
        case Dom::DriveValF: return "a drive value: <a href=\"names.html#valuesF\">drive values (float)</a>";
        case Dom::DriveValH: return "a drive value: <a href=\"names.html#valuesH\">drive values (integer)</a>";
        case Dom::LetterAR: return "A (absolute) or R (relative)";
        default: return Escape(range);
    }
}

// Where what the drive does with a statement is the drive's own: the
// programme holds the command or the time, not its unit or its effect.
const char* DriveNote(Calc calc) {
    switch (calc) {
        case Calc::Wait:
            return "The unit of the time is the drive's; the programme holds only the number. See the drive's manual.";
        case Calc::WaitFor:
            return "When the drive reports the state waited for is the drive's own. See the drive's manual.";
        case Calc::Setup:
            return "How the drive uses this setting is the drive's own, not fixed by the programme. See the drive's manual.";
        case Calc::Drive:
            return "What the drive does on this command (its motion, stop, parameter or message) is the drive's own, "
                   "not fixed by the programme. See the drive's manual.";
        default: return nullptr;
    }
}

std::string Hex(const PlcInstr& record) {
    std::string bytes;
    char hex[4];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02x" : "%02x", record.b[i]);
        bytes += hex;
    }
    return bytes;
}

std::string ErrorLinks(const std::set<int>& codes) {
    std::string text;
    for (const int code : codes) {
        char shown[8];
        std::snprintf(shown, sizeof shown, "%02d", code);
        text += std::string(text.empty() ? "" : ", ") + "<a href=\"" + ErrorHelpPage(code) + "\" title=\"" +
                Escape(ErrorText(code)) + "\">" + shown + "</a>";
    }
    return text;
}

// One form: its text, what each operand may be, an example compiled by the
// compiler with its record, and the errors it can give. False when the
// example does not compile back to the form itself, or when F1 on it would
// open another page than `page`, where it stands.
bool WriteForm(std::ostream& out, const StatementForm& form, std::string_view keyword, const std::string& page,
               std::set<uint8_t>& anchored) {
    std::vector<Piece> pieces = Pieces(form, keyword);
    const auto compilesBack = [&](const std::string& example, PlcInstr& record, int& code, std::string& decoded) {
        code = CompileLineInSection(example, 1, record);
        decoded.clear();
        return code == kErrNone && record.opcode() == form.row->opcode &&
               RenderRecord(*form.row, record, 1, decoded) != 0 && decoded == example;
    };
    char letter = 'A';
    std::string example = Example(pieces, letter);
    PlcInstr record;
    std::string decoded;
    int code = 0;
    if (!compilesBack(example, record, code, decoded) && example != Example(pieces, 'R')) {
        letter = 'R';
        example = Example(pieces, letter);
    }
    if (!compilesBack(example, record, code, decoded)) {
        std::cerr << "plcedit-makehelp: the example \"" << example << "\" of the form \"" << Pattern(pieces)
                  << "\" does not compile to its form (error " << code << ", read back as \"" << decoded << "\")\n";
        return false;
    }
    if (const std::string help = StatementHelpPage(example); help != page + "#" + OpcodeAnchor(form.row->opcode)) {
        std::cerr << "plcedit-makehelp: F1 on \"" << example << "\" opens " << help << ", not " << page << "\n";
        return false;
    }
    // The letter is the opcode's, not the writer's choice: the form shows it.
    for (Piece& p : pieces)
        if (p.operand && p.conversion == 'c') p.name = std::string(1, letter);
    const uint8_t opcode = form.row->opcode;
    out << "<h3";
    if (anchored.insert(opcode).second) out << " id=\"" << OpcodeAnchor(opcode) << "\"";
    out << "><code>" << Escape(Pattern(pieces)) << "</code></h3>\n<table>\n";
    int operand = 0;
    for (const Piece& p : pieces) {
        if (!Chosen(p)) continue;
        if (operand++ == 0) out << "<tr><th>Operand</th><th>May be</th></tr>\n";
        out << "<tr><td><code>" << Escape(p.prefix + Shown(p)) << "</code></td><td>" << DomainText(p.dom) << "</td></tr>\n";
    }
    char shown[8];
    std::snprintf(shown, sizeof shown, "%02X", opcode);
    out << "</table>\n<p>Example: <code>" << Escape(example) << "</code> compiles to opcode " << shown
        << ", record <code>" << Hex(record) << "</code>.</p>\n";
    const std::set<int> errors = FormErrors(pieces, letter, keyword);
    if (!errors.empty()) out << "<p>Errors it can give: " << ErrorLinks(errors) << ".</p>\n";
    const Calc calc = form.variant->calc != Calc::None ? form.variant->calc : form.row->meaning.calc;
    if (const char* note = DriveNote(calc)) out << "<p class=\"drive\">" << note << "</p>\n";
    // A jump's target may be END: its form follows the label form.
    if (form.format == form.variant->text && form.variant->endText != nullptr) {
        StatementForm toEnd = form;
        toEnd.format = form.variant->endText;
        toEnd.args = &form.variant->endArgs;
        return WriteForm(out, toEnd, keyword, page, anchored);
    }
    return true;
}

// A page written whole or not at all; false, with the reason on stderr,
// when it cannot be.
bool WritePage(const std::string& path, const std::ostringstream& page) {
    std::string why;
    if (WriteFileSafely(path, page.str(), &why)) return true;
    std::cerr << "plcedit-makehelp: cannot write " << path << ": " << why << "\n";
    return false;
}

void WriteHead(std::ostream& out, const std::string& title) {
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<title>" << Escape(title) << "</title><link rel=\"stylesheet\" href=\"help.css\"></head><body>\n";
}

void WriteFoot(std::ostream& out) {
    out << "<p><a href=\"language.html\">Statement reference</a> &middot; "
           "<a href=\"index.html\">Contents</a></p>\n</body></html>\n";
}

// One page per statement family: the forms of each of its keywords under
// the keyword's anchor, each opcode's first form under the opcode's.
bool WriteFamily(const std::string& dir, const FamilyHelp& family) {
    std::ostringstream out;
    WriteHead(out, family.title);
    out << "<h1>" << Escape(family.title) << "</h1>\n"
           "<p>Made from the compiler's tables when PlcEdit was built. Each form is shown as a statement line "
           "is written, <code>###</code> standing for a number; each example is compiled by the compiler "
           "itself, and the record is the eight bytes it writes.</p>\n";
    if (family.driveNote != nullptr) out << "<p class=\"drive\">" << family.driveNote << "</p>\n";
    const std::span<const KeywordRow> chain = KeywordChain();
    std::set<uint8_t> anchored;
    bool written = true;
    for (size_t r = 0; r < chain.size(); ++r) {
        if (chain[r].family != family.family || KeywordForms(r).empty()) continue;
        out << "<h2 id=\"" << KeywordAnchor(r) << "\">" << Escape(FormHead(KeywordForms(r).front())) << "&hellip;</h2>\n";
        for (const StatementForm& form : KeywordForms(r))
            written = WriteForm(out, form, chain[r].keyword, family.page, anchored) && written;
    }
    WriteFoot(out);
    return written && WritePage(dir + "/" + family.page, out);
}

// Every opcode a statement compiles to has its anchor on the page F1 opens.
bool EveryOpcodeShown() {
    bool shown = true;
    for (auto rows : {FlowRows(), AssignRows(), MotionRows()}) {
        for (const OpcodeRow& row : rows) {
            if (row.compiles && !FamilyOfOpcode(row.opcode)) {
                std::cerr << "plcedit-makehelp: no keyword compiles to opcode " << OpcodeAnchor(row.opcode) << "\n";
                shown = false;
            }
        }
    }
    return shown;
}

bool WriteLanguage(const std::string& path) {
    std::ostringstream out;
    WriteHead(out, "Statement reference");
    out << "<h1 id=\"language\">Statement reference</h1>\n"
           "<p>Made from the compiler's tables when PlcEdit was built.</p>\n"
           "<h2 id=\"forms\">Statement families</h2>\n<ul>\n";
    for (const FamilyHelp& family : kFamilyHelp)
        out << "<li><a href=\"" << family.page << "\">" << Escape(family.title) << "</a></li>\n";
    out << "<li><a href=\"names.html\">Names of inputs, outputs, status flags, registers, control flags and "
           "drive values</a></li>\n</ul>\n"
           "<h2 id=\"variables\">Variables</h2>\n<p>A variable is its letter and number (<code>H005</code>); a "
           "<code>DEF</code> line in <code>%TEXT(NAME)</code> gives it a name of its own.</p>\n"
           "<table>\n<tr><th>Letter</th><th>What</th><th>Numbers</th><th>Error for a wrong number</th></tr>\n";
    for (const VarFamily& family : kVarFamilies) {
        out << "<tr><td><code>" << family.letter << "</code></td><td>" << family.what << "</td><td>0&ndash;"
            << family.count - 1 << "</td><td>" << ErrorLinks({static_cast<int>(family.error)}) << "</td></tr>\n";
    }
    out << "</table>\n<h2 id=\"keywords\">Keywords</h2>\n<p>The line compiler tries these in this order; "
           "the first that the statement starts with decides how it is read.</p>\n<p>";
    const std::span<const KeywordRow> chain = KeywordChain();
    for (size_t r = 0; r < chain.size(); ++r) {
        out << "<a href=\"" << HelpOf(chain[r].family).page << "#" << KeywordAnchor(r) << "\"><code>"
            << Escape(KeywordForms(r).empty() ? std::string(chain[r].keyword) : FormHead(KeywordForms(r).front()))
            << "</code></a> ";
    }
    out << "</p>\n";
    WriteFoot(out);
    return WritePage(path, out);
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
    std::ostringstream out;
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
    out << "<p id=\"values\">The drive values: what a SET of a variable may read from the drive "
           "(<code>SET F### = &lt;name&gt;</code>, <code>SET H### = &lt;name&gt;</code>).</p>\n";
    WriteNameTable(out, "valuesF", "Drive values (float)", "Drive values read into float variables.",
                   [](uint8_t n) { return Named(DriveValueFName(n)); });
    WriteNameTable(out, "valuesH", "Drive values (integer)", "Drive values read into integer variables.",
                   [](uint8_t n) { return Named(DriveValueHName(n)); });
    WriteFoot(out);
    return WritePage(path, out);
}

// Every code of the error enum, each with its message and what to check.
bool WriteErrors(const std::string& path) {
    std::ostringstream out;
    WriteHead(out, "Error codes");
    out << "<h1 id=\"errors\">Error codes</h1>\n<table>\n<tr><th>Code</th><th>Message</th><th>What to check</th></tr>\n";
    for (const ErrorCode code : kErrorCodes) {
        out << "<tr id=\"error" << static_cast<int>(code) << "\"><td>" << static_cast<int>(code) << "</td><td>"
            << Escape(ErrorText(code)) << "</td><td>" << Escape(ErrorAdvice(code)) << "</td></tr>\n";
    }
    out << "</table>\n";
    WriteFoot(out);
    return WritePage(path, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: plcedit-makehelp OUT-DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    if (!EveryOpcodeShown()) return 1;
    bool written = WriteLanguage(dir + "/language.html") && WriteErrors(dir + "/errors.html") &&
                   WriteNames(dir + "/names.html");
    for (const FamilyHelp& family : kFamilyHelp) written = written && WriteFamily(dir, family);
    if (!written) {
        std::cerr << "plcedit-makehelp: cannot write the pages in " << dir << "\n";
        return 1;
    }
    return 0;
}
