// SPDX-License-Identifier: GPL-3.0-or-later
// The step: one record run by its row's meaning. One loop over the
// instruction rows — what a record computes, tests, waits for or hands the
// drive comes from its row and form (Calc, Flow, the operand fields), never
// from its opcode.
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/Ascii.h"
#include "sim/Machine.h"
#include "sim/Prepared.h"
#include "sim/Signals.h"

namespace plc::sim {

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// `units` of `unitUs` each, when that stays far from the end of the clock.
bool Duration(int64_t units, int64_t unitUs, int64_t& us) {
    if (units < 0 || unitUs < 0 || (unitUs != 0 && units > kLatestUs / unitUs)) return false;
    us = units * unitUs;
    return true;
}
// Where the trace line says a statement goes on: its label, END for the END record.
std::string NextText(int record) { return record == kEndRecord ? std::string("END") : LabelText(record); }

double AsDouble(const Num& v) { return v.real ? static_cast<double>(v.f) : static_cast<double>(v.i); }

bool IsFloatKind(TermKind k) { return k == TermKind::F || k == TermKind::ElemF; }
bool IsFlagKind(TermKind k) { return k == TermKind::M || k == TermKind::ElemM; }
bool IsIntKind(TermKind k) { return k == TermKind::H || k == TermKind::ElemH; }

const char* CalcSymbol(Calc c) {
    switch (c) {
        case Calc::Add: return "+";
        case Calc::Sub: return "-";
        case Calc::Mul: return "*";
        case Calc::Div: return ":";
        case Calc::Mod: return "%";
        default: return "?";
    }
}

}  // namespace

// ---- the step ----

void Machine::OpenLine(const Prepared& r) {
    if (m_sink == nullptr) return;
    m_line = TraceLine{};
    m_line.step = m_s.steps;
    m_line.timeUs = m_s.timeUs;
    m_line.label = m_s.pc;
    m_line.statement = r.text;
    m_lineOpen = true;
}

bool Machine::Exec() {
    if (m_s.pc == kEndRecord) return ReachEnd();
    if (m_statementUs < 0)
        return Halt(NotSpecified("how long a statement takes", Assumption::StatementTime));
    const Prepared& r = m_records[static_cast<size_t>(m_s.pc)];
    ++m_s.steps;
    m_used = 0;
    OpenLine(r);
    if (!r.fault.empty()) return Halt(r.fault);
    const int pc = m_s.pc;
    if (pc == kEntryRecord) {
        Use(Assumption::Start);
        if (m_lineOpen) m_line.next = LabelText(r.target);
        return Complete(r.target, pc);
    }

    switch (r.calc) {
        case Calc::Drive: return DriveCommand(r);
        case Calc::Wait: return Wait(r);
        case Calc::WaitFor: return WaitFor(r);
        case Calc::Reserved:
            return Halt(LabelText(pc) + " holds a reserved opcode (" + r.text + "), which has no meaning on record");
        case Calc::Break: {
            const auto policy = m_profile.Get<BrkptPolicy>(Assumption::Brkpt);
            if (!policy) return Halt(NotSpecified("what BRKPT does", Assumption::Brkpt));
            Use(Assumption::Brkpt);
            Use(Assumption::Next);
            if (!Complete(r.next, pc)) return false;
            if (*policy == BrkptPolicy::Ignore) return true;
            return Stop(StopKind::Paused, "BRKPT at " + LabelText(pc) + " (brkpt=pause)");
        }
        case Calc::Setup:
            if (!Setup(r)) return false;
            break;
        case Calc::None: break;
        default:
            if (r.flow != Flow::Branch && !Compute(r)) return false;
            break;
    }

    switch (r.flow) {
        case Flow::Next:
            Use(Assumption::Next);
            return Complete(r.next, pc);
        case Flow::Jump:
            if (r.target == kEndRecord) Use(Assumption::EndTarget);
            if (m_lineOpen) m_line.next = NextText(r.target);
            return Complete(r.target, pc);
        case Flow::Branch: {
            bool holds = false;
            if (!Test(r, holds)) return false;
            Use(Assumption::Branch);
            const int to = holds ? r.target : r.next;
            if (to == kEndRecord) Use(Assumption::EndTarget);
            if (m_lineOpen) m_line.next = NextText(to);
            return Complete(to, pc);
        }
        case Flow::Call: return Call(r);
        case Flow::Return: return Return(r);
        case Flow::End:
            Use(Assumption::EndTarget);
            if (m_lineOpen) m_line.next = "END";
            return Complete(kEndRecord, pc);
    }
    return Halt("unknown flow");
}

