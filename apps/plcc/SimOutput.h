// SPDX-License-Identifier: GPL-3.0-or-later
// plcc sim's outputs: the trace as text or JSON Lines, and the summary.
#pragma once

#include <cstdio>
#include <string>

#include "sim/Machine.h"
#include "sim/Trace.h"

namespace plcc {

enum class SimFormat { Text, Jsonl, Summary };

// What the run was given, for the header every output starts with.
struct SimRun {
    std::string programme;  // the file as named on the command line
    std::string profile;    // "" when none was given
    std::string stimuli;    // "" when none was given
    SimFormat format = SimFormat::Text;
};

// Writes the trace and the end of a run in one format to `out`.
class SimWriter : public plc::sim::TraceSink {
public:
    SimWriter(std::FILE* out, const SimRun& run, const plc::sim::Machine& machine);

    // The banner and what the run was given.
    void Header();
    void Line(const plc::sim::TraceLine& line) override;
    // The end: why the run stopped, and for summary and JSON Lines the state.
    void Finish(const plc::sim::StopInfo& stop, const std::string& why, int exitStatus);

private:
    std::FILE* m_out;
    const SimRun& m_run;
    const plc::sim::Machine& m_machine;
};

}  // namespace plcc
