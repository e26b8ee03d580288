// SPDX-License-Identifier: GPL-3.0-or-later
// The language server: the protocol's lifecycle, the open documents, and the
// dispatch of each request or notification to its feature. It works on
// message bodies, so that tests, the benchmark and the fuzz target drive it
// in-process; RunLanguageServer adds the framed transport.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/plcc/LspDocument.h"

namespace plcc::lsp {

// JSON-RPC error codes.
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestFailed = -32803;

class Server {
public:
    // Handles one message body; `send` receives each message body to write, in order.
    void HandleBody(std::string_view body, const std::function<void(const std::string&)>& send);
    // As HandleBody, for a message already parsed.
    void Handle(const json& message, const std::function<void(const std::string&)>& send);

    bool ExitRequested() const { return m_exit; }
    // 0 when the client asked for shutdown before exit, 1 otherwise.
    int ExitCode() const { return m_shutdown ? 0 : 1; }
    const Document* Find(const std::string& uri) const;

private:
    // A request's result: a value, or JSON text for the answers written straight out.
    using Result = std::variant<json, JsonText>;
    Result Request(const std::string& method, const json& params);
    void Notification(const std::string& method, const json& params, const std::function<void(const json&)>& send);
    void Publish(const Document& doc, const std::function<void(const json&)>& send);

    std::map<std::string, Document, std::less<>> m_documents;
    bool m_initialized = false;
    bool m_snippets = false;  // the client takes snippets in completion items
    bool m_shutdown = false;
    bool m_exit = false;
    PositionEncoding m_encoding = PositionEncoding::Utf16;
};

// The message loop on framed streams; returns the exit status of `plcc lsp`.
// A header block that breaks the framing ends it with a line on `err` and 1.
int RunLanguageServer(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace plcc::lsp