bool Machine::Call(const Prepared& r) {
    const size_t depth = m_s.returns.size() + 1;
    if (depth > 1) {
        if (!m_profile.Has(Assumption::CallDepth))
            return Halt(NotSpecified("CALL nested " + std::to_string(depth) + " deep", Assumption::CallDepth));
        Use(Assumption::CallDepth);
        if (depth > static_cast<size_t>(m_profile.Number(Assumption::CallDepth)))
            return Halt("CALL nested " + std::to_string(depth) + " deep, beyond " + m_profile.Describe(Assumption::CallDepth));
    }
    // resize, not push_back: GCC 12 takes the latter for an overflow (-Wstringop-overflow).
    if (r.next > kEndRecord)
        return Halt(LabelText(m_s.pc) + " CALLs from a record whose link leads to record " + std::to_string(r.next) +
                    ", where no RET can come back");
    m_s.returns.resize(depth);
    m_s.returns.back() = static_cast<uint8_t>(r.next);
    if (m_lineOpen) m_line.next = LabelText(r.target);
    return Complete(r.target, m_s.pc);
}

bool Machine::Return(const Prepared& r) {
    if (m_s.returns.empty()) {
        const auto policy = m_profile.Get<RetEmpty>(Assumption::RetWithoutCall);
        if (!policy) return Halt(NotSpecified("RET without a CALL to return to", Assumption::RetWithoutCall));
        Use(Assumption::RetWithoutCall);
        if (*policy == RetEmpty::Halt) return Halt("RET without a CALL to return to (ret.without_call=halt)");
        Use(Assumption::Next);
        return Complete(r.next, m_s.pc);
    }
    const int to = m_s.returns.back();
    m_s.returns.pop_back();
    if (m_lineOpen) m_line.next = NextText(to);
    return Complete(to, m_s.pc);
}

// ---- computing ----

bool Machine::Compute(const Prepared& r) {
    Num a, b, out;
    switch (r.calc) {
        case Calc::Copy:
            return Read(r.right, out) && Write(r.dst, out);
        case Calc::Abs:
        case Calc::Round:
            if (!Read(r.right, b)) return false;
            if (r.calc == Calc::Round) {
                float rounded = 0;
                if (!RoundHalf(b.f, rounded)) return false;
                return Write(r.dst, Num::Real(rounded));
            }
            if (b.real) return Write(r.dst, Num::Real(std::fabs(b.f)));
            if (b.i == kInt32Min) {
                int32_t wrapped = 0;
                if (!IntResult(-b.i, wrapped)) return false;
                return Write(r.dst, Num::Int(wrapped));
            }
            return Write(r.dst, Num::Int(b.i < 0 ? -b.i : b.i));
        case Calc::Invert:
            if (!Read(r.dst, a)) return false;
            if (IsIntKind(r.dst.kind)) {
                const auto policy = m_profile.Get<InvertH>(Assumption::InvH);
                if (!policy) return Halt(NotSpecified("INV of an H (every bit, or negation)", Assumption::InvH));
                Use(Assumption::InvH);
                if (*policy == InvertH::Not) return Write(r.dst, Num::Int(~static_cast<int32_t>(a.i)));
                int32_t negated = 0;
                return IntResult(-a.i, negated) && Write(r.dst, Num::Int(negated));
            }
            return Write(r.dst, Num::Int(a.i == 0 ? 1 : 0));
        default:
            return Read(r.dst, a) && Read(r.right, b) && Arith(r, a, b, out) && Write(r.dst, out);
    }
}

