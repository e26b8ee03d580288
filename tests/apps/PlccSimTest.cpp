// SPDX-License-Identifier: GPL-3.0-or-later
// plcc sim as scripts run it: the golden traces of the examples under the
// example profile and stimuli (text and JSON Lines), the banner in every
// output, and the exit status of every way a run ends.
//
// Set PLCEDIT_UPDATE_GOLDEN=1 to rewrite the golden traces from plcc's
// output (and read the difference before committing it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "tests/apps/PlccRunner.h"

namespace plcc::test {
namespace {

const std::string kExamples = std::string(PLCEDIT_SOURCE_DIR) + "/examples/";
const std::string kBannerText = "dry run of the programme's logic \xE2\x80\x94 not a model of the drive";

class PlccSim : public PlccTest {
protected:
    // The example, the profile and its stimuli copied beside each other, so
    // that the names in the output are the same on every machine.
    void CopyExample(const std::string& name) {
        Write(name + ".plc", ReadAll(kExamples + name + ".plc"));
        Write("profile.ini", ReadAll(kExamples + "sim/profile.ini"));
        Write(name + ".tsv", ReadAll(kExamples + "sim/" + name + ".tsv"));
    }
    PlccRun Sim(const std::string& source, const std::string& profile, const std::string& stimuli,
                std::vector<std::string> more = {}) {
        Write("p.plc", source);
        Write("p.ini", profile);
        Write("p.tsv", stimuli);
        std::vector<std::string> args{"sim", "p.plc", "--assume", "p.ini", "--stimuli", "p.tsv"};
        args.insert(args.end(), more.begin(), more.end());
        return Plcc(args);
    }
};

struct GoldenCase {
    const char* example;
    const char* untilMs;  // "" for none
};

class SimGolden : public PlccSim, public ::testing::WithParamInterface<std::tuple<GoldenCase, const char*>> {};

TEST_P(SimGolden, TraceOfTheExampleIsItsGolden) {
    const auto& [c, format] = GetParam();
    CopyExample(c.example);
    std::vector<std::string> args{"sim", std::string(c.example) + ".plc", "--assume", "profile.ini",
                                  "--stimuli", std::string(c.example) + ".tsv", "--format", format};
    if (*c.untilMs != '\0') args.insert(args.end(), {"--until-ms", c.untilMs});
    const PlccRun r = Plcc(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string golden = kGolden + "sim/" + c.example + (std::string(format) == "text" ? ".trace" : ".jsonl");
    if (std::getenv("PLCEDIT_UPDATE_GOLDEN") != nullptr) WriteAll(golden, r.out);
    EXPECT_EQ(r.out, ReadAll(golden));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SimGolden,
    ::testing::Combine(::testing::Values(GoldenCase{"indexer", "5000"}, GoldenCase{"homing", "5000"},
                                         GoldenCase{"pick_and_place", "5000"}, GoldenCase{"fieldbus", "1000"},
                                         GoldenCase{"jumps", ""}, GoldenCase{"counters_timers", "6000"}),
                       ::testing::Values("text", "jsonl")),
    [](const auto& info) { return std::string(std::get<0>(info.param).example) + "_" + std::get<1>(info.param); });

// Every JSON line is a document; the first is the banner.
TEST_F(PlccSim, JsonLinesAreDocumentsAndTheFirstIsTheBanner) {
    CopyExample("indexer");
    const PlccRun r = Plcc({"sim", "indexer.plc", "--assume", "profile.ini", "--stimuli", "indexer.tsv", "--format",
                            "jsonl", "--until-ms", "1000"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<nlohmann::json> lines;
    size_t start = 0;
    while (start < r.out.size()) {
        const size_t end = r.out.find('\n', start);
        lines.push_back(nlohmann::json::parse(r.out.substr(start, end - start)));
        start = end + 1;
    }
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines.front()["banner"], kBannerText);
    EXPECT_EQ(lines.front()["assumptions"]["timer.tick_ms"], "10");
    EXPECT_EQ(lines.back()["type"], "stop");
    EXPECT_EQ(lines.back()["exit"], 0);
    EXPECT_EQ(lines.back()["state"]["H010"]["def"], "Pitch");
    const auto go = std::find_if(lines.begin(), lines.end(),
                                 [](const nlohmann::json& j) { return j.value("statement", "") == "GO W R H010 V H011"; });
    ASSERT_NE(go, lines.end());
    EXPECT_EQ((*go)["reads"]["H010"], 1000);
    EXPECT_EQ((*go)["note"], "outcome: done after 200 ms (stimuli line 13)");
}

// ---- the banner heads every output, also when the run halts ----

struct BannerCase {
    const char* format;
    const char* profile;
    int status;
};

class SimBanner : public PlccSim, public ::testing::WithParamInterface<BannerCase> {};

TEST_P(SimBanner, IsTheFirstLine) {
    const BannerCase& c = GetParam();
    const PlccRun r = Sim("%P00\nN010 SET H001 + 1\nN020 JMP END\nEND\n", c.profile, "0\tH001\t1",
                          {"--format", c.format, "-o", "out.txt"});
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string out = ReadAll(Path("out.txt"));
    const std::string first = out.substr(0, out.find('\n'));
    if (std::string(c.format) == "jsonl")
        EXPECT_EQ(nlohmann::json::parse(first)["banner"], kBannerText);
    else
        EXPECT_EQ(first, kBannerText);
}

INSTANTIATE_TEST_SUITE_P(Formats, SimBanner,
                         ::testing::Values(BannerCase{"text", "statement.time_ms = 0", 0},
                                           BannerCase{"jsonl", "statement.time_ms = 0", 0},
                                           BannerCase{"summary", "statement.time_ms = 0", 0},
                                           BannerCase{"text", "", 1}, BannerCase{"jsonl", "", 1},
                                           BannerCase{"summary", "", 1}));

// ---- exit statuses ----

struct ExitCase {
    const char* name;
    const char* source;
    const char* profile;
    const char* stimuli;  // tabs written as '>'
    std::vector<std::string> options;
    int status;
    const char* err;  // a part of stderr; "" for none at all
};

std::string Tabs(const char* text) {
    std::string out(text);
    for (char& c : out) c = c == '>' ? '\t' : c == '|' ? '\n' : c;
    return out;
}

constexpr const char* kCount = "%P00\nN010 SET H001 + 1\nN020 JMP N010\nEND\n";
constexpr const char* kEnds = "%P00\nN010 NOP\nN020 JMP END\nEND\n";
constexpr const char* kBase = "statement.time_ms = 1\ninit.variables = zero\nint.overflow = wrap\n";

class SimExit : public PlccSim, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(SimExit, SaysHowTheRunEnded) {
    const ExitCase& c = GetParam();
    std::vector<std::string> options = c.options;
    options.insert(options.begin(), {"--format", "summary"});
    const PlccRun r = Sim(c.source, Tabs(c.profile), Tabs(c.stimuli), options);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    if (*c.err == '\0')
        EXPECT_EQ(r.err, "");
    else
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Ends, SimExit,
    ::testing::Values(
        ExitCase{"AtEnd", kEnds, kBase, "", {}, 0, ""},
        ExitCase{"AtTheTimeLimitGiven", kCount, kBase, "", {"--until-ms", "50"}, 0, ""},
        ExitCase{"AtTheStepLimitGiven", kCount, kBase, "", {"--max-steps", "1000"}, 0, ""},
        ExitCase{"AtABreakpoint", kCount, kBase, "", {"--break", "N020,10"}, 0, ""},
        ExitCase{"AtTheDefaultStepLimit", kCount, kBase, "", {}, 1, "stopped after 10000000 steps, the limit when none is given"},
        ExitCase{"AtAHalt", kCount, "statement.time_ms = 1", "", {}, 1,
                 "behaviour not specified: H001 read before the programme or a stimulus gave it a value"},
        ExitCase{"WithoutAStatementTime", kEnds, "init.variables = zero", "", {}, 1,
                 "behaviour not specified: how long a statement takes (set statement.time_ms to milliseconds >= 0 (up to a day))"},
        ExitCase{"WithoutAnOutcome", "%P00\nN010 GO 0\nN020 JMP END\nEND\n", kBase, "", {}, 1,
                 "no outcome for N010 GO 0 (add a row outcome<TAB>PATTERN<TAB>RESULT to the stimuli)"},
        ExitCase{"WaitingForever", "%P00\nN010 JMP (IE00 = 0) N010\nN020 JMP END\nEND\n", kBase, "0>IE00>0", {}, 1,
                 "waiting forever on IE00"},
        ExitCase{"ForAProgrammeWithErrors", "%P00\nN010 JMP N099\nEND\n", kBase, "", {}, 1, "does not compile"},
        ExitCase{"ForAFaultyProfile", kEnds, "end = stop", "", {}, 2, "p.ini:1: 'end' takes halt|idle|restart, not 'stop'"},
        ExitCase{"ForFaultyStimuli", kEnds, kBase, "0>IE00", {}, 2,
                 "p.tsv:1: expected three fields separated by tabs: time, signal, value"},
        ExitCase{"ForAnUnknownFormat", kEnds, kBase, "", {"--format", "xml"}, 2, "unknown format 'xml'"},
        ExitCase{"ForABreakAtNoStatement", kEnds, kBase, "", {"--break", "N030"}, 2, "N030 is no statement"},
        ExitCase{"ForABadStepLimit", kEnds, kBase, "", {"--max-steps", "0"}, 2, "--max-steps takes"},
        ExitCase{"ForABadTimeLimit", kEnds, kBase, "", {"--until-ms", "1e3"}, 2, "--until-ms takes"},
        ExitCase{"ForAMissingProfile", kEnds, kBase, "", {"--assume", "none.ini"}, 2, "none.ini"},
        ExitCase{"ForATraceOverTheProgramme", kEnds, kBase, "", {"-o", "p.plc"}, 2, "is the input file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlccSim, RunsABinaryProgrammeFile) {
    CopyExample("jumps");
    ASSERT_EQ(Plcc({"build", "jumps.plc", "-o", "jumps.bin"}).status, 0);
    const PlccRun fromText = Plcc({"sim", "jumps.plc", "--assume", "profile.ini", "--stimuli", "jumps.tsv"});
    const PlccRun fromBinary = Plcc({"sim", "jumps.bin", "--assume", "profile.ini", "--stimuli", "jumps.tsv"});
    EXPECT_EQ(fromBinary.status, 0) << fromBinary.err;
    // The same run; only the file named differs. (A binary file has no DEF
    // names: these stimuli name the variables by number.)
    const auto body = [](const std::string& out) { return out.substr(out.find("profile:")); };
    EXPECT_EQ(body(fromBinary.out), body(fromText.out));
}

TEST_F(PlccSim, WritesTheTraceFileAlsoWhenTheRunHalts) {
    CopyExample("jumps");
    Write("trace.txt", "old trace\n");
    const PlccRun r = Plcc({"sim", "jumps.plc", "--assume", "profile.ini", "-o", "trace.txt"});
    EXPECT_EQ(r.status, 1);  // no stimuli: IE03 has no value, and the profile says halt
    EXPECT_NE(ReadAll(Path("trace.txt")).find("at N030 JMP (M003 & IE03) N050: IE03 read before"), std::string::npos);
    EXPECT_EQ(Plcc({"sim", "jumps.plc", "--assume", "profile.ini", "-o", "nowhere/trace.txt"}).status, 2);
}

}  // namespace
}  // namespace plcc::test
