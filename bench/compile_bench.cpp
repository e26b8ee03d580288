// Compile speed of a full programme against the floor of touching its bytes
// once: a single pass that finds the line ends and upper-cases each line into
// one reused buffer. Floor and compilation are timed interleaved in the same
// repetition, in CPU time, so that the ratio of each repetition compares like
// with like; the repetitions give its median and minimum.
//
// Two programmes of 254 statements: a mixed one drawn evenly from every
// statement form of the instruction tables (each form rendered by the decoder
// from a record with legal operands), and one of jumps only.
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

// The floor: one pass over the bytes that finds each line end and upper-cases
// the line into a reused buffer.
size_t Floor(std::string_view text, std::string& buffer) {
    size_t sum = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        buffer.clear();
        while (end < text.size() && text[end] != '\n') buffer.push_back(plc::AsciiUpper(text[end++]));
        sum += buffer.size() + static_cast<unsigned char>(buffer.empty() ? 0 : buffer[0]);
        start = end + 1;
    }
    return sum;
}

// The whole compilation of a source text as the command line runs it.
plc::CompileOutcome Compile(plc::CPlcProgram& program, std::string_view text) {
    return plc::CompileProgramSource(program, text);
}

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Each iteration times a batch of floors and then a batch of compilations.
void CompileAgainstFloor(benchmark::State& state, const std::string& text) {
    const auto lines = static_cast<double>(std::count(text.begin(), text.end(), '\n') + 1);
    plc::CPlcProgram program;
    if (!Compile(program, text).success) {
        state.SkipWithError("the benchmark programme does not compile");
        return;
    }
    constexpr int kBatch = 8;
    std::string buffer;
    double floorSeconds = 0.0, compileSeconds = 0.0;
    for (auto _ : state) {
        const double t0 = CpuSeconds();
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(Floor(text, buffer));
        const double t1 = CpuSeconds();
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(Compile(program, text).addSum);
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
    CompileAgainstFloor(state, text);
}

void BM_CompileJumps(benchmark::State& state) {
    static const std::string text = JumpProgramme();
    CompileAgainstFloor(state, text);
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

}  // namespace

BENCHMARK_MAIN();
