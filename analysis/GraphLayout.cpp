// SPDX-License-Identifier: GPL-3.0-or-later
// Layout through Graphviz's cgraph and gvc: the graph's DOT text is read
// into a cgraph graph, laid out with the dot engine, and its node
// coordinates and edge splines are read back (or rendered as SVG).
#include "analysis/GraphLayout.h"

#include <graphviz/gvc.h>

#include <cstdlib>
#include <mutex>
#include <string_view>

#include "analysis/FlowDot.h"

namespace plc {

namespace {

constexpr double kPointsPerInch = 72.0;

// Graphviz is not reentrant: one lock for every use, one context for the
// process (it loads the plugins once).
std::mutex& GraphvizLock() {
    static std::mutex lock;
    return lock;
}

// Graphviz's error messages while the lock is held.
std::string* g_messages = nullptr;

int CollectMessage(char* message) {
    if (g_messages != nullptr && message != nullptr) *g_messages += message;
    return 0;
}

GVC_t* Context() {
    static GVC_t* const context = gvContext();
    return context;
}

// One laid-out graph, freed on leaving.
class LaidOutGraph {
public:
    LaidOutGraph(const FlowGraph& graph, std::string& messages) : m_messages(messages) {
        g_messages = &m_messages;
        agseterr(AGERR);
        agseterrf(CollectMessage);
        m_gvc = Context();
        if (m_gvc == nullptr) {
            m_messages = "Graphviz could not be started";
            return;
        }
        const std::string dot = FlowGraphDot(graph);
        m_graph = agmemread(dot.c_str());
        if (m_graph == nullptr) {
            if (m_messages.empty()) m_messages = "Graphviz could not read the graph";
            return;
        }
        m_laidOut = gvLayout(m_gvc, m_graph, "dot") == 0;
        if (!m_laidOut && m_messages.empty()) m_messages = "Graphviz could not lay the graph out";
    }
    ~LaidOutGraph() {
        if (m_laidOut) gvFreeLayout(m_gvc, m_graph);
        if (m_graph != nullptr) agclose(m_graph);
        agseterrf(nullptr);
        g_messages = nullptr;
    }
    LaidOutGraph(const LaidOutGraph&) = delete;
    LaidOutGraph& operator=(const LaidOutGraph&) = delete;

    bool Ok() const { return m_laidOut; }
    GVC_t* Gvc() const { return m_gvc; }
    Agraph_t* Graph() const { return m_graph; }

private:
    std::string& m_messages;
    GVC_t* m_gvc = nullptr;
    Agraph_t* m_graph = nullptr;
    bool m_laidOut = false;
};

bool Fail(std::string* error, const std::string& why) {
    if (error != nullptr) *error = why.empty() ? std::string("Graphviz failed") : why;
    return false;
}

// The number after `prefix` in a name or id ("r10", "end10", "e7"); -1 when
// `text` is not the prefix and a number.
long NumberAfter(const char* text, std::string_view prefix) {
    if (text == nullptr || !std::string_view(text).starts_with(prefix) || text[prefix.size()] == '\0') return -1;
    char* end = nullptr;
    const long n = std::strtol(text + prefix.size(), &end, 10);
    return *end == '\0' && n >= 0 ? n : -1;
}

}  // namespace

bool LayOutFlowGraph(const FlowGraph& graph, GraphLayout& layout, std::string* error) {
    const std::lock_guard<std::mutex> hold(GraphvizLock());
    std::string messages;
    LaidOutGraph laid(graph, messages);
    if (!laid.Ok()) return Fail(error, messages);
    Agraph_t* g = laid.Graph();

    // Graphviz's y runs upwards from the bottom of the bounding box.
    const boxf bb = GD_bb(g);
    layout = GraphLayout{};
    layout.width = bb.UR.x - bb.LL.x;
    layout.height = bb.UR.y - bb.LL.y;
    auto place = [&bb](pointf p) { return LayoutPoint{p.x - bb.LL.x, bb.UR.y - p.y}; };

    // By record, and END by the record it stands beside.
    std::vector<std::optional<NodeLayout>> nodes(kRecordCount), ends(kRecordCount);
    std::vector<std::optional<EdgeLayout>> edges(graph.edges.size());
    for (Agnode_t* n = agfstnode(g); n != nullptr; n = agnxtnode(g, n)) {
        const long endOf = NumberAfter(agnameof(n), "end");
        const long record = endOf >= 0 ? kEndRecord : NumberAfter(agnameof(n), "r");
        if (record < 0 || record >= kRecordCount || endOf >= kRecordCount) continue;
        const NodeLayout at{static_cast<int>(record), static_cast<int>(endOf), place(ND_coord(n)),
                            ND_width(n) * kPointsPerInch, ND_height(n) * kPointsPerInch};
        if (endOf >= 0)
            ends[static_cast<size_t>(endOf)] = at;
        else
            nodes[static_cast<size_t>(record)] = at;
        for (Agedge_t* e = agfstout(g, n); e != nullptr; e = agnxtout(g, e)) {
            const long index = NumberAfter(agget(e, const_cast<char*>("id")), "e");
            if (index < 0 || static_cast<size_t>(index) >= edges.size()) continue;
            EdgeLayout out;
            out.edge = static_cast<size_t>(index);
            if (const splines* spl = ED_spl(e); spl != nullptr && spl->size > 0) {
                const bezier& bz = spl->list[0];
                for (int i = 0; i < bz.size; ++i) out.path.push_back(place(bz.list[i]));
                if (bz.eflag) out.arrowTip = place(bz.ep);
            }
            if (const textlabel_t* label = ED_label(e); label != nullptr && label->set) out.labelAt = place(label->pos);
            edges[static_cast<size_t>(index)] = std::move(out);
        }
    }
    for (const FlowNode& node : graph.nodes) {
        if (node.record == kEndRecord) continue;
        if (!nodes[static_cast<size_t>(node.record)]) return Fail(error, "Graphviz lost a node of the graph");
        layout.nodes.push_back(*nodes[static_cast<size_t>(node.record)]);
    }
    for (const FlowEdge& edge : graph.edges) {
        std::optional<NodeLayout>& end = ends[static_cast<size_t>(edge.from)];
        if (edge.to != kEndRecord || !end) continue;
        layout.nodes.push_back(*end);
        end.reset();
    }
    for (auto& edge : edges) {
        if (!edge) return Fail(error, "Graphviz lost an edge of the graph");
        layout.edges.push_back(std::move(*edge));
    }
    return true;
}

bool FlowGraphSvg(const FlowGraph& graph, std::string& svg, std::string* error) {
    const std::lock_guard<std::mutex> hold(GraphvizLock());
    std::string messages;
    LaidOutGraph laid(graph, messages);
    if (!laid.Ok()) return Fail(error, messages);
    char* data = nullptr;
    unsigned int length = 0;
    if (gvRenderData(laid.Gvc(), laid.Graph(), "svg", &data, &length) != 0 || data == nullptr) {
        if (data != nullptr) gvFreeRenderData(data);
        return Fail(error, messages.empty() ? "Graphviz could not draw the graph as SVG" : messages);
    }
    svg.assign(data, length);
    gvFreeRenderData(data);
    return true;
}

}  // namespace plc
