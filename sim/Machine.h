// SPDX-License-Identifier: GPL-3.0-or-later
// The dry run of a programme image: the machine state and the step that
// runs one record by its row in the instruction tables.
//
// It runs the programme's logic — jumps, calls, flags, counters, integer and
// float arithmetic, timers against a simulated clock — and nothing of the
// drive: every drive command is an event whose outcome comes from the
// stimuli (or from whoever answers), inputs and drive states change only by
// stimuli, and where the programme format fixes no behaviour the run follows
// a key of the assumption profile or halts with "behaviour not specified".
//
// A caller steps it, runs it to a limit, a breakpoint or a label, reads its
// state (with the values changed since an earlier state marked), answers the
// outcome it waits for, and receives its trace as values.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "image/PlcProgram.h"
#include "sim/Assumptions.h"
#include "sim/Events.h"
#include "sim/Stimuli.h"
#include "sim/Trace.h"
#include "sim/Values.h"

namespace plc::sim {

struct PreparedRecord;  // a record made ready to run (Prepared.h)
struct Term;            // what an operand of a prepared record reads or writes

enum class RunState : uint8_t {
    Paused,           // ready to go on
    Waiting,          // in a WAIT, a drive command that takes time, or WAIT REF / ROT_0
    AwaitingOutcome,  // a drive command needs its outcome (Answer)
    Halted,           // stopped for good: behaviour not specified, a fault, waiting forever
    Ended,            // reached END
};

// Why a run returned.
enum class StopKind : uint8_t {
    StepLimit,        // the step count given was reached
    TimeLimit,        // the simulated time given was reached
    Breakpoint,       // a breakpoint's statement is next
    Paused,           // a BRKPT with brkpt = pause ran
    AwaitingOutcome,  // see Machine::Pending
    Halted,
    Ended,
};

struct StopInfo {
    StopKind kind = StopKind::Paused;
    std::string text;
};

// Where a run stops at the latest: both are absolute (a step count, a time).
struct Limits {
    uint64_t maxSteps = std::numeric_limits<uint64_t>::max();
    int64_t untilUs = kNoTime;
};

struct Timer {
    bool loaded = false;
    int64_t deadlineUs = 0;  // when it reads 0
};

// Where a drive-side value came from: nothing yet, a stimulus, the programme.
enum class Origin : uint8_t { None, Stimulus, Programme };
struct SignalValue {
    Num value;
    Origin origin = Origin::None;
};

struct MachineState {
    int pc = 0;                    // the record that runs next
    std::vector<uint8_t> returns;  // the records RETs go back to, innermost last
    RunState run = RunState::Paused;
    std::string reason;            // why it halted or ended
    int64_t timeUs = 0;
    uint64_t steps = 0;            // statements started

    std::array<int32_t, kCountH> h{};
    std::array<float, kCountF> f{};
    std::array<uint8_t, kCountM> m{};
    std::array<uint32_t, kCountC> c{};
    std::array<Timer, kCountZ> z{};
    // Which variables have a value (given by the programme or a stimulus).
    std::bitset<kCountH> hKnown;
    std::bitset<kCountF> fKnown;
    std::bitset<kCountM> mKnown;
    std::bitset<kCountC> cKnown;

    std::vector<SignalValue> signals;  // by slot of Signals
    std::map<std::pair<int32_t, int32_t>, SignalValue> params;  // (number, sub-index or -1)
    std::map<std::string, std::string> settings;  // "ACCR" -> "100%", "RXMSG[1]" -> "513, 4"
};

// One value of a state view.
struct Watch {
    std::string name;     // "H040", "IE03", "PARA[100,2]", "ACCR"
    std::string defName;  // its DEF name, if any
    std::string value;
    bool changed = false; // differs from the earlier state given
    bool numeric = false; // the value is a number
    Num number;
};

class Machine {
public:
    Machine(const CPlcProgram& program, AssumptionProfile profile, Stimuli stimuli = {});
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Back to the start: state cleared, stimuli and outcomes from their first
    // rows. Breakpoints, the trace sink and the outcome source stay.
    void Reset();

    // Runs until a limit, a breakpoint, a BRKPT that pauses, a drive command
    // without an outcome, a halt or END. A breakpoint on the statement it
    // starts at does not stop it again.
    StopInfo Run(const Limits& limits);
    // One statement (or the rest of a wait).
    StopInfo Step();
    // Runs until the statement `label` is next (or an earlier stop).
    StopInfo RunTo(int label, const Limits& limits);

    void SetBreakpoint(int label, bool on);
    bool IsBreakpoint(int label) const;

    // Where the trace goes; nullptr turns it off.
    void SetTrace(TraceSink* sink) { m_sink = sink; }

    // Asked for a drive command's outcome when no outcome row of the stimuli
    // matches; without an answer the run stops with AwaitingOutcome.
    using OutcomeSource = std::function<std::optional<Outcome>(const DriveEvent&)>;
    void SetOutcomeSource(OutcomeSource source) { m_outcomeSource = std::move(source); }

