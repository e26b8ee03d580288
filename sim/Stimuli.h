// SPDX-License-Identifier: GPL-3.0-or-later
// The stimuli of a dry run: a tab-separated table of what the world outside
// the programme does, and the outcomes of its drive commands.
//
//   time<TAB>signal<TAB>value     at `time` (ms, or #N before step N) the
//                                 signal takes the value
//   outcome<TAB>PATTERN<TAB>RESULT  the outcome of the drive commands the
//                                 pattern matches
//
// Signals are inputs (IE03 or IE3), status flags (STA_INPOS), REF, ROT_0,
// ACTVAL, drive values and registers (ACTPOS, OUTPUT, ...), CM flags,
// parameters (PARA[100] or PARA[100,2]) and the variables H, F, M and C (by
// number or by their DEF name). Blank lines and lines starting with ';' are
// skipped, and so is a first line "time<TAB>signal<TAB>value".
//
// Outcome rows with the same pattern are used one after another, the last
// one again and again; an event takes the rows of the first pattern (in the
// order of the file) that matches it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/PlcProgram.h"
#include "sim/Events.h"
#include "sim/Values.h"

namespace plc::sim {

// What a stimulus gives its value to.
struct StimulusTarget {
    enum class Kind : uint8_t { Signal, H, F, M, C, Param };
    Kind kind = Kind::Signal;
    int index = 0;        // the signal slot or the variable's number
    int32_t param = 0;    // a parameter's number and sub-index
    int32_t sub = -1;     // -1: none given
    std::string name;     // as the trace names it: "IE03", "H040", "PARA[100,2]"
};

struct Stimulus {
    int line = 0;
    bool atStep = false;  // "#N": before step N, not at a time
    int64_t timeUs = 0;
    uint64_t step = 0;
    StimulusTarget target;
    Num value;
};

struct OutcomeRow {
    std::string pattern;
    Outcome outcome;
};

class Stimuli {
public:
    // Reads a stimuli table; `names` (may be null) gives the DEF names of the
    // variables. False with `error` ("LINE: why") at the first faulty line.
    static bool Parse(std::string_view text, const CPlcProgram* names, Stimuli& out, std::string& error);

    // The timed rows in time order and the step rows in step order (rows of
    // the same moment in the order of the file).
    const std::vector<Stimulus>& Timed() const { return m_timed; }
    const std::vector<Stimulus>& Stepped() const { return m_stepped; }

    // The outcome rows grouped by pattern, in the order each pattern first
    // appears.
    struct Queue {
        std::string pattern;
        std::vector<Outcome> outcomes;
    };
    const std::vector<Queue>& Outcomes() const { return m_queues; }

    void Add(Stimulus s);
    void AddOutcome(std::string_view pattern, Outcome outcome);

private:
    std::vector<Stimulus> m_timed, m_stepped;
    std::vector<Queue> m_queues;
};

// Resolves a stimulus signal name; false with `why` for a name the
// stimuli cannot give (an output, a timer, an unknown name).
bool ResolveTarget(std::string_view name, const CPlcProgram* names, StimulusTarget& target, std::string& why);

// Checks that `value` suits the target (flags 0 or 1, H a 32-bit whole
// number, C a whole number from 0); converts a whole number for F to a float.
bool CheckStimulusValue(const StimulusTarget& target, Num& value, std::string& why);

}  // namespace plc::sim
