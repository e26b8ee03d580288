// SPDX-License-Identifier: GPL-3.0-or-later
// plcc: compiles, lists and renumbers PLC programmes for scripts and CI jobs.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "apps/plcc/Plcc.h"

#ifndef PLCEDIT_VERSION
#error "PLCEDIT_VERSION comes from the project's version in CMake"
#endif

namespace {

// An option of a command as the shell completes it: its name, and what its
// value is ("" a flag that takes none; "file:EXT|EXT", "file", "dir", or
// "words:A B C" for a fixed list; "text" anything typed).
struct Option {
    std::string_view name;
    std::string_view value;
};

// One row per command: adding a command is adding a row.
struct Command {
    std::string_view name;
    int (*run)(const plcc::Args&);
    std::string_view usage;    // after "usage: "
    std::string_view summary;  // one line for the command list
    std::string_view help;     // what `plcc COMMAND --help` adds: its option lines
                               // (indented) and prose (not indented)
    std::initializer_list<Option> options;  // besides --diagnostics and --stdin-filename
    std::string_view files;    // the files it takes: "plc", "bin", "plc|bin"
};

constexpr std::string_view kDiagnosticsHelp =
    "  --diagnostics=FORMAT  how errors are printed: system (the message-list\n"
    "                        entries, the default), gcc (FILE:LINE:COL: error:\n"
    "                        TEXT [ERR(NN)]), json (one document), sarif (a\n"
    "                        SARIF 2.1.0 log) or github (workflow annotations)\n"
    "  --stdin-filename NAME the name of standard input (-) in messages\n";

const Command kCommands[] = {
    {"check", plcc::CmdCheck, "plcc check FILE.plc... [--warnings] [--hints] [--werror] [--diagnostics=FORMAT]",
     "compile each file and print its entries; '-' reads standard input",
     "  --warnings            also print the warnings of a programme that compiles\n"
     "                        (W01 to W06: statements no path reaches, RET without\n"
     "                        CALL, ...); they are no errors and leave the status\n"
     "  --hints               also print the hints (I01, I02: variables only read\n"
     "                        or only written), with the warnings\n"
     "  --werror              warnings (not hints) make the status 1\n"
     "The exit status is the worst over the files.\n",
     {{"--warnings", ""}, {"--hints", ""}, {"--werror", ""}}, "plc"},
    {"image", plcc::CmdImage, "plcc image FILE.plc [--diagnostics=FORMAT]",
     "compile and print the 256 records in hexadecimal; the entries go to stderr", "",
     {}, "plc"},
    {"build", plcc::CmdBuild, "plcc build FILE.plc -o OUT.bin [--decl-dir DIR] [--diagnostics=FORMAT]",
     "compile and write the binary programme file (and the text declaration file)",
     "  -o OUT.bin            the binary programme file to write (not the input)\n"
     "  --decl-dir DIR        also write DIR/NAME.txt, the text declaration file\n",
     {{"-o", "file:bin"}, {"--decl-dir", "dir"}}, "plc"},
    {"list", plcc::CmdList,
     "plcc list FILE.bin [-o OUT.plc] [--date TEXT] [--name TEXT] [--names NAME.txt] [--textconv] "
     "[--diagnostics=FORMAT]",
     "decode a binary programme file into source text; the entries go to stderr",
     "  -o OUT.plc            write the text there (not onto the input), not to stdout\n"
     "  --date TEXT           the date in the header line (default: now, or\n"
     "                        SOURCE_DATE_EPOCH)\n"
     "  --name TEXT           the file name in the header line (default: FILE.bin)\n"
     "  --names NAME.txt      put the names of the text declaration file NAME.txt\n"
     "                        back: %TEXT(NAME) and a DEF line per name above the\n"
     "                        statements; a malformed file is refused\n"
     "  --textconv            for git's text conversion: no entries, and status 0\n"
     "                        whenever the file could be read; a file that is no\n"
     "                        programme file is one line with its size and SHA-256\n",
     {{"-o", "file:plc"}, {"--date", "text"}, {"--name", "text"}, {"--names", "file:txt"}, {"--textconv", ""}}, "bin"},
    {"renum", plcc::CmdRenum, "plcc renum FILE.plc [-o OUT.plc] [--diagnostics=FORMAT]",
     "renumber the statements; the entries go to stderr",
     "  -o OUT.plc            write the text there (it may be FILE.plc), not to stdout\n",
     {{"-o", "file:plc"}}, "plc"},
    {"format", plcc::CmdFormat, "plcc format FILE.plc... [--check] [--diff] [-i] [--diagnostics=FORMAT]",
     "print each file in canonical form, as the language server formats it",
     "  --check               print no text; name each file that would change on\n"
     "                        stderr, and status 1 then\n"
     "  --diff                print the changes as a unified diff\n"
     "  -i                    write the canonical form back into each file\n"
     "A programme with errors has no canonical form: its errors go to stderr and\n"
     "the status is 1.\n",
     {{"--check", ""}, {"--diff", ""}, {"-i", ""}}, "plc"},
    {"graph", plcc::CmdGraph, "plcc graph FILE.plc|FILE.bin [-o OUT] [--format dot|svg] [--diagnostics=FORMAT]",
     "write the control-flow graph of a programme as DOT or SVG",
     "  -o OUT                write the graph there (not onto the input), not to stdout\n"
     "  --format FORMAT       dot (the default; svg when OUT ends in .svg) or svg,\n"
     "                        laid out by Graphviz\n"
     "A source text that does not compile has no graph: its errors go to stderr.\n",
     {{"-o", "file:dot|svg"}, {"--format", "words:dot svg"}}, "plc|bin"},
    {"diff", plcc::CmdDiff, "plcc diff A B [--diagnostics=FORMAT]",
     "compare two programmes (source texts or binary programme files) record by record",
     "Prints each differing record on both sides (-, +) and both checksums; with\n"
     "--diagnostics=json the differences as one document.\n"
     "The exit status is 0 for the same image, 1 for different ones, 2 for errors.\n",
     {}, "plc|bin"},
    {"sim", plcc::CmdSim,
     "plcc sim FILE.plc|FILE.bin [--assume PROFILE] [--stimuli FILE] [--max-steps N] [--until-ms T] "
     "[--break N050,...] [--format text|jsonl|summary] [-o TRACE]",
     "dry run of the programme's logic \xE2\x80\x94 not a model of the drive",
     "  --assume PROFILE      the assumption profile (INI); without it every\n"
     "                        behaviour the programme format does not fix halts\n"
     "  --stimuli FILE        time<TAB>signal<TAB>value rows and\n"
     "                        outcome<TAB>PATTERN<TAB>RESULT rows for drive commands\n"
     "  --max-steps N         stop after N steps (default: 10000000, then exit 1)\n"
     "  --until-ms T          stop at simulated time T\n"
     "  --break N050,...      stop before one of these statements\n"
     "  --format FORMAT       text (a line per step, the default), jsonl or summary\n"
     "  -o TRACE              write the output there, not to stdout\n"
     "The profile keys, the stimuli and the trace are described in the manual,\n"
     "/usr/share/plcedit/README.md (package plcedit-doc).\n"
     "Exit status: 0 at END or a limit or breakpoint given, 1 at a halt (behaviour\n"
     "not specified, no outcome, waiting forever) or the default step limit, 2 on\n"
     "usage or file errors.\n",
     {{"--assume", "file:ini"}, {"--stimuli", "file"}, {"--max-steps", "text"}, {"--until-ms", "text"}, {"--break", "text"}, {"--format", "words:text jsonl summary"}, {"-o", "file"}}, "plc|bin"},
    {"lsp", plcc::CmdLsp, "plcc lsp",
     "serve the language over the Language Server Protocol on stdin/stdout",
     "Editors start it and talk to it; it ends on the client's exit or when stdin closes.\n",
     {{"--stdio", ""}}, ""},
};

// Every command but the language server takes --diagnostics and --stdin-filename.
bool TakesDiagnostics(const Command& c) { return c.name != "lsp"; }

const Command* Find(std::string_view name) {
    for (const Command& c : kCommands) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

void Print(std::FILE* out, std::string_view text) { std::fwrite(text.data(), 1, text.size(), out); }

void Usage(std::FILE* out) {
    Print(out, "usage: plcc COMMAND [OPTION]... FILE...\n       plcc --help | --version\n\nCommands:\n");
    for (const Command& c : kCommands) {
        std::fprintf(out, "  %-7.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                     static_cast<int>(c.summary.size()), c.summary.data());
    }
    Print(out,
          "\nOptions:\n");
    Print(out, kDiagnosticsHelp);
    Print(out,
          "  -h, --help            show this help (or a command's: plcc COMMAND --help)\n"
          "  --version             show the version\n"
          "  --bash-completion     print the bash completion script of plcc\n"
          "\nExit status: 0 success, 1 errors in the programme, 2 usage or file errors.\n");
}

void CommandHelp(const Command& c) {
    std::fprintf(stdout, "usage: %.*s\n%.*s.\n", static_cast<int>(c.usage.size()), c.usage.data(),
                 static_cast<int>(c.summary.size()), c.summary.data());
    // The command's prose first, then every option.
    std::string prose, options;
    for (size_t at = 0; at < c.help.size();) {
        const size_t end = std::min(c.help.find('\n', at), c.help.size());
        const std::string_view line = c.help.substr(at, end + 1 - at);
        (line.starts_with("  ") ? options : prose) += line;
        at = end + 1;
    }
    if (!prose.empty()) Print(stdout, "\n" + prose);
    Print(stdout, "\nOptions:\n");
    Print(stdout, options);
    if (TakesDiagnostics(c)) Print(stdout, kDiagnosticsHelp);
    Print(stdout, "  -h, --help            show this help\n");
}

// The bash completion of plcc, made from the command table: the commands,
// each command's options with what their values are, the diagnostics
// formats, and the files each command takes.
void BashCompletion() {
    std::string commands, options, values, files;
    for (const Command& c : kCommands) {
        const std::string name(c.name);
        commands += (commands.empty() ? "" : " ") + name;
        std::string list = "--help";
        if (TakesDiagnostics(c)) list += " " + std::string(plcc::kDiagnosticsOption) + "= " + std::string(plcc::kStdinFilenameOption);
        for (const Option& o : c.options) {
            list += " " + std::string(o.name);
            if (o.value.empty()) continue;
            std::string action;
            if (o.value == "dir") action = "_filedir -d";
            else if (o.value == "file") action = "_filedir";
            else if (o.value.starts_with("file:")) action = "_filedir '@(" + std::string(o.value.substr(5)) + ")'";
            else if (o.value.starts_with("words:")) action = "COMPREPLY=($(compgen -W '" + std::string(o.value.substr(6)) + "' -- \"$cur\"))";
            else action = ":";
            values += "        " + name + ":" + std::string(o.name) + ") " + action + " ;;\n";
        }
        options += "        " + name + ") options='" + list + "' ;;\n";
        if (!c.files.empty())
            files += "        " + name + ") _filedir '@(" + std::string(c.files) + ")'; [[ $cur == - ]] && COMPREPLY+=(-) ;;\n";
    }
    std::printf(
        "# bash completion for plcc, made by plcc --bash-completion from its command table\n"
        "_plcc() {\n"
        "    local cur prev words cword\n"
        "    _init_completion -s || return\n"
        "    local command=\"\" i\n"
        "    for ((i = 1; i < cword; i++)); do\n"
        "        case ${words[i]} in -*) ;; *) command=${words[i]}; break ;; esac\n"
        "    done\n"
        "    if [[ $prev == %s || $cur == %s=* ]]; then\n"
        "        COMPREPLY=($(compgen -W 'system gcc json sarif github' -- \"${cur#%s=}\"))\n"
        "        return\n"
        "    fi\n"
        "    [[ $prev == %s ]] && return\n"
        "    local option=$prev\n"
        "    if [[ $cur == --*=* ]]; then option=${cur%%%%=*}; cur=${cur#*=}; fi\n"
        "    case $command:$option in\n%s"
        "    esac\n"
        "    if [[ -z $command ]]; then\n"
        "        if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W '--help --version --bash-completion' -- \"$cur\"))\n"
        "        else COMPREPLY=($(compgen -W '%s' -- \"$cur\")); fi\n"
        "        return\n"
        "    fi\n"
        "    local options=--help\n"
        "    case $command in\n%s"
        "    esac\n"
        "    if [[ $cur == -?* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        "        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace\n"
        "        return\n"
        "    fi\n"
        "    case $command in\n%s"
        "    esac\n"
        "} && complete -F _plcc plcc\n",
        plcc::kDiagnosticsOption.data(), plcc::kDiagnosticsOption.data(), plcc::kDiagnosticsOption.data(),
        plcc::kStdinFilenameOption.data(), values.c_str(), commands.c_str(), options.c_str(), files.c_str());
}

bool AsksForHelp(const plcc::Args& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

// What was written to stdout must have arrived: a full disk or a closed
// pipe is a failure, not a success.
int FinishStdout(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    const int error = errno;
    std::fprintf(stderr, "plcc: cannot write to standard output%s%s\n", error != 0 ? ": " : "",
                 error != 0 ? std::strerror(error) : "");
    return plcc::kExitUsage;
}

}  // namespace

namespace plcc {

std::string_view CommandUsage(std::string_view command) {
    const Command* c = Find(command);
    return c != nullptr ? c->usage : std::string_view("plcc COMMAND [OPTION]... FILE...");
}

}  // namespace plcc

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage(stderr);
        return plcc::kExitUsage;
    }
    const std::string_view first = argv[1];
    const plcc::Args rest(argv + 2, argv + argc);
    if (first == "--help" || first == "-h") {
        Usage(stdout);
        return FinishStdout(plcc::kExitOk);
    }
    if (first == "--bash-completion") {
        BashCompletion();
        return FinishStdout(plcc::kExitOk);
    }
    if (first == "--version") {
        std::printf("plcc (PlcEdit) %s\n"
                    "Copyright (C) 2026 the PlcEdit developers\n"
                    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                    "This is free software: you are free to change and redistribute it.\n"
                    "There is NO WARRANTY, to the extent permitted by law.\n",
                    PLCEDIT_VERSION);
        return FinishStdout(plcc::kExitOk);
    }
    const Command* command = Find(first);
    if (command == nullptr) {
        std::fprintf(stderr, "plcc: unknown command '%s'\n", argv[1]);
        Usage(stderr);
        return plcc::kExitUsage;
    }
    if (AsksForHelp(rest)) {
        CommandHelp(*command);
        return FinishStdout(plcc::kExitOk);
    }
    return FinishStdout(command->run(rest));
}
