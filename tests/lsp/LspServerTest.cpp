// The language server's handlers in-process: each capability once on small
// programmes, and the protocol's error paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "apps/plcc/LspServer.h"
#include "apps/plcc/LspTransport.h"

namespace plcc::lsp {
namespace {

const char* const kWithError =
    "%TEXT(Demo)\r\n"           // 0
    "DEF H5 = Speed\r\n"        // 1
    "END\r\n"                   // 2
    "%P00\r\n"                  // 3
    "N010 SET H5 = 3\r\n"       // 4
    "N020 JMP (H5 = 0) N010\r\n"  // 5
    "N030 CALL N090\r\n"        // 6
    "END\r\n";                  // 7
const char* const kCompiles = "%P00\nN5 nop ; rest\nN7 jmp n5\nEND";
const char* const kEditing =
    "%TEXT(E)\nDEF F2 = Gain\nEND\n%P00\nN010 SE\nN020 SETF1 = \nN030 JMP(STA_\nN040 JMP (IE3 = 1) N010\n"
    "N050 SET INPOSWINDOW = H5\nEND";

class LspServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Send({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
        for (const auto& [uri, text] : {std::pair{"file:///err.plc", kWithError}, {"file:///ok.plc", kCompiles},
                                        {"file:///edit.plc", kEditing}}) {
            Send({{"jsonrpc", "2.0"},
                  {"method", "textDocument/didOpen"},
                  {"params", {{"textDocument", {{"uri", uri}, {"languageId", "plc"}, {"version", 1}, {"text", text}}}}}});
        }
    }
    std::vector<json> Send(const json& message) {
        std::vector<json> out;
        server.HandleBody(message.dump(), [&out](const std::string& body) { out.push_back(json::parse(body)); });
        sent.insert(sent.end(), out.begin(), out.end());
        return out;
    }
    json Request(const std::string& method, const json& params) {
        const std::vector<json> out = Send({{"jsonrpc", "2.0"}, {"id", 7}, {"method", method}, {"params", params}});
        return out.size() == 1 ? out[0] : json();
    }
    Server server;
    std::vector<json> sent;
};

json At(const char* uri, int line, int character) {
    return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}
json Refs(json params, bool withDeclaration) {
    params["context"] = {{"includeDeclaration", withDeclaration}};
    return params;
}
json Doc(const char* uri) { return {{"textDocument", {{"uri", uri}}}}; }
json Loc(const char* uri, int line, int from, int to) {
    return {{"uri", uri}, {"range", {{"start", {{"line", line}, {"character", from}}}, {"end", {{"line", line}, {"character", to}}}}}};
}

TEST_F(LspServerTest, PublishesTheCompilersErrorsOnOpenAndChange) {
    ASSERT_EQ(sent.size(), 4u);  // the initialize response and one publication per document
    // Each code links to its entry in the help beside the server.
    json diagnostics = sent[1]["params"]["diagnostics"];
    ASSERT_EQ(diagnostics.size(), 1u);
    const std::string href = diagnostics[0]["codeDescription"]["href"];
    EXPECT_EQ(href.rfind("file:///", 0), 0u);
    EXPECT_TRUE(href.ends_with("/errors.html#error30")) << href;
    EXPECT_TRUE(std::filesystem::exists(href.substr(7, href.find('#') - 7)));
    diagnostics[0].erase("codeDescription");
    EXPECT_EQ(diagnostics,
              json::parse(R"j([{"range":{"start":{"line":6,"character":10},"end":{"line":6,"character":14}},
                "severity":1,"code":"ERR(30)","source":"plcc",
                "message":"Jump destination JMP (...) Nxxx not available."}])j"));
    EXPECT_EQ(sent[2]["params"]["diagnostics"], json::array());

