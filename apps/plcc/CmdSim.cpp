// SPDX-License-Identifier: GPL-3.0-or-later
// plcc sim: a dry run of a programme's logic, with an assumption profile and
// stimuli, printed as a trace (text or JSON Lines) or a summary.
#include <cstdio>
#include <cstring>

#include "apps/plcc/Plcc.h"
#include "apps/plcc/SimOutput.h"
#include "compiler/CompileDriver.h"
#include "base/Ascii.h"
#include "base/SafeWrite.h"
#include "image/LabelText.h"
#include "sim/Machine.h"

namespace plcc {

namespace {

using namespace plc::sim;

// Without --max-steps or --until-ms a run stops here, and that counts as a
// failure: a programme that runs on for ever should say so.
constexpr uint64_t kDefaultStepLimit = 10'000'000;

// Reads the programme, a source text (compiled) or a binary programme file,
// told apart by content as plcc graph and diff tell them. kExitOk, or the
// status to end with.
int LoadForDryRun(const CommandLine& cl, Programme& in) {
    const int status = LoadProgramme(cl.File(), cl.diagnostics, in);
    if (status == kExitProgramErrors) {
        std::fprintf(stderr, "plcc: '%s' does not compile; a dry run needs a programme without errors\n",
                     DisplayName(cl.File()).c_str());
    }
    return status;
}

// Reads a file named by an option; false with a message naming it.
bool ReadOptionFile(const CommandLine& cl, std::string_view option, std::string& text) {
    if (!cl.Has(option)) return true;
    return ReadInput(cl.Get(option), text);
}

// "N050,N060" or "50,60": labels of statements of the programme.
bool ParseBreaks(const std::string& list, const plc::CPlcProgram& program, std::vector<int>& labels, std::string& why) {
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        std::string_view item = plc::TrimBlanks(std::string_view(list).substr(start, comma - start));
        if (!item.empty() && (item.front() == 'N' || item.front() == 'n')) item.remove_prefix(1);
        int64_t label = 0;
        if (!ParseWhole(item, plc::kFirstLabel, plc::kLastLabel, label)) {
            why = "--break takes labels N001 to N254, separated by commas";
            return false;
        }
        if (program.Record(static_cast<int>(label)).used() != 1) {
            why = "--break: " + plc::LabelText(static_cast<int>(label)) + " is no statement of the programme";
            return false;
        }
        labels.push_back(static_cast<int>(label));
        start = comma + 1;
    }
    return true;
}

}  // namespace

int CmdSim(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args,
                          {"--assume", "--stimuli", "--max-steps", "--until-ms", "--break", "--format", "-o",
                           kDiagnosticsOption},
                          1, cl, why))
        return UsageError("sim", why);

    SimRun run;
    run.programme = DisplayName(cl.File());
    if (cl.Has("--format")) {
        const std::string& f = cl.Get("--format");
        if (f == "text") run.format = SimFormat::Text;
        else if (f == "jsonl") run.format = SimFormat::Jsonl;
        else if (f == "summary") run.format = SimFormat::Summary;
        else return UsageError("sim", "unknown format '" + f + "' (text, jsonl or summary)");
    }
    Limits limits;
    limits.maxSteps = kDefaultStepLimit;
    const bool stepLimitGiven = cl.Has("--max-steps");
    if (stepLimitGiven) {
        int64_t n = 0;
        if (!ParseWhole(cl.Get("--max-steps"), 1, INT64_MAX, n)) return UsageError("sim", "--max-steps takes a number of steps from 1");
        limits.maxSteps = static_cast<uint64_t>(n);
    }
    if (cl.Has("--until-ms") && !ParseMs(cl.Get("--until-ms"), limits.untilUs))
        return UsageError("sim", "--until-ms takes milliseconds (up to three decimals)");
    const std::string output = cl.Has("-o") ? cl.Get("-o") : "";
    for (std::string_view option : {"--assume", "--stimuli"})
        if (cl.Has(option) && !output.empty() && !OutputIsNotInput(cl.Get(option), output)) return kExitUsage;
    if (!output.empty() && !OutputIsNotInput(cl.File(), output)) return kExitUsage;

    Programme in;
    if (const int status = LoadForDryRun(cl, in); status != kExitOk) return status;
    const plc::CPlcProgram& program = in.program;

    AssumptionProfile profile;
    std::string text;
    if (!ReadOptionFile(cl, "--assume", text)) return kExitUsage;
    if (cl.Has("--assume")) {
        run.profile = cl.Get("--assume");
        if (!AssumptionProfile::Parse(text, profile, why)) {
            std::fprintf(stderr, "plcc: %s:%s\n", run.profile.c_str(), why.c_str());
            return kExitUsage;
        }
    }
    Stimuli stimuli;
    text.clear();
    if (!ReadOptionFile(cl, "--stimuli", text)) return kExitUsage;
    if (cl.Has("--stimuli")) {
        run.stimuli = cl.Get("--stimuli");
        if (!Stimuli::Parse(text, &program, stimuli, why)) {
            std::fprintf(stderr, "plcc: %s:%s\n", run.stimuli.c_str(), why.c_str());
            return kExitUsage;
        }
    }
    std::vector<int> breaks;
    if (cl.Has("--break") && !ParseBreaks(cl.Get("--break"), program, breaks, why)) return UsageError("sim", why);

    // The trace file replaces its target only when it was written whole.
    plc::SafeFileStream file;
    if (!output.empty() && !file.Open(output, &why)) {
        std::fprintf(stderr, "plcc: cannot write '%s': %s\n", output.c_str(), why.c_str());
        return kExitUsage;
    }
    std::FILE* out = output.empty() ? stdout : file.Stream();

    Machine machine(program, std::move(profile), std::move(stimuli));
    for (int label : breaks) machine.SetBreakpoint(label, true);
    SimWriter writer(out, run, machine);
    writer.Header();
    if (run.format != SimFormat::Summary) machine.SetTrace(&writer);

    const StopInfo stop = machine.Run(limits);
    int status = kExitOk;
    std::string reason = stop.text;
    switch (stop.kind) {
        case StopKind::Ended:
        case StopKind::TimeLimit:
        case StopKind::Breakpoint:
        case StopKind::Paused:
            break;
        case StopKind::StepLimit:
            if (!stepLimitGiven) {
                status = kExitProgramErrors;
                reason = "stopped after " + std::to_string(kDefaultStepLimit) +
                         " steps, the limit when none is given (--max-steps, --until-ms)";
            }
            break;
        case StopKind::AwaitingOutcome:
            status = kExitProgramErrors;
            reason += " (add a row outcome<TAB>PATTERN<TAB>RESULT to the stimuli)";
            break;
        case StopKind::Halted:
            status = kExitProgramErrors;
            break;
    }
    writer.Finish(stop, reason, status);
    if (!output.empty() && !file.Commit(&why)) {
        std::fprintf(stderr, "plcc: cannot write '%s': %s\n", output.c_str(), why.c_str());
        return kExitUsage;
    }
    if (status != kExitOk) std::fprintf(stderr, "plcc: %s: %s\n", run.programme.c_str(), reason.c_str());
    return status;
}

}  // namespace plcc
