// SPDX-License-Identifier: GPL-3.0-or-later
// The compile driver core: compiles a whole text line by line and builds the
// message-list entries of the run.
#include "compiler/CompileDriver.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "compiler/LineCompiler.h"
#include "compiler/Statements.h"
#include "image/LabelText.h"
#include "image/SectionWords.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

// The line that starts at `start`, by the one line-end rule, with where its
// comment begins (its end when it has none).
struct SourceLine {
    size_t end;
    size_t comment;
    size_t next;
};

SourceLine ScanLine(std::string_view text, size_t start) {
    size_t comment = 0;
    const LineBounds bounds = LineFrom(text, start, ';', comment);
    return {bounds.end, comment, bounds.next};
}

}  // namespace

std::string ErrorText(int32_t code) {
    std::string text = FormatString(kIdsErrorBase + static_cast<uint32_t>(code), "");
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

std::string FormatErrorEntry(int32_t lineNumber, int32_t code) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "  LINE(%03" PRId32 "): ERR(%02" PRId32 ") -", lineNumber, code);
    return FormatString(kIdsErrorBase + static_cast<uint32_t>(code), prefix);
}

namespace {

// A line up to its comment.
std::string_view WithoutComment(std::string_view line) { return line.substr(0, line.find(';')); }

// After a compilation stopped at line `at` (already fetched as `line`): it
// and the lines after it are read for their facts alone, on a copy of the
// programme that the caller never sees.
template <typename More, typename Fetch>
void ReadOnForFacts(const CPlcProgram& program, int32_t at, std::string_view line, More& more, Fetch& fetch,
                    SourceFacts& facts) {
    CPlcProgram rest = program;
    for (int32_t i = at;;) {
        int32_t reported = i, error = 0;
        if (!line.empty()) CompileLine(rest, line, reported, error, &facts);
        do {
            if (!more(++i)) return;
        } while (!fetch(i, line));
    }
}

// The run over the lines: `more(index)` tells whether line `index` exists,
// and `fetch(index, line)` gives it without its comment, as a view that stays
// valid until the next call; false when it cannot be fetched.
template <typename More, typename Fetch>
CompileOutcome CompileEachLine(CPlcProgram& program, bool textEmpty, More&& more, Fetch&& fetch, SourceFacts* facts) {
    CompileOutcome out;
    if (textEmpty) {
        out.emptyText = true;
        return out;
    }
    program.Clear();
    out.entries.push_back(LoadString(kIdsCompiling));
    out.entries.emplace_back();

    auto addError = [&out](int32_t lineIndex, int32_t code, int32_t column = 0) {
        out.entries.push_back(FormatErrorEntry(lineIndex + 1, code));
        out.errors.push_back({lineIndex + 1, code, column});
        ++out.errorCount;
    };

    int32_t reported = 0;
    std::string_view line;
    for (int32_t i = 0; more(i); ++i) {
        reported = i;
        if (!fetch(i, line)) {
            addError(reported, kErrReadLine);
            continue;
        }
        if (line.empty()) continue;
        if (out.errorCount >= kMaxErrors) {
            out.entries.emplace_back();
            out.entries.push_back(LoadString(kIdsTooManyErrors));
            out.interrupted = true;
            if (facts != nullptr) ReadOnForFacts(program, i, line, more, fetch, *facts);
            return out;
        }
        int32_t error = 0;
        if (!CompileLine(program, line, reported, error, facts))
            addError(reported, error, reported == i ? program.ErrorColumn() : 0);
    }

    if (!program.IsTextDeclared() && program.IsInTextSection()) addError(reported, kErrMissingTextEnd);
    if (!program.IsProgramEnded()) {
        addError(reported, program.IsInProgramSection() ? kErrMissingProgramEnd : kErrNoProgram);
    }
    out.entries.emplace_back();

    if (out.errorCount == 0) {
        program.ComputeChecksum(out.xorSum, out.addSum);
        char sums[64];
        std::snprintf(sums, sizeof sums, "0x%04" PRIX32 " ADD, 0x%04" PRIX32 " XOR ", out.addSum, out.xorSum);
        out.entries.push_back(FormatString(kIdsChecksumSummary, sums));
        out.success = true;
        return out;
    }
    char count[32];
    std::snprintf(count, sizeof count, "%" PRId32 " ", out.errorCount);
    out.entries.push_back(FormatString(kIdsErrorSummary, count));
    return out;
}

}  // namespace

CompileOutcome CompileProgramLines(CPlcProgram& program, int32_t lineCount, bool textEmpty,
                                   const LineFetcher& fetch, SourceFacts* facts) {
    std::string buffer;
    auto more = [lineCount](int32_t index) { return index < lineCount; };
    return CompileEachLine(program, textEmpty, more, [&](int32_t index, std::string_view& line) {
        if (!fetch(index, buffer)) return false;
        line = WithoutComment(buffer);
        return true;
    }, facts);
}

CompileOutcome CompileProgramSource(CPlcProgram& program, std::string_view text, SourceFacts* facts) {
    // The same line ends as SplitLines; lines are fetched in order, each once,
    // and the last is the one that ends at the text's end.
    size_t start = 0;
    auto more = [&](int32_t) { return start <= text.size(); };
    return CompileEachLine(program, text.empty(), more, [&](int32_t, std::string_view& line) {
        const SourceLine at = ScanLine(text, start);
        line = text.substr(start, at.comment - start);
        start = at.next;
        return true;
    }, facts);
}

CompileOutcome CompileProgramText(CPlcProgram& program, const std::vector<std::string>& lines, SourceFacts* facts) {
    bool empty = true;
    for (const std::string& l : lines) {
        if (!l.empty()) {
            empty = false;
            break;
        }
    }
    // More than one line means the text holds at least a line break.
    if (lines.size() > 1) empty = false;
    auto more = [&lines](int32_t index) { return static_cast<size_t>(index) < lines.size(); };
    return CompileEachLine(program, empty, more, [&lines](int32_t index, std::string_view& line) {
        if (index < 0 || static_cast<size_t>(index) >= lines.size()) return false;
        line = WithoutComment(lines[static_cast<size_t>(index)]);
        return true;
    }, facts);
}

int CompileLineInSection(std::string_view text, int label, PlcInstr& out) {
    CPlcProgram program;
    OpenProgramSection(program);
    std::string joined;
    for (char c : text)
        if (c != ' ' && c != '\t') joined.push_back(c);
    int32_t line = 1;
    const int code = ParseLine(program, joined, line);
    out = program.Record(label);
    return code;
}

std::string FormatHeaderTime(const std::tm& localTime) {
    char buf[64];
    std::strftime(buf, sizeof buf, "; %d/%m/%Y, %H:%M, ", &localTime);
    return buf;
}

std::string ProgramSkeleton(const std::tm& localTime, std::string_view caption) {
    std::string text = FormatHeaderTime(localTime);
    text += caption;
    const std::string end(Word(SectionWord::End));
    text += "\r\n\r\n" + TextHeadLine("NAME") + "\r\n" + end + "\r\n\r\n";
    text += Word(SectionWord::ProgramHead);
    text += "\r\n" + LabelText(10) + " NOP\t\t;";
    text += LoadString(kIdsTodoOwnCode);
    text += "\r\n" + end + "\r\n";
    return text;
}

std::tm CurrentLocalTime() {
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        char* end = nullptr;
        const long long value = std::strtoll(epoch, &end, 10);
        if (end != nullptr && *end == '\0') now = static_cast<std::time_t>(value);
    }
    std::tm result{};
    localtime_r(&now, &result);
    return result;
}

}  // namespace plc