    // The drive command waiting for its outcome; nullptr when none is.
    const DriveEvent* Pending() const { return m_pending ? &*m_pending : nullptr; }
    // Gives the pending command its outcome; an outcome that does not fit
    // the command halts the run with the reason.
    void Answer(const Outcome& outcome);

    const MachineState& State() const { return m_s; }
    const AssumptionProfile& Profile() const { return m_profile; }
    const CPlcProgram& Program() const { return m_program; }
    // The canonical text of a record without its label ("%P00" for the head).
    std::string Statement(int label) const;
    // The 0-based source line of the record that runs next (for the window).
    int SourceLine() const;

    // Every value the run has given so far, with its DEF name; `changed` when
    // it differs from `before` (an earlier State()).
    std::vector<Watch> Watches(const MachineState& before) const;

    using Prepared = PreparedRecord;
    using Term = sim::Term;

private:
    // A statement that waits: until a time, or until a signal reads 1.
    struct WaitState {
        enum class Kind : uint8_t { Time, Signal };
        Kind kind = Kind::Time;
        int64_t untilUs = 0;
        int slot = -1;
        int then = 0;   // the record after the wait
        int from = 0;   // the waiting record
        std::string what;
    };

    bool Exec();
    bool AdvanceWait();
    void AdvanceTo(int64_t timeUs);
    void ApplyDue();
    void Apply(const Stimulus& s);
    bool MoveTo(int to, int from);
    bool Complete(int to, int from);
    bool Skip(int from);
    bool ReachEnd();
    bool Halt(std::string reason);
    bool Stop(StopKind kind, std::string text);
    bool Test(const Prepared& r, bool& holds);
    bool Compute(const Prepared& r);
    bool DriveCommand(const Prepared& r);
    bool ApplyOutcome(const Prepared& r, const Outcome& outcome);
    bool Wait(const Prepared& r);
    bool BeginWait(WaitState::Kind kind, int64_t untilUs, int slot, int then, std::string what);
    void OpenLine(const Prepared& r);
    bool WaitFor(const Prepared& r);
    bool Setup(const Prepared& r);
    bool Call(const Prepared& r);
    bool Return(const Prepared& r);

    bool Read(const Term& t, Num& v);
    bool Write(const Term& t, Num v);
    bool ReadVariable(const Term& t, Num& v);
    bool ReadTimer(int z, Num& v);
    bool ReadSignal(int slot, Num& v);
    bool ReadParam(const Prepared& r, Num& v);
    bool Element(const Term& t, Term& element);
    bool Initial(Assumption key, const std::string& name);
    bool ToInt32(Num v, int32_t& out, const Term* into);
    bool ToFlag(Num v, uint8_t& out);
    bool ToCounter(int64_t v, uint32_t& out);
    bool Arith(const Prepared& r, Num a, Num b, Num& out);
    bool IntResult(int64_t v, int32_t& out);
    bool FloatResult(float v, Num& out);
    bool RoundHalf(float v, float& out);
    std::string TermName(const Term& t) const;
    std::string Where() const;
    void Use(Assumption a) { m_used |= Bit(a); }
    void Observe(const Term& t, const Num& v, bool written);
    void EmitStep();
    void Emit(TraceLine line);
    void Changed() { ++m_changes; }
    bool ReadKeyOf(const Term& t, int& key) const;

    CPlcProgram m_program;
    AssumptionProfile m_profile;
    Stimuli m_stimuli;
    std::vector<Prepared> m_records;
    int64_t m_statementUs = -1;
    int64_t m_tickUs = -1;

    MachineState m_s;
    std::bitset<256> m_breaks;
    TraceSink* m_sink = nullptr;
    OutcomeSource m_outcomeSource;
    std::optional<DriveEvent> m_pending;
    Limits m_limits;
    StopInfo m_stop;

    // Stimuli and outcomes used so far.
    size_t m_nextTimed = 0, m_nextStepped = 0;
    std::vector<size_t> m_queuePos;

    WaitState m_wait;  // the wait in progress

    // The step in progress.
    AssumptionSet m_used = 0;
    bool m_observe = false;  // tracing or collecting: Read and Write report
    bool m_lineOpen = false;
    TraceLine m_line;

    // Idle loops: a loop that comes back to the same record with nothing
    // changed repeats until something outside changes; it is run once more
    // to learn what it reads, then time goes on to the next change of that.
    uint64_t m_changes = 0;
    struct IdleMark {
        int pc = -1;
        uint64_t changes = 0;
        std::vector<uint8_t> returns;
        bool collecting = false;
    } m_idle;
    std::vector<bool> m_loopReads;            // by read key
    std::array<int64_t, kCountZ> m_timerWake{};  // the earliest time a read timer matters
    const Term* m_constTest = nullptr;       // the constant a timer is tested against
};

}  // namespace plc::sim
