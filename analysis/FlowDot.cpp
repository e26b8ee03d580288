// DOT text of a control-flow graph, one line per node and edge.
#include "analysis/FlowDot.h"

#include <cstdio>
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

std::string NodeLine(const FlowNode& node) {
    char name[16];
    std::snprintf(name, sizeof name, "r%d", node.record);
    std::string attrs = "id=" + Quoted(name);
    if (node.record == kEntryRecord || node.record == kEndRecord) {
        attrs += ", label=" + Quoted(node.text) + ", shape=oval";
    } else {
        // A comment line (a reserved record, an error line) carries no label of its own.
        std::string text = LabelledText(node.record, node.text) + '\n';
        if (!node.names.empty()) text += node.names + '\n';
        attrs += ", label=" + Quoted(text);
    }
    if (!node.decodable) attrs += std::string(", color=") + kError + ", fontcolor=" + kError;
    if (!node.reachable) {
        attrs += std::string(", color=") + kGrey + ", fontcolor=" + kGrey + ", style=\"rounded,dashed\"";
    }
    return "  " + std::string(name) + " [" + attrs + "];\n";
}

std::string EdgeLine(const FlowEdge& edge, size_t index) {
    char head[64];
    std::snprintf(head, sizeof head, "  r%d -> r%d [id=\"e%zu\"", edge.from, edge.to, index);
    std::string line = head;
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

std::string FlowGraphDot(const FlowGraph& graph) {
    std::string dot = "digraph " + Quoted(graph.name.empty() ? "programme" : graph.name) + " {\n";
    dot += "  graph [rankdir=TB, nodesep=0.3, ranksep=0.35];\n";
    dot += "  node [shape=box, style=rounded, fontname=\"Courier\", fontsize=10];\n";
    dot += "  edge [fontname=\"Courier\", fontsize=9, arrowsize=0.7];\n";
    for (const FlowNode& node : graph.nodes) dot += NodeLine(node);
    for (size_t i = 0; i < graph.edges.size(); ++i) dot += EdgeLine(graph.edges[i], i);
    dot += "}\n";
    return dot;
}

}  // namespace plc
