// SPDX-License-Identifier: GPL-3.0-or-later
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

// A line or column as the protocol allows it: an unsigned integer that fits 31 bits.
int32_t PositionNumber(const json& value) {
    constexpr int64_t kMax = INT32_MAX;
    if (value.is_number_unsigned() && value.get<uint64_t>() <= static_cast<uint64_t>(kMax)) {
        return static_cast<int32_t>(value.get<uint64_t>());
    }
    if (value.is_number_integer() && !value.is_number_unsigned() && value.get<int64_t>() >= 0 &&
        value.get<int64_t>() <= kMax) {
        return static_cast<int32_t>(value.get<int64_t>());
    }
    throw RequestError{kInvalidParams, "Invalid params: a position must be an integer from 0 to 2147483647"};
}

// A position of the document as line and byte column.
struct Where {
    int32_t line;
    int32_t column;
};
Where PositionIn(const Document& doc, const json& position) {
    const int32_t line = PositionNumber(position.at("line"));
    return {line, doc.ByteColumn(line, PositionNumber(position.at("character")))};
}
Where At(const Document& doc, const json& params) { return PositionIn(doc, params.at("position")); }

// JSON nested deeper than this is refused before it is parsed: no message of
// the protocol comes near it, and parsing it would cost memory for nothing.
constexpr int kMaxNesting = 64;

bool NestedTooDeep(std::string_view body) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

json Capabilities(PositionEncoding encoding) {
    return {{"positionEncoding", encoding == PositionEncoding::Utf8 ? "utf-8" : "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 2}}},  // incremental
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"referencesProvider", true},
            {"documentSymbolProvider", true},
            {"foldingRangeProvider", true},
            {"documentFormattingProvider", true},
            {"documentRangeFormattingProvider", true},
            {"renameProvider", true},
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
    if (NestedTooDeep(body)) {
        send(Dump(ErrorResponse(nullptr, kParseError,
                                "Parse error: nested deeper than " + std::to_string(kMaxNesting) + " levels")));
        return;
    }
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        send(Dump(ErrorResponse(nullptr, kParseError, "Parse error")));
        return;
    }
    Handle(message, send);
}

void Server::Handle(const json& message, const std::function<void(const std::string&)>& sendText) {
    const auto send = [&sendText](const json& m) { sendText(Dump(m)); };
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
        } catch (const std::exception&) {
            // A malformed notification changes nothing; there is no one to answer.
        } catch (const RequestError&) {
        }
        return;
    }
    const json id = message["id"];
    if (!id.is_number_integer() && !id.is_string()) {
        send(ErrorResponse(nullptr, kInvalidRequest, "Invalid request id"));
        return;
    }
    try {
        // Built in place: a result may be large (the symbols of a long text), and
        // an initializer list would copy it.
        Result result = Request(method, params);
        if (JsonText* text = std::get_if<JsonText>(&result)) {
            sendText(R"({"id":)" + Dump(id) + R"(,"jsonrpc":"2.0","result":)" + text->text + "}");
            return;
        }
        json response = json::object();
        response["jsonrpc"] = "2.0";
        response["id"] = id;
        response["result"] = std::move(std::get<json>(result));
        send(response);
    } catch (const RequestError& e) {
        send(ErrorResponse(id, e.code, e.message));
    } catch (const json::exception& e) {
        send(ErrorResponse(id, kInvalidParams, std::string("Invalid params: ") + e.what()));
    }
}

