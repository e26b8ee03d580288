// The language server's diagnostics after a change: the time from a change
// message's body being read to the publication being ready, for a programme
// of 254 statements (the document is compiled and indexed anew each time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "apps/plcc/LspServer.h"

namespace {

using plcc::lsp::json;

// 254 statements of mixed forms; `fault` makes the last call go nowhere.
std::string Programme(bool fault) {
    std::string text = "; benchmark programme\r\n%TEXT(Bench)\r\nDEF H1 = Count\r\nDEF F2 = Gain\r\nEND\r\n%P00\r\n";
    const char* const forms[] = {"JMP (H%d = H%d) N%03d", "SET F%d = F%d * 2.5", "JMP (M%d & IE%d) N%03d",
                                 "SET H%d + %d",           "CALL N%03d",          "GO W A H%d V H%d"};
    char line[96], stmt[64];
    for (int label = 1; label <= 254; ++label) {
        const int target = label == 254 ? 1 : label + 1;
        const int a = label % 8, b = (label * 7) % 8;
        switch (label % 6) {
            case 0: std::snprintf(stmt, sizeof stmt, forms[0], a, b, target); break;
            case 1: std::snprintf(stmt, sizeof stmt, forms[1], a, b); break;
            case 2: std::snprintf(stmt, sizeof stmt, forms[2], a, b, target); break;
            case 3: std::snprintf(stmt, sizeof stmt, forms[3], a, b + 1); break;
            case 4: std::snprintf(stmt, sizeof stmt, forms[4], fault && label == 250 ? 0 : target); break;
            default: std::snprintf(stmt, sizeof stmt, forms[5], a, b); break;
        }
        std::snprintf(line, sizeof line, "N%03d %s\t\t; step %d\r\n", label, stmt, label);
        text += line;
    }
    return text + "END\r\n";
}

void BM_DiagnosticsAfterChange(benchmark::State& state) {
    const bool fault = state.range(0) != 0;
    plcc::lsp::Server server;
    const auto ignore = [](const std::string&) {};
    server.HandleBody(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})", ignore);
    const json open = {{"jsonrpc", "2.0"},
                       {"method", "textDocument/didOpen"},
                       {"params", {{"textDocument", {{"uri", "file:///b.plc"}, {"text", Programme(false)}}}}}};
    server.HandleBody(open.dump(), ignore);
    const std::string change =
        json{{"jsonrpc", "2.0"},
             {"method", "textDocument/didChange"},
             {"params",
              {{"textDocument", {{"uri", "file:///b.plc"}, {"version", 2}}},
               {"contentChanges", {{{"text", Programme(fault)}}}}}}}
            .dump();
    size_t published = 0;
    for (auto _ : state) {
        server.HandleBody(change, [&published](const std::string& body) { published += body.size(); });
    }
    benchmark::DoNotOptimize(published);
}
BENCHMARK(BM_DiagnosticsAfterChange)->Arg(0)->Arg(1)->ArgName("fault")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
