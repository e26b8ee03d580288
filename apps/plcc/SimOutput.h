// SPDX-License-Identifier: GPL-3.0-or-later
// plcc sim's outputs: the trace as text or JSON Lines, the summary, and the
// trace file written beside its target and renamed over it at the end.
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

// A file written whole or not at all: the output goes to a temporary file
// in the target's folder, which replaces the target only when Commit
// succeeds; otherwise the target stays as it was.
class StreamedFile {
public:
    StreamedFile() = default;
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;
    ~StreamedFile();

    // False with `why` when the temporary file cannot be made.
    bool Open(const std::string& path, std::string& why);
    std::FILE* Stream() const { return m_file; }
    // Checks every write, syncs, closes and renames; false with `why`.
    bool Commit(std::string& why);

private:
    std::string m_path, m_temp;
    std::FILE* m_file = nullptr;
};

}  // namespace plcc
