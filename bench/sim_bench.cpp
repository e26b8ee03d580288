// SPDX-License-Identifier: GPL-3.0-or-later
// Dry-run speed, in CPU time, with the trace off.
//
// BM_DryRunLoop: a programme of 254 statements — whole-number, float, flag
// and counter arithmetic, conditional jumps, a CALL — whose last statement
// jumps back to the first; every pass changes its state, so no idle loop is
// skipped. statements_per_s is the figure to hold against the target of ten
// million.
//
// BM_TenMinutes*: a typical programme with timers run through ten minutes of
// simulated time with its stimuli (a start request every 500 ms for the
// indexing conveyor with a GO and a dwell timer; a stroke every 100 ms for
// the lubrication counter); cpu_ms_per_run is the figure to hold against
// the target of one second.
#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

#include "compiler/CompileDriver.h"
#include "sim/Machine.h"

namespace {

using namespace plc::sim;

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// One timed run to `limits`; false (and the benchmark skipped) when it
// stops for another reason than `expected`.
bool TimedRun(benchmark::State& state, Machine& machine, const Limits& limits, StopKind expected, double& seconds) {
    const double t0 = CpuSeconds();
    const StopInfo stop = machine.Run(limits);
    seconds += CpuSeconds() - t0;
    if (stop.kind == expected) return true;
    state.SkipWithError(("the run stopped: " + stop.text).c_str());
    return false;
}

// Statement n of the loop programme, drawn in turn from a mix of forms.
std::string LoopStatement(int n) {
    const int h = n % 40 + 1, g = (n * 7) % 40 + 1, f = n % 20 + 1, m = n % 30 + 1;
    char buf[96];
    switch (n % 12) {
        case 0: std::snprintf(buf, sizeof buf, "SET H%03d + H%03d", h, g); break;
        case 1: std::snprintf(buf, sizeof buf, "SET H%03d = H%03d", g, h); break;
        case 2: std::snprintf(buf, sizeof buf, "SET H%03d - 3", h); break;
        case 3: std::snprintf(buf, sizeof buf, "JMP (H%03d > H%03d) N%03d", h, g, n + 1); break;
        case 4: std::snprintf(buf, sizeof buf, "SET F%03d + 0.5", f); break;
        case 5: std::snprintf(buf, sizeof buf, "SET F%03d - F%03d", f, f + 1); break;
        case 6: std::snprintf(buf, sizeof buf, "SET M%03d = H%03d", m, h); break;
        case 7: std::snprintf(buf, sizeof buf, "SET M%03d ^ M%03d", m, m + 1); break;
        case 8: std::snprintf(buf, sizeof buf, "JMP (M%03d = 1) N%03d", m, n + 1); break;
        case 9: std::snprintf(buf, sizeof buf, "SET H%03d : 3", h); break;
        case 10: std::snprintf(buf, sizeof buf, "SET C%03d + 1", n % 10 + 1); break;
        default: std::snprintf(buf, sizeof buf, "SET H%03d << 01", g); break;
    }
    return buf;
}

std::string LoopProgramme() {
    std::string text = "%P00\n";
    for (int n = 1; n <= 253; ++n) {
        char label[8];
        std::snprintf(label, sizeof label, "N%03d ", n);
        text += label + LoopStatement(n) + "\n";
    }
    return text + "N254 JMP N001\nEND\n";
}

constexpr const char* kLoopProfile =
    "statement.time_ms = 0.001\nint.overflow = wrap\nint.division = trunc\nm_from_h = nonzero\n"
    "counter.width = 32\ncounter.overflow = wrap\ninit.variables = zero\nfloat.overflow = ieee\n";

void BM_DryRunLoop(benchmark::State& state) {
    plc::CPlcProgram program;
    AssumptionProfile profile;
    std::string error;
    if (!plc::CompileProgramSource(program, LoopProgramme()).success ||
        !AssumptionProfile::Parse(kLoopProfile, profile, error)) {
        state.SkipWithError("the loop programme or its profile does not load");
        return;
    }
    Machine machine(program, profile);
    constexpr uint64_t kBatch = 1'000'000;
    double seconds = 0;
    uint64_t steps = 0;
    for (auto _ : state) {
        Limits limits;
        limits.maxSteps = machine.State().steps + kBatch;
        if (!TimedRun(state, machine, limits, StopKind::StepLimit, seconds)) return;
        steps += kBatch;
    }
    state.counters["statements_per_s"] = static_cast<double>(steps) / seconds;
    state.counters["ns_per_statement"] = seconds / static_cast<double>(steps) * 1e9;
}
BENCHMARK(BM_DryRunLoop)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

std::string ReadExample(const std::string& name) {
    std::ifstream in(std::string(PLCEDIT_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr int64_t kTenMinutesUs = 10 * 60 * 1000 * kUsPerMs;

// Runs `example` with the example profile for ten simulated minutes; the
// stimuli pulse `input` every `periodMs` and give `values`.
void TenMinutes(benchmark::State& state, const char* example, const char* input, int64_t periodMs,
                const std::vector<std::pair<const char*, int64_t>>& values) {
    plc::CPlcProgram program;
    AssumptionProfile profile;
    std::string error;
    if (!plc::CompileProgramSource(program, ReadExample(example)).success ||
        !AssumptionProfile::Parse(ReadExample("sim/profile.ini"), profile, error)) {
        state.SkipWithError("the example or the profile does not load");
        return;
    }
    Stimuli stimuli;
    auto add = [&](int64_t timeUs, const char* name, int64_t value) {
        Stimulus s;
        s.timeUs = timeUs;
        s.value = Num::Int(value);
        std::string why;
        ResolveTarget(name, &program, s.target, why);
        stimuli.Add(s);
    };
    for (const auto& [name, value] : values) add(0, name, value);
    add(0, input, 0);
    for (int64_t t = periodMs; t * kUsPerMs < kTenMinutesUs; t += periodMs) {
        add(t * kUsPerMs, input, 1);
        add((t + periodMs / 2) * kUsPerMs, input, 0);
    }
    Outcome done;
    ParseOutcome("done after 200 ms", done, error);
    stimuli.AddOutcome("GO*", done);
    Machine machine(program, profile, stimuli);
    Limits limits;
    limits.untilUs = kTenMinutesUs;
    double seconds = 0;
    uint64_t steps = 0;
    for (auto _ : state) {
        machine.Reset();
        if (!TimedRun(state, machine, limits, StopKind::TimeLimit, seconds)) return;
        steps += machine.State().steps;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["cpu_ms_per_run"] = seconds / runs * 1e3;
    state.counters["steps_per_run"] = static_cast<double>(steps) / runs;
}

void BM_TenMinutesIndexer(benchmark::State& state) {
    TenMinutes(state, "indexer.plc", "IE00", 500, {{"Pitch", 1000}, {"Speed", 500}, {"Dwell_Ticks", 5}});
}
BENCHMARK(BM_TenMinutesIndexer)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_TenMinutesLubrication(benchmark::State& state) {
    TenMinutes(state, "counters_timers.plc", "IE04", 100, {{"Pulse_Time", 20}});
}
BENCHMARK(BM_TenMinutesLubrication)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
