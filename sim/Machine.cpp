// SPDX-License-Identifier: GPL-3.0-or-later
// The machine around the step: reset, the run loop and its limits, time,
// stimuli, waits, idle loops, END, halts and the trace.
#include "sim/Machine.h"

#include <algorithm>

#include "sim/Prepared.h"
#include "sim/Signals.h"

namespace plc::sim {

namespace {

std::string LabelOrHead(int pc) { return pc == kEntryRecord ? std::string("%P00") : LabelText(pc); }

}  // namespace

Machine::Machine(const CPlcProgram& program, AssumptionProfile profile, Stimuli stimuli)
    : m_program(program), m_profile(std::move(profile)), m_stimuli(std::move(stimuli)) {
    m_records = PrepareRecords(m_program);
    if (m_profile.Has(Assumption::StatementTime)) m_statementUs = m_profile.Number(Assumption::StatementTime);
    if (m_profile.Has(Assumption::TimerTick)) m_tickUs = m_profile.Number(Assumption::TimerTick);
    Reset();
}

Machine::~Machine() = default;

void Machine::Reset() {
    m_s = MachineState{};
    m_s.signals.assign(static_cast<size_t>(Signals::Table().Count()), SignalValue{});
    m_pending.reset();
    m_nextTimed = m_nextStepped = 0;
    m_queuePos.assign(m_stimuli.Outcomes().size(), 0);
    m_wait = WaitState{};
    m_used = 0;
    m_lineOpen = false;
    m_changes = 0;
    m_idle = IdleMark{};
    m_stop = StopInfo{};
}

void Machine::SetBreakpoint(int label, bool on) {
    if (label > 0 && label < kEndRecord) m_breaks.set(static_cast<size_t>(label), on);
}

bool Machine::IsBreakpoint(int label) const {
    return label > 0 && label < kEndRecord && m_breaks.test(static_cast<size_t>(label));
}

std::string Machine::Statement(int label) const {
    if (label < 0 || label >= kRecordCount) return {};
    return m_records[static_cast<size_t>(label)].text;
}

int Machine::SourceLine() const {
    if (m_s.pc <= kEntryRecord || m_s.pc >= kEndRecord) return -1;
    return m_program.Record(m_s.pc).line();
}

std::string Machine::Where() const {
    return LabelOrHead(m_s.pc) + " " + m_records[static_cast<size_t>(m_s.pc)].text;
}

// ---- running ----

StopInfo Machine::Run(const Limits& limits) {
    switch (m_s.run) {
        case RunState::Halted: return {StopKind::Halted, m_s.reason};
        case RunState::Ended: return {StopKind::Ended, m_s.reason};
        case RunState::AwaitingOutcome: return m_stop;
        default: break;
    }
    m_limits = limits;
    m_observe = m_sink != nullptr || m_idle.collecting;
    bool first = true;
    for (;;) {
        if (m_s.run == RunState::Waiting) {
            if (!AdvanceWait()) return m_stop;
            continue;
        }
        if (m_s.steps >= limits.maxSteps) {
            Stop(StopKind::StepLimit, "step limit reached");
            return m_stop;
        }
        if (m_s.timeUs >= limits.untilUs) {
            Stop(StopKind::TimeLimit, "time limit reached");
            return m_stop;
        }
        if (!first && IsBreakpoint(m_s.pc)) {
            Stop(StopKind::Breakpoint, "breakpoint at " + LabelText(m_s.pc));
            return m_stop;
        }
        first = false;
        ApplyDue();
        if (!Exec()) return m_stop;
    }
}

StopInfo Machine::Step() {
    Limits once = m_limits;
    once.maxSteps = m_s.run == RunState::Waiting ? m_s.steps : m_s.steps + 1;
    once.untilUs = kNoTime;
    return Run(once);
}

StopInfo Machine::RunTo(int label, const Limits& limits) {
    const bool was = IsBreakpoint(label);
    SetBreakpoint(label, true);
    StopInfo stop = Run(limits);
    SetBreakpoint(label, was);
    return stop;
}

bool Machine::Stop(StopKind kind, std::string text) {
    if (m_lineOpen) EmitStep();
    m_stop = {kind, std::move(text)};
    if (m_sink != nullptr) {
        TraceLine line;
        line.kind = TraceLine::Kind::Stop;
        line.step = m_s.steps;
        line.timeUs = m_s.timeUs;
        line.label = m_s.pc < kEndRecord ? m_s.pc : -1;
        line.note = m_stop.text;
        Emit(std::move(line));
    }
    return false;
}

bool Machine::Halt(std::string reason) {
    if (m_lineOpen) m_line.note += m_line.note.empty() ? "halt" : "; halt";
    m_s.run = RunState::Halted;
    m_s.reason = reason;
    return Stop(StopKind::Halted, std::move(reason));
}

// ---- time and stimuli ----

void Machine::Apply(const Stimulus& s) {
    using K = StimulusTarget::Kind;
    const StimulusTarget& t = s.target;
    Num v = s.value;
    bool changed = true;
    switch (t.kind) {
        case K::Signal: {
            SignalValue& sv = m_s.signals[static_cast<size_t>(t.index)];
            changed = sv.origin == Origin::None || !(sv.value == v);
            sv = {v, Origin::Stimulus};
            break;
        }
        case K::Param: {
            SignalValue& sv = m_s.params[{t.param, t.sub}];
            changed = sv.origin == Origin::None || !(sv.value == v);
            sv = {v, Origin::Stimulus};
            break;
        }
        case K::H:
            changed = StoreValue(m_s.h, m_s.hKnown, static_cast<size_t>(t.index), static_cast<int32_t>(v.i));
            break;
        case K::F: changed = StoreValue(m_s.f, m_s.fKnown, static_cast<size_t>(t.index), v.f); break;
        case K::M:
            changed = StoreValue(m_s.m, m_s.mKnown, static_cast<size_t>(t.index), static_cast<uint8_t>(v.i));
            break;
        case K::C:
            changed = StoreValue(m_s.c, m_s.cKnown, static_cast<size_t>(t.index), static_cast<uint32_t>(v.i));
            break;
    }
    if (changed) Changed();
    if (m_sink != nullptr) {
        TraceLine line;
        line.kind = TraceLine::Kind::Stimulus;
        line.step = m_s.steps;
        line.timeUs = m_s.timeUs;
        line.writes.push_back({t.name, v});
        line.stimuliLine = s.line;
        Emit(std::move(line));
    }
}

void Machine::ApplyDue() {
    const auto& timed = m_stimuli.Timed();
    while (m_nextTimed < timed.size() && timed[m_nextTimed].timeUs <= m_s.timeUs) Apply(timed[m_nextTimed++]);
    const auto& stepped = m_stimuli.Stepped();
    while (m_nextStepped < stepped.size() && stepped[m_nextStepped].step <= m_s.steps + 1)
        Apply(stepped[m_nextStepped++]);
}

void Machine::AdvanceTo(int64_t timeUs) {
    const auto& timed = m_stimuli.Timed();
    while (m_nextTimed < timed.size() && timed[m_nextTimed].timeUs <= timeUs) {
        m_s.timeUs = std::max(m_s.timeUs, timed[m_nextTimed].timeUs);
        Apply(timed[m_nextTimed++]);
    }
    m_s.timeUs = std::max(m_s.timeUs, timeUs);
}

bool Machine::AdvanceWait() {
    const auto& timed = m_stimuli.Timed();
    if (m_wait.kind == WaitState::Kind::Time) {
        const int64_t target = std::min(m_wait.untilUs, m_limits.untilUs);
        AdvanceTo(target);
        if (m_s.timeUs < m_wait.untilUs) return Stop(StopKind::TimeLimit, "time limit reached during " + m_wait.what);
        m_s.run = RunState::Paused;
        return MoveTo(m_wait.then, m_wait.from);
    }
    // Waiting for a signal to read 1: on to the next stimulus that gives it.
    for (;;) {
        const SignalValue& sv = m_s.signals[static_cast<size_t>(m_wait.slot)];
        if (sv.origin != Origin::None && !sv.value.real && sv.value.i == 1) {
            m_s.run = RunState::Paused;
            m_s.timeUs = std::max(m_s.timeUs, m_wait.untilUs);
            return MoveTo(m_wait.then, m_wait.from);
        }
        int64_t next = kNoTime;
        for (size_t i = m_nextTimed; i < timed.size(); ++i) {
            if (timed[i].target.kind == StimulusTarget::Kind::Signal && timed[i].target.index == m_wait.slot) {
                next = timed[i].timeUs;
                break;
            }
        }
        if (next == kNoTime && m_limits.untilUs == kNoTime) {
            m_s.run = RunState::Paused;
            return Halt("waiting forever on " + m_wait.what + ": no stimulus gives it 1");
        }
        const int64_t target = std::min(next, m_limits.untilUs);
        AdvanceTo(target);
        if (next > m_limits.untilUs || m_s.timeUs >= m_limits.untilUs) {
            const SignalValue& now = m_s.signals[static_cast<size_t>(m_wait.slot)];
            if (!(now.origin != Origin::None && !now.value.real && now.value.i == 1))
                return Stop(StopKind::TimeLimit, "time limit reached waiting on " + m_wait.what);
        }
    }
}

// ---- where control goes ----

bool Machine::Complete(int to, int from) {
    m_s.timeUs += m_statementUs;
    if (m_s.timeUs > kLatestUs) return Halt("simulated time beyond what the dry run keeps (" + FormatMs(kLatestUs) + " ms)");
    return MoveTo(to, from);
}

bool Machine::MoveTo(int to, int from) {
    if (to == kEndRecord) return ReachEnd();
    if (m_lineOpen) EmitStep();
    if (to < 0 || to >= kRecordCount) return Halt(LabelOrHead(from) + " leads to record " + std::to_string(to) + ", outside the image");
    m_s.pc = to;
    if (to > from) return true;
    // A loop closes here: is the machine where it was, with nothing changed?
    if (m_idle.pc != to || m_idle.changes != m_changes || m_idle.returns != m_s.returns) {
        m_idle.pc = to;
        m_idle.changes = m_changes;
        m_idle.returns = m_s.returns;
        m_idle.collecting = false;
        m_observe = m_sink != nullptr;
        return true;
    }
    if (!m_idle.collecting) {
        // Once more, learning what the loop reads.
        m_idle.collecting = true;
        m_observe = true;
        m_loopReads.assign(static_cast<size_t>(Signals::Table().Count()) + kCountH + kCountF + kCountM + kCountC + kCountZ + 1,
                           false);
        m_timerWake.fill(kNoTime);
        return true;
    }
    return Skip(from);
}

bool Machine::ReadKeyOf(const Term& t, int& key) const {
    const int signals = Signals::Table().Count();
    switch (t.kind) {
        case TermKind::Signal: key = t.index; return true;
        case TermKind::H: key = signals + t.index; return true;
        case TermKind::F: key = signals + kCountH + t.index; return true;
        case TermKind::M: key = signals + kCountH + kCountF + t.index; return true;
        case TermKind::C: key = signals + kCountH + kCountF + kCountM + t.index; return true;
        case TermKind::Z: key = signals + kCountH + kCountF + kCountM + kCountC + t.index; return true;
        case TermKind::Param: key = signals + kCountH + kCountF + kCountM + kCountC + kCountZ; return true;
        default: return false;
    }
}

// The loop from `m_idle.pc` to `from` repeats without a change: time goes on
// to the next stimulus that gives something it reads, or the next moment a
// timer it reads changes.
bool Machine::Skip(int from) {
    m_idle.collecting = false;
    m_observe = m_sink != nullptr;
    auto reads = [this](const StimulusTarget& t) {
        using K = StimulusTarget::Kind;
        Term term;
        term.index = t.index;
        term.kind = t.kind == K::Signal ? TermKind::Signal
                    : t.kind == K::H    ? TermKind::H
                    : t.kind == K::F    ? TermKind::F
                    : t.kind == K::M    ? TermKind::M
                    : t.kind == K::C    ? TermKind::C
                                        : TermKind::Param;
        int key = 0;
        return ReadKeyOf(term, key) && m_loopReads[static_cast<size_t>(key)];
    };
    // A stimulus at a step comes by stepping on.
    const auto& stepped = m_stimuli.Stepped();
    for (size_t i = m_nextStepped; i < stepped.size(); ++i)
        if (reads(stepped[i].target)) return true;
    int64_t wake = kNoTime;
    std::string cause;
    const auto& timed = m_stimuli.Timed();
    for (size_t i = m_nextTimed; i < timed.size(); ++i) {
        if (reads(timed[i].target)) {
            wake = timed[i].timeUs;
            cause = "stimulus " + timed[i].target.name + ", line " + std::to_string(timed[i].line);
            break;
        }
    }
    for (int z = 0; z < kCountZ; ++z) {
        if (m_timerWake[static_cast<size_t>(z)] < wake) {
            wake = m_timerWake[static_cast<size_t>(z)];
            cause = "timer " + VariableName(VarKind::Z, z);
        }
    }
    const std::string loop = LabelOrHead(m_s.pc) + ".." + LabelOrHead(from);
    if (wake == kNoTime && m_limits.untilUs == kNoTime) {
        std::string what;
        const Signals& signals = Signals::Table();
        for (int k = 0; k < signals.Count(); ++k)
            if (m_loopReads[static_cast<size_t>(k)]) what += (what.empty() ? "" : ", ") + signals.Info(k).name;
        if (what.empty()) what = "nothing a stimulus or timer changes";
        return Halt("waiting forever on " + what + ": the loop " + loop +
                    " repeats without a change and nothing comes that changes what it reads");
    }
    const int64_t target = std::min(wake, m_limits.untilUs);
    if (m_sink != nullptr) {
        TraceLine line;
        line.kind = TraceLine::Kind::Skip;
        line.step = m_s.steps;
        line.fromUs = m_s.timeUs;
        line.timeUs = target;
        line.label = m_s.pc;
        line.note = loop + " idle" + (wake <= m_limits.untilUs ? " until " + cause : std::string(" to the time limit"));
        Emit(std::move(line));
    }
    AdvanceTo(target);
    m_idle = IdleMark{};
    return true;
}

bool Machine::ReachEnd() {
    m_s.pc = kEndRecord;
    const auto policy = m_profile.Get<EndPolicy>(Assumption::End);
    if (!policy) {
        m_s.run = RunState::Ended;
        m_s.reason = "END reached; what the drive does after END is not specified (set end = halt|idle|restart to go on)";
        return Stop(StopKind::Ended, m_s.reason);
    }
    Use(Assumption::End);
    switch (*policy) {
        case EndPolicy::Restart:
            m_s.returns.clear();
            return MoveTo(kEntryRecord, kEndRecord);
        case EndPolicy::Idle:
            if (m_limits.untilUs != kNoTime) {
                AdvanceTo(m_limits.untilUs);
                return Stop(StopKind::TimeLimit, "time limit reached idling at END (end=idle)");
            }
            m_s.run = RunState::Ended;
            m_s.reason = "END reached; the drive idles there (end=idle)";
            return Stop(StopKind::Ended, m_s.reason);
        case EndPolicy::Halt: break;
    }
    m_s.run = RunState::Ended;
    m_s.reason = "END reached; the programme halts (end=halt)";
    return Stop(StopKind::Ended, m_s.reason);
}

// ---- the trace ----

void Machine::Emit(TraceLine line) {
    if (m_sink != nullptr) m_sink->Line(line);
}

void Machine::EmitStep() {
    m_lineOpen = false;
    for (int a = 0; a < kAssumptionCount; ++a)
        if (m_used & Bit(static_cast<Assumption>(a)))
            m_line.assumptions.push_back(m_profile.Describe(static_cast<Assumption>(a)));
    Emit(std::move(m_line));
    m_line = TraceLine{};
}

// ---- the state as a view ----

std::vector<Watch> Machine::Watches(const MachineState& before) const {
    std::vector<Watch> out;
    auto add = [&out](std::string name, std::string def, std::string value, bool changed) {
        Watch w;
        w.name = std::move(name);
        w.defName = std::move(def);
        w.value = std::move(value);
        w.changed = changed;
        w.numeric = ParseNum(w.value, w.number);
        out.push_back(std::move(w));
    };
    // The variables with a value, by table.
    auto table = [&](VarKind kind, const auto& values, const auto& known, const auto& oldValues,
                     const auto& oldKnown) {
        for (size_t k = 0; k < values.size(); ++k) {
            if (!known.test(k)) continue;
            const Num now = NumOf(values[k]), old = NumOf(oldValues[k]);
            add(VariableName(kind, static_cast<int>(k)), m_program.Name(kind, static_cast<int>(k)), FormatNum(now),
                !oldKnown.test(k) || !(old == now));
        }
    };
    table(VarKind::H, m_s.h, m_s.hKnown, before.h, before.hKnown);
    table(VarKind::F, m_s.f, m_s.fKnown, before.f, before.fKnown);
    table(VarKind::M, m_s.m, m_s.mKnown, before.m, before.mKnown);
    table(VarKind::C, m_s.c, m_s.cKnown, before.c, before.cKnown);
    for (int i = 0; i < kCountZ; ++i) {
        const auto k = static_cast<size_t>(i);
        const Timer& t = m_s.z[k];
        if (!t.loaded) continue;
        const int64_t left = std::max<int64_t>(0, t.deadlineUs - m_s.timeUs);
        const std::string value = left == 0 ? "0 (run out)" : FormatMs(left) + " ms left";
        add(VariableName(VarKind::Z, i), m_program.Name(VarKind::Z, i), value,
            !before.z[k].loaded || before.z[k].deadlineUs != t.deadlineUs || (left == 0) != (before.z[k].deadlineUs <= before.timeUs));
    }
    const Signals& signals = Signals::Table();
    for (int i = 0; i < signals.Count(); ++i) {
        const auto k = static_cast<size_t>(i);
        const SignalValue& sv = m_s.signals[k];
        if (sv.origin == Origin::None) continue;
        const bool was = k < before.signals.size() && before.signals[k].origin != Origin::None;
        add(signals.Info(i).name, {}, FormatNum(sv.value), !was || !(before.signals[k].value == sv.value));
    }
    for (const auto& [key, sv] : m_s.params) {
        const auto old = before.params.find(key);
        std::string n = "PARA[" + std::to_string(key.first) + (key.second >= 0 ? "," + std::to_string(key.second) : "") + "]";
        add(std::move(n), {}, FormatNum(sv.value), old == before.params.end() || !(old->second.value == sv.value));
    }
    for (const auto& [key, text] : m_s.settings) {
        const auto old = before.settings.find(key);
        add(key, {}, text, old == before.settings.end() || old->second != text);
    }
    return out;
}

}  // namespace plc::sim
