// SPDX-License-Identifier: GPL-3.0-or-later
// The language server's diagnostics after a change: the time from a change
// message's body being read to the publication being ready, for a programme
// of 254 statements drawn from every statement form (the document is
// compiled and indexed anew each time); the same changes through the whole
// loop (framing, reading, JSON and writing); and references and symbols on
// a text of 65,535 lines, the most a document may have.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <sstream>

#include "apps/plcc/LspServer.h"
#include "bench/Programmes.h"

namespace {

using plcc::lsp::json;

void BM_DiagnosticsAfterChange(benchmark::State& state) {
    const bool fault = state.range(0) != 0;
    plcc::lsp::Server server;
    const auto ignore = [](const std::string&) {};
    server.HandleBody(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})", ignore);
    const json open = {{"jsonrpc", "2.0"},
                       {"method", "textDocument/didOpen"},
                       {"params", {{"textDocument", {{"uri", "file:///b.plc"}, {"text", bench::MixedProgramme(false)}}}}}};
    server.HandleBody(open.dump(), ignore);
    const std::string change =
        json{{"jsonrpc", "2.0"},
             {"method", "textDocument/didChange"},
             {"params",
              {{"textDocument", {{"uri", "file:///b.plc"}, {"version", 2}}},
               {"contentChanges", {{{"text", bench::MixedProgramme(fault)}}}}}}}
            .dump();
    size_t published = 0;
    for (auto _ : state) {
        server.HandleBody(change, [&published](const std::string& body) { published += body.size(); });
    }
    benchmark::DoNotOptimize(published);
}
BENCHMARK(BM_DiagnosticsAfterChange)->Arg(0)->Arg(1)->ArgName("fault")->Unit(benchmark::kMicrosecond);

std::string Framed(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

json ChangeMessage(const std::string& text, int version) {
    return {{"jsonrpc", "2.0"},
            {"method", "textDocument/didChange"},
            {"params",
             {{"textDocument", {{"uri", "file:///b.plc"}, {"version", version}}},
              {"contentChanges", {{{"text", text}}}}}}};
}

// The same change as above, through the framed message loop: per change
// (items), the transport's share is this time less BM_DiagnosticsAfterChange's.
void BM_WholeLoopPerChange(benchmark::State& state) {
    constexpr int kChanges = 50;
    std::string input = Framed(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
    input += Framed(json{{"jsonrpc", "2.0"},
                         {"method", "textDocument/didOpen"},
                         {"params", {{"textDocument", {{"uri", "file:///b.plc"}, {"text", bench::MixedProgramme(false)}}}}}}
                        .dump());
    const std::string text = bench::MixedProgramme(false);
    for (int i = 0; i < kChanges; ++i) input += Framed(ChangeMessage(text, i + 2).dump());
    input += Framed(R"({"jsonrpc":"2.0","method":"exit"})");
    size_t written = 0;
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        benchmark::DoNotOptimize(plcc::lsp::RunLanguageServer(in, out, err));
        written += out.str().size();
    }
    benchmark::DoNotOptimize(written);
    state.SetItemsProcessed(state.iterations() * kChanges);
}
BENCHMARK(BM_WholeLoopPerChange)->Unit(benchmark::kMillisecond);

// A text of 65,535 lines ending in 254 statements that each use H1. Before
// them either a text section of DEF lines naming H1 to H100 over and over
// (each a symbol and, for H1, a reference: the heaviest answers), or the
// same number of comment lines (a long, commented programme).
constexpr int32_t kFirstStatementLine = 65280;

std::string LargestText(bool defLines) {
    constexpr int kLines = 65535;
    constexpr int kStatements = 254;
    std::string text = defLines ? "%TEXT(Big)\n" : "; big\n";
    const int filler = kLines - kStatements - 4;
    char line[64];
    for (int i = 0; i < filler; ++i) {
        std::snprintf(line, sizeof line, defLines ? "DEF H%d = Name%d\n" : "; note %d of %d\n", i % 100 + 1, i);
        text += line;
    }
    text += defLines ? "END\n%P00\n" : ";\n%P00\n";
    for (int n = 1; n <= kStatements; ++n) {
        std::snprintf(line, sizeof line, "N%03d SET H1 = %d\n", n, n);
        text += line;
    }
    text += "END";
    return text;
}

void RunOnLargestText(benchmark::State& state, const json& request) {
    plcc::lsp::Server server;
    const auto ignore = [](const std::string&) {};
    server.HandleBody(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})", ignore);
    const json open = {{"jsonrpc", "2.0"},
                       {"method", "textDocument/didOpen"},
                       {"params", {{"textDocument", {{"uri", "file:///b.plc"}, {"text", LargestText(state.range(0) != 0)}}}}}};
    server.HandleBody(open.dump(), ignore);
    const std::string body = request.dump();
    size_t answered = 0;
    for (auto _ : state) {
        server.HandleBody(body, [&answered](const std::string& b) { answered += b.size(); });
    }
    benchmark::DoNotOptimize(answered);
    state.counters["answer_bytes"] = static_cast<double>(answered) / static_cast<double>(state.iterations());
}

void BM_ReferencesAt65535Lines(benchmark::State& state) {
    // H1 in the first statement, with its DEF lines.
    RunOnLargestText(state, {{"jsonrpc", "2.0"},
                             {"id", 2},
                             {"method", "textDocument/references"},
                             {"params",
                              {{"textDocument", {{"uri", "file:///b.plc"}}},
                               {"position", {{"line", kFirstStatementLine}, {"character", 9}}},
                               {"context", {{"includeDeclaration", true}}}}}});
}
BENCHMARK(BM_ReferencesAt65535Lines)->Arg(0)->Arg(1)->ArgName("defs")->Unit(benchmark::kMillisecond);

void BM_SymbolsAt65535Lines(benchmark::State& state) {
    RunOnLargestText(state, {{"jsonrpc", "2.0"},
                             {"id", 2},
                             {"method", "textDocument/documentSymbol"},
                             {"params", {{"textDocument", {{"uri", "file:///b.plc"}}}}}});
}
BENCHMARK(BM_SymbolsAt65535Lines)->Arg(0)->Arg(1)->ArgName("defs")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
