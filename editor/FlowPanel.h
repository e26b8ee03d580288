// SPDX-License-Identifier: GPL-3.0-or-later
// The flow graph panel beside the text: the control-flow graph of the
// programme as the analysis layer lays it out (Graphviz's dot layout), drawn
// as items of a graphics scene the user zooms, pans and fits. Each node
// shows its label, statement and DEF names; conditional jumps carry their
// condition, CALL and RET are green, what no path reaches is grey. A click
// on a node asks for its line; the node of the caret's line and the
// statement a dry run runs next are highlighted.
//
// The panel only draws: what to draw, and when, is the analysis part's
// (EditorAnalysis), which lays graphs out off the typing path.
#pragma once

#include <QWidget>
#include <cstdint>
#include <map>
#include <string>

#include "analysis/FlowGraph.h"
#include "analysis/GraphLayout.h"

class QGraphicsScene;
class QLabel;

namespace plc {

class FlowNodeItem;
class FlowGraphView;

class FlowPanel : public QWidget {
    Q_OBJECT
public:
    explicit FlowPanel(QWidget* parent = nullptr);
    ~FlowPanel() override;

    // Draws `graph` where `layout` places it. The first graph is fitted into
    // the view; a later one keeps the zoom and the place shown.
    void ShowGraph(const FlowGraph& graph, const GraphLayout& layout);
    // The drawing stays; its nodes stand on the lines of `graph` now (the
    // text moved, the programme did not change).
    void UpdateLines(const FlowGraph& graph);
    bool HasGraph() const { return m_hasGraph; }
    const FlowGraph& Graph() const { return m_graph; }
    // True when `graph` draws as the graph shown: the same nodes with the
    // same texts and states, and the same edges; lines may differ.
    bool DrawsAs(const FlowGraph& graph) const;

    // A note above the graph (why it is not up to date); empty hides it.
    void SetNote(const std::string& text);

    // The node of the caret's line; -1 or a line without a node: none.
    void HighlightLine(int32_t line);
    // The record a dry run runs next; -1: none.
    void SetRunRecord(int record);
    // The record whose node is highlighted for the caret; -1 when none is.
    int HighlightedRecord() const { return m_caretRecord; }

    void ZoomIn();
    void ZoomOut();
    // The whole graph in the view, but never so small that the statements
    // cannot be read: then the graph's width, from the top.
    void Fit();
    double Zoom() const;

    // Where the node of `record` stands in the view's viewport; a null point
    // when the record has no node (tests click there).
    QPoint NodeInViewport(int record) const;
    QWidget* Viewport() const;

signals:
    // A node was clicked: its record and its 0-based line (-1 when unknown).
    void nodeClicked(int record, int32_t line);

private:
    void Restyle(int record);
    // A mark (the caret's or the run's record) moved to `record`: both
    // nodes drawn again, the new one scrolled into view.
    void MoveMark(int& mark, int record);
    FlowNodeItem* ItemOf(int record) const;

    FlowGraphView* m_view = nullptr;
    QGraphicsScene* m_scene = nullptr;
    QLabel* m_note = nullptr;
    FlowGraph m_graph;
    bool m_hasGraph = false;
    // The statement nodes by record (END stands beside several records and
    // is no target of a line).
    std::map<int, FlowNodeItem*> m_items;
    int m_caretRecord = -1;
    int m_runRecord = -1;
};

}  // namespace plc
