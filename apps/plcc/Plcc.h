// plcc: the command-line compiler and decoder. Each sub-command is one
// function; main() dispatches on the first argument.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace plcc {

// Exit statuses: 0 success, 1 errors in the programme, 2 usage or file errors.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProgramErrors = 1;
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

int CmdCheck(const Args& args);
int CmdImage(const Args& args);
int CmdBuild(const Args& args);
int CmdList(const Args& args);
int CmdRenum(const Args& args);
int CmdLsp(const Args& args);

// Reads a whole file as bytes; false with a message on stderr when it cannot.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Reads a source file and splits it into the lines the editor would hold;
// false with a message on stderr when the file cannot be read or has more
// lines than a record can point back to.
bool ReadSourceLines(const std::string& path, std::vector<std::string>& lines);

// Prints each entry followed by "\n" to the stream (stdout or stderr).
void PrintEntries(const std::vector<std::string>& entries, bool toStderr);

// "FILE [OPTION VALUE]...": one file and options that each take a value.
struct CommandLine {
    std::string file;
    std::map<std::string, std::string, std::less<>> options;
    bool Has(std::string_view option) const { return options.contains(option); }
    const std::string& Get(std::string_view option) const { return options.find(option)->second; }
};
// False for an unknown option, a missing or empty value, no file or two files.
bool ParseCommandLine(const Args& args, std::initializer_list<std::string_view> options, CommandLine& out);

// Prints "usage: ..." on stderr; kExitUsage.
int UsageError(std::string_view usage);

// For an empty source text: the editor offers a skeleton; the command line
// says "No programme available." on stderr. kExitProgramErrors.
int ReportEmptyText();

// Writes `bytes` to the file `path` (safely: the old file survives a failed
// write) or, when `path` is empty, to stdout. kExitOk, or kExitUsage with a
// message naming what failed.
int WriteResult(const std::string& path, const std::string& bytes, std::string_view what);

}  // namespace plcc
