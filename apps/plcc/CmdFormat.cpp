// SPDX-License-Identifier: GPL-3.0-or-later
// plcc format: the canonical form of source files, the one the language
// server's formatting gives: printed, checked (--check), shown as a diff
// (--diff) or written back (-i).
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "apps/plcc/Plcc.h"
#include "base/ByteOrderMark.h"
#include "base/Lines.h"
#include "compiler/CompileDriver.h"
#include "decoder/RenumberText.h"

namespace plcc {

namespace {

// The line break a text uses: its first one, CR LF where it has none.
std::string_view LineBreakOf(std::string_view text) {
    const plc::LineBounds first = plc::LineFrom(text, 0);
    return first.end == text.size() ? "\r\n" : text.substr(first.end, first.next - first.end);
}

// Lines for a diff, each with the line break it has in the text (CR LF, LF
// or CR; none for a last line without one), so that a patch of a CR LF
// file applies to it.
struct DiffLines {
    std::vector<std::string> lines;
    std::vector<std::string> breaks;
};

DiffLines ForDiff(std::string_view text) {
    DiffLines out;
    for (size_t start = 0; start < text.size();) {
        const plc::LineBounds line = plc::LineFrom(text, start);
        out.lines.emplace_back(text.substr(start, line.end - start));
        out.breaks.emplace_back(text.substr(line.end, std::min(line.next, text.size()) - line.end));
        start = line.next;
    }
    return out;
}

// A unified diff of two texts whose lines correspond one to one (the
// canonical form changes lines, never adds or removes one in between): runs
// of changed lines with three lines of context.
std::string UnifiedDiff(const std::string& name, const DiffLines& a, const DiffLines& b) {
    const size_t count = std::max(a.lines.size(), b.lines.size());
    auto unit = [](const DiffLines& d, size_t i) -> std::optional<std::string> {
        if (i >= d.lines.size()) return std::nullopt;
        return d.lines[i] + d.breaks[i];
    };
    std::vector<size_t> changed;
    for (size_t i = 0; i < count; ++i)
        if (unit(a, i) != unit(b, i)) changed.push_back(i);
    if (changed.empty()) return {};
    std::string out = "--- a/" + name + "\n+++ b/" + name + "\n";
    auto emit = [&](char mark, const DiffLines& d, size_t i) {
        out += mark;
        out += d.lines[i];
        // A lone CR is no line end to a patch: the line gets an LF after it.
        out += d.breaks[i] == "\r\n" ? "\r\n" : "\n";
        if (d.breaks[i].empty()) out += "\\ No newline at end of file\n";
    };
    constexpr size_t kContext = 3;
    for (size_t k = 0; k < changed.size();) {
        const size_t first = changed[k] > kContext ? changed[k] - kContext : 0;
        size_t last = changed[k];
        while (k + 1 < changed.size() && changed[k + 1] <= last + 2 * kContext + 1) last = changed[++k];
        ++k;
        const size_t end = std::min(last + kContext + 1, count);
        auto span = [&](const DiffLines& d) {
            const size_t from = std::min(first, d.lines.size()), to = std::min(end, d.lines.size());
            return std::to_string(to > from ? from + 1 : from) + "," + std::to_string(to - from);
        };
        out += "@@ -" + span(a) + " +" + span(b) + " @@\n";
        for (size_t i = first; i < end; ++i) {
            if (!std::binary_search(changed.begin(), changed.end(), i)) {
                emit(' ', a, i);
                continue;
            }
            if (i < a.lines.size()) emit('-', a, i);
            if (i < b.lines.size()) emit('+', b, i);
        }
    }
    return out;
}

}  // namespace

int CmdFormat(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {kDiagnosticsOption}, args.size(), cl, why, {"--check", "--diff", "-i"}))
        return UsageError("format", why);
    const bool check = cl.Has("--check"), diff = cl.Has("--diff"), inPlace = cl.Has("-i");
    if (inPlace && std::find(cl.files.begin(), cl.files.end(), std::string(kStdinName)) != cl.files.end())
        return UsageError("format", "standard input cannot be written in place (-i)");
    int worst = kExitOk;
    for (const std::string& file : cl.files) {
        std::string text;
        if (!ReadInput(file, text)) {
            worst = kExitUsage;
            continue;
        }
        const bool marked = plc::HasByteOrderMark(text);
        if (!CheckSourceText(file, text)) {
            worst = kExitUsage;
            continue;
        }
        std::vector<std::string> canonical = plc::SplitLines(text);
        plc::CPlcProgram program;
        const plc::CompileOutcome outcome = plc::CompileProgramText(program, canonical);
        if (!outcome.success) {
            // Only a programme that compiles has a canonical form: its errors say why.
            Report report = CompileReport(DisplayName(file), outcome, program);
            SetEndColumns(report, text);
            PrintReports({report}, cl.diagnostics, stderr);
            worst = std::max(worst, kExitProgramErrors);
            continue;
        }
        plc::CanonicalLines(program, canonical);
        const std::string formatted = plc::JoinLines(canonical, LineBreakOf(text));
        const bool changes = formatted != text;
        if (check && changes) {
            std::fprintf(stderr, "plcc: '%s' is not in canonical form\n", DisplayName(file).c_str());
            worst = std::max(worst, kExitProgramErrors);
        }
        if (diff && changes) {
            const std::string shown = UnifiedDiff(DisplayName(file), ForDiff(text), ForDiff(formatted));
            std::fwrite(shown.data(), 1, shown.size(), stdout);
        }
        if (inPlace && changes) {
            // The file keeps its byte-order mark.
            const std::string mark(marked ? plc::kUtf8ByteOrderMark : "");
            if (const int status = WriteResult(file, mark + formatted)) worst = std::max(worst, status);
        }
        if (!check && !diff && !inPlace) std::fwrite(formatted.data(), 1, formatted.size(), stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return kExitUsage;
    return worst;
}

}  // namespace plcc