bool Machine::Arith(const Prepared& r, Num a, Num b, Num& out) {
    const TermKind k = r.dst.kind;
    if (IsFloatKind(k)) {
        const float x = a.real ? a.f : static_cast<float>(a.i);
        const float y = b.real ? b.f : static_cast<float>(b.i);
        float v = 0;
        switch (r.calc) {
            case Calc::Add: v = x + y; break;
            case Calc::Sub: v = x - y; break;
            case Calc::Mul: v = x * y; break;
            case Calc::Div:
                if (y == 0) {
                    Use(Assumption::DivisionByZero);
                    return Halt("division by zero: " + TermName(r.dst) + " : 0 (division.by_zero=halt)");
                }
                v = x / y;
                break;
            default: return Halt("no float form of this operation");
        }
        return FloatResult(v, out);
    }
    if (IsFlagKind(k)) {
        const int64_t v = r.calc == Calc::And ? (a.i & b.i) : r.calc == Calc::Or ? (a.i | b.i) : (a.i ^ b.i);
        out = Num::Int(v != 0 ? 1 : 0);
        return true;
    }
    if (k == TermKind::C) {
        const int64_t v = r.calc == Calc::Add ? a.i + b.i : a.i - b.i;
        out = Num::Int(v);
        return true;  // the counter's range is checked when it is written
    }
    // H: 32-bit whole numbers.
    const int64_t x = a.i, y = b.i;
    int64_t v = 0;
    switch (r.calc) {
        case Calc::Add: v = x + y; break;
        case Calc::Sub: v = x - y; break;
        case Calc::Mul: v = x * y; break;
        case Calc::Div:
        case Calc::Mod: {
            if (y == 0) {
                Use(Assumption::DivisionByZero);
                return Halt(std::string("division by zero: ") + TermName(r.dst) + " " + CalcSymbol(r.calc) +
                            " 0 (division.by_zero=halt)");
            }
            int64_t q = x / y, rem = x % y;
            if (x < 0 || y < 0) {
                const auto policy = m_profile.Get<Division>(Assumption::IntDivision);
                if (!policy)
                    return Halt(NotSpecified(std::string("'") + CalcSymbol(r.calc) + "' with a negative operand (" +
                                                 std::to_string(x) + " " + CalcSymbol(r.calc) + " " + std::to_string(y) + ")",
                                             Assumption::IntDivision));
                Use(Assumption::IntDivision);
                if (*policy == Division::Floor && rem != 0 && ((rem < 0) != (y < 0))) {
                    q -= 1;
                    rem += y;
                }
            }
            v = r.calc == Calc::Div ? q : rem;
            break;
        }
        case Calc::And: v = static_cast<int32_t>(x) & static_cast<int32_t>(y); break;
        case Calc::Or: v = static_cast<int32_t>(x) | static_cast<int32_t>(y); break;
        case Calc::Xor: v = static_cast<int32_t>(x) ^ static_cast<int32_t>(y); break;
        case Calc::Shl:
        case Calc::Shr: {
            const bool left = r.calc == Calc::Shl;
            const auto value = static_cast<int32_t>(x);
            bool arith = false;
            if (!left && value < 0) {
                const auto policy = m_profile.Get<ShiftRight>(Assumption::Shr);
                if (!policy) return Halt(NotSpecified("'>>' of a negative value (" + std::to_string(value) + ")", Assumption::Shr));
                Use(Assumption::Shr);
                arith = *policy == ShiftRight::Arith;
            }
            if (y < 0 || y >= 32) {
                const auto policy = m_profile.Get<BigShift>(Assumption::ShiftBig);
                if (!policy) return Halt(NotSpecified("a shift by " + std::to_string(y), Assumption::ShiftBig));
                Use(Assumption::ShiftBig);
                if (*policy == BigShift::Halt) return Halt("a shift by " + std::to_string(y) + " (shift.big=halt)");
                v = arith ? -1 : 0;
                break;
            }
            const auto bits = static_cast<uint32_t>(value);
            if (left)
                v = static_cast<int32_t>(bits << y);
            else
                v = arith ? (value >> y) : static_cast<int32_t>(bits >> y);
            break;
        }
        default: return Halt("no whole-number form of this operation");
    }
    int32_t result = 0;
    if (!IntResult(v, result)) return false;
    out = Num::Int(result);
    return true;
}

bool Machine::IntResult(int64_t v, int32_t& out) {
    if (v >= kInt32Min && v <= kInt32Max) {
        out = static_cast<int32_t>(v);
        return true;
    }
    const auto policy = m_profile.Get<Overflow>(Assumption::IntOverflow);
    if (!policy) return Halt(NotSpecified("integer overflow (" + std::to_string(v) + ")", Assumption::IntOverflow));
    Use(Assumption::IntOverflow);
    if (*policy == Overflow::Halt) return Halt("integer overflow (" + std::to_string(v) + ") (int.overflow=halt)");
    out = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
    return true;
}

bool Machine::FloatResult(float v, Num& out) {
    out = Num::Real(v);
    if (std::isfinite(v)) return true;
    const auto policy = m_profile.Get<FloatSpecial>(Assumption::FloatOverflow);
    if (!policy) return Halt(NotSpecified("a float result " + FormatNum(out), Assumption::FloatOverflow));
    Use(Assumption::FloatOverflow);
    if (*policy == FloatSpecial::Halt) return Halt("a float result " + FormatNum(out) + " (float.overflow=halt)");
    return true;
}

