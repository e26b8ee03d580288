// SPDX-License-Identifier: GPL-3.0-or-later
// Input, the command line and output shared by the plcc sub-commands.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "apps/plcc/Plcc.h"
#include "base/ByteOrderMark.h"
#include "base/SafeWrite.h"
#include "base/WholeFile.h"

namespace plcc {

namespace {

bool Refuse(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "plcc: '%s': %s\n", DisplayName(path).c_str(), why.c_str());
    return false;
}

// Inputs are regular files or pipes (a shell's process substitution, a FIFO,
// standard input), read up to the byte limit; folders, devices and sockets
// are refused unread.
constexpr plc::WholeFileRules kInputRules{kMaxInputBytes, true};

}  // namespace

// The name of standard input in messages, once the command line gave one.
namespace {
std::string g_stdinName = kDefaultStdinName;
}  // namespace

std::string DisplayName(const std::string& path) { return path == kStdinName ? g_stdinName : path; }

bool CheckInputFile(const std::string& path) {
    if (path == kStdinName) return true;  // looked at when it is read
    const plc::FileRead examined = plc::ExamineFile(plc::NormalizeSeparators(path), kInputRules);
    return examined || Refuse(path, examined.Reason());
}

bool ReadInput(const std::string& path, std::string& bytes) {
    plc::FileRead read;
    if (path != kStdinName) {
        read = plc::ReadWholeFile(plc::NormalizeSeparators(path), bytes, kInputRules);
    } else if (::isatty(STDIN_FILENO)) {
        // Typed at a terminal: read to the end of input, up to the limit.
        switch (plc::ReadDescriptor(STDIN_FILENO, bytes, std::nullopt, kMaxInputBytes)) {
            case plc::ReadEnd::Complete: return true;
            case plc::ReadEnd::TooLarge: read.fault = plc::FileRead::Fault::TooLarge; break;
            case plc::ReadEnd::Failed: read.fault = plc::FileRead::Fault::CannotRead, read.error = errno; break;
        }
        read.limit = kMaxInputBytes;
    } else {
        read = plc::ReadWholeDescriptor(STDIN_FILENO, bytes, kInputRules);
    }
    return read || Refuse(path, read.Reason());
}

bool CheckSourceText(const std::string& path, std::string& text) {
    if (plc::HasByteOrderMark(text)) text.erase(0, plc::kUtf8ByteOrderMark.size());
    // Counted without building the lines, so that a text of millions of
    // empty lines is refused at once. A final line break ends the last line;
    // it does not begin another.
    size_t count = plc::CountLines(text);
    if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) --count;
    if (count > kMaxSourceLines) {
        std::fprintf(stderr, "plcc: '%s' has %zu lines; a programme text may have at most %zu\n",
                     DisplayName(path).c_str(), count, kMaxSourceLines);
        text.clear();
        return false;
    }
    return true;
}

bool ReadSourceText(const std::string& path, std::string& text) {
    return ReadInput(path, text) && CheckSourceText(path, text);
}

bool OutputIsNotInput(const std::string& input, const std::string& output) {
    struct stat in {}, out {};
    const bool haveIn = input == kStdinName ? ::fstat(STDIN_FILENO, &in) == 0
                                            : ::stat(plc::NormalizeSeparators(input).c_str(), &in) == 0;
    if (!haveIn || ::stat(plc::NormalizeSeparators(output).c_str(), &out) != 0) return true;
    if (in.st_dev != out.st_dev || in.st_ino != out.st_ino) return true;
    std::fprintf(stderr, "plcc: '%s' is the input file '%s'; choose another output file\n", output.c_str(),
                 DisplayName(input).c_str());
    return false;
}

bool ParseCommandLine(const Args& args, std::initializer_list<std::string_view> options, size_t maxFiles,
                      CommandLine& out, std::string& why, std::initializer_list<std::string_view> flags) {
    out = CommandLine{};
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || a == kStdinName || !a.starts_with('-')) {
            if (a.empty()) {
                why = "empty file name";
                return false;
            }
            out.files.push_back(a);
            continue;
        }
        // "--name=VALUE" or "--name VALUE" (or "-o VALUE").
        const size_t eq = a.starts_with("--") ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            if (eq != std::string::npos) {
                why = "option '" + name + "' takes no value";
                return false;
            }
            out.flags.insert(name);
            continue;
        }
        if (std::find(options.begin(), options.end(), name) == options.end() && name != kStdinFilenameOption) {
            why = "unknown option '" + name + "'";
            return false;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = a.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (value.empty()) {
            why = "option '" + name + "' needs a value";
            return false;
        }
        out.options[name] = value;
    }
    if (out.Has(kDiagnosticsOption)) {
        const std::string& format = out.Get(kDiagnosticsOption);
        if (format == "system") {
            out.diagnostics = DiagnosticsFormat::System;
        } else if (format == "gcc") {
            out.diagnostics = DiagnosticsFormat::Gcc;
        } else if (format == "json") {
            out.diagnostics = DiagnosticsFormat::Json;
        } else if (format == "sarif") {
            out.diagnostics = DiagnosticsFormat::Sarif;
        } else if (format == "github") {
            out.diagnostics = DiagnosticsFormat::Github;
        } else {
            why = "unknown diagnostics format '" + format + "' (system, gcc, json, sarif or github)";
            return false;
        }
    }
    // "-o -" is standard output, as no -o is where a command writes one file.
    if (const auto o = out.options.find("-o"); o != out.options.end() && o->second == kStdinName) {
        out.options.erase(o);
        out.outputToStdout = true;
    }
    if (out.Has(kStdinFilenameOption)) g_stdinName = out.Get(kStdinFilenameOption);
    if (out.files.empty()) {
        why = "no input file";
        return false;
    }
    if (out.files.size() > maxFiles) {
        why = "one input file only";
        return false;
    }
    return true;
}

int UsageError(std::string_view command, std::string_view why) {
    const std::string_view usage = CommandUsage(command);
    std::fprintf(stderr, "plcc: %.*s\nusage: %.*s\nTry 'plcc %.*s --help' for more information.\n",
                 static_cast<int>(why.size()), why.data(), static_cast<int>(usage.size()), usage.data(),
                 static_cast<int>(command.size()), command.data());
    return kExitUsage;
}

int WriteResult(const std::string& path, const std::string& bytes) {
    if (!path.empty()) {
        std::string why;
        if (!plc::WriteFileSafely(plc::NormalizeSeparators(path), bytes, &why)) {
            std::fflush(stdout);
            std::fprintf(stderr, "plcc: cannot write '%s': %s\n", path.c_str(), why.c_str());
            return kExitUsage;
        }
        return kExitOk;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kExitOk : kExitUsage;
}

}  // namespace plcc
