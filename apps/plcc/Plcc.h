// SPDX-License-Identifier: GPL-3.0-or-later
// plcc: the command-line compiler and decoder. Each sub-command is one
// function; main() dispatches on the first argument through one table.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/SourceSites.h"
#include "compiler/CompileDriver.h"

namespace plc {
struct ListingOutcome;
struct RenumberTextOutcome;
}  // namespace plc

namespace plcc {

// Exit statuses: 0 success, 1 errors in the programme, 2 usage or file errors.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProgramErrors = 1;
inline constexpr int kExitUsage = 2;

// Input bounds: a record keeps its source line in 16 bits, and no real
// programme comes near the byte limit. Larger input is refused unread.
inline constexpr size_t kMaxSourceLines = 65536;
inline constexpr size_t kMaxInputBytes = size_t{4} << 20;

using Args = std::vector<std::string>;

int CmdCheck(const Args& args);
int CmdImage(const Args& args);
int CmdBuild(const Args& args);
int CmdList(const Args& args);
int CmdRenum(const Args& args);
int CmdFormat(const Args& args);
int CmdLsp(const Args& args);
int CmdGraph(const Args& args);
int CmdDiff(const Args& args);
int CmdSim(const Args& args);

// ---- input ----

// The file name "-" stands for standard input, named in messages as
// --stdin-filename says (else "<stdin>").
inline constexpr std::string_view kStdinName = "-";
inline constexpr std::string_view kStdinFilenameOption = "--stdin-filename";
inline constexpr const char* kDefaultStdinName = "<stdin>";
// How an input file is named in messages and diagnostics.
std::string DisplayName(const std::string& path);

// Reads a whole input: a regular file or a pipe (a FIFO, a shell's process
// substitution, standard input for "-"). A folder, a device or a socket is
// refused unread, and so is input of more than kMaxInputBytes, without
// reading on. False with a message on stderr naming the file and the reason
// when it is refused or cannot be read.
bool ReadInput(const std::string& path, std::string& bytes);

// True when `path` is a file that ReadInput would accept by its kind and
// size (standard input is looked at when it is read); false with a message
// otherwise.
bool CheckInputFile(const std::string& path);

// Skips a UTF-8 byte-order mark before the source text in `text` (read
// from `path`); false with a message on stderr when the text has more than
// kMaxSourceLines lines (as the editor would split them; a final line break
// begins none).
bool CheckSourceText(const std::string& path, std::string& text);

// Reads a source file whole, to be compiled in place, and checks it as
// CheckSourceText does; false with a message on stderr when the file cannot
// be read or is refused.
bool ReadSourceText(const std::string& path, std::string& text);

// False with a message on stderr when `output` names the same file as
// `input` (the same inode, through any name or link).
bool OutputIsNotInput(const std::string& input, const std::string& output);

// ---- the command line ----

enum class DiagnosticsFormat { System, Gcc, Json, Sarif, Github };
inline constexpr std::string_view kDiagnosticsOption = "--diagnostics";

// "FILE... [OPTION VALUE]... [FLAG]...": files, options that each take a
// value, given as "--name VALUE" or "--name=VALUE", and flags that take none.
// "--" ends the options; "-" is standard input.
struct CommandLine {
    std::vector<std::string> files;
    std::map<std::string, std::string, std::less<>> options;
    std::set<std::string, std::less<>> flags;
    DiagnosticsFormat diagnostics = DiagnosticsFormat::System;
    bool outputToStdout = false;    // "-o -": no -o option, the one output goes to stdout
    bool Has(std::string_view option) const { return options.contains(option) || flags.contains(option); }
    const std::string& Get(std::string_view option) const { return options.find(option)->second; }
    const std::string& File() const { return files.front(); }
};
// False with `why` set for an unknown option, a missing or empty value, a
// flag given a value, an unknown diagnostics format, no file or more than
// `maxFiles` files. Every command takes --stdin-filename NAME, the name of
// standard input in its messages.
bool ParseCommandLine(const Args& args, std::initializer_list<std::string_view> options, size_t maxFiles,
                      CommandLine& out, std::string& why, std::initializer_list<std::string_view> flags = {});

// Prints "plcc: WHY", the command's usage and where to find help on stderr;
// kExitUsage.
int UsageError(std::string_view command, std::string_view why);

// The usage line of a command ("plcc check FILE.plc... [--diagnostics=FORMAT]").
std::string_view CommandUsage(std::string_view command);

// ---- programmes for graph and diff ----

// A programme image from a source text or a binary programme file, with the
// places in the text its records stand on: the source itself, or the
// listing of the file.
struct Programme {
    std::string file;               // as named in messages
    plc::CPlcProgram program;
    bool binary = false;            // read from a binary programme file
    plc::SourceSites sites;         // where things stand in the source or the listing
    std::array<int32_t, plc::kRecordCount> recordLines{};  // 0-based line of each record, -1 for none
};

// Reads `path`, a source text (compiled) or a binary programme file (read
// and listed), told apart by their content: a binary programme file begins
// with a line of eight hexadecimal digits. kExitUsage with a message when
// the file cannot be read; kExitProgramErrors when the source does not
// compile, its errors printed on stderr in `format`.
int LoadProgramme(const std::string& path, DiagnosticsFormat format, Programme& out);

// ---- results ----

// One error as editors and CI read it.
struct Diagnostic {
    int32_t line = 0;               // 1-based line of the file (or of the listing)
    int32_t column = 1;             // 1-based
    std::optional<int32_t> code;    // the ERR(NN) code; none for a message without one
    std::string text;               // the system's message text, without the entry prefix
    int32_t endColumn = 0;          // 1-based, after the token (or the line); 0 unknown
};

// A warning or hint of the analysis: never an error, never in the entries.
struct Warning {
    int32_t line = 0;    // 1-based
    int32_t column = 1;  // 1-based
    std::string code;    // "W01", "I01"
    bool hint = false;
    std::string text;
    int32_t endColumn = 0;  // 1-based, after the token; 0 unknown
};

// What one run over one file has to say, in every format.
struct Report {
    std::string file;                       // as named in diagnostics
    std::vector<std::string> entries;       // the message-list entries (system format)
    std::vector<Diagnostic> errors;
    bool emptyText = false;                 // no programme at all
    bool interrupted = false;               // stopped after the most errors it reports
    std::optional<uint32_t> addSum, xorSum;  // checksum of a complete image
    int32_t records = 0;                    // records the image uses
    std::vector<Warning> warnings;          // when asked for
};

// Reports of a compilation, a listing and a renumbering. The image in
// `program` gives the record count and, when complete, the checksum.
Report CompileReport(const std::string& file, const plc::CompileOutcome& outcome, const plc::CPlcProgram& program);
Report ListingReport(const std::string& file, const plc::ListingOutcome& listing, const plc::CPlcProgram& program);
Report RenumberReport(const std::string& file, const plc::RenumberTextOutcome& outcome,
                      const plc::CPlcProgram& program);

// Sets the end columns of the report's errors and warnings from the lines of
// `text` they point at: the end of the token at the column, or of the line.
void SetEndColumns(Report& report, std::string_view text);

// Prints reports in a format: system prints each report's entries (the empty
// text says so on stderr) and then its warnings, gcc one "FILE:LINE:COL:
// error: TEXT [ERR(NN)]" line per error and one "warning:" ("note:" for a
// hint) line per warning, json one document (an object, or an array of
// objects when `several` is set), sarif one SARIF log, github one workflow
// command per error and warning.
void PrintReports(const std::vector<Report>& reports, DiagnosticsFormat format, std::FILE* out, bool several = false);

// The warnings of the analysis of a compiled programme and the source facts
// of its compile (with its hints when `hints` is set), in the order of the text.
std::vector<Warning> ProgrammeWarnings(const plc::CPlcProgram& program, const plc::SourceFacts& facts, bool hints);

// Writes `bytes` to the file `path` (safely: the old file survives a failed
// write) or, when `path` is empty, to stdout (whose failure main() reports).
// kExitOk, or kExitUsage with a message naming what failed.
int WriteResult(const std::string& path, const std::string& bytes);

}  // namespace plcc
