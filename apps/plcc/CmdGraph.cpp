// SPDX-License-Identifier: GPL-3.0-or-later
// plcc graph: the control-flow graph of a programme as DOT or SVG text.
#include <cstdio>

#include "analysis/Analysis.h"
#include "analysis/FlowDot.h"
#include "analysis/GraphLayout.h"
#include "apps/plcc/Plcc.h"
#include "base/PathParts.h"

namespace plcc {

int CmdGraph(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {"-o", "--format", kDiagnosticsOption}, 1, cl, why)) return UsageError("graph", why);
    const std::string output = cl.Has("-o") ? cl.Get("-o") : "";
    // Without --format, an output file named *.svg gets SVG.
    std::string format = cl.Has("--format") ? cl.Get("--format") : "dot";
    if (!cl.Has("--format") && output.size() > 4 && output.ends_with(".svg")) format = "svg";
    if (format != "dot" && format != "svg") return UsageError("graph", "unknown format '" + format + "' (dot or svg)");
    if (!output.empty() && !OutputIsNotInput(cl.File(), output)) return kExitUsage;

    Programme in;
    if (const int status = LoadProgramme(cl.File(), cl.diagnostics, in)) return status;
    const plc::ProgramAnalysis analysis =
        plc::AnalyseProgram(in.program, in.sites, in.recordLines);
    plc::FlowGraph graph = analysis.graph;
    if (graph.name.empty()) graph.name = cl.File() == kStdinName ? "programme" : std::string(plc::StemOf(cl.File()));

    std::string text;
    if (format == "dot") {
        text = plc::FlowGraphDot(graph);
    } else if (!plc::FlowGraphSvg(graph, text, &why)) {
        std::fprintf(stderr, "plcc: cannot lay out the graph of '%s': %s\n", in.file.c_str(), why.c_str());
        return kExitUsage;
    }
    return WriteResult(output, text);
}

}  // namespace plcc
