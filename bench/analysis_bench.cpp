// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis of a 254-statement programme (graph, warnings and hints, with
// the places read from its text) and the Graphviz layout of its graph, beside
// the compilation of the same text in the same run.
//
// Two programmes: the mixed one of every statement form, and the one of
// jumps only, whose CALLs every tenth statement make 25 subroutines that
// each run through most of the programme (the heavy case of the analysis).
#include <benchmark/benchmark.h>

#include "analysis/Analysis.h"
#include "analysis/GraphLayout.h"
#include "bench/Programmes.h"
#include "compiler/CompileDriver.h"

namespace {

struct Compiled {
    plc::CPlcProgram program;
    std::vector<std::string> lines;
    bool ok = false;
    explicit Compiled(const std::string& text) : lines(plc::SplitLines(text)) {
        ok = plc::CompileProgramText(program, lines).success;
    }
};

const std::string& Text(int which) {
    static const std::string mixed = bench::MixedProgramme();
    static const std::string jumps = bench::JumpProgramme();
    return which == 0 ? mixed : jumps;
}

const char* Name(int which) { return which == 0 ? "mixed" : "jumps"; }

// The reference: compiling the text.
void BM_Compile(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        plc::CPlcProgram program;
        benchmark::DoNotOptimize(plc::CompileProgramSource(program, text).success);
    }
    state.SetLabel(Name(static_cast<int>(state.range(0))));
}

// What the window and the language server run after each compile: the
// places in the text, then the analysis.
void BM_Analyse(benchmark::State& state) {
    const Compiled c(Text(static_cast<int>(state.range(0))));
    if (!c.ok) return state.SkipWithError("the benchmark programme does not compile");
    size_t findings = 0;
    for (auto _ : state) {
        const plc::ProgramAnalysis analysis =
            plc::AnalyseProgram(c.program, plc::ReadSourceSites(c.lines), plc::RecordLinesOfImage(c.program));
        findings = analysis.findings.size();
        benchmark::DoNotOptimize(analysis.graph.edges.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
    state.SetLabel(Name(static_cast<int>(state.range(0))));
}

// The analysis alone, the places already read.
void BM_AnalyseImage(benchmark::State& state) {
    const Compiled c(Text(static_cast<int>(state.range(0))));
    if (!c.ok) return state.SkipWithError("the benchmark programme does not compile");
    const plc::SourceSites sites = plc::ReadSourceSites(c.lines);
    const plc::RecordLines lines = plc::RecordLinesOfImage(c.program);
    for (auto _ : state) benchmark::DoNotOptimize(plc::AnalyseProgram(c.program, sites, lines).findings.size());
    state.SetLabel(Name(static_cast<int>(state.range(0))));
}

void BM_Layout(benchmark::State& state) {
    const Compiled c(Text(static_cast<int>(state.range(0))));
    if (!c.ok) return state.SkipWithError("the benchmark programme does not compile");
    const plc::FlowGraph graph = plc::BuildFlowGraph(c.program, plc::RecordLinesOfImage(c.program));
    plc::GraphLayout layout;
    std::string why;
    for (auto _ : state) {
        if (!plc::LayOutFlowGraph(graph, layout, &why)) return state.SkipWithError(why.c_str());
    }
    state.counters["nodes"] = static_cast<double>(layout.nodes.size());
    state.counters["edges"] = static_cast<double>(layout.edges.size());
    state.SetLabel(Name(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Compile)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Analyse)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalyseImage)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Layout)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