bool Machine::RoundHalf(float v, float& out) {
    const float down = std::floor(v);
    if (v - down != 0.5f) {
        out = std::round(v);
        return true;
    }
    const auto policy = m_profile.Get<Rounding>(Assumption::Round);
    if (!policy) return Halt(NotSpecified("rounding " + FormatNum(Num::Real(v)) + ", halfway", Assumption::Round));
    Use(Assumption::Round);
    if (*policy == Rounding::HalfAway)
        out = std::round(v);
    else
        out = std::fmod(down, 2.0f) == 0 ? down : down + 1;
    return true;
}

// ---- tests ----

bool Machine::Test(const Prepared& r, bool& holds) {
    Num a, b;
    m_constTest = r.left.kind == TermKind::Z && r.right.kind == TermKind::Const ? &r.right : nullptr;
    const bool ok = Read(r.left, a);
    m_constTest = nullptr;
    if (!ok || !Read(r.right, b)) return false;
    switch (r.calc) {
        case Calc::And: holds = (a.i & b.i) != 0; return true;
        case Calc::Or: holds = (a.i | b.i) != 0; return true;
        case Calc::Xor: holds = (a.i ^ b.i) != 0; return true;
        default: break;
    }
    int order = 0;
    if (a.real || b.real) {
        const double x = AsDouble(a), y = AsDouble(b);
        if (std::isnan(x) || std::isnan(y)) {
            holds = r.calc == Calc::Ne;
            return true;
        }
        order = x < y ? -1 : x > y ? 1 : 0;
    } else {
        order = a.i < b.i ? -1 : a.i > b.i ? 1 : 0;
    }
    switch (r.calc) {
        case Calc::Eq: holds = order == 0; break;
        case Calc::Ne: holds = order != 0; break;
        case Calc::Ge: holds = order >= 0; break;
        case Calc::Gt: holds = order > 0; break;
        case Calc::Le: holds = order <= 0; break;
        case Calc::Lt: holds = order < 0; break;
        default: return Halt("no test of this kind");
    }
    return true;
}

// ---- waits, set-ups, drive commands ----

// The statement at pc waits (until a time, or until a signal reads 1), then
// goes on at `then`.
bool Machine::BeginWait(WaitState::Kind kind, int64_t untilUs, int slot, int then, std::string what) {
    m_wait = WaitState{kind, untilUs, slot, then, m_s.pc, std::move(what)};
    m_s.run = RunState::Waiting;
    if (m_lineOpen) EmitStep();
    return true;
}

bool Machine::Wait(const Prepared& r) {
    Num n;
    if (!Read(r.right, n)) return false;
    int64_t units = 0;
    int32_t whole = 0;
    if (n.real) {
        if (!ToInt32(n, whole, nullptr)) return false;
        units = whole;
    } else {
        units = n.i;
    }
    if (units < 0) return Halt("behaviour not specified: WAIT " + std::to_string(units) + ", a negative time");
    int64_t waitUs = 0;
    if (units > 0) {
        if (!m_profile.Has(Assumption::WaitUnit))
            return Halt(NotSpecified("the time unit of WAIT", Assumption::WaitUnit));
        Use(Assumption::WaitUnit);
        if (!Duration(units, m_profile.Number(Assumption::WaitUnit), waitUs))
            return Halt("WAIT " + std::to_string(units) + " lasts beyond any time the dry run keeps");
    }
    Use(Assumption::Next);
    if (m_lineOpen) m_line.note = "waits " + FormatMs(waitUs) + " ms";
    return BeginWait(WaitState::Kind::Time, m_s.timeUs + m_statementUs + waitUs, -1, r.next,
                     LabelText(m_s.pc) + " " + r.text);
}

bool Machine::WaitFor(const Prepared& r) {
    Num v;
    if (!Read(r.left, v)) return false;
    Use(Assumption::Next);
    if (v.i == 1) return Complete(r.next, m_s.pc);
    if (m_lineOpen) m_line.note = "waits for " + TermName(r.left) + "=1";
    return BeginWait(WaitState::Kind::Signal, m_s.timeUs + m_statementUs, r.left.index, r.next, TermName(r.left));
}

bool Machine::Setup(const Prepared& r) {
    Num v, aux;
    if (!Read(r.right, v) || !Read(r.aux, aux)) return false;
    std::string text = FormatNum(v) + (r.right.percent ? "%" : "");
    if (r.aux.kind != TermKind::None) text += ", " + FormatNum(aux);
    std::string& setting = m_s.settings[r.setting];
    if (setting != text) Changed();
    setting = text;
    if (m_lineOpen) m_line.note = "sets " + r.setting + " = " + text;
    return true;
}

