// SPDX-License-Identifier: GPL-3.0-or-later
// DOT text of a control-flow graph, one line per node and edge.
#include "analysis/FlowDot.h"

#include <string_view>

namespace plc {

namespace {

// A DOT string: quotes and backslashes escaped, line breaks as left-justified
// line ends ("\l").
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\l";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// The colour of what no path reaches, of undecodable records, and of calls
// and returns.
constexpr const char* kGrey = "gray55";
constexpr const char* kError = "red3";
constexpr const char* kCallColour = "darkgreen";
constexpr const char* kBranchColour = "blue3";

// A node: a statement, the head, or END beside the record `from`.
std::string NodeLine(const FlowNode& node, const std::string& name) {
    std::string attrs = "id=" + Quoted(name);
    attrs += ", label=" + Quoted(FlowNodeLabel(node));
    if (node.record == kEntryRecord || node.record == kEndRecord) attrs += ", shape=oval";
    if (!node.decodable) attrs += std::string(", color=") + kError + ", fontcolor=" + kError;
    if (!node.reachable) {
        attrs += std::string(", color=") + kGrey + ", fontcolor=" + kGrey + ", style=\"rounded,dashed\"";
    }
    return "  " + name + " [" + attrs + "];\n";
}

std::string EdgeLine(const FlowEdge& edge, size_t index) {
    const std::string to = edge.to == kEndRecord ? DotEndName(edge.from) : DotNodeName(edge.to);
    std::string line = "  " + DotNodeName(edge.from) + " -> " + to + " [id=\"e" + std::to_string(index) + "\"";
    switch (edge.kind) {
        case EdgeKind::Next:
        case EdgeKind::Jump: break;
        case EdgeKind::Branch:
            line += ", label=" + Quoted(edge.condition) + ", color=" + kBranchColour + ", fontcolor=" + kBranchColour;
            break;
        case EdgeKind::Call:
            line += std::string(", label=\"CALL\", style=bold, color=") + kCallColour + ", fontcolor=" + kCallColour;
            break;
        case EdgeKind::Return:
            line += std::string(", label=\"RET\", style=dashed, color=") + kCallColour + ", fontcolor=" + kCallColour;
            break;
    }
    return line + "];\n";
}

}  // namespace

std::string FlowNodeLabel(const FlowNode& node) {
    if (node.record == kEntryRecord || node.record == kEndRecord) return node.text;
    // A comment line (a reserved record, an error line) carries no label of its own.
    std::string text = LabelledText(node.record, node.text) + '\n';
    if (!node.names.empty()) text += node.names + '\n';
    return text;
}

std::string DotNodeName(int record) { return "r" + std::to_string(record); }
std::string DotEndName(int from) { return "end" + std::to_string(from); }

std::string FlowGraphDot(const FlowGraph& graph) {
    std::string dot = "digraph " + Quoted(graph.name.empty() ? "programme" : graph.name) + " {\n";
    dot += "  graph [rankdir=TB, nodesep=0.3, ranksep=0.35];\n";
    dot += "  node [shape=box, style=rounded, fontname=\"Courier\", fontsize=10];\n";
    dot += "  edge [fontname=\"Courier\", fontsize=9, arrowsize=0.7];\n";
    for (const FlowNode& node : graph.nodes) {
        if (node.record != kEndRecord) dot += NodeLine(node, DotNodeName(node.record));
    }
    // END beside each record that goes there, greyed with it.
    int lastFrom = -1;
    for (const FlowEdge& edge : graph.edges) {
        if (edge.to != kEndRecord || edge.from == lastFrom) continue;  // edges come by source
        lastFrom = edge.from;
        FlowNode end = *graph.Node(kEndRecord);
        const FlowNode* from = graph.Node(edge.from);
        end.reachable = from != nullptr && from->reachable;
        dot += NodeLine(end, DotEndName(edge.from));
    }
    for (size_t i = 0; i < graph.edges.size(); ++i) dot += EdgeLine(graph.edges[i], i);
    dot += "}\n";
    return dot;
}

}  // namespace plc
