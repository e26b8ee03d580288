// SPDX-License-Identifier: GPL-3.0-or-later
// Warnings and hints of programmes whose lines say what they expect: a line
// ending in "; expect W01" must get that finding, every other line none.
// Each warning has a programme that shows it and one that looks alike but is
// written that way on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <utility>

#include "analysis/Analysis.h"
#include "compiler/CompileDriver.h"

namespace plc {
namespace {

struct Case {
    const char* name;
    const char* text;  // lines separated by "\n"
};

std::vector<std::string> Lines(const char* text) { return SplitLines(text); }

// (1-based line, code) of every "; expect CODE..." comment.
std::vector<std::pair<int, std::string>> Expected(const std::vector<std::string>& lines) {
    std::vector<std::pair<int, std::string>> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t at = lines[i].find("; expect ");
        if (at == std::string::npos) continue;
        std::istringstream codes(lines[i].substr(at + 9));
        for (std::string code; codes >> code;) out.emplace_back(static_cast<int>(i) + 1, code);
    }
    std::sort(out.begin(), out.end());
    return out;
}

ProgramAnalysis Analyse(const std::vector<std::string>& lines, CPlcProgram& program) {
    const CompileOutcome outcome = CompileProgramText(program, lines);
    EXPECT_TRUE(outcome.success) << (outcome.entries.empty() ? "" : outcome.entries.back());
    return AnalyseProgram(program, ReadSourceSites(lines), RecordLinesOfImage(program));
}

class Findings : public ::testing::TestWithParam<Case> {};

TEST_P(Findings, AreTheOnesTheLinesExpect) {
    const std::vector<std::string> lines = Lines(GetParam().text);
    CPlcProgram program;
    const ProgramAnalysis analysis = Analyse(lines, program);
    std::vector<std::pair<int, std::string>> found;
    for (const Finding& f : analysis.findings) {
        found.emplace_back(f.at.line + 1, f.code);
        // Each points at the word it is about.
        ASSERT_TRUE(f.at.Known()) << f.code << " " << f.text;
        const std::string word = lines[static_cast<size_t>(f.at.line)].substr(static_cast<size_t>(f.at.column),
                                                                              static_cast<size_t>(f.at.length));
        const char first = word.empty() ? '\0' : word[0];
        if (f.code == "W01" || f.code == "W04" || f.code == "W05" || f.code == "W06") {
            EXPECT_EQ(first, 'N') << f.code << " points at '" << word << "'";
        } else if (f.code == "W03") {
            EXPECT_EQ(word, "RET");
        } else if (f.code == "I01" || f.code == "I02") {
            EXPECT_NE(std::string("CFHMZ").find(first), std::string::npos) << f.code << " points at '" << word << "'";
        } else {
            EXPECT_NE(f.text.find(word), std::string::npos) << f.code << " points at '" << word << "'";
        }
        EXPECT_EQ(f.severity, f.code[0] == 'W' ? Severity::Warning : Severity::Hint);
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, Expected(lines));
}

INSTANTIATE_TEST_SUITE_P(
    Programmes, Findings,
    ::testing::Values(
        // An endless main loop is how a drive programme runs: END is never reached.
        Case{"EndlessMainLoop", "%P00\nN010 SET H001 + 1\nN020 JMP N010\nEND"},
        Case{"Unreached", "%P00\nN010 JMP N030\nN020 NOP ; expect W01\nN030 JMP N010\nEND"},
        Case{"ReachedOnlyByAConditionalJump",
             "%P00\nN010 JMP (IS00 = 1) N030\nN020 JMP N010\nN030 STOP B\nN040 JMP N010\nEND"},
        Case{"UnusedName",
             "%TEXT(Demo)\nDEF H001 = Count\nDEF H002 = Spare ; expect W02\nEND\n%P00\nN010 SET H001 + 1\n"
             "N020 JMP N010\nEND"},
        // A counter may pick F005 at run time.
        Case{"NameOfATableElement",
             "%TEXT(Demo)\nDEF F005 = Table5\nEND\n%P00\nN010 SET C001 = 5\nN020 SET F[C001] = 1.0\n"
             "N030 SET F001 = F[C001]\nN040 SET F002 = F001\nN050 SEND TXMSG[1, 4] = F002\nN060 JMP N010\nEND"},
        Case{"RetWithoutCall", "%P00\nN010 NOP\nN020 RET ; expect W03\nEND"},
        Case{"SubroutineAfterTheMainLoop", "%P00\nN010 CALL N100\nN020 JMP N010\nN100 NOP\nN110 RET\nEND"},
        // The main code runs on into the subroutine after the CALL has returned.
        Case{"MainCodeRunsIntoItsSubroutine", "%P00\nN010 CALL N100\nN100 NOP\nN110 RET ; expect W03\nEND"},
        Case{"CallNeverReturns",
             "%P00\nN010 CALL N100 ; expect W04\nN020 JMP N010 ; expect W01\nN100 WAIT 10\nN110 JMP N100\nEND"},
        Case{"SubroutineLeftByAJumpToEnd",
             "%P00\nN010 JMP (IS00 = 1) N030\nN020 CALL N100\nN030 JMP N010\nN100 WAIT 10\nN110 JMP END\nEND"},
        // The subroutine gives up by going back to the main loop, which calls it again.
        Case{"SubroutineLeftByAJumpToTheMainLoop",
             "%P00\nN010 JMP (IS00 = 0) N010\nN020 CALL N100 ; expect W05\nN030 JMP N010\n"
             "N100 JMP (IS01 = 1) N010\nN110 RET\nEND"},
        // Left through the subroutine it calls: no W04 (though a recursion, twice).
        Case{"SubroutineLeftThroughTheOneItCalls",
             "%P00\nN010 JMP (IS00 = 0) N010\nN020 CALL N100 ; expect W05\nN030 JMP N010 ; expect W01\n"
             "N100 CALL N200 ; expect W05\nN110 RET ; expect W01\nN200 JMP N010\nEND"},
        // After the last statement's CALL comes END.
        Case{"CallAtTheLastStatement", "%P00\nN010 JMP N100\nN020 NOP\nN030 RET\nN100 WAIT 10\nN110 CALL N020\nEND"},
        Case{"Recursion",
             "%P00\nN010 CALL N100\nN020 JMP N010\nN100 JMP (IS00 = 1) N120\nN110 CALL N100 ; expect W05\n"
             "N120 RET\nEND"},
        Case{"NestedCalls",
             "%P00\nN010 CALL N100\nN020 JMP N010\nN100 CALL N200\nN110 RET\nN200 NOP\nN210 RET\nEND"},
        Case{"JumpIntoTheMiddleOfASubroutine",
             "%P00\nN010 CALL N100\nN020 JMP N110 ; expect W06\nN100 NOP\nN110 RET ; expect W03\nEND"},
        Case{"SubroutinesSharingTheirLastStatement",
             "%P00\nN010 CALL N100\nN020 CALL N200\nN030 JMP N010\nN100 NOP\nN110 JMP N250\nN200 NOP\n"
             "N210 JMP N250\nN250 RET\nEND"},
        Case{"LoopInsideASubroutine",
             "%P00\nN010 CALL N100\nN020 JMP N010\nN100 WAIT 10\nN110 JMP (IS00 = 0) N100\nN120 RET\nEND"},
        Case{"OnlyReadAndOnlyWritten",
             "%P00\nN010 JMP (H001 = 0) N030 ; expect I01\nN020 SET H002 = 5 ; expect I02\nN030 JMP N010\nEND"},
        // A counter may pick H001 at run time.
        Case{"ReadAndWrittenThroughATable",
             "%P00\nN010 SET C001 = 1\nN020 SET H[C001] = 0\nN030 JMP (H001 = 0) N010\nN040 SET H002 = H[C001]\n"
             "N050 SET H002 + 1\nN060 JMP N010\nEND"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plc
