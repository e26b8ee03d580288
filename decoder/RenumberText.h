// SPDX-License-Identifier: GPL-3.0-or-later
// Renumbering of a source text: compile it, renumber the image, and put each
// statement's new canonical text back on the line it was compiled from,
// keeping the line's comment. The result lists the line edits in order so
// that the editor can apply each as an edit that can be undone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/CompileDriver.h"
#include "image/ErrorCodes.h"
#include "image/PlcProgram.h"

namespace plc {

struct LineEdit {
    int32_t line = 0;         // 0-based line whose text (without its line break) is replaced
    std::string replacement;  // the new text; on the last line it ends in CR LF
};

// A record keeps its source line in 16 bits: longer texts are not renumbered.
inline constexpr size_t kMaxRenumberLines = 65536;

// What the Renum command shows: when `compiled` is false the compilation's
// entries (or, for an empty text, the offer of a programme skeleton); when
// `renumbered` is false message 57714 and the text unchanged; otherwise the
// edits are applied in order and `entries` replace the message list, the
// last entry being the summary (shown in a message box when errorCount != 0).
struct RenumberTextOutcome {
    bool tooManyLines = false;  // more than kMaxRenumberLines lines: nothing compiled or changed
    bool compiled = false;    // false: `compile` holds the entries to show, nothing changed
    bool renumbered = false;  // false after compiling: the labels do not fit (message 57714)
    CompileOutcome compile;
    std::vector<LineEdit> edits;      // in the order they are applied
    std::vector<std::string> lines;   // the text's lines after all edits
    std::vector<std::string> entries; // the text-coding entries (when renumbered)
    std::vector<CompileOutcome::Error> errors;  // their lines and codes, in order
    int32_t errorCount = 0;
};

// Compiles `lines` into `program`, renumbers it and rewrites the statement lines.
RenumberTextOutcome RenumberProgramText(CPlcProgram& program, const std::vector<std::string>& lines);

// The same for a whole text, compiled in place (CompileProgramSource) and
// split into its lines only for the edits.
RenumberTextOutcome RenumberProgramSource(CPlcProgram& program, std::string_view text);

// The text that replaces a statement line: the statement's new text and, when
// the old line has a comment (from its first ";"), two tabs and that comment.
// On the last line of the text a line break ends it.
std::string ReplacementText(std::string_view statement, std::string_view oldLine, bool lastLine);

// Lines joined with CR LF, as the edit control holds them.
std::string JoinLines(const std::vector<std::string>& lines);

// The canonical form of a programme text (the language server's formatting
// and plcc format): each statement line of `lines`, which `program` was
// compiled from without errors, becomes the decoder's text of its record,
// with the line's comment kept as renumbering keeps it; every other line
// stays.
void CanonicalLines(const CPlcProgram& program, std::vector<std::string>& lines);

}  // namespace plc
