// SPDX-License-Identifier: GPL-3.0-or-later
// The control-flow graph as DOT text: what `plcc graph --format dot` writes,
// what the layout hands to Graphviz, and what the tests compare. Each node
// shows its label and statement text (with the names of its variables);
// conditional edges carry their condition, CALL and RET edges are drawn in
// their own colour and line, and nodes no path reaches are greyed.
#pragma once

#include <string>

#include "analysis/FlowGraph.h"

namespace plc {

// Node names are "r" and the record index ("r0" the head); edge ids are "e"
// and the edge's index in the graph. END is drawn once beside each record
// that goes there, as "end" and that record's index: one END node for all
// would drag an edge across the whole drawing from each of them, which both
// hides the programme's shape and makes the layout slow.
std::string FlowGraphDot(const FlowGraph& graph);

// The text a node shows: "%P00" and "END" for the ends; a statement's label
// and text, then the DEF names of its variables, each line ending in '\n'.
std::string FlowNodeLabel(const FlowNode& node);

// The DOT node name of a record, and of the END drawn beside record `from`.
std::string DotNodeName(int record);
std::string DotEndName(int from);

}  // namespace plc
