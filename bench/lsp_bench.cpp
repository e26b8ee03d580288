// The language server's diagnostics after a change: the time from a change
// message's body being read to the publication being ready, for a programme
// of 254 statements drawn from every statement form (the document is
// compiled and indexed anew each time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

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

}  // namespace

BENCHMARK_MAIN();
