// SPDX-License-Identifier: GPL-3.0-or-later
// The places of the drive a programme reads and writes besides its own
// variables: inputs, outputs, status flags, drive values and registers,
// control flags, the CM flags, ACTVAL, REF and ROT_0. Each has one slot in
// the machine; the slots and their names come from the instruction set's
// name tables, so a name the compiler knows is a name the stimuli know.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/InstrSet.h"

namespace plc::sim {

enum class SignalKind : uint8_t {
    Input, Output, Status, DriveValue, CtrlFlag, Cm, ActVal, Ref, Rot0,
};

struct SignalInfo {
    std::string name;     // "IE03", "STA_INPOS", "ACTPOS", "CM01", "REF"
    SignalKind kind;
    bool flag;            // holds 0 or 1
    bool programmeWrites; // the programme writes it (outputs, registers, control flags, REFVAL)
    bool fromStimuli;     // a stimulus may give it (not outputs or control flags)
};

class Signals {
public:
    static const Signals& Table();

    int Count() const { return static_cast<int>(m_info.size()); }
    const SignalInfo& Info(int slot) const { return m_info[static_cast<size_t>(slot)]; }

    // The slot a record value of a named domain stands for (an input number,
    // a register, a CM index); -1 when the domain names no signal or the
    // value has no name.
    int ForDomain(Dom dom, uint32_t value) const;
    // ACTVAL, REFVAL, REF, ROT_0; -1 for the other places.
    int ForPlace(DrivePlace place) const;
    // A name as written in stimuli: the canonical names, input and output
    // names as source writes them ("IE3"), "CM1"; any case. -1 when unknown.
    int Find(std::string_view name) const;

private:
    Signals();
    int Add(std::string name, SignalKind kind, bool flag, bool programmeWrites, bool fromStimuli);

    std::vector<SignalInfo> m_info;
    // Slots by domain value, for the named domains and CM flags.
    struct ByValue {
        Dom dom;
        std::vector<int> slot;
    };
    std::vector<ByValue> m_byValue;
    int m_actVal = -1, m_refVal = -1, m_ref = -1, m_rot0 = -1;
};

}  // namespace plc::sim
