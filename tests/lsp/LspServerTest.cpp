// SPDX-License-Identifier: GPL-3.0-or-later
// The language server's handlers in-process: each capability once on small
// programmes, and the protocol's error paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "apps/plcc/LspHelp.h"
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
const char* const kWide = "%P00\nN1 NOP ; \u00e4\u00f6\U0001F600\nN2 JMP N1\nEND";  // 13 UTF-16 units, 17 bytes
const char* const kEditing =
    "%TEXT(E)\nDEF F2 = Gain\nEND\n%P00\nN010 SE\nN020 SETF1 = \nN030 JMP(STA_\nN040 JMP (IE3 = 1) N010\n"
    "N050 SET INPOSWINDOW = H5\nN060 SET F2 = actpos\nEND";

class LspServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const json snippets = {{"textDocument", {{"completion", {{"completionItem", {{"snippetSupport", true}}}}}}}};
        Send({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", snippets}}}});
        for (const auto& [uri, text] : {std::pair{"file:///err.plc", kWithError}, {"file:///ok.plc", kCompiles},
                                        {"file:///edit.plc", kEditing}, {"file:///wide.plc", kWide}}) {
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
json Renamed(json params, const char* newName) {
    params["newName"] = newName;
    return params;
}
json Doc(const char* uri) { return {{"textDocument", {{"uri", uri}}}}; }
json Loc(const char* uri, int line, int from, int to) {
    return {{"uri", uri}, {"range", {{"start", {{"line", line}, {"character", from}}}, {"end", {{"line", line}, {"character", to}}}}}};
}
// A hover's text as it ends: with the link to the help page that explains it.
std::string Linked(const std::string& text, const char* page) { return text + "\n\n[Help](" + HelpAddress(page) + ")"; }
json Edit(const char* uri, int line, int from, int to, const char* text) {
    return {{"range", Loc(uri, line, from, to)["range"]}, {"newText", text}};
}

TEST_F(LspServerTest, PublishesTheCompilersErrorsOnOpenAndChange) {
    ASSERT_EQ(sent.size(), 5u);  // the initialize response and one publication per document
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
    // A programme that compiles gets the analysis's warnings: N7 is never reached.
    out = change("%P00\nN5 NOP\nN6 JMP END\nN7 NOP\nEND");
    ASSERT_EQ(out[0]["params"]["diagnostics"].size(), 1u) << out[0].dump();
    EXPECT_EQ(out[0]["params"]["diagnostics"][0]["code"], "W01");
    EXPECT_EQ(out[0]["params"]["diagnostics"][0]["severity"], 2);
    EXPECT_EQ(out[0]["params"]["diagnostics"][0]["range"]["start"]["line"], 3);
    // A text that begins with a byte-order mark compiles after it; the client
    // counts the mark as one column of the first line.
    out = change("\xEF\xBB\xBF%TEXT(Abc)\nEND\n%P00\nN5 NOP\nEND");
    EXPECT_EQ(out[0]["params"]["diagnostics"], json::array());
    const json head = Request("textDocument/semanticTokens/full", Doc("file:///ok.plc"))["result"]["data"];
    ASSERT_GE(head.size(), 3u) << head.dump();
    EXPECT_EQ(head[0], 0);  // line
    EXPECT_EQ(head[1], 1);  // after the mark
    EXPECT_EQ(head[2], 10);  // "%TEXT(Abc)"
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
         Linked("```\nH005\n```\n\ninteger variable, DEF name Speed (line 2)", "language.html#variables")},
        {"hover on a jump target", "textDocument/hover", At(err, 5, 20), "/result/contents/value",
         Linked("```\nN010 SET H5 = 3\n```\n\nline 5", "index.html#language")},
        {"hover on a keyword", "textDocument/hover", At(ok, 2, 4), "/result/contents/value",
         Linked("```\nJMP Nxxx\n```\n\ncompiles to opcode 1, record kind 1\n\nForms:\n- JMP Nxxx (opcode 1)", "flow.html#kw0")},
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
        {"formatting leaves faulty lines", "textDocument/formatting", Doc(err), "/result/0/newText",
         "%TEXT(Demo)\r\nDEF H5 = Speed\r\nEND\r\n%P00\r\nN010 SET H005 = 3\r\nN020 JMP (H005 = 0) N010\r\n"
         "N030 CALL N090\r\nEND\r\n"},
        {"range formatting", "textDocument/rangeFormatting",
         {{"textDocument", {{"uri", err}}},
          {"range", {{"start", {{"line", 5}, {"character", 3}}}, {"end", {{"line", 7}, {"character", 0}}}}}},
         "/result", json::array({Edit(err, 5, 0, 22, "N020 JMP (H005 = 0) N010")})},
        {"renumber action", "textDocument/codeAction", Doc(ok), "/result/0/edit/changes/file:~1~1~1ok.plc/0/newText",
         "%P00\nN010 NOP\t\t; rest\nN020 JMP N010\nEND"},
        {"no action with errors", "textDocument/codeAction", Doc(err), "/result", json::array()},
        {"keywords after a bare label", "textDocument/completion", At(err, 4, 5), "/result/0/textEdit/newText",
         "JMP N${1:xxx}"},
        {"hover on an input", "textDocument/hover", At(edit, 7, 11), "/result/contents/value",
         Linked("```\nIE03\n```\n\ninput 7 of the drive (group IE, number 3)", "names.html#io")},
        {"help link of a statement form", "textDocument/completion", At(edit, 4, 7), "/result/0/documentation/value",
         "[Help](" + HelpAddress("outputs.html#kw23") + ")"},
        {"hover on a drive value", "textDocument/hover", At(edit, 9, 15), "/result/contents/value",
         Linked("```\nACTPOS\n```\n\ndrive value 2 read into a float variable (SET Fxxx = ACTPOS, opcode 44)\n\n"
                "what it holds and in which units is in the drive's manual",
                "names.html#values")},
        {"keywords after a label", "textDocument/completion", At(edit, 4, 7), "/result/0/textEdit/newText",
         "SET OUTPUT = H${1:xxx}"},
        {"named variables where the form takes them", "textDocument/completion", At(edit, 5, 13), "/result/0/label",
         "F002"},
        {"labels after a call", "textDocument/completion", At(err, 6, 10), "/result/2/textEdit/newText", "CALL N030"},
        {"status flags in a condition", "textDocument/completion", At(edit, 6, 13), "/result/0/label", "STA_ERR"},
        {"semantic tokens: section, label, keyword, comment, jump target", "textDocument/semanticTokens/full",
         Doc(ok), "/result/data",
         json::array({0, 0, 4, 1, 0, 1, 0, 2, 2, 0, 0, 3, 3, 3, 0, 0, 4, 6, 0, 0,
                      1, 0, 2, 2, 0, 0, 3, 3, 3, 0, 0, 4, 2, 2, 0, 1, 0, 3, 1, 0})},
        {"semantic tokens: a DEF name", "textDocument/semanticTokens/full", Doc(err), "/result/data/18", 5},
        {"columns in UTF-16 units", "textDocument/documentSymbol", Doc("file:///wide.plc"),
         "/result/0/children/0/range/end/character", 13},
        {"semantic tokens in UTF-16 units: the comment's length", "textDocument/semanticTokens/full",
         Doc("file:///wide.plc"), "/result/data/17", 6},
        {"unknown method", "textDocument/typeDefinition", At(err, 4, 0), "/error/code", kMethodNotFound},
        {"rename a label with its jumps", "textDocument/rename", Renamed(At(err, 4, 1), "n15"),
         "/result/changes/file:~1~1~1err.plc",
         json::array({Edit(err, 4, 0, 4, "N015"), Edit(err, 5, 18, 22, "N015")})},
        {"rename to a label that exists", "textDocument/rename", Renamed(At(err, 4, 1), "N020"), "/error/message",
         "The label N020 exists already"},
        {"rename out of order", "textDocument/rename", Renamed(At(err, 5, 1), "N031"), "/error/message",
         "The label N031 would break the ascending order of the labels (N010 before, N030 after)"},
        {"rename a DEF name", "textDocument/rename", Renamed(At(err, 4, 10), "Rate"),
         "/result/changes/file:~1~1~1err.plc", json::array({Edit(err, 1, 9, 14, "Rate")})},
        {"rename to what is no name", "textDocument/rename", Renamed(At(err, 4, 10), "a;b"), "/error/code",
         kRequestFailed},
        {"document not open", "textDocument/hover", At("file:///none.plc", 0, 0), "/error/code", kInvalidParams},
        {"malformed params", "textDocument/hover", Doc(err), "/error/code", kInvalidParams},
    };
    for (const FeatureCase& c : cases) {
        const json response = Request(c.method, c.params);
        const json::json_pointer pointer(c.pointer);
        ASSERT_TRUE(response.contains(pointer)) << c.name << ": " << response.dump();
        EXPECT_EQ(response.at(pointer), c.expected) << c.name << ": " << response.dump();
    }
    // The links find their pages and anchors in the help beside the server.
    for (const auto& [page, anchor] : {std::pair{"outputs.html", "kw23"}, {"flow.html", "kw0"},
                                       {"language.html", "variables"}, {"names.html", "io"},
                                       {"index.html", "language"}, {"names.html", "values"}}) {
        const std::string address = HelpAddress(page);
        ASSERT_EQ(address.rfind("file:///", 0), 0u) << page;
        std::ifstream in(address.substr(7));
        const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(html.find("id=\"" + std::string(anchor) + "\""), std::string::npos) << page << "#" << anchor;
    }
}

// A client that takes snippets gets each statement form whole, with a tab
// stop per operand; the others get the canonical text up to the first one.
TEST(LspCompletionSnippets, FollowTheClientsCapability) {
    for (const bool snippets : {true, false}) {
        Server server;
        json item;
        const auto send = [&server, &item](const json& message) {
            server.Handle(message, [&item](const std::string& body) {
                const json m = json::parse(body);
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

// Changes with a range replace that part, counted in the client's columns;
// a text beyond the bounds gets one diagnostic and takes no partial change.
TEST_F(LspServerTest, AppliesIncrementalChangesInClientColumns) {
    const char* uri = "file:///wide.plc";
    const auto change = [this, uri](json changes) {
        return Send({{"jsonrpc", "2.0"},
                     {"method", "textDocument/didChange"},
                     {"params", {{"textDocument", {{"uri", uri}, {"version", 2}}}, {"contentChanges", changes}}}});
    };
    const auto edit = [](int line, int from, int to, const std::string& text) {
        return json{{"range", {{"start", {{"line", line}, {"character", from}}}, {"end", {{"line", line}, {"character", to}}}}},
                    {"text", text}};
    };
    change(json::array({edit(1, 13, 13, " x"), edit(2, 7, 9, "N9")}));
    EXPECT_EQ(server.Find(uri)->text, "%P00\nN1 NOP ; \u00e4\u00f6\U0001F600 x\nN2 JMP N9\nEND");
    std::vector<json> out = change(json::array({edit(2, 7, 9, "N1")}));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0]["params"]["diagnostics"], json::array());

    std::string huge = "%P00\n";
    for (size_t i = 0; i < kMaxDocumentLines; ++i) huge += "\n";
    out = change(json::array({{{"text", huge}}}));
    ASSERT_EQ(out[0]["params"]["diagnostics"].size(), 1u);
    EXPECT_NE(out[0]["params"]["diagnostics"][0]["message"].get<std::string>().find("65538 lines"), std::string::npos);
    out = change(json::array({edit(0, 0, 0, "x")}));
    EXPECT_EQ(out[0]["params"]["diagnostics"].size(), 1u);
    out = change(json::array({{{"text", kWide}}}));
    EXPECT_EQ(out[0]["params"]["diagnostics"], json::array());
}

// What arrives on the wire: framing, garbage, and the end of the session.
TEST(LspMessageLoop, SurvivesBadInputAndStopsOnExitOrEndOfInput) {
    const auto frame = [](const std::string& body) {
        return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    };
    const std::string request = R"({"jsonrpc":"2.0","id":1,"method":"textDocument/hover","params":{}})";
    const std::string init = frame(R"({"jsonrpc":"2.0","id":1,"method":"initialize"})");
    const std::string shutdown = frame(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})");
    const std::string exit = frame(R"({"jsonrpc":"2.0","method":"exit"})");
    const auto hoverAt = [&frame](const std::string& line, const std::string& character) {
        return frame(R"({"jsonrpc":"2.0","id":3,"method":"textDocument/hover","params":{"textDocument":{"uri":"u"},)"
                     R"("position":{"line":)" + line + R"(,"character":)" + character + "}}}");
    };
    const std::string open = frame(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":)"
                                   R"({"uri":"u","text":"%P00\nN1 NOP\nEND"}}})");
    struct LoopCase {
        std::string input;
        int exitCode;
        std::vector<int> errorCodes;  // of the responses in order (0: a result)
        bool complains = false;       // a line on stderr
    };
    const std::vector<LoopCase> cases = {
        {frame(request), 1, {kServerNotInitialized}},
        {"Content-Type: x\r\nContent-Length: 9\r\n\r\n{not json" + frame("[1,2]"), 1,
         {kParseError, kInvalidRequest}},
        {init + shutdown + exit + frame(request), 0, {0, 0}},
        {init + shutdown + frame(request) + init + shutdown + exit, 0, {0, 0, kInvalidRequest, kInvalidRequest,
                                                                         kInvalidRequest}},
        {init + init + exit, 1, {0, kInvalidRequest}},
        // Framing that cannot be recovered ends the session with a word on stderr.
        {"Content-Type: x\r\n\r\n" + frame(request), 1, {}, true},
        {"Content-Length: -2\r\n\r\n" + exit, 1, {}, true},
        {"Content-Length: +2\r\n\r\n{}" + exit, 1, {}, true},
        {"Content-Length: 0x10\r\n\r\n" + exit, 1, {}, true},
        {"Content-Length: 99999999999999999999\r\n\r\n" + exit, 1, {}, true},
        {"Content-Length: 1000000000000\r\n\r\n" + exit, 1, {}, true},
        {"Content-Length: 2\r\nContent-Length: 3\r\n\r\n{}" + exit, 1, {}, true},
        {"Content-Length: 2\r\ncontent-length:2\r\n\r\n{}" + init + exit, 1, {0}},
        {"Content-Length: 50\r\n\r\n{\"jsonrpc\"", 1, {}},
        // A body over the limit is passed over and refused; the next message is read.
        {"Content-Length: " + std::to_string(kMaxBodySize + 1) + "\r\n\r\n" +
             std::string(kMaxBodySize + 1, ' ') + init + exit,
         1, {kInvalidRequest, 0}},
        {frame(std::string(200, '[') + std::string(200, ']')) + init + exit, 1, {kParseError, 0}},
        // Positions are unsigned 31-bit integers; anything else is refused, not truncated.
        {init + open + hoverAt("4294967300", "0") + hoverAt("0", "4.9") + hoverAt("-1", "0") +
             hoverAt("2147483647", "2147483647") + hoverAt("2147483648", "0") + exit,
         1, {0, kInvalidParams, kInvalidParams, kInvalidParams, 0, kInvalidParams}},
    };
    for (const LoopCase& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out, err;
        EXPECT_EQ(RunLanguageServer(in, out, err), c.exitCode) << c.input.substr(0, 200);
        EXPECT_EQ(!err.str().empty(), c.complains) << err.str() << c.input.substr(0, 200);
        std::istringstream written(out.str());
        MessageReader reader(written);
        std::vector<int> codes;
        std::string body;
        while (reader.Read(body) == ReadStatus::Message) {
            const json m = json::parse(body);
            if (!m.contains("id")) continue;  // a publication
            codes.push_back(m.contains("error") ? m["error"]["code"].get<int>() : 0);
        }
        EXPECT_EQ(codes, c.errorCodes) << c.input.substr(0, 200);
    }
}

}  // namespace
}  // namespace plcc::lsp
