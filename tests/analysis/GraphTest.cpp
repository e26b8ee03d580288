// SPDX-License-Identifier: GPL-3.0-or-later
// Graphs of small programmes as DOT text, their layout through Graphviz, and
// the graph of an image read back from a binary programme file.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "analysis/Analysis.h"
#include "analysis/FlowDot.h"
#include "analysis/GraphLayout.h"
#include "compiler/CompileDriver.h"
#include "decoder/Listing.h"

namespace plc {
namespace {

constexpr const char* kPreamble =
    "  graph [rankdir=TB, nodesep=0.3, ranksep=0.35];\n"
    "  node [shape=box, style=rounded, fontname=\"Courier\", fontsize=10];\n"
    "  edge [fontname=\"Courier\", fontsize=9, arrowsize=0.7];\n";

FlowGraph GraphOf(const char* text, CPlcProgram& program) {
    const CompileOutcome outcome = CompileProgramSource(program, text);
    EXPECT_TRUE(outcome.success) << (outcome.entries.empty() ? "" : outcome.entries.back());
    return BuildFlowGraph(program, RecordLinesOfImage(program));
}

struct DotCase {
    const char* name;
    const char* text;
    const char* nodesAndEdges;  // the DOT text after the preamble
};

class GraphDot : public ::testing::TestWithParam<DotCase> {};

TEST_P(GraphDot, IsTheExpectedText) {
    CPlcProgram program;
    const FlowGraph graph = GraphOf(GetParam().text, program);
    const std::string name = graph.name.empty() ? "programme" : graph.name;
    EXPECT_EQ(FlowGraphDot(graph), "digraph \"" + name + "\" {\n" + kPreamble + GetParam().nodesAndEdges + "}\n");
}

INSTANTIATE_TEST_SUITE_P(
    Programmes, GraphDot,
    ::testing::Values(
        // A condition on an edge, a call and its return, names, a statement
        // no path reaches (and that runs into the subroutine).
        DotCase{"BranchCallAndUnreached",
                "%TEXT(Demo)\nDEF H001 = Count\nEND\n%P00\nN010 SET H001 + 1\nN020 JMP (H001 = 0) N040\n"
                "N030 CALL N100\nN040 JMP N010\nN050 NOP\nN100 RET\nEND",
                "  r0 [id=\"r0\", label=\"%P00\", shape=oval];\n"
                "  r10 [id=\"r10\", label=\"N010 SET H001 + 1\\lH001 Count\\l\"];\n"
                "  r20 [id=\"r20\", label=\"N020 JMP (H001 = 0) N040\\lH001 Count\\l\"];\n"
                "  r30 [id=\"r30\", label=\"N030 CALL N100\\l\"];\n"
                "  r40 [id=\"r40\", label=\"N040 JMP N010\\l\"];\n"
                "  r50 [id=\"r50\", label=\"N050 NOP\\l\", color=gray55, fontcolor=gray55, "
                "style=\"rounded,dashed\"];\n"
                "  r100 [id=\"r100\", label=\"N100 RET\\l\"];\n"
                "  r0 -> r10 [id=\"e0\"];\n"
                "  r10 -> r20 [id=\"e1\"];\n"
                "  r20 -> r40 [id=\"e2\", label=\"(H001 = 0)\", color=blue3, fontcolor=blue3];\n"
                "  r20 -> r30 [id=\"e3\"];\n"
                "  r30 -> r100 [id=\"e4\", label=\"CALL\", style=bold, color=darkgreen, fontcolor=darkgreen];\n"
                "  r40 -> r10 [id=\"e5\"];\n"
                "  r50 -> r100 [id=\"e6\"];\n"
                "  r100 -> r40 [id=\"e7\", label=\"RET\", style=dashed, color=darkgreen, fontcolor=darkgreen];\n"},
        // END stands beside each record that goes there: a jump to END, a
        // condition's END form, the last statement going on (greyed with it).
        DotCase{"EdgesToEnd", "%P00\nN001 JMP (REFVAL = 0) END\nN002 JMP END\nN003 NOP\nEND",
                "  r0 [id=\"r0\", label=\"%P00\", shape=oval];\n"
                "  r1 [id=\"r1\", label=\"N001 JMP (REFVAL = 0) END\\l\"];\n"
                "  r2 [id=\"r2\", label=\"N002 JMP END\\l\"];\n"
                "  r3 [id=\"r3\", label=\"N003 NOP\\l\", color=gray55, fontcolor=gray55, style=\"rounded,dashed\"];\n"
                "  end1 [id=\"end1\", label=\"END\", shape=oval];\n"
                "  end2 [id=\"end2\", label=\"END\", shape=oval];\n"
                "  end3 [id=\"end3\", label=\"END\", shape=oval, color=gray55, fontcolor=gray55, "
                "style=\"rounded,dashed\"];\n"
                "  r0 -> r1 [id=\"e0\"];\n"
                "  r1 -> end1 [id=\"e1\", label=\"(REFVAL = 0)\", color=blue3, fontcolor=blue3];\n"
                "  r1 -> r2 [id=\"e2\"];\n"
                "  r2 -> end2 [id=\"e3\"];\n"
                "  r3 -> end3 [id=\"e4\"];\n"},
        // An endless loop never reaches END, which is then no node.
        DotCase{"EndlessLoop", "%P00\nN010 WAIT 5\nN020 JMP N010\nEND",
                "  r0 [id=\"r0\", label=\"%P00\", shape=oval];\n"
                "  r10 [id=\"r10\", label=\"N010 WAIT 5\\l\"];\n"
                "  r20 [id=\"r20\", label=\"N020 JMP N010\\l\"];\n"
                "  r0 -> r10 [id=\"e0\"];\n"
                "  r10 -> r20 [id=\"e1\"];\n"
                "  r20 -> r10 [id=\"e2\"];\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphLayout, PlacesEveryNodeAndEdgeInsideTheDrawing) {
    CPlcProgram program;
    const FlowGraph graph = GraphOf("%P00\nN010 SET H001 + 1\nN020 JMP (H001 = 0) N040\nN030 CALL N100\n"
                                    "N040 JMP (IS00 = 1) END\nN050 JMP N010\nN100 RET\nEND",
                                    program);
    GraphLayout layout;
    std::string why;
    ASSERT_TRUE(LayOutFlowGraph(graph, layout, &why)) << why;
    // END stands beside N040 alone.
    ASSERT_EQ(layout.nodes.size(), graph.nodes.size());
    EXPECT_EQ(layout.nodes.back().record, kEndRecord);
    EXPECT_EQ(layout.nodes.back().from, 40);
    ASSERT_EQ(layout.edges.size(), graph.edges.size());
    EXPECT_GT(layout.width, 0);
    EXPECT_GT(layout.height, 0);
    auto inside = [&layout](LayoutPoint p) {
        return p.x >= -1 && p.x <= layout.width + 1 && p.y >= -1 && p.y <= layout.height + 1;
    };
    for (size_t i = 0; i < layout.nodes.size(); ++i) {
        EXPECT_EQ(layout.nodes[i].record, graph.nodes[i].record);
        EXPECT_TRUE(inside(layout.nodes[i].centre)) << graph.nodes[i].text;
        EXPECT_GT(layout.nodes[i].width, 0);
    }
    for (size_t i = 0; i < layout.edges.size(); ++i) {
        const EdgeLayout& e = layout.edges[i];
        EXPECT_EQ(e.edge, i);
        ASSERT_GE(e.path.size(), 4u);
        EXPECT_EQ(e.path.size() % 3, 1u);  // a start point, then three per Bézier piece
        for (LayoutPoint p : e.path) EXPECT_TRUE(inside(p));
        EXPECT_EQ(e.labelAt.has_value(), !graph.edges[i].condition.empty() || graph.edges[i].kind == EdgeKind::Call ||
                                              graph.edges[i].kind == EdgeKind::Return);
    }
    // Top to bottom, with y downwards: the head above the first statement.
    EXPECT_LT(layout.nodes[0].centre.y, layout.nodes[1].centre.y);
}

TEST(GraphLayout, DrawsSvgWithTheNodesIds) {
    CPlcProgram program;
    const FlowGraph graph = GraphOf("%P00\nN010 NOP\nN020 JMP N010\nEND", program);
    std::string svg, why;
    ASSERT_TRUE(FlowGraphSvg(graph, svg, &why)) << why;
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("id=\"r10\""), std::string::npos);
    EXPECT_NE(svg.find("N020 JMP N010"), std::string::npos);
}

// An image read back from a binary programme file: no names, no source
// lines; each node stands on its listing's line.
TEST(GraphOfAProgrammeFile, NodesCarryTheirListingLines) {
    CPlcProgram built;
    ASSERT_TRUE(CompileProgramSource(built, "%P00\nN010 SET H001 = 5\n\nN020 CALL N100\nN030 JMP N020\nN100 RET\nEND")
                    .success);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("graph-" + std::to_string(::getpid()) + ".bin")).string();
    std::string written = path;
    ASSERT_EQ(built.WriteBinaryFile(written, false), 1);
    CPlcProgram read;
    read.Clear();
    ASSERT_EQ(read.ReadBinaryFile(path), 1);
    std::filesystem::remove(path);
    const ListingOutcome listing = ListProgramImage(read, "prog.bin", "01/01/2000, 00:00");
    const std::vector<std::string> lines = SplitLines(listing.text);
    const ProgramAnalysis analysis =
        AnalyseProgram(read, ReadSourceSites(lines), RecordLinesOfListing(listing.lines));
    for (int record : {10, 20, 30, 100}) {
        const FlowNode* node = analysis.graph.Node(record);
        ASSERT_NE(node, nullptr) << record;
        ASSERT_GE(node->line, 0);
        EXPECT_EQ(lines[static_cast<size_t>(node->line)], node->text);
    }
    // H001 is set and never read; the hint stands on the listing's line.
    ASSERT_EQ(analysis.findings.size(), 1u);
    EXPECT_EQ(analysis.findings[0].code, "I02");
    EXPECT_EQ(analysis.findings[0].at.line, analysis.graph.Node(10)->line);
    EXPECT_EQ(analysis.findings[0].at.column, 9);  // "N010 SET H001 = 5"
}

// Images no compiler made (a foreign or damaged binary programme file):
// links, targets and operands anywhere. The graph keeps to its nodes.
TEST(GraphOfAnyImage, EdgesJoinNodesOfTheGraph) {
    std::mt19937 rng(22);
    for (int round = 0; round < 300; ++round) {
        CPlcProgram program;
        program.Clear();
        for (int r = 0; r < kRecordCount; ++r) {
            if (rng() % 3 != 0) continue;
            PlcInstr& rec = program.Record(r);
            for (size_t b = 0; b < 8; ++b) rec.b[b] = static_cast<uint8_t>(rng());
            if (rng() % 2 == 0) rec.setOpcode(static_cast<uint8_t>(rng() % 40));  // mostly flow records
            if (rng() % 2 == 0) rec.setNext(static_cast<uint16_t>(r + 1 + rng() % 5));
            if (rng() % 2 == 0) rec.setTarget(static_cast<uint16_t>(rng() % 260));
            rec.setUsed(rec.opcode() != 0 ? 1 : 0);
        }
        if (rng() % 2 == 0) {
            program.Record(kEntryRecord).setOpcode(1);
            program.Record(kEntryRecord).setTarget(static_cast<uint16_t>(1 + rng() % 254));
        }
        RecordLines lines;
        lines.fill(-1);
        const ProgramAnalysis analysis = AnalyseProgram(program, SourceSites{}, lines);
        for (const FlowEdge& e : analysis.graph.edges) {
            ASSERT_NE(analysis.graph.Node(e.from), nullptr) << round;
            ASSERT_NE(analysis.graph.Node(e.to), nullptr) << round;
        }
        EXPECT_FALSE(FlowGraphDot(analysis.graph).empty());
    }
}

}  // namespace
}  // namespace plc
