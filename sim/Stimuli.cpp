// SPDX-License-Identifier: GPL-3.0-or-later
// The stimuli table reader.
#include "sim/Stimuli.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "compiler/CompileDriver.h"
#include "base/Ascii.h"
#include "sim/Signals.h"

namespace plc::sim {

namespace {

struct VarFamily {
    char letter;
    VarKind kind;
    StimulusTarget::Kind target;
    int count;
};
constexpr VarFamily kVarFamilies[] = {
    {'H', VarKind::H, StimulusTarget::Kind::H, kCountH},
    {'F', VarKind::F, StimulusTarget::Kind::F, kCountF},
    {'M', VarKind::M, StimulusTarget::Kind::M, kCountM},
    {'C', VarKind::C, StimulusTarget::Kind::C, kCountC},
};

// "PARA[100]" or "PARA[100,2]" (blanks allowed inside).
bool ParseParam(std::string_view name, StimulusTarget& target) {
    if (name.size() < 7 || !EqualsIgnoreCase(name.substr(0, 5), "PARA[") || name.back() != ']') return false;
    const std::string_view inner = name.substr(5, name.size() - 6);
    const size_t comma = inner.find(',');
    int64_t number = 0, sub = -1;
    if (!ParseWhole(inner.substr(0, comma), 0, 65535, number)) return false;
    if (comma != std::string_view::npos && !ParseWhole(inner.substr(comma + 1), 0, 255, sub)) return false;
    target.kind = StimulusTarget::Kind::Param;
    target.param = static_cast<int32_t>(number);
    target.sub = static_cast<int32_t>(sub);
    target.name = "PARA[" + std::to_string(number) + (sub >= 0 ? "," + std::to_string(sub) : "") + "]";
    return true;
}

bool IsHeader(const std::vector<std::string_view>& fields) {
    return fields.size() == 3 && EqualsIgnoreCase(fields[0], "time") && EqualsIgnoreCase(fields[1], "signal") &&
           EqualsIgnoreCase(fields[2], "value");
}

}  // namespace

bool ResolveTarget(std::string_view name, const CPlcProgram* names, StimulusTarget& target, std::string& why) {
    target = StimulusTarget{};
    if (ParseParam(name, target)) return true;
    const Signals& signals = Signals::Table();
    if (const int slot = signals.Find(name); slot >= 0) {
        const SignalInfo& info = signals.Info(slot);
        if (!info.fromStimuli) {
            why = "'" + info.name + "' is set by the programme, not by stimuli";
            return false;
        }
        target.kind = StimulusTarget::Kind::Signal;
        target.index = slot;
        target.name = info.name;
        return true;
    }
    for (const VarFamily& f : kVarFamilies) {
        int64_t n = 0;
        const bool numbered = name.size() >= 2 && AsciiUpper(name[0]) == f.letter && AsciiDigit(name[1]) &&
                              ParseWhole(name.substr(1), 0, f.count - 1, n);
        int found = numbered ? static_cast<int>(n) : -1;
        for (int i = 0; found < 0 && names != nullptr && i < f.count; ++i) {
            const std::string& def = names->Name(f.kind, i);
            if (!def.empty() && EqualsIgnoreCase(def, name)) found = i;
        }
        if (found >= 0) {
            target.kind = f.target;
            target.index = found;
            target.name = VariableName(f.kind, found);
            return true;
        }
    }
    if (name.size() >= 2 && AsciiUpper(name[0]) == 'Z' && AsciiDigit(name[1])) {
        why = "a timer takes its value from the programme (SET Zxxx), not from stimuli";
        return false;
    }
    why = "unknown signal '" + std::string(name) +
          "' (an input, status flag, REF, ROT_0, ACTVAL, drive value, CM flag, PARA[n], H, F, M, C or a DEF name)";
    return false;
}

bool CheckStimulusValue(const StimulusTarget& target, Num& value, std::string& why) {
    using K = StimulusTarget::Kind;
    const bool flag = target.kind == K::M ||
                      (target.kind == K::Signal && Signals::Table().Info(target.index).flag);
    if (flag) {
        if (!value.real && (value.i == 0 || value.i == 1)) return true;
        why = target.name + " is a flag: 0 or 1";
        return false;
    }
    if (target.kind == K::H) {
        if (!value.real && value.i >= std::numeric_limits<int32_t>::min() &&
            value.i <= std::numeric_limits<int32_t>::max())
            return true;
        why = target.name + " takes a 32-bit whole number";
        return false;
    }
    if (target.kind == K::C) {
        if (!value.real && value.i >= 0 && value.i <= std::numeric_limits<uint32_t>::max()) return true;
        why = target.name + " is a counter: a whole number from 0";
        return false;
    }
    if (target.kind == K::F && !value.real) value = Num::Real(static_cast<float>(value.i));
    if (!value.real && (value.i < std::numeric_limits<int32_t>::min() || value.i > std::numeric_limits<int32_t>::max())) {
        why = target.name + " takes a 32-bit whole number or a float";
        return false;
    }
    return true;
}

void Stimuli::Add(Stimulus s) {
    std::vector<Stimulus>& rows = s.atStep ? m_stepped : m_timed;
    // After every row of the same moment: the file's order holds within it.
    const auto at = std::upper_bound(rows.begin(), rows.end(), s, [](const Stimulus& a, const Stimulus& b) {
        return a.atStep ? a.step < b.step : a.timeUs < b.timeUs;
    });
    rows.insert(at, std::move(s));
}

void Stimuli::AddOutcome(std::string_view pattern, Outcome outcome) {
    for (Queue& q : m_queues) {
        if (EqualsIgnoreCase(q.pattern, pattern)) {
            q.outcomes.push_back(std::move(outcome));
            return;
        }
    }
    m_queues.push_back({std::string(pattern), {std::move(outcome)}});
}

bool Stimuli::Parse(std::string_view text, const CPlcProgram* names, Stimuli& out, std::string& error) {
    out = Stimuli{};
    const std::vector<std::string> lines = SplitLines(text);
    bool first = true;
    for (size_t n = 0; n < lines.size(); ++n) {
        const int lineNo = static_cast<int>(n + 1);
        const std::string_view line = lines[n];
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        std::vector<std::string_view> fields;
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            fields.push_back(TrimBlanks(line.substr(start, tab - start)));
            if (tab == std::string_view::npos) break;
            start = tab + 1;
        }
        const bool wasFirst = first;
        first = false;
        if (wasFirst && IsHeader(fields)) continue;
        auto fail = [&](const std::string& why) {
            error = std::to_string(lineNo) + ": " + why;
            return false;
        };
        if (fields.size() != 3) return fail("expected three fields separated by tabs: time, signal, value");
        if (EqualsIgnoreCase(fields[0], "outcome")) {
            Outcome outcome;
            std::string why;
            if (fields[1].empty()) return fail("an outcome row needs a pattern: outcome<TAB>GO*<TAB>done");
            if (!ParseOutcome(fields[2], outcome, why)) return fail(why);
            outcome.line = lineNo;
            out.AddOutcome(fields[1], std::move(outcome));
            continue;
        }
        Stimulus s;
        s.line = lineNo;
        if (!fields[0].empty() && fields[0].front() == '#') {
            int64_t step = 0;
            if (!ParseWhole(fields[0].substr(1), 1, std::numeric_limits<int64_t>::max(), step))
                return fail("a step time is #N with N from 1");
            s.atStep = true;
            s.step = static_cast<uint64_t>(step);
        } else if (!ParseMs(fields[0], s.timeUs)) {
            return fail("the time is milliseconds (up to three decimals) or #STEP, not '" + std::string(fields[0]) + "'");
        }
        std::string why;
        if (!ResolveTarget(fields[1], names, s.target, why)) return fail(why);
        if (!ParseNum(fields[2], s.value)) return fail("the value is a number, not '" + std::string(fields[2]) + "'");
        if (!CheckStimulusValue(s.target, s.value, why)) return fail(why);
        out.Add(std::move(s));
    }
    return true;
}

}  // namespace plc::sim
