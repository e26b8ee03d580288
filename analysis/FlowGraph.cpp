// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the control-flow graph of an image from its flow facts, with each
// statement's decoded text and the names of its variables.
#include "analysis/FlowGraph.h"

#include <algorithm>
#include <bitset>

#include "analysis/FlowFacts.h"
#include "analysis/RecordVariables.h"
#include "compiler/ProgramIndex.h"
#include "decoder/DecodeRecord.h"
#include "image/LabelText.h"

namespace plc {

namespace {

// The condition of a conditional jump as its text shows it: from the first
// "(" to the last ")" ("(H005 = 0)", "(RXMSG, 1, H005)").
std::string ConditionOf(const std::string& text) {
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return {};
    return text.substr(open, close - open + 1);
}

// "H005 Speed, M010 Ready": the variables of a record that have names, each once.
std::string NamesOf(const CPlcProgram& program, const PlcInstr& rec) {
    const RecordVariables vars = VariablesOf(rec);
    std::string names;
    for (int i = 0; i < vars.count; ++i) {
        const VariableAccess& v = vars.vars[static_cast<size_t>(i)];
        if (v.index >= VarCount(v.var)) continue;
        const std::string& name = program.Name(v.var, v.index);
        if (name.empty()) continue;
        const std::string entry = VariableName(v.var, v.index) + " " + name;
        if (names.find(entry) != std::string::npos) continue;
        if (!names.empty()) names += ", ";
        names += entry;
    }
    return names;
}

}  // namespace

std::string LabelledText(int record, const std::string& text) {
    const std::string label = LabelText(record);
    return text.find(label) == std::string::npos ? label + " " + text : text;
}

RecordLines RecordLinesOfImage(const CPlcProgram& program) {
    RecordLines lines;
    lines.fill(-1);
    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        if (program.Record(r).used() == 1) lines[static_cast<size_t>(r)] = program.Record(r).line();
    }
    return lines;
}

RecordLines RecordLinesOfListing(const std::array<int32_t, kRecordCount>& listingLines) {
    RecordLines lines;
    for (size_t r = 0; r < lines.size(); ++r) lines[r] = listingLines[r] > 0 ? listingLines[r] - 1 : -1;
    return lines;
}

const FlowNode* FlowGraph::Node(int record) const {
    const auto it = std::lower_bound(nodes.begin(), nodes.end(), record,
                                     [](const FlowNode& n, int r) { return n.record < r; });
    return it != nodes.end() && it->record == record ? &*it : nullptr;
}

FlowGraph BuildFlowGraph(const CPlcProgram& program, const RecordLines& lines) {
    return BuildFlowGraph(program, lines, FlowFacts(program));
}

FlowGraph BuildFlowGraph(const CPlcProgram& program, const RecordLines& lines, const FlowFacts& facts) {
    FlowGraph graph;
    graph.name = program.GetProgramName();
    graph.hasHead = facts.HasHead();

    auto addEdge = [&graph](int from, int to, EdgeKind kind, std::string condition = {}) {
        if (to >= 0) graph.edges.push_back({from, to, kind, std::move(condition)});
    };
    // A RET goes back once to each record after a CALL, however many CALLs
    // that record follows (a binary programme file may link several there).
    std::vector<std::bitset<kRecordCount>> returnsTo(kRecordCount);

    if (facts.HasHead()) {
        graph.nodes.push_back({kEntryRecord, -1, LabelText(kEntryRecord), {}, Flow::Jump, true, true});
        addEdge(kEntryRecord, facts.Target(kEntryRecord), EdgeKind::Next);
    }
    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        if (!facts.Statements().test(static_cast<size_t>(r))) continue;
        const PlcInstr& rec = program.Record(r);
        FlowNode node;
        node.record = r;
        node.line = lines[static_cast<size_t>(r)];
        node.decodable = DecodeRecord(program, node.text, r) != 0;
        node.names = NamesOf(program, rec);
        node.flow = facts.FlowOf(r);
        node.reachable = facts.Reachable().test(static_cast<size_t>(r));
        const int next = facts.Next(r);
        const int target = facts.Target(r);
        switch (node.flow) {
            case Flow::Next: addEdge(r, next, EdgeKind::Next); break;
            case Flow::Jump:
            case Flow::End: addEdge(r, target, EdgeKind::Jump); break;
            case Flow::Branch:
                addEdge(r, target, EdgeKind::Branch, ConditionOf(node.text));
                addEdge(r, next, EdgeKind::Next);
                break;
            case Flow::Call:
                addEdge(r, target, EdgeKind::Call);
                if (target < 0 || next < 0) break;
                // Back from each RET of the subroutine to the record after the CALL.
                for (int q = kFirstLabel; q <= kLastLabel; ++q) {
                    if (!facts.Closure(target).test(static_cast<size_t>(q)) || facts.FlowOf(q) != Flow::Return ||
                        returnsTo[static_cast<size_t>(q)].test(static_cast<size_t>(next)))
                        continue;
                    returnsTo[static_cast<size_t>(q)].set(static_cast<size_t>(next));
                    addEdge(q, next, EdgeKind::Return);
                }
                break;
            case Flow::Return: break;
        }
        graph.nodes.push_back(std::move(node));
    }
    const bool endReached = std::any_of(graph.edges.begin(), graph.edges.end(),
                                        [](const FlowEdge& e) { return e.to == kEndRecord; });
    if (endReached) {
        graph.nodes.push_back(
            {kEndRecord, -1, LabelText(kEndRecord), {}, Flow::End, facts.Reachable().test(kEndRecord), true});
    }
    // Edges in the order of their source records (RETs were added with their CALLs).
    std::stable_sort(graph.edges.begin(), graph.edges.end(),
                     [](const FlowEdge& a, const FlowEdge& b) { return a.from < b.from; });
    return graph;
}

}  // namespace plc
