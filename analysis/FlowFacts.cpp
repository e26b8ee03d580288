// SPDX-License-Identifier: GPL-3.0-or-later
// The flow facts of an image: successors from the instruction rows' meanings,
// then which subroutines return (a least fixed point, so that a recursion
// returns only when some path through it does), then reachability.
#include "analysis/FlowFacts.h"

#include <algorithm>
#include <string>

namespace plc {

FlowFacts::FlowFacts(const CPlcProgram& program) {
    m_next.fill(-1);
    m_target.fill(-1);
    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        const PlcInstr& rec = program.Record(r);
        if (rec.used() == 1 || rec.opcode() != 0) m_statements.set(static_cast<size_t>(r));
    }
    m_nodes = m_statements;
    m_nodes.set(kEndRecord);
    m_flow[kEndRecord] = Flow::End;  // END has no target: nothing follows it
    auto statement = [this](int r) { return r >= kFirstLabel && r <= kLastLabel && m_statements.test(static_cast<size_t>(r)); };

    const PlcInstr& head = program.Record(kEntryRecord);
    std::string headText;
    if (program.HasProgramHead(headText) && statement(head.target())) {
        m_hasHead = true;
        m_nodes.set(kEntryRecord);
        m_flow[kEntryRecord] = Flow::Jump;
        m_target[kEntryRecord] = head.target();
    }

    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        if (!statement(r)) continue;
        const PlcInstr& rec = program.Record(r);
        const OpcodeRow* row = rec.opcode() != 0 ? FindOpcodeRow(rec.opcode()) : nullptr;
        // A record without a row goes on, as far as anything can tell.
        const Flow flow = row != nullptr ? row->meaning.flow : Flow::Next;
        m_flow[static_cast<size_t>(r)] = flow;
        const int next = rec.next();
        if (statement(next) || next == kEndRecord) m_next[static_cast<size_t>(r)] = next;
        const int target = rec.target();
        switch (flow) {
            case Flow::Jump:
            case Flow::Branch:
                if (statement(target) || target == kEndRecord) m_target[static_cast<size_t>(r)] = target;
                break;
            case Flow::Call:
                if (statement(target)) m_target[static_cast<size_t>(r)] = target;
                break;
            case Flow::End: m_target[static_cast<size_t>(r)] = kEndRecord; break;
            case Flow::Next:
            case Flow::Return: break;
        }
        if (flow == Flow::Call && m_target[static_cast<size_t>(r)] >= 0) m_callTargets.push_back(target);
    }
    std::sort(m_callTargets.begin(), m_callTargets.end());
    m_callTargets.erase(std::unique(m_callTargets.begin(), m_callTargets.end()), m_callTargets.end());

    // A subroutine returns when its closure holds a RET; the closures depend
    // on which of the subroutines they call return. Starting from "none
    // returns", each round can only add subroutines, so this ends.
    for (bool changed = true; changed;) {
        changed = false;
        for (int t : m_callTargets) {
            m_closure[static_cast<size_t>(t)] = ClosureFrom(t);
            if (Returns(t)) continue;
            const RecordSet& closure = m_closure[static_cast<size_t>(t)];
            for (int r = kFirstLabel; r <= kLastLabel; ++r) {
                if (closure.test(static_cast<size_t>(r)) && FlowOf(r) == Flow::Return) {
                    m_returns.set(static_cast<size_t>(t));
                    changed = true;
                    break;
                }
            }
        }
    }

    if (m_hasHead) {
        m_reachable = ReachFrom(kEntryRecord, true);
        m_outside = ReachFrom(kEntryRecord, false);
    }
}

template <class Visit>
void FlowFacts::ForEachSuccessor(int record, bool enterCalls, Visit&& visit) const {
    const int next = m_next[static_cast<size_t>(record)];
    const int target = m_target[static_cast<size_t>(record)];
    switch (FlowOf(record)) {
        case Flow::Next:
            if (next >= 0) visit(next);
            break;
        case Flow::Jump:
        case Flow::End:
            if (target >= 0) visit(target);
            break;
        case Flow::Branch:
            if (target >= 0) visit(target);
            if (next >= 0) visit(next);
            break;
        case Flow::Call:
            if (target < 0) break;  // a CALL that leads nowhere goes nowhere
            if (enterCalls) visit(target);
            if (Returns(target) && next >= 0) visit(next);
            break;
        case Flow::Return: break;
    }
}

RecordSet FlowFacts::ReachFrom(int from, bool enterCalls, int avoid) const {
    RecordSet seen;
    if (!IsNode(from) || from == avoid) return seen;
    std::array<int, kRecordCount> stack;
    size_t depth = 0;
    seen.set(static_cast<size_t>(from));
    stack[depth++] = from;
    while (depth > 0) {
        const int r = stack[--depth];
        ForEachSuccessor(r, enterCalls, [&](int s) {
            if (s == avoid || seen.test(static_cast<size_t>(s))) return;
            seen.set(static_cast<size_t>(s));
            stack[depth++] = s;
        });
    }
    return seen;
}

RecordSet FlowFacts::ClosureFrom(int target) const { return ReachFrom(target, false); }

RecordSet FlowFacts::Body(int target) const {
    const RecordSet& closure = Closure(target);
    RecordSet body;
    for (int r = kFirstLabel; r <= kLastLabel; ++r) {
        if (closure.test(static_cast<size_t>(r)) && FlowOf(r) == Flow::Return) body.set(static_cast<size_t>(r));
    }
    // Backwards from the RETs, within the closure: a record belongs when one
    // of its successors does. Labels run mostly forwards, so a pass from the
    // top down adds most of them at once.
    for (bool changed = body.any(); changed;) {
        changed = false;
        for (int r = kLastLabel; r >= kFirstLabel; --r) {
            if (!closure.test(static_cast<size_t>(r)) || body.test(static_cast<size_t>(r))) continue;
            bool reaches = false;
            ForEachSuccessor(r, false, [&](int s) { reaches = reaches || body.test(static_cast<size_t>(s)); });
            if (reaches) {
                body.set(static_cast<size_t>(r));
                changed = true;
            }
        }
    }
    return body;
}

}  // namespace plc