    // A change that leaves the programme open reports at its head; fixing it clears the list.
    const auto change = [this](const char* text) {
        return Send({{"jsonrpc", "2.0"},
                     {"method", "textDocument/didChange"},
                     {"params", {{"textDocument", {{"uri", "file:///ok.plc"}, {"version", 2}}},
                                 {"contentChanges", {{{"text", text}}}}}}});
    };
    std::vector<json> out = change("%P00\nN5 NOP\n");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0]["params"]["diagnostics"][0]["code"], "ERR(09)");
    EXPECT_EQ(out[0]["params"]["diagnostics"][0]["range"]["start"]["line"], 0);
    out = change(kCompiles);
    EXPECT_EQ(out[0]["params"]["diagnostics"], json::array());
}

struct FeatureCase {
    const char* name;
    const char* method;
    json params;
    const char* pointer;  // into the response
    json expected;
};

TEST_F(LspServerTest, AnswersEachFeature) {
    const char* err = "file:///err.plc";
    const char* ok = "file:///ok.plc";
    const char* edit = "file:///edit.plc";
    const std::vector<FeatureCase> cases = {
        {"hover on a variable", "textDocument/hover", At(err, 5, 11), "/result/contents/value",
         "```\nH005\n```\n\ninteger variable, DEF name Speed (line 2)"},
        {"hover on a jump target", "textDocument/hover", At(err, 5, 20), "/result/contents/value",
         "```\nN010 SET H5 = 3\n```\n\nline 5"},
        {"hover on a keyword", "textDocument/hover", At(ok, 2, 4), "/result/contents/value",
         "```\nJMP Nxxx\n```\n\ncompiles to opcode 1, record kind 1\n\nForms:\n- JMP Nxxx (opcode 1)"},
        {"definition of a label", "textDocument/definition", At(err, 5, 20), "/result", Loc(err, 4, 0, 4)},
        {"definition of a variable", "textDocument/definition", At(err, 4, 10), "/result", Loc(err, 1, 9, 14)},
        {"definition of a missing label", "textDocument/definition", At(err, 6, 11), "/result", json(nullptr)},
        {"references of a variable", "textDocument/references",
         Refs(At(err, 4, 10), false), "/result",
         json::array({Loc(err, 4, 9, 11), Loc(err, 5, 10, 12)})},
        {"references of a label", "textDocument/references",
         Refs(At(err, 4, 1), true), "/result",
         json::array({Loc(err, 4, 0, 4), Loc(err, 5, 18, 22)})},
        {"symbols", "textDocument/documentSymbol", Doc(err), "/result/1/children/1/detail", "JMP (H5 = 0) N010"},
        {"folding", "textDocument/foldingRange", Doc(err), "/result",
         json::parse(R"([{"startLine":0,"endLine":2,"kind":"region"},{"startLine":3,"endLine":7,"kind":"region"}])")},
        {"formatting", "textDocument/formatting", Doc(ok), "/result/0/newText",
         "%P00\nN005 NOP\t\t; rest\nN007 JMP N005\nEND"},
        {"no formatting with errors", "textDocument/formatting", Doc(err), "/result", json(nullptr)},
        {"renumber action", "textDocument/codeAction", Doc(ok), "/result/0/edit/changes/file:~1~1~1ok.plc/0/newText",
         "%P00\nN010 NOP\t\t; rest\nN020 JMP N010\nEND"},
        {"no action with errors", "textDocument/codeAction", Doc(err), "/result", json::array()},
        {"keywords after a bare label", "textDocument/completion", At(err, 4, 5), "/result/0/textEdit/newText",
         "JMP N"},
        {"hover on an input", "textDocument/hover", At(edit, 7, 11), "/result/contents/value",
         "```\nIE03\n```\n\ninput 7 of the drive (group IE, number 3)"},
        {"keywords after a label", "textDocument/completion", At(edit, 4, 7), "/result/0/textEdit/newText",
         "SET OUTPUT = H"},
        {"named variables where the form takes them", "textDocument/completion", At(edit, 5, 13), "/result/0/label",
         "F002"},
        {"labels after a call", "textDocument/completion", At(err, 6, 10), "/result/3/textEdit/newText", "CALL N030"},
        {"status flags in a condition", "textDocument/completion", At(edit, 6, 13), "/result/0/label", "STA_ERR"},
        {"semantic tokens: section, label, keyword, comment, jump target", "textDocument/semanticTokens/full",
         Doc(ok), "/result/data",
         json::array({0, 0, 4, 1, 0, 1, 0, 2, 2, 0, 0, 3, 3, 3, 0, 0, 4, 6, 0, 0,
                      1, 0, 2, 2, 0, 0, 3, 3, 3, 0, 0, 4, 2, 2, 0, 1, 0, 3, 1, 0})},
        {"semantic tokens: a DEF name", "textDocument/semanticTokens/full", Doc(err), "/result/data/18", 5},
        {"unknown method", "textDocument/rename", At(err, 4, 0), "/error/code", kMethodNotFound},
        {"document not open", "textDocument/hover", At("file:///none.plc", 0, 0), "/error/code", kInvalidParams},
        {"malformed params", "textDocument/hover", Doc(err), "/error/code", kInvalidParams},
    };
    for (const FeatureCase& c : cases) {
        const json response = Request(c.method, c.params);
        const json::json_pointer pointer(c.pointer);
        ASSERT_TRUE(response.contains(pointer)) << c.name << ": " << response.dump();
        EXPECT_EQ(response.at(pointer), c.expected) << c.name << ": " << response.dump();
    }
}