bool Machine::DriveCommand(const Prepared& r) {
    DriveEvent event;
    event.label = m_s.pc;
    event.statement = r.text;
    event.branch = r.flow == Flow::Branch;
    if (event.branch && r.dst.kind != TermKind::None) event.stores = TermName(r.dst);
    for (const Term& t : r.reads) {
        Num v;
        if (!Read(t, v)) return false;
        event.reads.push_back({TermName(t), v});
    }
    // The stimuli's outcome rows first, then whoever answers.
    const auto& queues = m_stimuli.Outcomes();
    for (size_t q = 0; q < queues.size(); ++q) {
        if (!PatternMatches(queues[q].pattern, event)) continue;
        size_t& pos = m_queuePos[q];
        const Outcome& outcome = queues[q].outcomes[pos];
        if (pos + 1 < queues[q].outcomes.size()) {
            ++pos;
            Changed();
        }
        return ApplyOutcome(r, outcome);
    }
    if (m_outcomeSource) {
        if (std::optional<Outcome> answer = m_outcomeSource(event)) return ApplyOutcome(r, *answer);
    }
    m_pending = std::move(event);
    m_s.run = RunState::AwaitingOutcome;
    if (m_lineOpen) m_line.note = "awaits its outcome";
    return Stop(StopKind::AwaitingOutcome, "no outcome for " + LabelText(m_s.pc) + " " + r.text);
}

void Machine::Answer(const Outcome& outcome) {
    if (!m_pending) return;
    m_pending.reset();
    m_s.run = RunState::Paused;
    const Prepared& r = m_records[static_cast<size_t>(m_s.pc)];
    OpenLine(r);
    m_used = 0;
    m_observe = m_sink != nullptr;
    ApplyOutcome(r, outcome);
    if (m_lineOpen) EmitStep();
}

bool Machine::ApplyOutcome(const Prepared& r, const Outcome& outcome) {
    const std::string what = LabelText(m_s.pc) + " " + r.text;
    const std::string from = outcome.line > 0 ? " (stimuli line " + std::to_string(outcome.line) + ")" : "";
    if (m_lineOpen) m_line.note = "outcome: " + outcome.text + from;
    const bool branch = r.flow == Flow::Branch;
    if (branch != (outcome.kind != Outcome::Kind::Done))
        return Halt("the outcome '" + outcome.text + "'" + from + " does not fit " + what +
                    (branch ? ": a message jump is taken or not taken" : ": a drive command is done"));
    if (outcome.kind == Outcome::Kind::NotTaken) {
        Use(Assumption::Branch);
        if (m_lineOpen) m_line.next = NextText(r.next);
        return Complete(r.next, m_s.pc);
    }
    if (outcome.kind == Outcome::Kind::Taken) {
        if (r.dst.kind != TermKind::None) {
            if (!outcome.hasValue)
                return Halt("the outcome '" + outcome.text + "'" + from + " for " + what +
                            " needs the value it stores: taken " + TermName(r.dst) + "=VALUE");
            if (!outcome.store.empty() && !EqualsIgnoreCase(outcome.store, TermName(r.dst)))
                return Halt("the outcome '" + outcome.text + "'" + from + " names " + outcome.store + ", but " + what +
                            " stores into " + TermName(r.dst));
            if (!Write(r.dst, outcome.value)) return false;
        }
        Use(Assumption::Branch);
        if (m_lineOpen) m_line.next = NextText(r.target);
        return Complete(r.target, m_s.pc);
    }
    // Done: a parameter write takes effect.
    if (r.place == DrivePlace::Param) {
        Num value, number, sub;
        if (!Read(r.right, value) || !Read(r.paramNo, number)) return false;
        if (r.paramSub.kind != TermKind::None && !Read(r.paramSub, sub)) return false;
        const std::pair<int32_t, int32_t> key{static_cast<int32_t>(number.i),
                                              r.paramSub.kind != TermKind::None ? static_cast<int32_t>(sub.i) : -1};
        SignalValue& sv = m_s.params[key];
        if (sv.origin == Origin::None || !(sv.value == value)) Changed();
        sv = {value, Origin::Programme};
        if (m_lineOpen)
            m_line.writes.push_back({"PARA[" + std::to_string(key.first) +
                                         (key.second >= 0 ? "," + std::to_string(key.second) : "") + "]",
                                     value});
    }
    Use(Assumption::Next);
    if (outcome.afterUs == 0) return Complete(r.next, m_s.pc);
    return BeginWait(WaitState::Kind::Time, m_s.timeUs + m_statementUs + outcome.afterUs, -1, r.next, what);
}

