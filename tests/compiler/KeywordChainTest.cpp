// SPDX-License-Identifier: GPL-3.0-or-later
// The keyword chain: its order is the behaviour.
#include <gtest/gtest.h>

#include "compiler/ParseCursor.h"
#include "compiler/Statements.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

// A row whose keyword begins with an earlier row's keyword could never be
// reached.
TEST(KeywordChain, NoRowIsShadowedByAnEarlierOne) {
    const auto chain = KeywordChain();
    for (size_t j = 0; j < chain.size(); ++j) {
        for (size_t i = 0; i < j; ++i) {
            EXPECT_FALSE(chain[j].keyword.starts_with(chain[i].keyword))
                << chain[j].keyword << " is hidden behind " << chain[i].keyword;
        }
    }
}

TEST(KeywordChain, KeywordsAreUpperCaseWithoutBlanks) {
    for (const KeywordRow& row : KeywordChain()) {
        for (char c : row.keyword) {
            EXPECT_FALSE(c >= 'a' && c <= 'z') << row.keyword;
            EXPECT_FALSE(c == ' ' || c == '\t') << row.keyword;
        }
    }
}

// The compiler finds its row through an index of the chain by characters;
// it must pick the row a test of every row in chain order picks. Every
// keyword cut short at each length, and every keyword with a few operand
// texts after it, goes through both.
TEST(KeywordChain, TheIndexPicksTheRowTheChainPicks) {
    const auto chain = KeywordChain();
    std::vector<std::string> texts{"", "X", "(", "SE", "SETX", "JMP(X", "WAI", "INVX"};
    for (const KeywordRow& row : chain) {
        for (size_t n = 1; n < row.keyword.size(); ++n) texts.emplace_back(row.keyword.substr(0, n));
        for (const char* tail : {"", "1", "X", "H1", "1=2", "[C1]=H1", "F1=F2+F3", "=1"})
            texts.push_back(std::string(row.keyword) + tail);
    }
    for (const std::string& text : texts) {
        ParseCursor indexed(text);
        PlcInstr byIndex;
        const int indexCode = CompileStatement(indexed, byIndex);

        ParseCursor scanned(text);
        PlcInstr byChain;
        int chainCode = kErrUnknownCommand;
        for (const KeywordRow& row : chain) {
            if (!text.starts_with(row.keyword)) continue;
            scanned.Advance(row.keyword.size());
            chainCode = row.compile(scanned, byChain, row.arg);
            break;
        }
        EXPECT_EQ(indexCode, chainCode) << text;
        EXPECT_EQ(byIndex.b, byChain.b) << text;
        EXPECT_EQ(indexed.Position(), scanned.Position()) << text;
    }
}

// The first and last rows of each group, in the order the groups are tested.
TEST(KeywordChain, GroupsStandInTheirOrder) {
    std::vector<std::string_view> keywords;
    for (const KeywordRow& row : KeywordChain()) keywords.push_back(row.keyword);
    auto at = [&keywords](std::string_view k) {
        return std::find(keywords.begin(), keywords.end(), k) - keywords.begin();
    };
    const std::vector<std::string_view> order{
        "JMPN", "NOP", "SETOUTPUT=H", "SETHALT=", "SETF[C", "SETF", "SETH[C", "SETH", "SETPARA[H",
        "SETPARA[", "SETRXMSG[", "SETDECR=", "INVH", "INVOV", "WAITH", "WAIT", "STOP", "GO", "SENDTXMSG["};
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        ASSERT_LT(at(order[i]), static_cast<long>(keywords.size())) << order[i];
        EXPECT_LT(at(order[i]), at(order[i + 1])) << order[i] << " before " << order[i + 1];
    }
}

struct ReachCase {
    const char* statement;
    int opcode;
};

class ReachesItsRow : public ::testing::TestWithParam<ReachCase> {};

TEST_P(ReachesItsRow, SampleLine) {
    const LineResult r = CompileStatementLine(GetParam().statement);
    ASSERT_EQ(r.code, 0) << GetParam().statement;
    EXPECT_EQ(r.rec.opcode(), GetParam().opcode) << GetParam().statement;
}

INSTANTIATE_TEST_SUITE_P(
    ControlFlow, ReachesItsRow,
    ::testing::Values(ReachCase{"JMPN10", 1}, ReachCase{"JMPEND", 2}, ReachCase{"JMP(F1=F1)END", 3},
                      ReachCase{"JMP(H1=H1)END", 11}, ReachCase{"JMP(ACTVAL=0)END", 17},
                      ReachCase{"JMP(REFVAL!=0)END", 18}, ReachCase{"JMP(M1=1)END", 27},
                      ReachCase{"JMP(IS1=1)END", 28}, ReachCase{"JMP(IE1=1)END", 28},
                      ReachCase{"JMP(IA1=1)END", 28}, ReachCase{"JMP(OS1=1)END", 29},
                      ReachCase{"JMP(OE1=1)END", 29}, ReachCase{"JMP(OV1=1)END", 29},
                      ReachCase{"JMP(C1=1)END", 30}, ReachCase{"JMP(Z1=0)END", 32},
                      ReachCase{"JMP(RXMSG,1,H1)END", 135}, ReachCase{"JMP(REF=1)END", 161},
                      ReachCase{"JMP(ROT_0=1)END", 162}, ReachCase{"JMP(STA_REF=1)END", 173},
                      ReachCase{"CALLN10", 34}, ReachCase{"RET", 35}, ReachCase{"BRKPT", 36},
                      ReachCase{"NOP", 37}));

}  // namespace
}  // namespace plc::test
