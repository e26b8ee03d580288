// SPDX-License-Identifier: GPL-3.0-or-later
// What the graph and the findings both need to know about an image's flow:
// the successors of each record, which subroutines can return, what is
// reachable from the programme head, and the records of each subroutine.
// Sets of records are bit sets over the 256 record indexes.
#pragma once

#include <array>
#include <bitset>
#include <vector>

#include "image/InstrSet.h"
#include "image/PlcProgram.h"

namespace plc {

using RecordSet = std::bitset<kRecordCount>;

class FlowFacts {
public:
    explicit FlowFacts(const CPlcProgram& program);

    // Statements (records 1 to 254 that are used or carry an opcode), plus
    // the head when it is valid and END.
    bool IsNode(int record) const { return record >= 0 && record < kRecordCount && m_nodes.test(static_cast<size_t>(record)); }
    const RecordSet& Statements() const { return m_statements; }
    bool HasHead() const { return m_hasHead; }

    Flow FlowOf(int record) const { return m_flow[static_cast<size_t>(record)]; }
    // The record the `next` link leads to; -1 when it leads to no node.
    int Next(int record) const { return m_next[static_cast<size_t>(record)]; }
    // The target of a jump, conditional jump or CALL (255 for END); -1 when
    // it has none or it leads to no node.
    int Target(int record) const { return m_target[static_cast<size_t>(record)]; }

    // True when the subroutine at `target` can reach a RET, so that a CALL of
    // it comes back.
    bool Returns(int target) const { return m_returns.test(static_cast<size_t>(target)); }
    // Distinct targets of the CALLs that lead to a node, ascending.
    const std::vector<int>& CallTargets() const { return m_callTargets; }

    // What the head reaches, entering subroutines.
    const RecordSet& Reachable() const { return m_reachable; }
    // What the head reaches without entering any subroutine (a CALL goes on
    // to its next record when its subroutine returns): where a RET has no
    // CALL before it.
    const RecordSet& ReachableOutsideCalls() const { return m_outside; }

    // The records a subroutine runs through from `target` until its RETs,
    // without entering the subroutines it calls.
    const RecordSet& Closure(int target) const { return m_closure[static_cast<size_t>(target)]; }
    // The part of Closure(target) from which one of its RETs can be reached:
    // the subroutine's own records, without what it leaves for by a jump.
    RecordSet Body(int target) const;

    // Records reachable from `from` (itself included). `enterCalls` follows a
    // CALL into its subroutine too; `avoid` (when not -1) is never entered.
    RecordSet ReachFrom(int from, bool enterCalls, int avoid = -1) const;

private:
    // Calls `visit` for each successor of `record` within one subroutine (a
    // CALL goes on to its next record when its subroutine returns), and for
    // a CALL's target too when `enterCalls` is set.
    template <class Visit>
    void ForEachSuccessor(int record, bool enterCalls, Visit&& visit) const;
    RecordSet ClosureFrom(int target) const;

    RecordSet m_nodes, m_statements, m_returns, m_reachable, m_outside;
    bool m_hasHead = false;
    std::array<Flow, kRecordCount> m_flow{};
    std::array<int, kRecordCount> m_next{};
    std::array<int, kRecordCount> m_target{};
    std::vector<int> m_callTargets;
    std::array<RecordSet, kRecordCount> m_closure{};
};

}  // namespace plc