// ---- reading and writing ----

std::string Machine::TermName(const Term& t) const {
    switch (t.kind) {
        case TermKind::H: return VariableName(VarKind::H, t.index);
        case TermKind::F: return VariableName(VarKind::F, t.index);
        case TermKind::M: return VariableName(VarKind::M, t.index);
        case TermKind::C: return VariableName(VarKind::C, t.index);
        case TermKind::Z: return VariableName(VarKind::Z, t.index);
        case TermKind::ElemH: return "H[" + VariableName(VarKind::C, t.index) + "]";
        case TermKind::ElemF: return "F[" + VariableName(VarKind::C, t.index) + "]";
        case TermKind::ElemM: return "M[" + VariableName(VarKind::C, t.index) + "]";
        case TermKind::Signal: return Signals::Table().Info(t.index).name;
        case TermKind::Param: return "PARA";
        case TermKind::Const: return FormatNum(t.constant);
        case TermKind::None: return "0";
    }
    return {};
}

void Machine::Observe(const Term& t, const Num& v, bool written) {
    if (m_idle.collecting && !written) {
        int key = 0;
        if (ReadKeyOf(t, key)) m_loopReads[static_cast<size_t>(key)] = true;
    }
    if (!m_lineOpen) return;
    std::vector<NamedValue>& list = written ? m_line.writes : m_line.reads;
    std::string name = TermName(t);
    for (const NamedValue& seen : list)
        if (seen.name == name) return;
    list.push_back({std::move(name), v});
}

bool Machine::Initial(Assumption key, const std::string& name) {
    const auto policy = m_profile.Get<InitialValue>(key);
    const char* by = key == Assumption::InitVariables ? "the programme or a stimulus" : "a stimulus or the programme";
    if (!policy) return Halt(NotSpecified(name + " read before " + by + " gave it a value", key));
    Use(key);
    if (*policy == InitialValue::Halt)
        return Halt(name + " read before " + by + " gave it a value (" + m_profile.Describe(key) + ")");
    return true;
}

bool Machine::Element(const Term& t, Term& element) {
    Term counter;
    counter.kind = TermKind::C;
    counter.index = t.index;
    Num c;
    if (!Read(counter, c)) return false;
    const int count = t.kind == TermKind::ElemF ? kCountF : t.kind == TermKind::ElemH ? kCountH : kCountM;
    if (c.i >= count) {
        Use(Assumption::IndexRange);
        return Halt(TermName(t) + " with " + TermName(counter) + "=" + std::to_string(c.i) + ", beyond the table of " +
                    std::to_string(count) + " (index.out_of_range=halt)");
    }
    element.kind = t.kind == TermKind::ElemH ? TermKind::H : t.kind == TermKind::ElemF ? TermKind::F : TermKind::M;
    element.index = static_cast<int>(c.i);
    return true;
}

bool Machine::ReadVariable(const Term& t, Num& v) {
    const auto i = static_cast<size_t>(t.index);
    auto load = [&](const auto& values, const auto& known) {
        if (!known.test(i) && !Initial(Assumption::InitVariables, TermName(t))) return false;
        v = NumOf(values[i]);
        return true;
    };
    switch (t.kind) {
        case TermKind::H: return load(m_s.h, m_s.hKnown);
        case TermKind::F: return load(m_s.f, m_s.fKnown);
        case TermKind::M: return load(m_s.m, m_s.mKnown);
        case TermKind::C: return load(m_s.c, m_s.cKnown);
        default: return false;
    }
}

bool Machine::ReadTimer(int z, Num& v) {
    const Timer& timer = m_s.z[static_cast<size_t>(z)];
    if (!timer.loaded) {
        if (!Initial(Assumption::InitVariables, VariableName(VarKind::Z, z))) return false;
        v = Num::Int(0);
        return true;
    }
    const int64_t left = timer.deadlineUs - m_s.timeUs;
    if (left <= 0) {
        v = Num::Int(0);
        return true;
    }
    Use(Assumption::TimerTick);
    const int64_t ticks = (left + m_tickUs - 1) / m_tickUs;
    v = Num::Int(ticks);
    if (m_idle.collecting) {
        // When a loop that reads it could see something new: when a test
        // against a constant turns, else at the next tick.
        int64_t at = timer.deadlineUs - (ticks - 1) * m_tickUs;
        if (m_constTest != nullptr) {
            const int64_t c = m_constTest->constant.i;
            at = c >= ticks ? kNoTime : timer.deadlineUs - c * m_tickUs;
        }
        int64_t& wake = m_timerWake[static_cast<size_t>(z)];
        if (at > m_s.timeUs && at < wake) wake = at;
    }
    return true;
}

