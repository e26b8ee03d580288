// SPDX-License-Identifier: GPL-3.0-or-later
// One step of every opcode family: the statement, the profile keys given,
// the state before (and the outcomes), and what the step's trace line says
// it read, wrote, where it went and which assumptions it used — or the halt
// where nothing fixes the behaviour.
//
// The statements stand at N010, N011, ... of the programme
//   N010 ... / N020 NOP / N030 NOP / N040 RET
// and the row's expectation is the last step's trace line after its
// statement text, "halt: TEXT" (the halt's reason contains TEXT) or
// "await: TEXT" (the run waits for an outcome).
#include <gtest/gtest.h>

#include "image/InstrSet.h"
#include "tests/sim/SimTestSupport.h"

namespace plc::sim::test {
namespace {

struct StepCase {
    const char* statements;  // a line break separates statements at N010, N011, ...
    const char* profile;     // keys besides statement.time_ms = 0
    const char* before;      // stimuli and outcomes (MakeStimuli)
    const char* expect;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.statements << " {" << c.profile << "}"; }

constexpr StepCase kCases[] = {
    // ---- control flow ----
    {"JMP N030", "", "", "-> N030"},
    {"JMP END", "end = halt", "", "-> END  [G4 end=halt]"},
    {"JMP END", "", "", "-> END  [G4]"},
    {"JMP (F001 >= F002) N030", "", "F001=2.5; F002=1.5", "F001=2.5 F002=1.5 -> N030  [G3]"},
    {"JMP (F001 = 0) N030", "", "F001=0", "F001=0 -> N030  [G3]"},
    {"JMP (H001 < H002) N030", "", "H001=5; H002=5", "H001=5 H002=5 -> N020  [G3]"},
    {"JMP (ACTVAL > H002) N030", "", "ACTVAL=7; H002=5", "ACTVAL=7 H002=5 -> N030  [G3]"},
    {"JMP (ACTVAL <= F002) END", "", "ACTVAL=1.5; F002=1.5", "ACTVAL=1.5 F002=1.5 -> END  [G3 G4]"},
    {"JMP (REFVAL != 0) N030", "init.drive = zero", "", "REFVAL=0 -> N020  [G3 init.drive=zero]"},
    {"JMP (M001 = M002) N030", "", "M001=1; M002=1", "M001=1 M002=1 -> N030  [G3]"},
    {"JMP (M010 & IE03) N030", "", "M010=1; IE03=0", "M010=1 IE03=0 -> N020  [G3]"},
    {"JMP (M010 | IA1) N030", "", "M010=0; IA1=1", "M010=0 IA1=1 -> N030  [G3]"},
    {"JMP (M010 ^ IS4) N030", "", "M010=1; IS04=1", "M010=1 IS04=1 -> N020  [G3]"},
    {"JMP (M001 ^ OE00) N030", "", "M001=1", "halt: OE00 read before a stimulus or the programme gave it a value"},
    {"SET OE00 = 1\nJMP (M001 & OE00) N030", "read_back = written", "M001=1",
     "M001=1 OE00=1 -> N030  [G3 read_back=written]"},
    {"JMP (M001 = 1) N030", "", "M001=1", "M001=1 -> N030  [G3]"},
    {"JMP (IS5 = 1) N030", "", "IS5=1", "IS05=1 -> N030  [G3]"},
    {"JMP (C001 != 3) N030", "", "C001=3", "C001=3 -> N020  [G3]"},
    {"JMP (C001 = 250) N030", "", "C001=250", "C001=250 -> N030  [G3]"},
    {"JMP (Z003 != 0) END", "init.variables = zero", "", "Z003=0 -> N020  [G3 init.variables=zero]"},
    {"JMP (REF = M004) N030", "", "REF=1; M004=1", "REF=1 M004=1 -> N030  [G3]"},
    {"JMP (ROT_0 = 0) N030", "", "ROT_0=1", "ROT_0=1 -> N020  [G3]"},
    {"JMP (STA_INPOS != 1) N030", "", "STA_INPOS=1", "STA_INPOS=1 -> N020  [G3]"},
    {"JMP (STA_ERR = M003) N030", "", "STA_ERR=0; M003=0", "STA_ERR=0 M003=0 -> N030  [G3]"},
    {"JMP(RXMSG, 3, H004) N030", "", "outcome RXMSG 3 -> taken H004=17",
     "-> H004=17 N030 outcome: taken H004=17 (stimuli line 1)  [G3]"},
    {"JMP(RXMSG, 2, F004) N030", "", "outcome RXMSG* -> not taken",
     "-> N020 outcome: not taken (stimuli line 1)  [G3]"},
    {"JMP(RXMSG, 2, F004) N030", "", "outcome RXMSG 2 -> taken", "halt: needs the value it stores: taken F004=VALUE"},
    {"JMP(RXMSG, 2, F004) N030", "", "outcome N010 -> taken H004=1.5", "halt: names H004, but N010"},
    {"JMP(RXMSG, 2, F004) N030", "", "outcome * -> done", "halt: a message jump is taken or not taken"},
    {"JMP(RXMSG, 2, F004) N030", "", "", "await: no outcome for N010 JMP(RXMSG, 2, F004) N030"},
    {"CALL N040", "", "", "-> N040"},
    {"CALL N011\nCALL N040", "", "", "halt: behaviour not specified: CALL nested 2 deep (set call.depth to a whole number >= 1)"},
    {"CALL N011\nCALL N040", "call.depth = 1", "", "halt: CALL nested 2 deep, beyond call.depth=1"},
    {"CALL N011\nCALL N040", "call.depth = 2", "", "-> N040  [call.depth=2]"},
    {"RET", "", "", "halt: behaviour not specified: RET without a CALL to return to (set ret.without_call = halt|next)"},
    {"RET", "ret.without_call = next", "", "[G2 ret.without_call=next]"},
    {"BRKPT", "", "", "halt: behaviour not specified: what BRKPT does (set brkpt = pause|ignore)"},
    {"BRKPT", "brkpt = ignore", "", "[G2 brkpt=ignore]"},
    {"NOP", "", "", "[G2]"},

    // ---- drive registers, control flags, outputs ----
    {"SET REFVAL = F001", "", "F001=2.5", "F001=2.5 -> REFVAL=2.5  [G2]"},
    {"SET INPOSWINDOW = H003", "", "H003=40", "H003=40 -> INPOSWINDOW=40  [G2]"},
    {"SET OUTPUT = H003\nSET H004 = OUTPUT", "", "H003=7", "halt: behaviour not specified: OUTPUT read back after the programme wrote it"},
    {"SET BRAKE = 1", "", "", "-> BRAKE=1  [G2]"},
    {"SET ENCTRL = M001", "", "M001=1", "M001=1 -> ENCTRL=1  [G2]"},
    {"SET OE00 = M001", "", "M001=1", "M001=1 -> OE00=1  [G2]"},
    {"SET OV1 = 0", "", "", "-> OV01=0  [G2]"},

    // ---- F ----
    {"SET F[C001] = F002", "", "C001=5; F002=1.5", "F002=1.5 C001=5 -> F005=1.5  [G2]"},
    {"SET F[C002] = 0.5", "", "C002=127", "C002=127 -> F127=0.5  [G2]"},
    {"SET F001 = F[C001]", "", "C001=3; F003=-2", "C001=3 F003=-2 -> F001=-2  [G2]"},
    {"SET F001 = ACTPOS", "", "ACTPOS=1.25", "ACTPOS=1.25 -> F001=1.25  [G2]"},
    {"SET F001 = PARA[100, 2]", "", "PARA[100,2]=3.5", "PARA[100,2]=3.5 -> F001=3.5  [G2]"},
    {"SET F001 = H002", "", "H002=3", "H002=3 -> F001=3  [G2]"},
    {"SET F001 + 0.5", "", "F001=1", "F001=1 -> F001=1.5  [G2]"},
    {"SET F001 - F002", "", "F001=1; F002=0.25", "F001=1 F002=0.25 -> F001=0.75  [G2]"},
    {"SET F001 : F002", "", "F001=1; F002=0", "halt: division by zero: F001 : 0 (division.by_zero=halt)"},
    {"SET F001 * F002", "", "F001=3e38; F002=10", "halt: behaviour not specified: a float result inf (set float.overflow = ieee|halt)"},
    {"SET F001 * F002", "float.overflow = ieee", "F001=3e38; F002=10", "F001=3e+38 F002=10 -> F001=inf  [G2 float.overflow=ieee]"},
    {"SET F001 = ROUND F002", "", "F002=2.5", "halt: behaviour not specified: rounding 2.5, halfway (set round = half_away|half_even)"},
    {"SET F001 = ROUND F002", "round = half_even", "F002=2.5", "F002=2.5 -> F001=2  [G2 round=half_even]"},
    {"SET F001 = ROUND F002", "", "F002=-2.7", "F002=-2.7 -> F001=-3  [G2]"},
    {"SET F001 = ABS F002", "", "F002=-1.5", "F002=-1.5 -> F001=1.5  [G2]"},
    {"SET F001 = -2.5", "", "", "-> F001=-2.5  [G2]"},

    // ---- H ----
    {"SET H[C001] = H002", "", "C001=4; H002=9", "H002=9 C001=4 -> H004=9  [G2]"},
    {"SET H[C001] = 7", "", "C001=200", "halt: H[C001] with C001=200, beyond the table of 128 (index.out_of_range=halt)"},
    {"SET H001 = H[C002]", "", "C002=127; H127=-4", "C002=127 H127=-4 -> H001=-4  [G2]"},
    {"SET H001 = ACTPOS", "", "ACTPOS=12000", "ACTPOS=12000 -> H001=12000  [G2]"},
    {"SET H001 = ACTFRQ", "float_to_int = trunc", "ACTFRQ=-2.75", "ACTFRQ=-2.75 -> H001=-2  [G2 float_to_int=trunc]"},
    {"SET H001 = PARA[H002, H003]", "", "H002=100; H003=2; PARA[100,2]=7", "H002=100 H003=2 PARA[100,2]=7 -> H001=7  [G2]"},
    {"SET H001 = PARA[100]", "", "", "halt: behaviour not specified: PARA[100] read before a stimulus or the programme gave it a value (set init.drive = zero|halt)"},
    {"SET H001 = F002", "", "F002=2.5", "halt: behaviour not specified: H001 takes the float 2.5 (set float_to_int = trunc|round|halt)"},
    {"SET H001 = F002", "float_to_int = round; round = half_even", "F002=2.5", "F002=2.5 -> H001=2  [G2 float_to_int=round round=half_even]"},
    {"SET H001 = F002", "float_to_int = trunc", "F002=3e9", "halt: behaviour not specified: H001 takes the float 3e+09, outside the 32-bit range"},
    {"SET H001 = F002", "", "F002=-7", "F002=-7 -> H001=-7  [G2]"},
    {"SET H001 = C002", "", "C002=9", "C002=9 -> H001=9  [G2]"},
    {"SET H001 = M002", "", "M002=1", "M002=1 -> H001=1  [G2]"},
    {"SET H001 & H002", "", "H001=12; H002=10", "H001=12 H002=10 -> H001=8  [G2]"},
    {"SET H001 | H002", "", "H001=12; H002=3", "H001=12 H002=3 -> H001=15  [G2]"},
    {"SET H001 ^ H002", "", "H001=12; H002=10", "H001=12 H002=10 -> H001=6  [G2]"},
    {"SET H001 << 04", "", "H001=3", "H001=3 -> H001=48  [G2]"},
    {"SET H001 << 32", "", "H001=3", "halt: behaviour not specified: a shift by 32 (set shift.big = halt|zero)"},
    {"SET H001 << 32", "shift.big = zero", "H001=3", "H001=3 -> H001=0  [G2 shift.big=zero]"},
    {"SET H001 >> H002", "", "H001=-16; H002=2", "halt: behaviour not specified: '>>' of a negative value (-16) (set shr = arith|logical)"},
    {"SET H001 >> H002", "shr = arith", "H001=-16; H002=2", "H001=-16 H002=2 -> H001=-4  [G2 shr=arith]"},
    {"SET H001 >> H002", "shr = logical", "H001=-16; H002=2", "H001=-16 H002=2 -> H001=1073741820  [G2 shr=logical]"},
    {"SET H001 >> H002", "shr = arith; shift.big = zero", "H001=-16; H002=40", "H001=-16 H002=40 -> H001=-1  [G2 shr=arith shift.big=zero]"},
    {"SET H001 >> 01", "", "H001=16", "H001=16 -> H001=8  [G2]"},
    {"SET H001 + H002", "", "H001=2147483647; H002=1", "halt: behaviour not specified: integer overflow (2147483648) (set int.overflow = wrap|halt)"},
    {"SET H001 + H002", "int.overflow = wrap", "H001=2147483647; H002=1", "H001=2147483647 H002=1 -> H001=-2147483648  [G2 int.overflow=wrap]"},
    {"SET H001 * 3", "int.overflow = halt", "H001=1000000000", "halt: integer overflow (3000000000) (int.overflow=halt)"},
    {"SET H001 - 5", "", "H001=3", "H001=3 -> H001=-2  [G2]"},
    {"SET H001 : H002", "", "H001=-7; H002=2", "halt: behaviour not specified: ':' with a negative operand (-7 : 2) (set int.division = trunc|floor)"},
    {"SET H001 : H002", "int.division = trunc", "H001=-7; H002=2", "H001=-7 H002=2 -> H001=-3  [G2 int.division=trunc]"},
    {"SET H001 : H002", "int.division = floor", "H001=-7; H002=2", "H001=-7 H002=2 -> H001=-4  [G2 int.division=floor]"},
    {"SET H001 % 2", "int.division = floor", "H001=-7", "H001=-7 -> H001=1  [G2 int.division=floor]"},
    {"SET H001 % 2", "int.division = trunc", "H001=-7", "H001=-7 -> H001=-1  [G2 int.division=trunc]"},
    {"SET H001 : 4", "", "H001=9", "H001=9 -> H001=2  [G2]"},
    {"SET H001 : H002", "", "H001=1; H002=0", "halt: division by zero: H001 : 0 (division.by_zero=halt)"},
    {"SET H001 : H002", "int.division = trunc", "H001=-2147483648; H002=-1", "halt: behaviour not specified: integer overflow (2147483648)"},
    {"SET H001 = ABS H002", "", "H002=-2147483648", "halt: behaviour not specified: integer overflow (2147483648)"},
    {"SET H001 = ABS H002", "", "H002=-9", "H002=-9 -> H001=9  [G2]"},
    {"SET H001 = -5", "", "", "-> H001=-5  [G2]"},
    {"SET H001 = H002", "", "", "halt: behaviour not specified: H002 read before the programme or a stimulus gave it a value (set init.variables = zero|halt)"},
    {"SET H001 = H002", "init.variables = halt", "", "halt: H002 read before the programme or a stimulus gave it a value (init.variables=halt)"},

    // ---- M ----
    {"SET M[C001] = 1", "", "C001=9", "C001=9 -> M009=1  [G2]"},
    {"SET M[C001] = M002", "", "C001=255; M002=1", "M002=1 C001=255 -> M255=1  [G2]"},
    {"SET M001 = M[C002]", "", "C002=7; M007=1", "C002=7 M007=1 -> M001=1  [G2]"},
    {"SET M001 = STA_WOTI", "", "STA_WOTI=1", "STA_WOTI=1 -> M001=1  [G2]"},
    {"SET M001 = H002", "", "H002=1", "H002=1 -> M001=1  [G2]"},
    {"SET M001 = H002", "", "H002=6", "halt: behaviour not specified: a flag set from 6 (set m_from_h = nonzero|bit0)"},
    {"SET M001 = H002", "m_from_h = bit0", "H002=6", "H002=6 -> M001=0  [G2 m_from_h=bit0]"},
    {"SET M001 = H002", "m_from_h = nonzero", "H002=-6", "H002=-6 -> M001=1  [G2 m_from_h=nonzero]"},
    {"SET M001 = IE7", "", "IE07=1", "IE07=1 -> M001=1  [G2]"},
    {"SET OS5 = 1\nSET M001 = OS5", "read_back = written", "", "OS05=1 -> M001=1  [G2 read_back=written]"},
    {"SET M001 & M002", "", "M001=1; M002=0", "M001=1 M002=0 -> M001=0  [G2]"},
    {"SET M001 | M002", "", "M001=1; M002=0", "M001=1 M002=0 -> M001=1  [G2]"},
    {"SET M001 ^ M002", "", "M001=1; M002=1", "M001=1 M002=1 -> M001=0  [G2]"},
    {"SET M001 = 1", "", "", "-> M001=1  [G2]"},
    {"SET M001 = CM16", "", "CM16=1", "CM16=1 -> M001=1  [G2]"},

    // ---- C and Z ----
    {"SET C001 = C002", "", "C002=3", "C002=3 -> C001=3  [G2]"},
    {"SET C001 = H002", "", "H002=-1", "halt: behaviour not specified: a counter taking -1 (set counter.overflow = wrap|halt)"},
    {"SET C001 = H002", "counter.width = 8; counter.overflow = wrap", "H002=-1", "H002=-1 -> C001=255  [G2 counter.width=8 counter.overflow=wrap]"},
    {"SET C001 + 10", "", "C001=250", "halt: behaviour not specified: a counter taking 260 (set counter.width = 8|16|32)"},
    {"SET C001 + 10", "counter.width = 16", "C001=250", "C001=250 -> C001=260  [G2 counter.width=16]"},
    {"SET C001 - H002", "counter.width = 8; counter.overflow = halt", "C001=1; H002=2", "halt: a counter taking -1 (counter.overflow=halt)"},
    {"SET C001 + H002", "", "C001=1; H002=2", "C001=1 H002=2 -> C001=3  [G2]"},
    {"SET C001 = 7", "", "", "-> C001=7  [G2]"},
    {"SET Z001 = H002", "", "H002=5", "halt: behaviour not specified: the time unit of Z001 (set timer.tick_ms to milliseconds > 0 (up to a day))"},
    {"SET Z001 = H002", "timer.tick_ms = 10", "H002=5", "H002=5 -> Z001=5  [G2 timer.tick_ms=10]"},
    {"SET Z001 = 0", "", "", "-> Z001=0  [G2]"},
    {"SET Z001 = -5", "timer.tick_ms = 10", "", "halt: behaviour not specified: Z001 loaded with -5, a negative time"},
    {"SET Z001 = 3\nSET H001 = Z001", "timer.tick_ms = 10", "", "Z001=3 -> H001=3  [G2 timer.tick_ms=10]"},

    // ---- parameters: writes are drive commands ----
    {"SET PARA[100, 2] = F007", "", "F007=1.5; outcome PARA 100 -> done",
     "F007=1.5 -> PARA[100,2]=1.5 outcome: done (stimuli line 2)  [G2]"},
    {"SET PARA[H001] = H002", "", "H001=300; H002=-4; outcome SET PARA* -> done after 20 ms",
     "H001=300 H002=-4 -> PARA[300]=-4 outcome: done after 20 ms (stimuli line 3)  [G2]"},
    {"SET PARA[H001, H003] = F002", "", "H001=1; H003=0; F002=0", "await: no outcome for N010 SET PARA[H001, H003] = F002"},
    {"SET PARA[100] = H001", "", "H001=1; outcome PARA* -> taken", "halt: a drive command is done"},

    // ---- inversions ----
    {"INV H001", "", "H001=5", "halt: behaviour not specified: INV of an H (every bit, or negation) (set inv_h = not|neg)"},
    {"INV H001", "inv_h = not", "H001=5", "H001=5 -> H001=-6  [G2 inv_h=not]"},
    {"INV H001", "inv_h = neg", "H001=5", "H001=5 -> H001=-5  [G2 inv_h=neg]"},
    {"INV M001", "", "M001=0", "M001=0 -> M001=1  [G2]"},
    {"SET OE01 = 1\nINV OE01", "read_back = written", "", "OE01=1 -> OE01=0  [G2 read_back=written]"},

    // ---- waits ----
    {"WAIT H001", "wait.unit_ms = 2", "H001=10", "H001=10 -> waits 20 ms  [G2 wait.unit_ms=2]"},
    {"WAIT 100", "", "", "halt: behaviour not specified: the time unit of WAIT (set wait.unit_ms to milliseconds > 0 (up to a day))"},
    {"WAIT 0", "", "", "-> waits 0 ms  [G2]"},
    {"WAIT H001", "wait.unit_ms = 1", "H001=-1", "halt: behaviour not specified: WAIT -1, a negative time"},
    {"WAIT PAR", "", "outcome WAIT PAR -> done after 5 ms", "-> outcome: done after 5 ms (stimuli line 1)  [G2]"},
    {"WAIT REF", "", "REF=1", "REF=1  [G2]"},
    {"WAIT ROT_0", "", "ROT_0=0; 40 ROT_0=1", "ROT_0=0 -> waits for ROT_0=1  [G2]"},
    {"WAIT ROT_0", "", "ROT_0=0", "halt: waiting forever on ROT_0: no stimulus gives it 1"},

    // ---- motion, stop, fieldbus: drive commands; ramps and receive set-ups: settings ----
    {"GO W A H001 V H002", "", "H001=100; H002=50; outcome GO W* -> done", "H001=100 H002=50 -> outcome: done (stimuli line 3)  [G2]"},
    {"GO R H001", "", "H001=100; outcome GO W* -> done", "await: no outcome for N010 GO R H001"},
    {"GO RT H001 V H002", "", "H001=1; H002=2; outcome GO* -> done", "H001=1 H002=2 -> outcome: done (stimuli line 3)  [G2]"},
    {"GO 0 + H005", "", "H005=-150; outcome GO 0* -> done", "H005=-150 -> outcome: done (stimuli line 2)  [G2]"},
    {"GO 0", "", "outcome N010 -> done", "-> outcome: done (stimuli line 1)  [G2]"},
    {"GO V H002", "", "H002=8; outcome GO V -> done", "H002=8 -> outcome: done (stimuli line 2)  [G2]"},
    {"GO W T[C003]", "", "C003=4; outcome GO W T* -> done", "C003=4 -> outcome: done (stimuli line 2)  [G2]"},
    {"GO T[200]", "", "outcome GO T 200 -> done", "-> outcome: done (stimuli line 1)  [G2]"},
    {"GO SYN 1", "", "outcome GO SYN -> done", "-> outcome: done (stimuli line 1)  [G2]"},
    {"STOP M", "", "outcome STOP* -> done after 50 ms", "-> outcome: done after 50 ms (stimuli line 1)  [G2]"},
    {"SET ACCR = H005", "", "H005=300", "H005=300 -> sets ACCR = 300  [G2]"},
    {"SET DECR = 150%", "", "", "-> sets DECR = 150%  [G2]"},
    {"SET RXMSG[1, 513, 4]", "", "", "-> sets RXMSG[1] = 513, 4  [G2]"},
    {"SEND NMTCMD[1, 0]", "", "outcome NMTCMD 1 -> done", "-> outcome: done (stimuli line 1)  [G2]"},
    {"SEND TXMSG[385, 4] = F003", "", "F003=0.5; outcome SEND TXMSG 385 -> done", "F003=0.5 -> outcome: done (stimuli line 2)  [G2]"},
};

std::string Program(const char* statements) {
    std::string source = "%P00\r\n";
    int label = 10;
    std::string_view rest(statements);
    for (;;) {
        const size_t bar = rest.find('\n');
        source += "N0" + std::to_string(label++) + " " + std::string(rest.substr(0, bar)) + "\r\n";
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return source + "N020 NOP\r\nN030 NOP\r\nN040 RET\r\nEND\r\n";
}

class StepOfFamily : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepOfFamily, ReadsWritesGoesAndNamesItsAssumptions) {
    const StepCase& c = GetParam();
    const std::string profile = std::string("statement.time_ms = 0; ") + c.profile;
    SimRun run(Program(c.statements), profile, c.before);
    size_t statements = 1;
    for (const char* p = c.statements; *p != '\0'; ++p) statements += *p == '\n';
    const StopInfo stop = run.Go(1 + statements);
    const std::string_view expect(c.expect);
    if (expect.starts_with("halt: ")) {
        EXPECT_EQ(stop.kind, StopKind::Halted) << stop.text;
        EXPECT_NE(stop.text.find(expect.substr(6)), std::string::npos) << stop.text;
        return;
    }
    if (expect.starts_with("await: ")) {
        EXPECT_EQ(stop.kind, StopKind::AwaitingOutcome) << stop.text;
        EXPECT_EQ(stop.text, expect.substr(7));
        ASSERT_NE(run.machine->Pending(), nullptr);
        return;
    }
    ASSERT_NE(stop.kind, StopKind::Halted) << stop.text;
    const std::vector<std::string> steps = run.Lines(TraceLine::Kind::Step);
    ASSERT_EQ(steps.size(), 1 + statements);
    const std::string& last = steps.back();
    const std::string statement = run.machine->Statement(static_cast<int>(9 + statements));
    const size_t at = last.find(statement);
    ASSERT_NE(at, std::string::npos) << last;
    EXPECT_EQ(TrimBlanks(std::string_view(last).substr(at + statement.size())), expect) << last;
}

INSTANTIATE_TEST_SUITE_P(Families, StepOfFamily, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace plc::sim::test
