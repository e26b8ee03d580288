// The control-flow graph as DOT text: what `plcc graph --format dot` writes,
// what the layout hands to Graphviz, and what the tests compare. Each node
// shows its label and statement text (with the names of its variables);
// conditional edges carry their condition, CALL and RET edges are drawn in
// their own colour and line, and nodes no path reaches are greyed.
#pragma once

#include <string>

#include "analysis/FlowGraph.h"

namespace plc {

// Node names are "r" and the record index ("r0" the head, "r255" END); edge
// ids are "e" and the edge's index in the graph.
std::string FlowGraphDot(const FlowGraph& graph);

}  // namespace plc