bool Machine::ReadSignal(int slot, Num& v) {
    const SignalValue& sv = m_s.signals[static_cast<size_t>(slot)];
    const std::string& name = Signals::Table().Info(slot).name;
    switch (sv.origin) {
        case Origin::None:
            if (!Initial(Assumption::InitDrive, name)) return false;
            v = Num::Int(0);
            return true;
        case Origin::Programme: {
            const auto policy = m_profile.Get<ReadBack>(Assumption::ReadBack);
            if (!policy)
                return Halt(NotSpecified(name + " read back after the programme wrote it", Assumption::ReadBack));
            Use(Assumption::ReadBack);
            if (*policy == ReadBack::Halt) return Halt(name + " read back after the programme wrote it (read_back=halt)");
            break;
        }
        case Origin::Stimulus: break;
    }
    v = sv.value;
    return true;
}

bool Machine::ReadParam(const Prepared& r, Num& v) {
    Num number, sub;
    if (!Read(r.paramNo, number)) return false;
    if (r.paramSub.kind != TermKind::None && !Read(r.paramSub, sub)) return false;
    const std::pair<int32_t, int32_t> key{static_cast<int32_t>(number.i),
                                          r.paramSub.kind != TermKind::None ? static_cast<int32_t>(sub.i) : -1};
    const auto found = m_s.params.find(key);
    const std::string name =
        "PARA[" + std::to_string(key.first) + (key.second >= 0 ? "," + std::to_string(key.second) : "") + "]";
    if (found == m_s.params.end() || found->second.origin == Origin::None) {
        if (!Initial(Assumption::InitDrive, name)) return false;
        v = Num::Int(0);
    } else {
        v = found->second.value;
    }
    if (m_lineOpen) m_line.reads.push_back({name, v});
    return true;
}

bool Machine::Read(const Term& t, Num& v) {
    switch (t.kind) {
        case TermKind::None: v = Num::Int(0); return true;
        case TermKind::Const: v = t.constant; return true;
        case TermKind::H:
        case TermKind::F:
        case TermKind::M:
        case TermKind::C:
            if (!ReadVariable(t, v)) return false;
            break;
        case TermKind::Z:
            if (!ReadTimer(t.index, v)) return false;
            break;
        case TermKind::ElemH:
        case TermKind::ElemF:
        case TermKind::ElemM: {
            Term element;
            return Element(t, element) && Read(element, v);
        }
        case TermKind::Signal:
            if (!ReadSignal(t.index, v)) return false;
            break;
        case TermKind::Param:
            if (!ReadParam(m_records[static_cast<size_t>(m_s.pc)], v)) return false;
            if (m_idle.collecting) Observe(t, v, false);
            return true;
    }
    if (m_observe) Observe(t, v, false);
    return true;
}

bool Machine::ToInt32(Num v, int32_t& out, const Term* into) {
    if (!v.real) return IntResult(v.i, out);
    const float f = v.f;
    const bool whole = std::trunc(f) == f;
    const bool inRange = std::isfinite(f) && f < 2147483648.0f && f >= -2147483648.0f;
    if (whole && inRange) {
        out = static_cast<int32_t>(f);
        return true;
    }
    // Only now the words: this is the rare way.
    const std::string what = (into != nullptr ? TermName(*into) : std::string("a wait")) + " takes the float " + FormatNum(v);
    if (!inRange) return Halt("behaviour not specified: " + what + ", outside the 32-bit range");
    const auto policy = m_profile.Get<FloatToInt>(Assumption::FloatToInt);
    if (!policy) return Halt(NotSpecified(what, Assumption::FloatToInt));
    Use(Assumption::FloatToInt);
    if (*policy == FloatToInt::Halt) return Halt(what + " (float_to_int=halt)");
    float rounded = std::trunc(f);
    if (*policy == FloatToInt::Round && !RoundHalf(f, rounded)) return false;
    if (rounded >= 2147483648.0f) return Halt("behaviour not specified: " + what + ", outside the 32-bit range");
    out = static_cast<int32_t>(rounded);
    return true;
}

