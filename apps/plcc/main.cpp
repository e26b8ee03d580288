// plcc: compiles, lists and renumbers PLC programmes for scripts and CI jobs.
#include <cstdio>
#include <string_view>

#include "apps/plcc/Plcc.h"

namespace {

struct Command {
    std::string_view name;
    int (*run)(const plcc::Args&);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"check", plcc::CmdCheck, "plcc check FILE.plc"},
    {"image", plcc::CmdImage, "plcc image FILE.plc"},
    {"build", plcc::CmdBuild, "plcc build FILE.plc -o OUT.bin [--decl-dir DIR]"},
    {"list", plcc::CmdList, "plcc list FILE.bin [-o OUT.plc] [--date TEXT]"},
    {"renum", plcc::CmdRenum, "plcc renum FILE.plc [-o OUT.plc]"},
    {"lsp", plcc::CmdLsp, "plcc lsp"},
};

void Usage() {
    std::fputs("usage:\n", stderr);
    for (const Command& c : kCommands) std::fprintf(stderr, "  %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage();
        return plcc::kExitUsage;
    }
    const std::string_view name = argv[1];
    for (const Command& c : kCommands) {
        if (c.name == name) return c.run(plcc::Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "plcc: unknown command '%s'\n", argv[1]);
    Usage();
    return plcc::kExitUsage;
}
