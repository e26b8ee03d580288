// SPDX-License-Identifier: GPL-3.0-or-later
// The signal slots, built once from the instruction set's name tables.
#include "sim/Signals.h"

#include <cstdio>

#include "base/Ascii.h"
#include "sim/Values.h"

namespace plc::sim {

namespace {

constexpr int kCmFlags = 16;

struct NamedDomain {
    Dom dom;
    SignalKind kind;
    bool flag;
    bool programmeWrites;
    bool fromStimuli;
};
// The registers and drive values share one slot per name: ACTPOS read as F
// and as H is one value, and SET OUTPUT = H writes what SET H = OUTPUT reads.
constexpr NamedDomain kNamedDomains[] = {
    {Dom::Input, SignalKind::Input, true, false, true},
    {Dom::Output, SignalKind::Output, true, true, false},
    {Dom::Status, SignalKind::Status, true, false, true},
    {Dom::Register, SignalKind::DriveValue, false, true, true},
    {Dom::DriveValF, SignalKind::DriveValue, false, false, true},
    {Dom::DriveValH, SignalKind::DriveValue, false, false, true},
    {Dom::CtrlFlag, SignalKind::CtrlFlag, true, true, false},
};

}  // namespace

const Signals& Signals::Table() {
    static const Signals table;
    return table;
}

int Signals::Add(std::string name, SignalKind kind, bool flag, bool programmeWrites, bool fromStimuli) {
    for (size_t i = 0; i < m_info.size(); ++i) {
        if (m_info[i].name == name) {
            m_info[i].programmeWrites = m_info[i].programmeWrites || programmeWrites;
            return static_cast<int>(i);
        }
    }
    m_info.push_back({std::move(name), kind, flag, programmeWrites, fromStimuli});
    return static_cast<int>(m_info.size() - 1);
}

Signals::Signals() {
    for (const NamedDomain& d : kNamedDomains) {
        const DomainInfo& info = DomainOf(d.dom);
        ByValue byValue{d.dom, std::vector<int>(256, -1)};
        for (int v = 0; v < 256; ++v) {
            if (const char* name = info.name(static_cast<uint8_t>(v)); name != nullptr)
                byValue.slot[static_cast<size_t>(v)] = Add(name, d.kind, d.flag, d.programmeWrites, d.fromStimuli);
        }
        m_byValue.push_back(std::move(byValue));
    }
    ByValue cm{Dom::CmIndex, std::vector<int>(256, -1)};
    for (int n = 1; n <= kCmFlags; ++n) {
        char name[8];
        std::snprintf(name, sizeof name, "CM%02d", n);
        cm.slot[static_cast<size_t>(n - 1)] = Add(name, SignalKind::Cm, true, false, true);
    }
    m_byValue.push_back(std::move(cm));
    m_actVal = Add("ACTVAL", SignalKind::ActVal, false, false, true);
    m_refVal = Find("REFVAL");
    m_ref = Add("REF", SignalKind::Ref, true, false, true);
    m_rot0 = Add("ROT_0", SignalKind::Rot0, true, false, true);
}

int Signals::ForDomain(Dom dom, uint32_t value) const {
    for (const ByValue& b : m_byValue)
        if (b.dom == dom) return value < b.slot.size() ? b.slot[value] : -1;
    return -1;
}

int Signals::ForPlace(DrivePlace place) const {
    switch (place) {
        case DrivePlace::ActVal: return m_actVal;
        case DrivePlace::RefVal: return m_refVal;
        case DrivePlace::Ref: return m_ref;
        case DrivePlace::Rot0: return m_rot0;
        default: return -1;
    }
}

int Signals::Find(std::string_view name) const {
    for (size_t i = 0; i < m_info.size(); ++i)
        if (EqualsIgnoreCase(m_info[i].name, name)) return static_cast<int>(i);
    // Inputs and outputs as source writes them: group letters and a number.
    if (name.size() >= 3) {
        int64_t n = 0;
        if (ParseWhole(name.substr(2), 0, 255, n) && AsciiDigit(name[2])) {
            for (const auto& groups : {InputGroups(), OutputGroups()}) {
                for (const IoGroup& g : groups) {
                    if (EqualsIgnoreCase(g.letters, name.substr(0, 2)) && n < g.count)
                        return ForDomain(g.isInput ? Dom::Input : Dom::Output, g.bit[static_cast<size_t>(n)]);
                }
            }
            if (EqualsIgnoreCase(name.substr(0, 2), "CM") && n >= 1 && n <= kCmFlags)
                return ForDomain(Dom::CmIndex, static_cast<uint32_t>(n - 1));
        }
    }
    return -1;
}

}  // namespace plc::sim
