// SPDX-License-Identifier: GPL-3.0-or-later
// The control-flow graph of a programme image: each statement record a node,
// with the programme head (record 0) and END (record 255); edges for going on
// to the next record, for a jump, for a conditional jump's target when its
// condition holds, for a CALL into its subroutine and back from each RET
// there to the record after the CALL. What each opcode does comes from its
// instruction row's meaning.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/InstrSet.h"
#include "image/PlcProgram.h"

namespace plc {

class FlowFacts;

// The 0-based text line of each record's statement; -1 for a record that
// stands on no line.
using RecordLines = std::array<int32_t, kRecordCount>;

// The lines an image compiled from text keeps in its records.
RecordLines RecordLinesOfImage(const CPlcProgram& program);

// The lines of a listing, from its 1-based line numbers per record (0 for a
// record it does not list).
RecordLines RecordLinesOfListing(const std::array<int32_t, kRecordCount>& listingLines);

// A record's decoded text with its label in front when the text has none of
// its own (a reserved record's comment, an error line).
std::string LabelledText(int record, const std::string& text);

enum class EdgeKind : uint8_t {
    Next,    // on to the record the `next` link names (and from the head to the first statement)
    Jump,    // an unconditional jump, JMP END included
    Branch,  // a conditional jump, taken
    Call,    // a CALL into its subroutine
    Return,  // a RET back to the record after a CALL
};

struct FlowNode {
    int record = 0;          // 0 the programme head, 1 to 254 a statement, 255 END
    int32_t line = -1;       // 0-based line of its text; -1 when unknown
    std::string text;        // its statement as the decoder renders it; "%P00" and "END" for the ends
    std::string names;       // the DEF names of the variables it uses: "H005 Speed, M010 Ready"
    Flow flow = Flow::Next;
    bool reachable = false;  // some path from the programme head reaches it
    bool decodable = true;   // the decoder renders it as a statement
};

struct FlowEdge {
    int from = 0;  // record indexes
    int to = 0;
    EdgeKind kind = EdgeKind::Next;
    std::string condition;  // Branch: the condition as written, "(H005 = 0)"
};

struct FlowGraph {
    std::string name;              // the programme's name; empty when it has none
    bool hasHead = false;          // record 0 is a valid programme head
    std::vector<FlowNode> nodes;   // in record order
    std::vector<FlowEdge> edges;   // in the order of their source records

    // The node of a record; nullptr when the record is no node.
    const FlowNode* Node(int record) const;
};

// The graph of `program`'s image. A record that is used or has an opcode is a
// statement (an image read from a binary programme file marks used records
// by their opcode); END is a node when some edge leads there.
FlowGraph BuildFlowGraph(const CPlcProgram& program, const RecordLines& lines);
// The same from flow facts already worked out for it.
FlowGraph BuildFlowGraph(const CPlcProgram& program, const RecordLines& lines, const FlowFacts& facts);

}  // namespace plc
