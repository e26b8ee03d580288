// SPDX-License-Identifier: GPL-3.0-or-later
// The trace of a dry run as values: one line per step, per stimulus that
// came, per stretch of idle time skipped, and one when the run stops. The
// command line prints them as text or JSON Lines; the window shows them and
// exports them as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/Assumptions.h"
#include "sim/Values.h"

namespace plc::sim {

// Shown in every output of a dry run.
inline constexpr const char* kBanner = "dry run of the programme's logic \xE2\x80\x94 not a model of the drive";

struct TraceLine {
    enum class Kind : uint8_t {
        Step,      // a statement ran
        Stimulus,  // a stimulus gave a signal its value
        Skip,      // an idle loop or a wait: time went on to the next change
        Stop,      // the run stopped
    };
    Kind kind = Kind::Step;
    uint64_t step = 0;       // the step's number (Step), or the steps done so far
    int64_t timeUs = 0;      // when it happened (the start of a step, the end of a skip)
    int64_t fromUs = 0;      // Skip: when the skipped stretch began
    int label = -1;          // the record; -1 when none
    std::string statement;   // its canonical text without the label ("%P00" for the head)
    std::vector<NamedValue> reads;   // what it read, before it ran
    std::vector<NamedValue> writes;  // what it wrote
    std::string next;        // where control went when not on by G2: "N090", "END"
    std::string note;        // an outcome, a wait, why the run stopped
    int stimuliLine = 0;     // Stimulus: its line in the stimuli
    std::vector<std::string> assumptions;  // "G3", "int.overflow=wrap"
};

// The lines a text trace starts with: the banner, the programme, the
// profile (its name, "none" when empty, and every key it sets) and the
// stimuli (its name, "none" when empty).
std::vector<std::string> TraceHeader(const std::string& programme, const std::string& profileName,
                                     const AssumptionProfile& profile, const std::string& stimuliName);

// Receives the trace of a run as it goes.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void Line(const TraceLine& line) = 0;
};

// A trace line as text:
//   #7 t=0 N080 JMP (M010 & IE03) N070  M010=1 IE03=0 -> N090  [G3]
//   @ t=100 IE04=1  [stimuli line 3]
//   ~ t=12..100 N010..N012 idle: ...
//   = t=5000 #1234 N102: END reached ...
std::string FormatTraceLine(const TraceLine& line);

// A sink that keeps the lines (tests, the window's trace view).
class TraceRecorder : public TraceSink {
public:
    void Line(const TraceLine& line) override { lines.push_back(line); }
    std::vector<TraceLine> lines;
};

}  // namespace plc::sim
