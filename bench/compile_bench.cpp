// Compile speed of a full programme: 254 statements of mixed jumps, against
// the floor of merely splitting the text into lines and upper-casing them.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "compiler/CompileDriver.h"
#include "compiler/ParseCursor.h"

namespace {

const char* const kForms[] = {
    "JMP (H%d = H%d) N%03d", "JMP (F%d >= F%d) END", "JMP (ACTVAL < H%d) N%03d",
    "JMP (M%d & IE%d) N%03d", "JMP (STA_INPOS = %d) END", "JMP (C%d != %d) N%03d",
    "JMP (RXMSG, %d, H%d) N%03d", "CALL N%03d", "NOP", "JMP N%03d",
};

std::string MixedJumpProgramme() {
    std::string text = "; benchmark programme\r\n%TEXT(Bench)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\n";
    char line[96], stmt[64];
    for (int label = 1; label <= 254; ++label) {
        const int target = label == 254 ? 1 : label + 1;
        const int a = label % 8, b = (label * 7) % 8;
        switch (label % 10) {
            case 0: std::snprintf(stmt, sizeof stmt, kForms[0], a, b, target); break;
            case 1: std::snprintf(stmt, sizeof stmt, kForms[1], a, b); break;
            case 2: std::snprintf(stmt, sizeof stmt, kForms[2], a, target); break;
            case 3: std::snprintf(stmt, sizeof stmt, kForms[3], a, b, target); break;
            case 4: std::snprintf(stmt, sizeof stmt, kForms[4], label % 2); break;
            case 5: std::snprintf(stmt, sizeof stmt, kForms[5], a, b, target); break;
            case 6: std::snprintf(stmt, sizeof stmt, kForms[6], a, b, target); break;
            case 7: std::snprintf(stmt, sizeof stmt, kForms[7], target); break;
            case 8: std::snprintf(stmt, sizeof stmt, "%s", kForms[8]); break;
            default: std::snprintf(stmt, sizeof stmt, kForms[9], target); break;
        }
        std::snprintf(line, sizeof line, "N%03d %s\t\t; step %d\r\n", label, stmt, label);
        text += line;
    }
    text += "END\r\n";
    return text;
}

// The floor: split into lines and upper-case every character.
size_t SplitAndUpper(const std::string& text) {
    size_t sum = 0;
    for (std::string& line : plc::SplitLines(text)) {
        for (char& c : line) c = plc::AsciiUpper(c);
        sum += line.size();
    }
    return sum;
}

void BM_CompileMixedJumps(benchmark::State& state) {
    const std::string text = MixedJumpProgramme();
    const auto lineCount = static_cast<int64_t>(plc::SplitLines(text).size());
    plc::CPlcProgram program;
    for (auto _ : state) {
        const auto outcome = plc::CompileProgramText(program, plc::SplitLines(text));
        if (!outcome.success) state.SkipWithError("the benchmark programme does not compile");
        benchmark::DoNotOptimize(outcome.addSum);
    }
    state.SetItemsProcessed(state.iterations() * lineCount);

    // How many times the floor the compilation costs.
    const auto t0 = std::chrono::steady_clock::now();
    constexpr int kFloorRuns = 2000;
    size_t sink = 0;
    for (int i = 0; i < kFloorRuns; ++i) sink += SplitAndUpper(text);
    benchmark::DoNotOptimize(sink);
    const double floorSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / kFloorRuns;
    const auto t1 = std::chrono::steady_clock::now();
    constexpr int kCompileRuns = 200;
    for (int i = 0; i < kCompileRuns; ++i) benchmark::DoNotOptimize(plc::CompileProgramText(program, plc::SplitLines(text)).addSum);
    const double compileSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count() / kCompileRuns;
    state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(lineCount) / compileSeconds);
    state.counters["x_split_upper"] = compileSeconds / floorSeconds;
}
BENCHMARK(BM_CompileMixedJumps);

void BM_SplitAndUpper(benchmark::State& state) {
    const std::string text = MixedJumpProgramme();
    const auto lineCount = static_cast<int64_t>(plc::SplitLines(text).size());
    for (auto _ : state) benchmark::DoNotOptimize(SplitAndUpper(text));
    state.SetItemsProcessed(state.iterations() * lineCount);
}
BENCHMARK(BM_SplitAndUpper);

}  // namespace

BENCHMARK_MAIN();
