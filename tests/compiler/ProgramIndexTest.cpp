// SPDX-License-Identifier: GPL-3.0-or-later
// The programme index: what stands at a position, and agreement with the
// compiler on where labels and jump targets are.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "compiler/ProgramIndex.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

const std::vector<std::string> kProgram = {
    "; header",                          // 0
    "%TEXT(Demo)",                       // 1
    "DEF H5 = Speed",                    // 2
    "def m3=Ready ; flag",               // 3
    "DEF H5 = Velocity",                 // 4  (replaces Speed)
    "END",                               // 5
    "%P00",                              // 6
    "N010 SET H5 = H 6   ; copy",        // 7
    "N020 JMP (M3 & IE3) N010",          // 8
    "N030 jmp (sta_inpos = 1) end",      // 9
    "N040 CALL N010",                    // 10
    "N050 GO W A H10 V H11",             // 11
    "N060 JMP N040",                     // 12
    "N070 SET OS3 = 1 ; N010 H5",        // 13
    "END",                               // 14
};

struct AtCase {
    int32_t line, column;
    TokenKind kind;
    std::string text;
    int number;  // label, or variable index
};

class TokenAtPosition : public ::testing::TestWithParam<AtCase> {};

TEST_P(TokenAtPosition, FindsTheInnermostToken) {
    const ProgramIndex index(kProgram);
    const AtCase& c = GetParam();
    const Token t = index.TokenAt(c.line, c.column);
    EXPECT_EQ(t.kind, c.kind);
    EXPECT_EQ(t.text, c.text);
    if (t.kind == TokenKind::LabelDef || t.kind == TokenKind::LabelRef) {
        EXPECT_EQ(t.label, c.number);
    }
    if (t.kind == TokenKind::Variable || t.kind == TokenKind::DefName) {
        EXPECT_EQ(t.index, c.number);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TokenAtPosition,
    ::testing::Values(AtCase{1, 0, TokenKind::SectionHead, "%TEXT", 0},
                      AtCase{1, 7, TokenKind::ProgramName, "Demo", 0},
                      AtCase{2, 5, TokenKind::Variable, "H5", 5},
                      AtCase{3, 10, TokenKind::DefName, "Ready", 3},
                      AtCase{7, 2, TokenKind::LabelDef, "N010", 10},
                      AtCase{7, 5, TokenKind::Keyword, "SETH", 0},   // "SET" of "SETH"
                      AtCase{7, 9, TokenKind::Variable, "H5", 5},    // the letter inside the keyword
                      AtCase{7, 15, TokenKind::Variable, "H6", 6},   // a blank inside the token
                      AtCase{7, 22, TokenKind::None, "", 0},         // comment
                      AtCase{8, 11, TokenKind::Variable, "M3", 3},
                      AtCase{8, 15, TokenKind::Io, "IE3", 0},
                      AtCase{8, 22, TokenKind::LabelRef, "N010", 10},
                      AtCase{9, 12, TokenKind::Status, "sta_inpos", 0},
                      AtCase{9, 27, TokenKind::LabelRef, "end", 255},
                      AtCase{10, 11, TokenKind::LabelRef, "N010", 10},
                      AtCase{11, 12, TokenKind::Variable, "H10", 10},
                      AtCase{11, 19, TokenKind::Variable, "H11", 11},
                      AtCase{12, 9, TokenKind::LabelRef, "N040", 40},
                      AtCase{13, 9, TokenKind::Io, "OS3", 0},
                      AtCase{13, 20, TokenKind::None, "", 0},
                      AtCase{14, 1, TokenKind::SectionEnd, "END", 0},
                      AtCase{40, 0, TokenKind::None, "", 0}));

TEST(ProgramIndex, SectionsNamesAndUses) {
    const ProgramIndex index(kProgram);
    ASSERT_EQ(index.Sections().size(), 2u);
    EXPECT_EQ(index.Sections()[0].name, "Demo");
    EXPECT_EQ(index.Sections()[0].endLine, 5);
    EXPECT_EQ(index.Sections()[1].headLine, 6);
    EXPECT_EQ(index.Sections()[1].endLine, 14);

    const Declaration* h5 = index.FindDeclaration(VarKind::H, 5);
    ASSERT_NE(h5, nullptr);
    EXPECT_EQ(h5->name, "Velocity");
    EXPECT_EQ(h5->line, 4);
    EXPECT_EQ(index.FindDeclaration(VarKind::H, 6), nullptr);

    std::vector<int32_t> lines;
    for (const Token& t : index.VariableUses(VarKind::H, 5)) lines.push_back(t.line);
    EXPECT_EQ(lines, (std::vector<int32_t>{2, 4, 7}));  // not in the comment of line 13
    lines.clear();
    for (const Token& t : index.LabelUses(10)) lines.push_back(t.line);
    EXPECT_EQ(lines, (std::vector<int32_t>{8, 10}));

    ASSERT_NE(index.FindLabel(255), nullptr);
    EXPECT_EQ(index.FindLabel(255)->line, 14);
    EXPECT_EQ(index.FindLabel(60)->statement, "N060 JMP N040");
    EXPECT_EQ(index.FindLabel(80), nullptr);
}

// Lines the compiler does not read as statements are not indexed as such: a
// label outside a programme section, a second programme, an over-long line.
TEST(ProgramIndex, FollowsTheCompilersSectionRules) {
    const ProgramIndex index({"N010 NOP", "%P00", "N020 NOP", "END", "%P00", "N030 NOP",
                              "N040 NOP" + std::string(80, ' '), "%TEXT(X", "DEF H200 = Big", "END"});
    ASSERT_EQ(index.Labels().size(), 1u);
    EXPECT_EQ(index.Labels()[0].label, 20);
    ASSERT_EQ(index.Sections().size(), 2u);
    EXPECT_EQ(index.Sections()[1].kind, SectionKind::Text);
    EXPECT_EQ(index.Sections()[1].endLine, 9);
    EXPECT_TRUE(index.Declarations().empty());
}

// Collecting the facts leaves the compile as it is, also when it stops after
// the most errors it reports; the lines after that are still read for the
// facts, but their statements stay out of the image.
TEST(ProgramIndex, FactsLeaveTheCompileAsItIs) {
    std::vector<std::string> lines = {"%TEXT(Many)", "DEF H1 = One", "END", "%P00"};
    for (int i = 1; i <= kMaxErrors + 5; ++i) lines.push_back("N" + std::to_string(i) + " SET H1 =");
    lines.insert(lines.end(), {"N100 SET H2 = H1", "N110 JMP (H1 = 0) N100", "END"});
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";

    CPlcProgram plain, withFacts;
    SourceFacts facts;
    const CompileOutcome a = CompileProgramSource(plain, text);
    const CompileOutcome b = CompileProgramSource(withFacts, text, &facts);
    ASSERT_TRUE(a.interrupted);
    EXPECT_EQ(a.entries, b.entries);
    EXPECT_EQ(a.errors.size(), b.errors.size());
    for (int r = 0; r < kRecordCount; ++r) EXPECT_EQ(plain.Record(r), withFacts.Record(r)) << r;
    EXPECT_FALSE(withFacts.Record(100).used());

    const ProgramIndex index(std::move(facts));
    const auto last = static_cast<int32_t>(lines.size() - 1);
    ASSERT_NE(index.FindLabel(110), nullptr);
    EXPECT_EQ(index.FindLabel(110)->line, last - 1);
    ASSERT_EQ(index.LabelUses(100).size(), 1u);
    EXPECT_EQ(index.LabelUses(100)[0].line, last - 1);
    ASSERT_NE(index.FindLabel(255), nullptr);
    EXPECT_EQ(index.FindLabel(255)->line, last);
    EXPECT_EQ(index.VariableUses(VarKind::H, 1).size(), static_cast<size_t>(kMaxErrors + 5 + 3));
}

// For every example and golden programme that compiles: each record's line is
// the line the index gives for its label, and every jump or call target in
// the image is a label use on that line.
TEST(ProgramIndex, AgreesWithTheCompiledImage) {
    int checked = 0;
    for (const char* folder : {"examples", "tests/golden"}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(PLCEDIT_SOURCE_DIR) + "/" + folder)) {
            if (entry.path().extension() != ".plc") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            const std::vector<std::string> lines = SplitLines(bytes.str());
            CPlcProgram program;
            if (!CompileProgramText(program, lines).success) continue;
            const ProgramIndex index(lines);
            for (int r = kFirstLabel; r <= kLastLabel; ++r) {
                const PlcInstr& rec = program.Record(r);
                const LabelLine* label = index.FindLabel(r);
                ASSERT_EQ(rec.used() != 0, label != nullptr) << entry.path() << " N" << r;
                if (label == nullptr) continue;
                EXPECT_EQ(label->line, rec.line()) << entry.path();
                if (rec.kind() != 1 || rec.target() == 0) continue;
                bool found = false;
                for (const Token& use : index.LabelUses(rec.target())) found = found || use.line == rec.line();
                EXPECT_TRUE(found) << entry.path() << " line " << rec.line() + 1;
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
}  // namespace plc::test
