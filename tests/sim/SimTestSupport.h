// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the dry-run tests: a programme from source lines, a profile and
// stimuli from compact text, a run with its trace kept.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Ascii.h"
#include "compiler/CompileDriver.h"
#include "sim/Machine.h"

namespace plc::sim::test {

// Compiles a whole source text; the test fails when it does not compile.
inline CPlcProgram Compile(const std::string& source) {
    CPlcProgram program;
    const CompileOutcome outcome = CompileProgramSource(program, source);
    EXPECT_TRUE(outcome.success) << source << (outcome.entries.empty() ? "" : outcome.entries.back());
    return program;
}

// "statement.time_ms = 0; int.overflow = wrap": profile lines separated by ';'.
inline AssumptionProfile Profile(std::string_view lines) {
    std::string text(lines);
    for (char& c : text) c = c == ';' ? '\n' : c;
    AssumptionProfile profile;
    std::string error;
    EXPECT_TRUE(AssumptionProfile::Parse(text, profile, error)) << error;
    return profile;
}

// "H001=5; IE03=1; #3 H002=4; 100 IE04=1; outcome GO* -> done": stimuli at
// time 0 unless a time or #step comes first, outcome rows with "->".
inline Stimuli MakeStimuli(std::string_view items, const CPlcProgram& program) {
    std::string text;
    size_t start = 0;
    while (start <= items.size()) {
        const size_t end = std::min(items.find(';', start), items.size());
        std::string item(TrimBlanks(items.substr(start, end - start)));
        start = end + 1;
        if (item.empty()) continue;
        if (item.starts_with("outcome ")) {
            const size_t arrow = item.find("->");
            text += "outcome\t" + std::string(TrimBlanks(std::string_view(item).substr(8, arrow - 8))) + "\t" +
                    std::string(TrimBlanks(std::string_view(item).substr(arrow + 2))) + "\n";
            continue;
        }
        std::string time = "0";
        if (const size_t blank = item.find(' '); blank != std::string::npos) {
            time = item.substr(0, blank);
            item = item.substr(blank + 1);
        }
        const size_t eq = item.find('=');
        text += time + "\t" + item.substr(0, eq) + "\t" + item.substr(eq + 1) + "\n";
    }
    Stimuli stimuli;
    std::string error;
    EXPECT_TRUE(Stimuli::Parse(text, &program, stimuli, error)) << error << "\n" << text;
    return stimuli;
}

// A machine over a programme with its trace kept.
struct SimRun {
    SimRun(const std::string& source, std::string_view profile, std::string_view stimuli)
        : program(Compile(source)),
          machine(std::make_unique<Machine>(program, Profile(profile), MakeStimuli(stimuli, program))) {
        machine->SetTrace(&trace);
    }
    StopInfo Go(uint64_t steps, int64_t untilUs = kNoTime) {
        Limits limits;
        limits.maxSteps = steps;
        limits.untilUs = untilUs;
        return machine->Run(limits);
    }
    // The trace lines of one kind, as text.
    std::vector<std::string> Lines(TraceLine::Kind kind) const {
        std::vector<std::string> out;
        for (const TraceLine& l : trace.lines)
            if (l.kind == kind) out.push_back(FormatTraceLine(l));
        return out;
    }
    CPlcProgram program;
    TraceRecorder trace;
    std::unique_ptr<Machine> machine;
};

}  // namespace plc::sim::test