Server::Result Server::Request(const std::string& method, const json& params) {
    if (m_shutdown) throw RequestError{kInvalidRequest, "Server is shut down"};
    if (method == "initialize") {
        if (m_initialized) throw RequestError{kInvalidRequest, "Server already initialized"};
        // UTF-8 columns when the client offers them, else the protocol's default UTF-16.
        m_encoding = PositionEncoding::Utf16;
        const json* offered = nullptr;
        if (params.is_object() && params.contains("capabilities") && params["capabilities"].is_object() &&
            params["capabilities"].contains("general") && params["capabilities"]["general"].is_object()) {
            const json& general = params["capabilities"]["general"];
            if (general.contains("positionEncodings")) offered = &general["positionEncodings"];
        }
        if (offered != nullptr && offered->is_array()) {
            for (const json& e : *offered) {
                if (e == "utf-8") m_encoding = PositionEncoding::Utf8;
            }
        }
        m_snippets = ClientTakesSnippets(params);
        m_initialized = true;
        return json{{"capabilities", Capabilities(m_encoding)}, {"serverInfo", {{"name", "plcc"}}}};
    }
    if (!m_initialized) throw RequestError{kServerNotInitialized, "Server not initialized"};
    if (method == "shutdown") {
        m_shutdown = true;
        return nullptr;
    }
    using Feature = std::function<Result(const Server&, const Document&, const json&)>;
    static const std::map<std::string, Feature, std::less<>> kFeatures = {
        {"textDocument/hover",
         [](const Server&, const Document& d, const json& p) {
             const Where w = At(d, p);
             return Hover(d, w.line, w.column);
         }},
        {"textDocument/definition",
         [](const Server&, const Document& d, const json& p) {
             const Where w = At(d, p);
             return Definition(d, w.line, w.column);
         }},
        {"textDocument/references",
         [](const Server&, const Document& d, const json& p) {
             const Where w = At(d, p);
             const bool withDeclaration = p.contains("context") && p["context"].value("includeDeclaration", false);
             return References(d, w.line, w.column, withDeclaration);
         }},
        {"textDocument/documentSymbol", [](const Server&, const Document& d, const json&) { return DocumentSymbols(d); }},
        {"textDocument/foldingRange", [](const Server&, const Document& d, const json&) { return FoldingRanges(d); }},
        {"textDocument/formatting", [](const Server&, const Document& d, const json&) { return Formatting(d); }},
        {"textDocument/rangeFormatting",
         [](const Server&, const Document& d, const json& p) {
             const json& range = p.at("range");
             const Where from = PositionIn(d, range.at("start"));
             const Where to = PositionIn(d, range.at("end"));
             // A range that ends at the start of a line leaves that line out.
             return RangeFormatting(d, from.line, to.column == 0 && to.line > from.line ? to.line - 1 : to.line);
         }},
        {"textDocument/codeAction", [](const Server&, const Document& d, const json&) { return CodeActions(d); }},
        {"textDocument/rename",
         [](const Server&, const Document& d, const json& p) {
             const Where w = At(d, p);
             std::string refusal;
             json edit = Rename(d, w.line, w.column, p.at("newName").get<std::string>(), refusal);
             if (!refusal.empty()) throw RequestError{kRequestFailed, refusal};
             return edit;
         }},
        {"textDocument/semanticTokens/full",
         [](const Server&, const Document& d, const json&) { return SemanticTokens(d); }},
        {"textDocument/completion",
         [](const Server& server, const Document& d, const json& p) {
             const Where w = At(d, p);
             return Completion(d, w.line, w.column, server.m_snippets);
         }},
    };
    const auto feature = kFeatures.find(method);
    if (feature == kFeatures.end()) throw RequestError{kMethodNotFound, "Method not found: " + method};
    const Document* doc = Find(UriOf(params));
    if (doc == nullptr) throw RequestError{kInvalidParams, "Document not open: " + UriOf(params)};
    Result result = feature->second(*this, *doc, params);
    if (json* value = std::get_if<json>(&result)) doc->ToClientColumns(*value);
    return result;
}

void Server::Notification(const std::string& method, const json& params,
                          const std::function<void(const json&)>& send) {
    if (method == "exit") {
        m_exit = true;
        return;
    }
    if (!m_initialized || m_shutdown) return;
    if (method == "textDocument/didOpen") {
        const json& item = params.at("textDocument");
        std::string uri = item.at("uri").get<std::string>();
        std::string text = item.at("text").get<std::string>();  // both read before anything changes
        Document& doc = m_documents[uri];
        doc.uri = std::move(uri);
        doc.encoding = m_encoding;
        doc.SetText(std::move(text));
        Publish(doc, send);
    } else if (method == "textDocument/didChange") {
        const auto it = m_documents.find(UriOf(params));
        const json& changes = params.at("contentChanges");
        if (it == m_documents.end() || !changes.is_array() || changes.empty()) return;
        // Each change in order: a range replaces that part of the text, a
        // change without one is the whole text.
        Document& doc = it->second;
        for (const json& change : changes) {
            const std::string& text = change.at("text").get_ref<const std::string&>();
            if (change.contains("range")) {
                const json& range = change["range"];
                const int32_t line = PositionNumber(range.at("start").at("line"));
                const int32_t endLine = PositionNumber(range.at("end").at("line"));
                doc.ApplyChange(line, PositionNumber(range["start"].at("character")), endLine,
                                PositionNumber(range["end"].at("character")), text);
            } else {
                doc.SetText(text);
            }
        }
        Publish(doc, send);
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
    json diagnostics = Diagnostics(doc);
    doc.ToClientColumns(diagnostics);
    send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", doc.uri}, {"diagnostics", std::move(diagnostics)}}}});
}

int RunLanguageServer(std::istream& in, std::ostream& out, std::ostream& err) {
    Server server;
    bool writable = true;
    auto send = [&out, &writable](const std::string& body) {
        if (writable) writable = WriteMessage(out, body);
    };
    MessageReader reader(in);
    std::string body;
    for (;;) {
        switch (reader.Read(body)) {
            case ReadStatus::End: return server.ExitCode();  // the client closed the stream
            case ReadStatus::Broken:
                err << "plcc lsp: " << body << "; no later message can be found, so the server stops\n";
                err.flush();
                return 1;
            case ReadStatus::TooLarge:
                send(Dump(ErrorResponse(nullptr, kInvalidRequest,
                                        "Message larger than " + std::to_string(kMaxBodySize >> 20) + " MiB")));
                continue;
            case ReadStatus::Message: break;
        }
        server.HandleBody(body, send);
        if (server.ExitRequested()) return server.ExitCode();
    }
}

}  // namespace plcc::lsp