// A client that takes snippets gets each statement form whole, with a tab
// stop per operand; the others get the canonical text up to the first one.
TEST(LspCompletionSnippets, FollowTheClientsCapability) {
    for (const bool snippets : {true, false}) {
        Server server;
        json item;
        const auto send = [&server, &item](const json& message) {
            server.Handle(message, [&item](const json& m) {
                if (m.contains("result") && m["result"].is_array() && !m["result"].empty()) item = m["result"][0];
            });
        };
        json capabilities = json::object();
        capabilities["textDocument"]["completion"]["completionItem"]["snippetSupport"] = snippets;
        send({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", capabilities}}}});
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", "file:///s.plc"}, {"text", "%P00\nN010 \nEND"}}}}}});
        send({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "textDocument/completion"}, {"params", At("file:///s.plc", 1, 5)}});
        EXPECT_EQ(item["textEdit"]["newText"], snippets ? "JMP N${1:xxx}" : "JMP N") << item.dump();
        EXPECT_EQ(item.contains("insertTextFormat"), snippets) << item.dump();
    }
}

// What arrives on the wire: framing, garbage, and the end of the session.
TEST(LspMessageLoop, SurvivesBadInputAndStopsOnExitOrEndOfInput) {
    const auto frame = [](const std::string& body) {
        return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    };
    const std::string request = R"({"jsonrpc":"2.0","id":1,"method":"textDocument/hover","params":{}})";
    struct LoopCase {
        std::string input;
        int exitCode;
        std::vector<int> errorCodes;  // of the responses in order (0: a result)
    };
    const std::vector<LoopCase> cases = {
        {frame(request), 1, {kServerNotInitialized}},
        {"Content-Type: x\r\n\r\n" + frame("{not json") + frame("[1,2]"), 1, {kParseError, kInvalidRequest}},
        {frame(R"({"jsonrpc":"2.0","id":1,"method":"initialize"})") + frame(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})") +
             frame(R"({"jsonrpc":"2.0","method":"exit"})") + frame(request),
         0, {0, 0}},
        {"Content-Length: 99999999999999999999\r\n\r\n" + frame(R"({"jsonrpc":"2.0","method":"exit"})"), 1, {}},
        {"Content-Length: 50\r\n\r\n{\"jsonrpc\"", 1, {}},
    };
    for (const LoopCase& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        EXPECT_EQ(RunLanguageServer(in, out), c.exitCode) << c.input;
        std::istringstream written(out.str());
        std::vector<int> codes;
        std::string body;
        while (ReadMessage(written, body) == ReadStatus::Message) {
            const json m = json::parse(body);
            codes.push_back(m.contains("error") ? m["error"]["code"].get<int>() : 0);
        }
        EXPECT_EQ(codes, c.errorCodes) << c.input;
    }
}

}  // namespace
}  // namespace plcc::lsp
