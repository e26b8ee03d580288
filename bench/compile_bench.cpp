// SPDX-License-Identifier: GPL-3.0-or-later
// Compile speed of a full programme, through the path the command line and
// the language server take (CompileProgramSource), against the floor of
// touching its bytes once: a plain loop over the bytes that finds the line
// ends and upper-cases each line into one reused buffer. Floor and
// compilation are timed interleaved in the same repetition, in CPU time, so
// that the ratio of each repetition compares like with like; the
// repetitions give its median and minimum.
//
// Two programmes of 254 statements: a mixed one drawn evenly from every
// statement form of the instruction tables (each form rendered by the decoder
// from a record with legal operands), and one of jumps only. The mixed one
// is compiled a second time with its source facts collected, as the
// language server does on every change.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <ctime>
#include <string>
#include <vector>

#include "base/Ascii.h"
#include "bench/Programmes.h"
#include "compiler/CompileDriver.h"
#include "decoder/DecodeRecord.h"
#include "decoder/RecordPrinter.h"
#include "image/InstrSet.h"

namespace {

using bench::JumpProgramme;
using bench::MixedProgramme;

// The floor: one plain loop over the bytes that finds each line end and
// upper-cases the line into a buffer as long as the text, written by index.
size_t Floor(std::string_view text, char* buffer) {
    size_t sum = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        size_t n = 0;
        while (p != end && *p != '\n') buffer[n++] = plc::AsciiUpper(*p++);
        sum += n + (n == 0 ? 0 : static_cast<unsigned char>(buffer[0]));
        if (p == end) return sum;
        ++p;
    }
}

// The whole compilation of a source text as the command line runs it.
plc::CompileOutcome Compile(plc::CPlcProgram& program, std::string_view text) {
    return plc::CompileProgramSource(program, text);
}

// The same with the source facts, as the language server runs it.
plc::CompileOutcome CompileWithFacts(plc::CPlcProgram& program, std::string_view text) {
    plc::SourceFacts facts;
    plc::CompileOutcome outcome = plc::CompileProgramSource(program, text, &facts);
    benchmark::DoNotOptimize(facts.tokens.data());
    return outcome;
}

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Each iteration times a batch of floors and then a batch of compilations.
template <typename CompileFn>
void CompileAgainstFloor(benchmark::State& state, const std::string& text, CompileFn compile) {
    const auto lines = static_cast<double>(std::count(text.begin(), text.end(), '\n') + 1);
    plc::CPlcProgram program;
    if (!compile(program, text).success) {
        state.SkipWithError("the benchmark programme does not compile");
        return;
    }
    constexpr int kBatch = 8;
    std::string buffer(text.size(), '\0');
    double floorSeconds = 0.0, compileSeconds = 0.0;
    for (auto _ : state) {
        const double t0 = CpuSeconds();
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(Floor(text, buffer.data()));
        const double t1 = CpuSeconds();
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(compile(program, text).addSum);
        const double t2 = CpuSeconds();
        floorSeconds += t1 - t0;
        compileSeconds += t2 - t1;
    }
    const double runs = static_cast<double>(state.iterations()) * kBatch;
    state.counters["lines_per_s"] = lines * runs / compileSeconds;
    state.counters["compile_us"] = compileSeconds / runs * 1e6;
    state.counters["floor_us"] = floorSeconds / runs * 1e6;
    state.counters["x_floor"] = compileSeconds / floorSeconds;
}

void BM_CompileMixed(benchmark::State& state) {
    static const std::string text = MixedProgramme();
    CompileAgainstFloor(state, text, Compile);
}

void BM_CompileJumps(benchmark::State& state) {
    static const std::string text = JumpProgramme();
    CompileAgainstFloor(state, text, Compile);
}

void BM_CompileMixedWithFacts(benchmark::State& state) {
    static const std::string text = MixedProgramme();
    CompileAgainstFloor(state, text, CompileWithFacts);
}

// Decoding the compiled mixed programme back into its text, record by record.
void BM_DecodeMixed(benchmark::State& state) {
    static const std::string text = MixedProgramme();
    plc::CPlcProgram program;
    Compile(program, text);
    std::string line;
    for (auto _ : state) {
        for (int r = plc::kFirstLabel; r <= plc::kLastLabel; ++r) {
            plc::DecodeRecord(program, line, r);
            benchmark::DoNotOptimize(line.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * (plc::kLastLabel - plc::kFirstLabel + 1));
}
BENCHMARK(BM_DecodeMixed);

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_CompileMixed)->Repetitions(15)->ComputeStatistics("min", Min)->ReportAggregatesOnly(true);
BENCHMARK(BM_CompileJumps)->Repetitions(15)->ComputeStatistics("min", Min)->ReportAggregatesOnly(true);
BENCHMARK(BM_CompileMixedWithFacts)->Repetitions(15)->ComputeStatistics("min", Min)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