bool Machine::ToFlag(Num v, uint8_t& out) {
    if (!v.real && (v.i == 0 || v.i == 1)) {
        out = static_cast<uint8_t>(v.i);
        return true;
    }
    const auto policy = m_profile.Get<FlagFromH>(Assumption::MFromH);
    if (!policy) return Halt(NotSpecified("a flag set from " + FormatNum(v), Assumption::MFromH));
    Use(Assumption::MFromH);
    const int64_t whole = v.real ? static_cast<int64_t>(v.f) : v.i;
    out = static_cast<uint8_t>(*policy == FlagFromH::NonZero ? (whole != 0 ? 1 : 0) : (whole & 1));
    return true;
}

bool Machine::ToCounter(int64_t v, uint32_t& out) {
    if (v >= 0 && v <= 255) {
        out = static_cast<uint32_t>(v);
        return true;
    }
    const auto width = m_profile.Get<uint8_t>(Assumption::CounterWidth);
    if (v > 255 && !width) return Halt(NotSpecified("a counter taking " + std::to_string(v), Assumption::CounterWidth));
    const int64_t modulus = width ? (int64_t{1} << (8 << *width)) : 256;
    if (width) Use(Assumption::CounterWidth);
    if (v >= 0 && v < modulus) {
        out = static_cast<uint32_t>(v);
        return true;
    }
    const auto policy = m_profile.Get<Overflow>(Assumption::CounterOverflow);
    if (!policy) return Halt(NotSpecified("a counter taking " + std::to_string(v), Assumption::CounterOverflow));
    Use(Assumption::CounterOverflow);
    if (*policy == Overflow::Halt) return Halt("a counter taking " + std::to_string(v) + " (counter.overflow=halt)");
    if (!width) {
        // Wrapping needs to know where it wraps.
        return Halt(NotSpecified("a counter wrapping from " + std::to_string(v), Assumption::CounterWidth));
    }
    out = static_cast<uint32_t>(((v % modulus) + modulus) % modulus);
    return true;
}

bool Machine::Write(const Term& t, Num v) {
    const auto i = static_cast<size_t>(t.index);
    bool changed = false;
    switch (t.kind) {
        case TermKind::H: {
            int32_t value = 0;
            if (!ToInt32(v, value, &t)) return false;
            changed = StoreValue(m_s.h, m_s.hKnown, i, value);
            v = Num::Int(value);
            break;
        }
        case TermKind::F: {
            const float value = v.real ? v.f : static_cast<float>(v.i);
            changed = StoreValue(m_s.f, m_s.fKnown, i, value);
            v = Num::Real(value);
            break;
        }
        case TermKind::M: {
            uint8_t value = 0;
            if (!ToFlag(v, value)) return false;
            changed = StoreValue(m_s.m, m_s.mKnown, i, value);
            v = Num::Int(value);
            break;
        }
        case TermKind::C: {
            uint32_t value = 0;
            int64_t whole = v.i;
            if (v.real) {
                int32_t w = 0;
                if (!ToInt32(v, w, &t)) return false;
                whole = w;
            }
            if (!ToCounter(whole, value)) return false;
            changed = StoreValue(m_s.c, m_s.cKnown, i, value);
            v = Num::Int(value);
            break;
        }
        case TermKind::Z: {
            int32_t ticks = 0;
            if (!ToInt32(v, ticks, &t)) return false;
            if (ticks < 0)
                return Halt("behaviour not specified: " + TermName(t) + " loaded with " + std::to_string(ticks) +
                            ", a negative time");
            if (ticks > 0 && m_tickUs < 0)
                return Halt(NotSpecified("the time unit of " + TermName(t), Assumption::TimerTick));
            int64_t runs = 0;
            if (ticks > 0) {
                Use(Assumption::TimerTick);
                if (!Duration(ticks, m_tickUs, runs))
                    return Halt(TermName(t) + " loaded with " + std::to_string(ticks) + " runs beyond any time the dry run keeps");
            }
            Timer& timer = m_s.z[i];
            timer.loaded = true;
            timer.deadlineUs = m_s.timeUs + runs;
            changed = true;
            break;
        }
        case TermKind::ElemH:
        case TermKind::ElemF:
        case TermKind::ElemM: {
            Term element;
            return Element(t, element) && Write(element, v);
        }
        case TermKind::Signal: {
            if (Signals::Table().Info(t.index).flag) {
                uint8_t flag = 0;
                if (!ToFlag(v, flag)) return false;
                v = Num::Int(flag);
            }
            SignalValue& sv = m_s.signals[i];
            changed = sv.origin == Origin::None || !(sv.value == v);
            sv = {v, Origin::Programme};
            break;
        }
        default: return Halt("nothing to write to");
    }
    if (changed) Changed();
    if (m_lineOpen) Observe(t, v, true);
    return true;
}

}  // namespace plc::sim
