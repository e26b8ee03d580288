// SPDX-License-Identifier: GPL-3.0-or-later
// The dry run beyond one step: the profile and stimuli readers, outcomes,
// time and idle loops, END, breakpoints, records that cannot run, and every
// statement form of the golden form files run once.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "image/InstrSet.h"
#include "sim/Signals.h"
#include "tests/sim/SimTestSupport.h"

namespace plc::sim::test {
namespace {

// ---- the readers ----

struct ReaderCase {
    const char* text;   // '|' stands for a line break, '>' for a tab
    const char* error;  // "" when it reads
};

std::string Lines(const char* text) {
    std::string out(text);
    for (char& c : out) c = c == '|' ? '\n' : c == '>' ? '\t' : c;
    return out;
}

// A reader's result against the case: it reads, or fails with the error.
void ExpectRead(const ReaderCase& c, bool ok, const std::string& error) {
    EXPECT_EQ(ok, *c.error == '\0') << error;
    EXPECT_EQ(error, c.error);
}

class ProfileReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ProfileReader, ReadsOrNamesTheLine) {
    AssumptionProfile profile;
    std::string error;
    ExpectRead(GetParam(), AssumptionProfile::Parse(Lines(GetParam().text), profile, error), error);
}

INSTANTIATE_TEST_SUITE_P(Lines, ProfileReader, ::testing::Values(
    ReaderCase{"; comment|# comment||[timer]|tick_ms = 10|[]x", "6: a section line reads [NAME]"},
    ReaderCase{"end = halt|END = idle", "2: 'end' is given already on line 1"},
    ReaderCase{"int.overflow = saturate", "1: 'int.overflow' takes wrap|halt, not 'saturate'"},
    ReaderCase{"timer.tick_ms = 0", "1: 'timer.tick_ms' takes milliseconds > 0 (up to a day) with at most three decimals, not '0'"},
    ReaderCase{"statement.time_ms = 0.0005", "1: 'statement.time_ms' takes milliseconds >= 0 (up to a day) with at most three decimals, not '0.0005'"},
    ReaderCase{"wait.unit_ms = 86400001", "1: 'wait.unit_ms' takes milliseconds > 0 (up to a day) with at most three decimals, not '86400001'"},
    ReaderCase{"call.depth = 0", "1: 'call.depth' takes a whole number >= 1, not '0'"},
    ReaderCase{"tick = 10", "1: unknown key 'tick'"},
    ReaderCase{"G1 = 1", "1: unknown key 'g1'"},
    ReaderCase{"end halt", "1: expected KEY = VALUE, a [SECTION] or a comment"},
    ReaderCase{" = halt", "1: no key before '='"},
    ReaderCase{"[Timer]|Tick_MS = 2.5|[wait]|unit_ms=1|[]", "5: a section line reads [NAME]"},
    ReaderCase{"END = Restart\r\n[Timer]\r\nTick_MS = 2.5\r\n[wait]\r\nunit_ms=1", ""}));

TEST(ProfileReader, SectionsPrefixTheirKeysAndDefaultsStand) {
    AssumptionProfile profile;
    std::string error;
    ASSERT_TRUE(AssumptionProfile::Parse("end = restart\n[timer]\ntick_ms = 2.5\n", profile, error)) << error;
    EXPECT_EQ(profile.Number(Assumption::TimerTick), 2500);
    EXPECT_EQ(profile.Get<EndPolicy>(Assumption::End), EndPolicy::Restart);
    EXPECT_FALSE(profile.Has(Assumption::IntOverflow));
    // Only the two conventions every drive shares have defaults.
    EXPECT_EQ(profile.Text(), "end=restart division.by_zero=halt index.out_of_range=halt timer.tick_ms=2.5");
}

class StimuliReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(StimuliReader, ReadsOrNamesTheLine) {
    const CPlcProgram program = Compile("%TEXT(T)\nDEF H40 = Pulse_Time\nEND\n%P00\nN010 NOP\nEND\n");
    Stimuli stimuli;
    std::string error;
    ExpectRead(GetParam(), Stimuli::Parse(Lines(GetParam().text), &program, stimuli, error), error);
}

INSTANTIATE_TEST_SUITE_P(Lines, StimuliReader, ::testing::Values(
    ReaderCase{"time>signal>value|0>IE3>1|#2>pulse_time>-5|10.5>PARA[100, 2]>1.5|; note|outcome>GO*>done after 20ms", ""},
    ReaderCase{"0>IE03>1>2", "1: expected three fields separated by tabs: time, signal, value"},
    ReaderCase{"0 IE03 1", "1: expected three fields separated by tabs: time, signal, value"},
    ReaderCase{"-5>IE03>1", "1: the time is milliseconds (up to three decimals) or #STEP, not '-5'"},
    ReaderCase{"#0>IE03>1", "1: a step time is #N with N from 1"},
    ReaderCase{"0>IE09>1", "1: unknown signal 'IE09' (an input, status flag, REF, ROT_0, ACTVAL, drive value, CM flag, PARA[n], H, F, M, C or a DEF name)"},
    ReaderCase{"0>OE00>1", "1: 'OE00' is set by the programme, not by stimuli"},
    ReaderCase{"0>BRAKE>1", "1: 'BRAKE' is set by the programme, not by stimuli"},
    ReaderCase{"0>Z001>5", "1: a timer takes its value from the programme (SET Zxxx), not from stimuli"},
    ReaderCase{"0>STA_INPOS>2", "1: STA_INPOS is a flag: 0 or 1"},
    ReaderCase{"0>H001>1.5", "1: H001 takes a 32-bit whole number"},
    ReaderCase{"0>H001>2147483648", "1: H001 takes a 32-bit whole number"},
    ReaderCase{"0>C001>-1", "1: C001 is a counter: a whole number from 0"},
    ReaderCase{"0>ACTPOS>x", "1: the value is a number, not 'x'"},
    ReaderCase{"outcome>GO*>finished", "1: an outcome is done, done after N ms, taken, taken Hxxx=VALUE or not taken"},
    ReaderCase{"outcome>GO*>done after soon", "1: 'done after' takes a time in milliseconds: done after 200 ms"},
    ReaderCase{"outcome>RXMSG 1>taken H004 17", "1: 'taken' takes the value stored: taken H004=17 or taken 17"},
    ReaderCase{"outcome>>done", "1: an outcome row needs a pattern: outcome<TAB>GO*<TAB>done"}));

TEST(Signals, EveryNamedInputOutputAndStatusHasItsSlot) {
    const Signals& signals = Signals::Table();
    for (int n = 0; n < 256; ++n) {
        const auto v = static_cast<uint8_t>(n);
        EXPECT_EQ(signals.ForDomain(Dom::Input, v) >= 0, InputName(v) != nullptr) << n;
        EXPECT_EQ(signals.ForDomain(Dom::Output, v) >= 0, OutputName(v) != nullptr) << n;
        EXPECT_EQ(signals.ForDomain(Dom::Status, v) >= 0, StatusName(v) != nullptr) << n;
    }
    // ACTPOS read as F and as H, and the register REFVAL, are one value each.
    EXPECT_EQ(signals.ForDomain(Dom::DriveValF, 2), signals.ForDomain(Dom::DriveValH, 4));
    EXPECT_EQ(signals.ForDomain(Dom::Register, 2), signals.ForPlace(DrivePlace::RefVal));
    EXPECT_EQ(signals.Find("ie3"), signals.ForDomain(Dom::Input, 7));
    EXPECT_EQ(signals.Find("IS6"), signals.ForDomain(Dom::Input, 16));
    EXPECT_EQ(signals.Find("CM1"), signals.ForDomain(Dom::CmIndex, 0));
}

// Every key is documented in the README's table and set, with its comment,
// in the example profile; the conventions are in the README too.
TEST(ProfileKeys, AreDocumentedAndInTheExampleProfile) {
    auto read = [](const std::string& name) {
        std::ifstream in(std::string(PLCEDIT_SOURCE_DIR) + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string readme = read("README.md");
    const size_t section = readme.find("## Dry run");
    ASSERT_NE(section, std::string::npos);
    const std::string dryRun = readme.substr(section, readme.find("\n## ", section + 1) - section);
    const std::string example = "\n" + read("examples/sim/profile.ini");
    for (const ProfileKey& k : ProfileKeys()) {
        SCOPED_TRACE(std::string(k.key));
        if (k.type == KeyType::Convention) {
            EXPECT_NE(dryRun.find("| " + std::string(k.key) + " | " + std::string(k.what) + " |"), std::string::npos);
            continue;
        }
        EXPECT_NE(dryRun.find("| `" + std::string(k.key) + "` |"), std::string::npos);
        EXPECT_NE(example.find("\n" + std::string(k.key) + " = "), std::string::npos);
    }
    AssumptionProfile profile;
    std::string error;
    EXPECT_TRUE(AssumptionProfile::Parse(example, profile, error)) << error;
}

// ---- the rows' run-time meaning names fields their forms have ----

TEST(RowMeanings, NameOnlyFieldsTheirFormsShow) {
    for (const auto& rows : {FlowRows(), AssignRows(), MotionRows()}) {
        for (const OpcodeRow& row : rows) {
            const Meaning& m = row.meaning;
            for (const Variant& form : row.variants) {
                SCOPED_TRACE(form.text);
                auto shows = [&form](Src src) {
                    if (src == Src::None) return true;
                    for (const Operand& op : form.args)
                        if (op.src == src) return true;
                    return false;
                };
                EXPECT_TRUE(form.place != DrivePlace::None || shows(m.left));
                EXPECT_TRUE(shows(m.from));
                EXPECT_TRUE(shows(m.aux));
                EXPECT_TRUE(shows(m.to));
                const Calc calc = form.calc != Calc::None ? form.calc : m.calc;
                if (m.flow == Flow::Branch && calc != Calc::Drive) {
                    EXPECT_TRUE(calc == Calc::Eq || calc == Calc::Ne || calc == Calc::Ge || calc == Calc::Gt ||
                                calc == Calc::Le || calc == Calc::Lt || calc == Calc::And || calc == Calc::Or ||
                                calc == Calc::Xor);
                }
                EXPECT_EQ(calc == Calc::Reserved, !row.compiles);
            }
        }
    }
}

// ---- every statement form runs ----

std::string ReadGolden(const std::string& name) {
    std::ifstream in(std::string(PLCEDIT_SOURCE_DIR) + "/tests/golden/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every key given, and values for every variable, REF and ROT_0: no form
// may then halt, wait for an outcome or find its meaning incomplete.
TEST(EveryForm, RunsOneStepUnderAFullProfile) {
    const AssumptionProfile profile = Profile(
        "statement.time_ms = 1; end = halt; int.overflow = wrap; int.division = trunc; shr = arith; "
        "shift.big = zero; float_to_int = trunc; round = half_away; float.overflow = ieee; m_from_h = nonzero; "
        "inv_h = not; counter.width = 16; counter.overflow = wrap; timer.tick_ms = 10; wait.unit_ms = 1; "
        "read_back = written; call.depth = 8; ret.without_call = next; init.variables = zero; init.drive = zero; "
        "brkpt = ignore");
    for (const char* file : {"forms_flow.plc", "forms_set.plc", "forms_misc.plc"}) {
        const CPlcProgram program = Compile(ReadGolden(file));
        Stimuli stimuli = MakeStimuli("REF=1; ROT_0=1; outcome RXMSG* -> not taken; outcome * -> done", program);
        for (const auto& [letter, count, value] : {std::tuple{'H', kCountH, "3"}, std::tuple{'F', kCountF, "1.5"},
                                                   std::tuple{'M', kCountM, "1"}, std::tuple{'C', kCountC, "2"}}) {
            for (int i = 0; i < count; ++i) {
                Stimulus s;
                std::string why;
                char name[16];
                std::snprintf(name, sizeof name, "%c%03d", letter, i);
                ASSERT_TRUE(ResolveTarget(name, nullptr, s.target, why)) << why;
                ASSERT_TRUE(ParseNum(value, s.value));
                ASSERT_TRUE(CheckStimulusValue(s.target, s.value, why)) << why;
                stimuli.Add(s);
            }
        }
        for (int label = kFirstLabel; label <= kLastLabel; ++label) {
            if (program.Record(label).used() != 1) continue;
            CPlcProgram entered = program;  // the head jumps straight to the statement
            entered.Record(kEntryRecord).setTarget(static_cast<uint16_t>(label));
            entered.Record(kEntryRecord).setNext(static_cast<uint16_t>(label));
            Machine machine(entered, profile, stimuli);
            TraceRecorder trace;
            machine.SetTrace(&trace);
            Limits limits;
            limits.maxSteps = 2;
            const StopInfo stop = machine.Run(limits);
            SCOPED_TRACE(std::string(file) + ": " + LabelText(label) + " " + machine.Statement(label));
            // A halt for want of a key would show a gap in the profile; a
            // halt without one is a behaviour nothing fixes (a timer loaded
            // with a negative time).
            const bool honest = stop.kind == StopKind::Halted && stop.text.starts_with("behaviour not specified:") &&
                                stop.text.find("(set ") == std::string::npos;
            EXPECT_TRUE(stop.kind == StopKind::StepLimit || stop.kind == StopKind::Ended || honest) << stop.text;
            EXPECT_EQ(machine.State().steps, 2u);
        }
    }
}

// ---- records that cannot run ----

struct RawCase {
    const char* bytes;   // record 20, bytes 0 to 7 in hexadecimal; "" leaves it unused
    const char* halt;
};

class RawRecord : public ::testing::TestWithParam<RawCase> {};

TEST_P(RawRecord, HaltsWithItsReasonWhenReached) {
    CPlcProgram program = Compile("%P00\nN010 NOP\nN020 NOP\nEND\n");
    PlcInstr& rec = program.Record(20);
    const std::string_view hex = GetParam().bytes;
    if (hex.empty()) {
        rec = PlcInstr{};
    } else {
        for (size_t i = 0; i < 8; ++i) rec.b[i] = static_cast<uint8_t>(std::stoi(std::string(hex.substr(2 * i, 2)), nullptr, 16));
        rec.setNext(kEndRecord);
        rec.setUsed(1);
    }
    Machine machine(program, Profile("statement.time_ms = 0; init.variables = zero"));
    const StopInfo stop = machine.Run({});
    EXPECT_EQ(stop.kind, StopKind::Halted);
    EXPECT_EQ(stop.text, GetParam().halt);
}

INSTANTIATE_TEST_SUITE_P(Records, RawRecord, ::testing::Values(
    RawCase{"", "N020 holds no statement"},
    RawCase{"0000000000000000", "N020 holds opcode 0, no instruction"},
    RawCase{"c800000000000000", "N020 holds opcode 200, which is not defined"},
    RawCase{"8d00000000000000", "N020 holds a reserved opcode (; PLC: Reserved Command - 01 ), which has no meaning on record"},
    RawCase{"5cc8000000000000", "N020 cannot be decoded: N020 SET H200 = 0"},
    RawCase{"0307000000000000", "N020 cannot be decoded: ; ERROR: JMP (Fxx/ACTVAL/REFVAL = Fxx) Nxx/END"},
    RawCase{"010000001e000000", "N020 cannot be decoded: N020 JMP N030"}));

TEST(RawRecord, ACallWhoseLinkLeadsOutsideTheImageHalts) {
    CPlcProgram program = Compile("%P00\nN010 CALL N020\nN020 RET\nEND\n");
    program.Record(10).setNext(300);
    Machine machine(program, Profile("statement.time_ms = 0"));
    EXPECT_EQ(machine.Run({}).text, "N010 CALLs from a record whose link leads to record 300, where no RET can come back");
}

TEST(RawRecord, AnImageWithoutAHeadHaltsAtOnce) {
    CPlcProgram program;
    program.Clear();
    Machine machine(program, Profile("statement.time_ms = 0"));
    EXPECT_EQ(machine.Run({}).text, "the image has no programme head (record 0 is no jump to a statement)");
}

// ---- outcomes ----

TEST(Outcomes, RowsOfAPatternComeInTurnAndTheLastOneStays) {
    SimRun run("%P00\nN010 JMP(RXMSG, 1, H001) N030\nN020 JMP N010\nN030 JMP N010\nEND\n",
               "statement.time_ms = 1",
               "outcome RXMSG 1 -> taken 5; outcome RXMSG* -> not taken; outcome RXMSG 1 -> taken H001=7");
    run.Go(1 + 6);
    std::vector<std::string> seen;
    for (const TraceLine& l : run.trace.lines)
        if (l.kind == TraceLine::Kind::Step && l.label == 10) seen.push_back(l.next + " " + l.note);
    EXPECT_EQ(seen, (std::vector<std::string>{"N030 outcome: taken 5 (stimuli line 1)",
                                              "N030 outcome: taken H001=7 (stimuli line 3)",
                                              "N030 outcome: taken H001=7 (stimuli line 3)"}));
    EXPECT_EQ(run.machine->State().h[1], 7);
}

TEST(Outcomes, AWaitingCommandIsAnsweredAndTheRunGoesOn) {
    SimRun run("%P00\nN010 GO W A H001\nN020 JMP (H001 = 0) N010\nEND\n", "statement.time_ms = 1; end = halt",
               "H001=4");
    StopInfo stop = run.Go(100);
    ASSERT_EQ(stop.kind, StopKind::AwaitingOutcome);
    ASSERT_NE(run.machine->Pending(), nullptr);
    EXPECT_EQ(run.machine->Pending()->statement, "GO W A H001");
    EXPECT_EQ(run.machine->Pending()->reads.size(), 1u);
    EXPECT_EQ(run.machine->Run({}).kind, StopKind::AwaitingOutcome);  // nothing moves without an answer

    // The window's way: a source asked before the run stops.
    int asked = 0;
    run.machine->SetOutcomeSource([&asked](const DriveEvent& e) -> std::optional<Outcome> {
        ++asked;
        Outcome o;
        std::string why;
        ParseOutcome("done after 30 ms", o, why);
        return e.label == 10 ? std::optional(o) : std::nullopt;
    });
    Outcome done;
    std::string why;
    ASSERT_TRUE(ParseOutcome("done after 20 ms", done, why));
    run.machine->Answer(done);
    EXPECT_EQ(run.machine->Pending(), nullptr);
    stop = run.Go(100);
    EXPECT_EQ(stop.kind, StopKind::Ended) << stop.text;
    EXPECT_EQ(asked, 0);  // H001 = 4: the loop ends at once
    EXPECT_EQ(run.machine->State().timeUs, (1 + 1 + 20 + 1) * kUsPerMs);
}

// ---- time, stimuli, idle loops ----

TEST(Time, AnIdleLoopSkipsToTheTimerThatEndsIt) {
    SimRun run("%P00\nN010 SET Z001 = 50\nN020 JMP (Z001 != 0) N020\nN030 JMP END\nEND\n",
               "statement.time_ms = 0.5; timer.tick_ms = 10; end = halt", "");
    const StopInfo stop = run.Go(1000);
    EXPECT_EQ(stop.kind, StopKind::Ended);
    // Loaded at t=0.5, run out at 500.5: the loop repeats three times (to
    // learn it is idle) before time goes on.
    EXPECT_EQ(run.Lines(TraceLine::Kind::Skip),
              std::vector<std::string>{"~ t=2.5..500.5 N020..N020 idle until timer Z001"});
    EXPECT_EQ(run.machine->State().steps, 7u);
    EXPECT_EQ(run.machine->State().timeUs, 501500);
}

TEST(Time, TicksOfATimerReadAsAValueAreNotSkipped) {
    SimRun run("%P00\nN010 SET Z001 = 3\nN020 SET H001 = Z001\nN030 JMP (H001 != 0) N020\nN040 JMP END\nEND\n",
               "statement.time_ms = 0; timer.tick_ms = 10; end = halt", "");
    EXPECT_EQ(run.Go(1000).kind, StopKind::Ended);
    EXPECT_EQ(run.Lines(TraceLine::Kind::Skip),
              (std::vector<std::string>{"~ t=0..10 N020..N030 idle until timer Z001",
                                        "~ t=10..20 N020..N030 idle until timer Z001",
                                        "~ t=20..30 N020..N030 idle until timer Z001"}));
}

TEST(Time, ALoopNothingCanChangeWaitsForeverAndNamesWhatItReads) {
    SimRun run("%P00\nN010 SET M001 = IE00\nN020 JMP (M001 & IE01) N040\nN030 JMP N010\nN040 JMP END\nEND\n",
               "statement.time_ms = 1", "IE00=0; IE01=1; 100 IE01=0; 200 IE05=1");
    const StopInfo stop = run.Go(1000);
    EXPECT_EQ(stop.kind, StopKind::Halted);
    EXPECT_EQ(stop.text,
              "waiting forever on IE00, IE01: the loop N010..N030 repeats without a change and nothing comes that "
              "changes what it reads");
    // The change of IE01 at 100 came; the one of IE05 does not matter.
    EXPECT_EQ(run.Lines(TraceLine::Kind::Skip), std::vector<std::string>{"~ t=10..100 N010..N030 idle until stimulus IE01, line 3"});
}

TEST(Time, AnIdleLoopRunsToTheTimeLimitAndStepStimuliComeByStepping) {
    SimRun run("%P00\nN010 JMP (H001 = 0) N010\nN020 JMP END\nEND\n", "statement.time_ms = 1; end = halt",
               "H001=0; #40 H001=1");
    const StopInfo stop = run.Go(1000, 25 * kUsPerMs);
    EXPECT_EQ(stop.kind, StopKind::TimeLimit);  // 25 ms before step 40 came
    EXPECT_EQ(run.machine->State().timeUs, 25 * kUsPerMs);
    EXPECT_EQ(run.machine->Run({}).kind, StopKind::Ended);
    EXPECT_EQ(run.machine->State().steps, 41u);  // step 40 sees H001=1
}

TEST(Time, AWaitLetsStimuliComeAtTheirTime) {
    SimRun run("%P00\nN010 WAIT 100\nN020 SET M001 = IE00\nN030 JMP END\nEND\n",
               "statement.time_ms = 1; wait.unit_ms = 2; end = halt", "IE00=0; 150 IE00=1");
    EXPECT_EQ(run.Go(100).kind, StopKind::Ended);
    EXPECT_EQ(run.Lines(TraceLine::Kind::Stimulus),
              (std::vector<std::string>{"@ t=0 IE00=0  [stimuli line 1]", "@ t=150 IE00=1  [stimuli line 2]"}));
    EXPECT_EQ(run.machine->State().m[1], 1);
    EXPECT_EQ(run.machine->State().timeUs, (1 + 1 + 200 + 1 + 1) * kUsPerMs);
}

// ---- END, breakpoints, BRKPT ----

TEST(End, RestartRunsFromTheHeadWithEveryValueKept) {
    SimRun run("%P00\nN010 SET C001 + 1\nN020 JMP (C001 = 3) N030\nN025 JMP END\nN030 JMP END\nEND\n",
               "statement.time_ms = 1; end = restart; init.variables = zero", "");
    run.Go(12);
    EXPECT_EQ(run.machine->State().c[1], 3);
    EXPECT_EQ(run.Lines(TraceLine::Kind::Step)[4], "#5 t=4 %P00 -> N010  [G1]");
    EXPECT_EQ(run.Lines(TraceLine::Kind::Step)[3], "#4 t=3 N025 JMP END -> END  [G4 end=restart]");
}

TEST(End, IdleLetsTimeRunToTheLimit) {
    SimRun run("%P00\nN010 JMP END\nEND\n", "statement.time_ms = 1; end = idle", "");
    EXPECT_EQ(run.Go(100, 5000 * kUsPerMs).kind, StopKind::TimeLimit);
    EXPECT_EQ(run.machine->State().timeUs, 5000 * kUsPerMs);
    SimRun unlimited("%P00\nN010 JMP END\nEND\n", "statement.time_ms = 1; end = idle", "");
    EXPECT_EQ(unlimited.Go(100).text, "END reached; the drive idles there (end=idle)");
}

TEST(Breakpoints, StopBeforeTheirStatementAndLetTheRunGoOn) {
    SimRun run("%P00\nN010 SET C001 + 1\nN020 JMP (C001 != 3) N010\nN030 BRKPT\nN040 JMP END\nEND\n",
               "statement.time_ms = 1; init.variables = zero; brkpt = pause", "");
    run.machine->SetBreakpoint(20, true);
    StopInfo stop = run.Go(100);
    EXPECT_EQ(stop.kind, StopKind::Breakpoint);
    EXPECT_EQ(run.machine->State().pc, 20);
    EXPECT_EQ(run.machine->State().c[1], 1);
    stop = run.Go(100);  // on from the breakpoint, to it again
    EXPECT_EQ(run.machine->State().c[1], 2);
    run.machine->SetBreakpoint(20, false);
    stop = run.machine->RunTo(40, {});
    EXPECT_EQ(stop.kind, StopKind::Paused);  // BRKPT at N030 came first
    EXPECT_EQ(stop.text, "BRKPT at N030 (brkpt=pause)");
    EXPECT_EQ(run.machine->State().pc, 40);  // BRKPT ran; the run stands after it
    EXPECT_EQ(run.machine->Step().kind, StopKind::Ended);
}

TEST(Watches, MarkWhatChangedSinceAnEarlierState) {
    SimRun run("%TEXT(W)\nDEF H1 = Count\nEND\n%P00\nN010 SET H001 + 1\nN020 SET OE00 = 1\nN030 JMP END\nEND\n",
               "statement.time_ms = 1", "H001=4; H002=9");
    run.Go(2);
    const MachineState before = run.machine->State();
    run.Go(3);
    std::vector<std::string> shown;
    for (const Watch& w : run.machine->Watches(before))
        shown.push_back(w.name + "=" + w.value + (w.defName.empty() ? "" : "(" + w.defName + ")") + (w.changed ? " *" : ""));
    EXPECT_EQ(shown, (std::vector<std::string>{"H001=5(Count)", "H002=9", "OE00=1 *"}));
}

}  // namespace
}  // namespace plc::sim::test
