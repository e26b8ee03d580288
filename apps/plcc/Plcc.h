// plcc: the command-line compiler and decoder. Each sub-command is one
// function; main() dispatches on the first argument.
#pragma once

#include <string>
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

// Reads a whole file as bytes; false with a message on stderr when it cannot.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Reads a source file and splits it into the lines the editor would hold;
// false with a message on stderr when the file cannot be read or has more
// lines than a record can point back to.
bool ReadSourceLines(const std::string& path, std::vector<std::string>& lines);

// Prints each entry followed by "\n" to the stream (stdout or stderr).
void PrintEntries(const std::vector<std::string>& entries, bool toStderr);

}  // namespace plcc
