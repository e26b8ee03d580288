// SPDX-License-Identifier: GPL-3.0-or-later
// plcc lsp: the language server on standard input and output.
#include <csignal>
#include <iostream>

#include "apps/plcc/LspServer.h"
#include "apps/plcc/Plcc.h"

namespace plcc {

int CmdLsp(const Args& args) {
    // Clients often pass --stdio; standard input and output is all it speaks.
    for (const std::string& a : args) {
        if (a != "--stdio") return UsageError("lsp", "unexpected argument '" + a + "'");
    }
    // A client that goes away must end the loop through a failed write or the
    // end of input, not through SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    return lsp::RunLanguageServer(std::cin, std::cout, std::cerr);
}

}  // namespace plcc
