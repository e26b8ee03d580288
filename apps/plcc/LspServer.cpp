// The message loop and the dispatch: requests get a result or an error
// response, notifications change the documents and publish diagnostics.
#include "apps/plcc/LspServer.h"

#include "apps/plcc/LspTransport.h"

namespace plcc::lsp {

namespace {

struct RequestError {
    int code;
    std::string message;
};

std::string Dump(const json& message) {
    // Text of the document goes out byte for byte where it is valid UTF-8;
    // anything else is replaced rather than failing the whole message.
    return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

json ErrorResponse(const json& id, int code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

const std::string& UriOf(const json& params) { return params.at("textDocument").at("uri").get_ref<const std::string&>(); }

int32_t LineOf(const json& params) { return params.at("position").at("line").get<int32_t>(); }
int32_t ColumnOf(const json& params) { return params.at("position").at("character").get<int32_t>(); }

json Capabilities() {
    return {{"textDocumentSync", {{"openClose", true}, {"change", 1}}},
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"referencesProvider", true},
            {"documentSymbolProvider", true},
            {"foldingRangeProvider", true},
            {"documentFormattingProvider", true},
            {"codeActionProvider", {{"codeActionKinds", json::array({"source"})}}},
            {"semanticTokensProvider", {{"legend", SemanticTokensLegend()}, {"full", true}}},
            {"completionProvider", {{"triggerCharacters", json::array({"(", "=", " ", "N", "[", ","})}}}};
}

}  // namespace

const Document* Server::Find(const std::string& uri) const {
    const auto it = m_documents.find(uri);
    return it == m_documents.end() ? nullptr : &it->second;
}

void Server::HandleBody(std::string_view body, const std::function<void(const std::string&)>& send) {
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        send(Dump(ErrorResponse(nullptr, kParseError, "Parse error")));
        return;
    }
    Handle(message, [&send](const json& m) { send(Dump(m)); });
}

void Server::Handle(const json& message, const std::function<void(const json&)>& send) {
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
        // Responses to requests this server never sends are dropped; anything else is invalid.
        if (message.is_object() && message.contains("id") && !message.contains("result") && !message.contains("error")) {
            send(ErrorResponse(message["id"], kInvalidRequest, "Invalid request"));
        } else if (!message.is_object()) {
            send(ErrorResponse(nullptr, kInvalidRequest, "Invalid request"));
        }
        return;
    }
    const std::string method = message["method"].get<std::string>();
    const json params = message.contains("params") ? message["params"] : json::object();
    if (!message.contains("id")) {
        try {
            Notification(method, params, send);
        } catch (const json::exception&) {
            // A malformed notification changes nothing; there is no one to answer.
        }
        return;
    }
    const json id = message["id"];
    if (!id.is_number_integer() && !id.is_string()) {
        send(ErrorResponse(nullptr, kInvalidRequest, "Invalid request id"));
        return;
    }
    try {
        send({{"jsonrpc", "2.0"}, {"id", id}, {"result", Request(method, params)}});
    } catch (const RequestError& e) {
        send(ErrorResponse(id, e.code, e.message));
    } catch (const json::exception& e) {
        send(ErrorResponse(id, kInvalidParams, std::string("Invalid params: ") + e.what()));
    }
}

json Server::Request(const std::string& method, const json& params) {
    if (method == "initialize") {
        m_initialized = true;
        m_snippets = ClientTakesSnippets(params);
        return {{"capabilities", Capabilities()}, {"serverInfo", {{"name", "plcc"}}}};
    }
    if (!m_initialized) throw RequestError{kServerNotInitialized, "Server not initialized"};
    if (method == "shutdown") {
        m_shutdown = true;
        return nullptr;
    }
    using Feature = json (*)(const Document&, const json&);
    static const std::map<std::string, Feature, std::less<>> kFeatures = {
        {"textDocument/hover", [](const Document& d, const json& p) { return Hover(d, LineOf(p), ColumnOf(p)); }},
        {"textDocument/definition",
         [](const Document& d, const json& p) { return Definition(d, LineOf(p), ColumnOf(p)); }},
        {"textDocument/references",
         [](const Document& d, const json& p) {
             const bool withDeclaration = p.contains("context") && p["context"].value("includeDeclaration", false);
             return References(d, LineOf(p), ColumnOf(p), withDeclaration);
         }},
        {"textDocument/documentSymbol", [](const Document& d, const json&) { return DocumentSymbols(d); }},
        {"textDocument/foldingRange", [](const Document& d, const json&) { return FoldingRanges(d); }},
        {"textDocument/formatting", [](const Document& d, const json&) { return Formatting(d); }},
        {"textDocument/codeAction", [](const Document& d, const json&) { return CodeActions(d); }},
        {"textDocument/semanticTokens/full", [](const Document& d, const json&) { return SemanticTokens(d); }},
    };
    const auto feature = kFeatures.find(method);
    const bool completion = method == "textDocument/completion";
    if (feature == kFeatures.end() && !completion) throw RequestError{kMethodNotFound, "Method not found: " + method};
    const Document* doc = Find(UriOf(params));
    if (doc == nullptr) throw RequestError{kInvalidParams, "Document not open: " + UriOf(params)};
    if (completion) return Completion(*doc, LineOf(params), ColumnOf(params), m_snippets);
    return feature->second(*doc, params);
}

void Server::Notification(const std::string& method, const json& params,
                          const std::function<void(const json&)>& send) {
    if (method == "exit") {
        m_exit = true;
        return;
    }
    if (!m_initialized) return;
    if (method == "textDocument/didOpen") {
        const json& item = params.at("textDocument");
        std::string uri = item.at("uri").get<std::string>();
        std::string text = item.at("text").get<std::string>();  // both read before anything changes
        Document& doc = m_documents[uri];
        doc.uri = std::move(uri);
        doc.SetText(std::move(text));
        Publish(doc, send);
    } else if (method == "textDocument/didChange") {
        const auto it = m_documents.find(UriOf(params));
        const json& changes = params.at("contentChanges");
        if (it == m_documents.end() || !changes.is_array() || changes.empty()) return;
        // Full synchronisation: the last change holds the whole text.
        it->second.SetText(changes.back().at("text").get<std::string>());
        Publish(it->second, send);
    } else if (method == "textDocument/didClose") {
        const auto it = m_documents.find(UriOf(params));
        if (it == m_documents.end()) return;
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/publishDiagnostics"},
              {"params", {{"uri", it->first}, {"diagnostics", json::array()}}}});
        m_documents.erase(it);
    }
}

void Server::Publish(const Document& doc, const std::function<void(const json&)>& send) {
    send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", doc.uri}, {"diagnostics", Diagnostics(doc)}}}});
}

int RunLanguageServer(std::istream& in, std::ostream& out) {
    Server server;
    bool writable = true;
    auto send = [&out, &writable](const std::string& body) {
        if (writable) writable = WriteMessage(out, body);
    };
    std::string body;
    for (;;) {
        const ReadStatus status = ReadMessage(in, body);
        if (status == ReadStatus::End) return server.ExitCode();  // the client closed the stream
        if (status == ReadStatus::Malformed) continue;
        server.HandleBody(body, send);
        if (server.ExitRequested()) return server.ExitCode();
    }
}

}  // namespace plcc::lsp
