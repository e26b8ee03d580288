// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FlowPanel.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "analysis/FlowDot.h"
#include "platform/Text.h"

namespace plc {

namespace {

// The colours of the drawing, as plcc graph gives them: grey for what no
// path reaches, red for undecodable records, green for CALL and RET, blue
// for conditional jumps.
const QColor kInk(0x20, 0x20, 0x20);
const QColor kGrey(0x8c, 0x8c, 0x8c);
const QColor kErrorInk(0xcd, 0x00, 0x00);
const QColor kCallInk(0x00, 0x64, 0x00);
const QColor kBranchInk(0x00, 0x00, 0xcd);
const QColor kCaretFill(0xd6, 0xe6, 0xfb);
const QColor kCaretEdge(0x2a, 0x6a, 0xd0);
const QColor kRunFill(0xff, 0xe6, 0x80);
const QColor kRunEdge(0xb0, 0x80, 0x00);

constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 8.0;
// Below this scale a fitted graph cannot be read: it gets its width instead.
constexpr double kReadableZoom = 0.6;

QFont GraphFont(double pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace

// ---------------------------------------------------------------- items

// A node: a rounded box (an oval for the programme head and END) with the
// node's text, scaled down where the font is wider than Graphviz measured.
class FlowNodeItem : public QGraphicsItem {
public:
    FlowNodeItem(const FlowNode& node, const NodeLayout& at)
        : m_record(node.record),
          m_line(node.line),
          m_reachable(node.reachable),
          m_decodable(node.decodable),
          m_oval(node.record == kEntryRecord || node.record == kEndRecord),
          m_rect(-at.width / 2, -at.height / 2, at.width, at.height) {
        setPos(at.centre.x, at.centre.y);
        QString text = ToQString(FlowNodeLabel(node));
        while (text.endsWith('\n')) text.chop(1);
        m_lines = text.split('\n');
        setToolTip(m_line >= 0 ? text + QString("\n(line %1)").arg(m_line + 1) : text);
        setCursor(Qt::PointingHandCursor);
    }

    int Record() const { return m_record; }
    int32_t Line() const { return m_line; }
    void SetLine(int32_t line) { m_line = line; }
    void SetMarks(bool caret, bool run) {
        if (caret == m_caret && run == m_run) return;
        m_caret = caret;
        m_run = run;
        update();
    }

    QRectF boundingRect() const override { return m_rect.adjusted(-2, -2, 2, 2); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        painter->setRenderHint(QPainter::Antialiasing);
        QColor ink = !m_decodable ? kErrorInk : m_reachable ? kInk : kGrey;
        QPen pen(m_run ? kRunEdge : m_caret ? kCaretEdge : ink, m_run || m_caret ? 2.2 : 1.0);
        if (!m_reachable && !m_run && !m_caret) pen.setStyle(Qt::DashLine);
        painter->setPen(pen);
        painter->setBrush(m_run ? kRunFill : m_caret ? kCaretFill : QColor(Qt::white));
        if (m_oval)
            painter->drawEllipse(m_rect);
        else
            painter->drawRoundedRect(m_rect, 5, 5);

        // The text, left-aligned as Graphviz sets it, shrunk to fit the box.
        static const QFont font = GraphFont(10);
        static const QFontMetricsF metrics(font);
        double width = 0;
        for (const QString& line : m_lines) width = std::max(width, metrics.horizontalAdvance(line));
        const double height = metrics.lineSpacing() * static_cast<double>(m_lines.size());
        const double room = m_rect.width() - (m_oval ? 16 : 8);
        const double scale = std::min({1.0, room / std::max(width, 1.0), (m_rect.height() - 2) / std::max(height, 1.0)});
        painter->save();
        painter->setPen(ink);
        painter->setFont(font);
        const double left = m_oval ? -width * scale / 2 : m_rect.left() + 4;
        painter->translate(left, -height * scale / 2);
        painter->scale(scale, scale);
        double y = metrics.ascent();
        for (const QString& line : m_lines) {
            painter->drawText(QPointF(0, y), line);
            y += metrics.lineSpacing();
        }
        painter->restore();
    }

private:
    int m_record;
    int32_t m_line;
    bool m_reachable, m_decodable, m_oval;
    bool m_caret = false, m_run = false;
    QRectF m_rect;
    QStringList m_lines;
};

namespace {

// An edge: its Bézier path, the arrow head at its end and its label.
void AddEdge(QGraphicsScene& scene, const FlowEdge& edge, const EdgeLayout& at) {
    if (at.path.empty()) return;
    QColor ink = kInk;
    QString label;
    Qt::PenStyle style = Qt::SolidLine;
    double width = 1.0;
    switch (edge.kind) {
        case EdgeKind::Next:
        case EdgeKind::Jump: break;
        case EdgeKind::Branch:
            ink = kBranchInk;
            label = ToQString(edge.condition);
            break;
        case EdgeKind::Call:
            ink = kCallInk;
            label = "CALL";
            width = 2.0;
            break;
        case EdgeKind::Return:
            ink = kCallInk;
            label = "RET";
            style = Qt::DashLine;
            break;
    }
    const auto point = [](const LayoutPoint& p) { return QPointF(p.x, p.y); };
    QPainterPath path(point(at.path.front()));
    for (size_t i = 1; i + 2 < at.path.size(); i += 3)
        path.cubicTo(point(at.path[i]), point(at.path[i + 1]), point(at.path[i + 2]));
    QPen pen(ink, width, style);
    auto* line = scene.addPath(path, pen);
    line->setZValue(-1);

    if (at.arrowTip) {
        const QPointF tip = point(*at.arrowTip);
        const QPointF from = point(at.path.back());
        const QPointF d = tip - from;
        const double length = std::hypot(d.x(), d.y());
        if (length > 0.01) {
            const QPointF n(-d.y() * 0.35, d.x() * 0.35);
            QPolygonF head;
            head << tip << from + n << from - n;
            auto* arrow = scene.addPolygon(head, QPen(ink, 1.0), QBrush(ink));
            arrow->setZValue(-1);
        }
    }
    if (at.labelAt && !label.isEmpty()) {
        static const QFont font = GraphFont(9);
        auto* text = scene.addSimpleText(label, font);
        text->setBrush(ink);
        const QRectF box = text->boundingRect();
        text->setPos(at.labelAt->x - box.width() / 2, at.labelAt->y - box.height() / 2);
    }
}

}  // namespace

// ---------------------------------------------------------------- view

// The view: the left button drags the drawing about, a click without a
// drag on a node reports it; Ctrl and the wheel zoom.
class FlowGraphView : public QGraphicsView {
public:
    FlowGraphView(QGraphicsScene* scene, FlowPanel* panel) : QGraphicsView(scene), m_panel(panel) {
        setDragMode(QGraphicsView::ScrollHandDrag);
        setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
        setBackgroundBrush(QColor(0xfb, 0xfb, 0xfb));
    }

    std::function<void(FlowNodeItem*)> clicked;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        m_pressAt = event->position().toPoint();
        QGraphicsView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QGraphicsView::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton) return;
        if ((event->position().toPoint() - m_pressAt).manhattanLength() > 4) return;
        for (QGraphicsItem* item : items(event->position().toPoint())) {
            if (auto* node = dynamic_cast<FlowNodeItem*>(item)) {
                if (clicked) clicked(node);
                return;
            }
        }
    }
    void wheelEvent(QWheelEvent* event) override {
        if (event->modifiers() & Qt::ControlModifier) {
            if (event->angleDelta().y() > 0)
                m_panel->ZoomIn();
            else if (event->angleDelta().y() < 0)
                m_panel->ZoomOut();
            event->accept();
            return;
        }
        QGraphicsView::wheelEvent(event);
    }

private:
    FlowPanel* m_panel;
    QPoint m_pressAt;
};

// ---------------------------------------------------------------- panel

FlowPanel::FlowPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("flowPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    auto button = [&](const char* name, const char* text, const char* tip, auto handler) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    button("zoomIn", "+", "Zoom in (Ctrl+wheel)", [this] { ZoomIn(); });
    button("zoomOut", "\xe2\x88\x92", "Zoom out (Ctrl+wheel)", [this] { ZoomOut(); });
    button("fit", "Fit", "The whole graph, or its width when it is too tall to read", [this] { Fit(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);

    m_note = new QLabel(this);
    m_note->setObjectName("flowNote");
    m_note->setWordWrap(true);
    m_note->setStyleSheet("QLabel { background: #fff4d6; color: #6e4800; padding: 3px; }");
    m_note->hide();
    layout->addWidget(m_note);

    m_scene = new QGraphicsScene(this);
    m_view = new FlowGraphView(m_scene, this);
    m_view->setObjectName("flowView");
    m_view->clicked = [this](FlowNodeItem* node) { emit nodeClicked(node->Record(), node->Line()); };
    layout->addWidget(m_view, 1);
}

FlowPanel::~FlowPanel() = default;

void FlowPanel::ShowGraph(const FlowGraph& graph, const GraphLayout& layout) {
    const bool first = !m_hasGraph;
    const QPointF centre = m_view->mapToScene(m_view->viewport()->rect().center());
    m_scene->clear();
    m_items.clear();
    m_graph = graph;
    m_hasGraph = true;

    // Nodes come in the graph's order, END once beside each record that
    // goes there, greyed with it.
    size_t n = 0;
    for (const FlowNode& node : graph.nodes) {
        if (node.record == kEndRecord || n >= layout.nodes.size()) continue;
        auto* item = new FlowNodeItem(node, layout.nodes[n++]);
        m_scene->addItem(item);
        m_items[node.record] = item;
    }
    if (const FlowNode* end = graph.Node(kEndRecord)) {
        for (; n < layout.nodes.size(); ++n) {
            FlowNode beside = *end;
            const FlowNode* from = graph.Node(layout.nodes[n].from);
            beside.reachable = from != nullptr && from->reachable;
            m_scene->addItem(new FlowNodeItem(beside, layout.nodes[n]));
        }
    }
    for (const EdgeLayout& edge : layout.edges)
        if (edge.edge < graph.edges.size()) AddEdge(*m_scene, graph.edges[edge.edge], edge);
    m_scene->setSceneRect(QRectF(-10, -10, layout.width + 20, layout.height + 20));

    for (const auto& [record, item] : m_items) item->SetMarks(record == m_caretRecord, record == m_runRecord);
    if (first)
        Fit();
    else
        m_view->centerOn(centre);
}

void FlowPanel::UpdateLines(const FlowGraph& graph) {
    for (const FlowNode& node : graph.nodes) {
        if (FlowNodeItem* item = ItemOf(node.record)) item->SetLine(node.line);
    }
    m_graph = graph;
}

bool FlowPanel::DrawsAs(const FlowGraph& graph) const {
    if (!m_hasGraph || graph.nodes.size() != m_graph.nodes.size() || graph.edges.size() != m_graph.edges.size())
        return false;
    for (size_t i = 0; i < graph.nodes.size(); ++i) {
        const FlowNode &a = graph.nodes[i], &b = m_graph.nodes[i];
        if (a.record != b.record || a.text != b.text || a.names != b.names || a.flow != b.flow ||
            a.reachable != b.reachable || a.decodable != b.decodable)
            return false;
    }
    for (size_t i = 0; i < graph.edges.size(); ++i) {
        const FlowEdge &a = graph.edges[i], &b = m_graph.edges[i];
        if (a.from != b.from || a.to != b.to || a.kind != b.kind || a.condition != b.condition) return false;
    }
    return true;
}

void FlowPanel::SetNote(const std::string& text) {
    m_note->setText(ToQString(text));
    m_note->setVisible(!text.empty());
}

FlowNodeItem* FlowPanel::ItemOf(int record) const {
    const auto it = m_items.find(record);
    return it == m_items.end() ? nullptr : it->second;
}

void FlowPanel::Restyle(int record) {
    if (FlowNodeItem* item = ItemOf(record)) item->SetMarks(record == m_caretRecord, record == m_runRecord);
}

void FlowPanel::HighlightLine(int32_t line) {
    int record = -1;
    if (line >= 0) {
        for (const FlowNode& node : m_graph.nodes) {
            if (node.line == line && node.record != kEndRecord && node.record != kEntryRecord) {
                record = node.record;
                break;
            }
        }
    }
    MoveMark(m_caretRecord, record);
}

void FlowPanel::SetRunRecord(int record) { MoveMark(m_runRecord, record); }

void FlowPanel::MoveMark(int& mark, int record) {
    if (record == mark) return;
    const int before = mark;
    mark = record;
    Restyle(before);
    Restyle(record);
    if (FlowNodeItem* item = ItemOf(record)) m_view->ensureVisible(item, 30, 30);
}

double FlowPanel::Zoom() const { return m_view->transform().m11(); }

void FlowPanel::ZoomIn() {
    if (Zoom() * kZoomStep <= kMaxZoom) m_view->scale(kZoomStep, kZoomStep);
}

void FlowPanel::ZoomOut() {
    if (Zoom() / kZoomStep >= kMinZoom) m_view->scale(1 / kZoomStep, 1 / kZoomStep);
}

void FlowPanel::Fit() {
    const QRectF all = m_scene->sceneRect();
    if (all.isEmpty()) return;
    m_view->resetTransform();
    const QSize room = m_view->viewport()->size();
    const double whole = std::min(room.width() / all.width(), room.height() / all.height());
    if (whole >= kReadableZoom) {
        const double scale = std::min(whole, 1.5);
        m_view->scale(scale, scale);
        m_view->centerOn(all.center());
        return;
    }
    const double wide = std::clamp(room.width() / all.width(), kReadableZoom, 1.0);
    m_view->scale(wide, wide);
    m_view->centerOn(QPointF(all.center().x(), all.top() + room.height() / wide / 2));
}

QPoint FlowPanel::NodeInViewport(int record) const {
    const FlowNodeItem* item = ItemOf(record);
    if (item == nullptr) return {};
    m_view->ensureVisible(item, 10, 10);
    return m_view->mapFromScene(item->pos());
}

QWidget* FlowPanel::Viewport() const { return m_view->viewport(); }

}  // namespace plc
