// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the language server's message loop.
//
// The first byte picks what the rest is: the raw byte stream of a client
// (framing, headers, bodies), one message body sent to an initialised server
// with a programme open, or the text of a document that every request then
// runs over at positions taken from the input. Nothing may crash, and every
// answer must be JSON that names the request it answers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "apps/plcc/LspServer.h"
#include "apps/plcc/LspTransport.h"

namespace {

using plcc::lsp::json;

const char* const kProgram =
    "%TEXT(Fuzz)\nDEF H1 = Count\nEND\n%P00\nN010 SET H1 + 1\nN020 JMP (H1 = 0) N010\nN030 CALL N010\nEND\n";

void Check(const std::string& body) {
    const json m = json::parse(body, nullptr, false);
    if (m.is_discarded() || !m.is_object() || m.value("jsonrpc", "") != "2.0") std::abort();
    if (!m.contains("method") && !m.contains("id")) std::abort();
}

json Message(const char* method, const json& params, int id = -1) {
    json m = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
    if (id >= 0) m["id"] = id;
    return m;
}

void Open(plcc::lsp::Server& server, const std::string& text) {
    server.HandleBody(Message("initialize", json::object(), 1).dump(), Check);
    server.HandleBody(
        Message("textDocument/didOpen", {{"textDocument", {{"uri", "file:///f.plc"}, {"text", text}}}}).dump(),
        Check);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0: {
            std::istringstream in(rest);
            std::ostringstream out, err;
            plcc::lsp::RunLanguageServer(in, out, err);
            std::istringstream written(out.str());
            plcc::lsp::MessageReader reader(written);
            std::string body;
            while (reader.Read(body) == plcc::lsp::ReadStatus::Message) Check(body);
            break;
        }
        case 1: {
            plcc::lsp::Server server;
            Open(server, kProgram);
            server.HandleBody(rest, Check);
            break;
        }
        default: {
            // Only valid UTF-8 reaches a document through JSON; replace the rest.
            const json text = json::parse(json(rest).dump(-1, ' ', false, json::error_handler_t::replace));
            plcc::lsp::Server server;
            Open(server, text.get<std::string>());
            const int line = size > 1 ? data[1] % 16 : 0;
            const int column = size > 2 ? data[2] % 40 : 0;
            const json at = {{"textDocument", {{"uri", "file:///f.plc"}}},
                             {"position", {{"line", line}, {"character", column}}},
                             {"context", {{"includeDeclaration", true}}}};
            for (const char* method : {"textDocument/hover", "textDocument/definition", "textDocument/references",
                                       "textDocument/completion", "textDocument/documentSymbol",
                                       "textDocument/foldingRange", "textDocument/formatting",
                                       "textDocument/codeAction"}) {
                server.HandleBody(Message(method, at, 2).dump(), Check);
            }
            break;
        }
    }
    return 0;
}
