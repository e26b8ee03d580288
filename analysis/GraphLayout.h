// SPDX-License-Identifier: GPL-3.0-or-later
// The control-flow graph laid out by Graphviz's library (the dot layout, in
// this process): where each node stands and the path of each edge, for a
// view that draws them itself, and the same layout drawn as SVG text.
// Graphviz keeps global state, so calls are serialised; any thread may call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/FlowGraph.h"

namespace plc {

// Points (1/72 inch), origin at the top left of the drawing, y downwards.
struct LayoutPoint {
    double x = 0;
    double y = 0;
};

struct NodeLayout {
    int record = 0;  // 255: END, drawn beside the record `from`
    int from = -1;
    LayoutPoint centre;
    double width = 0;
    double height = 0;
};

struct EdgeLayout {
    size_t edge = 0;                      // index in FlowGraph::edges
    std::vector<LayoutPoint> path;        // cubic Bézier: a start point, then three points per piece
    std::optional<LayoutPoint> arrowTip;  // the arrow head's tip, beyond the path's end
    std::optional<LayoutPoint> labelAt;   // the centre of the edge's label
};

struct GraphLayout {
    double width = 0;
    double height = 0;
    // The graph's nodes in their order, but END, which stands once beside
    // each record that goes there, in the order of the edges that lead there.
    std::vector<NodeLayout> nodes;
    std::vector<EdgeLayout> edges;  // in the graph's edge order
};

// Lays `graph` out. False, with `error` saying why, when Graphviz fails.
bool LayOutFlowGraph(const FlowGraph& graph, GraphLayout& layout, std::string* error = nullptr);

// Lays `graph` out and draws it as an SVG document.
bool FlowGraphSvg(const FlowGraph& graph, std::string& svg, std::string* error = nullptr);

}  // namespace plc
