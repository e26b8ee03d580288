// SPDX-License-Identifier: GPL-3.0-or-later
// plcc check --warnings, graph, diff and list --names as scripts run them,
// and list as git's text conversion with the real git.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/apps/PlccRunner.h"

namespace plcc::test {
namespace {

using PlccWarnings = PlccTest;
using PlccGraph = PlccTest;
using PlccDiff = PlccTest;
using PlccNames = PlccTest;

// N030 is never reached (W01); H002 is only read (a hint).
const char* const kWarned = "%P00\nN010 JMP (H002 = 0) N010\nN020 JMP N010\nN030 NOP\nEND\n";

const char* const kEntries =
    "PLC, compiling runs...\n\n\nSysntax check - 0 error (s), 0 warning(s). Calculated checksum: ";

TEST_F(PlccWarnings, AreAskedForAndNeverErrors) {
    Write("w.plc", kWarned);
    const PlccRun plain = Plcc({"check", "w.plc"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out.find("W01"), std::string::npos);

    const PlccRun system = Plcc({"check", "--warnings", "w.plc"});
    EXPECT_EQ(system.status, 0);
    // The entries stay as the editor shows them; the warnings follow.
    EXPECT_TRUE(system.out.starts_with(kEntries)) << system.out;
    EXPECT_TRUE(system.out.ends_with("\n  LINE(004): W01 - No path from the programme head reaches this statement.\n"))
        << system.out;
    EXPECT_EQ(system.out.find("I01"), std::string::npos);

    const PlccRun gcc = Plcc({"check", "--warnings", "--hints", "--diagnostics=gcc", "w.plc"});
    EXPECT_EQ(gcc.status, 0);
    EXPECT_EQ(gcc.out,
              "w.plc:2:11: note: H002 is read, but no statement writes it (the host or the drive may). [I01]\n"
              "w.plc:4:1: warning: No path from the programme head reaches this statement. [W01]\n");

    const PlccRun json = Plcc({"check", "--hints", "--diagnostics=json", "w.plc"});
    EXPECT_EQ(json.status, 0);
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["success"], true);
    EXPECT_TRUE(doc["errors"].empty());
    ASSERT_EQ(doc["warnings"].size(), 2u);
    EXPECT_EQ(doc["warnings"][1], nlohmann::json::parse(R"({"line": 4, "column": 1, "endColumn": 5, "code": "W01",
        "severity": "warning", "text": "No path from the programme head reaches this statement."})"));
    EXPECT_EQ(doc["warnings"][0]["severity"], "hint");

    // --werror: warnings fail the check, hints do not.
    EXPECT_EQ(Plcc({"check", "--werror", "w.plc"}).status, 1);
    Write("h.plc", "%P00\nN010 JMP (H002 = 0) N010\nN020 JMP N010\nEND\n");
    EXPECT_EQ(Plcc({"check", "--werror", "--hints", "h.plc"}).status, 0);
    EXPECT_EQ(Plcc({"check", "--warnings=yes", "w.plc"}).status, 2);
}

TEST_F(PlccWarnings, AProgrammeWithErrorsHasNone) {
    const PlccRun r = Plcc({"check", "--werror", "--diagnostics=gcc", Write("e.plc", "%P00\nN010 FOO\nN030 NOP\nEND\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find("warning:"), std::string::npos) << r.out;
}

TEST_F(PlccGraph, WritesDotOrSvgOfSourceAndBinaryFiles) {
    Write("w.plc", kWarned);
    const PlccRun dot = Plcc({"graph", "w.plc"});
    EXPECT_EQ(dot.status, 0) << dot.err;
    EXPECT_TRUE(dot.out.starts_with("digraph \"w\" {\n")) << dot.out;
    EXPECT_NE(dot.out.find("  r30 [id=\"r30\", label=\"N030 NOP\\l\", color=gray55"), std::string::npos) << dot.out;
    EXPECT_NE(dot.out.find("  r10 -> r10 [id=\"e1\", label=\"(H002 = 0)\""), std::string::npos) << dot.out;

    // The same graph from the binary programme file; SVG by the output's name.
    ASSERT_EQ(Plcc({"build", "w.plc", "-o", "w.bin"}).status, 0);
    EXPECT_EQ(Plcc({"graph", "w.bin"}).out, dot.out);
    const PlccRun svg = Plcc({"graph", "w.bin", "-o", "w.svg"});
    EXPECT_EQ(svg.status, 0) << svg.err;
    EXPECT_NE(ReadAll(Path("w.svg")).find("<svg"), std::string::npos);
    EXPECT_NE(Plcc({"graph", "--format=svg", "w.plc"}).out.find("N030 NOP"), std::string::npos);

    EXPECT_EQ(Plcc({"graph", "--format=png", "w.plc"}).status, 2);
    EXPECT_EQ(Plcc({"graph", "w.plc", "-o", "w.plc"}).status, 2);
    const PlccRun bad = Plcc({"graph", Write("e.plc", "%P00\nN010 FOO\nEND\n")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("ERR(05)"), std::string::npos) << bad.err;
}

// ---- diff ----

struct DiffCase {
    const char* name;
    const char* a;      // a programme text, or "bin:" and one to build into a binary programme file
    const char* b;
    int status;
    const char* lines;  // what stands between the file names and the checksums
};

class PlccDiffCases : public PlccTest, public ::testing::WithParamInterface<DiffCase> {
protected:
    // Writes a programme: a source text, or a binary programme file built from one.
    std::string Programme(const std::string& name, const std::string& text) {
        if (!text.starts_with("bin:")) return Write(name + ".plc", text);
        Write(name + ".src", text.substr(4));
        EXPECT_EQ(Plcc({"build", name + ".src", "-o", name + ".bin"}).status, 0);
        return name + ".bin";
    }
};

TEST_P(PlccDiffCases, ShowsEachDifferingRecordOnBothSides) {
    const std::string a = Programme("a", GetParam().a);
    const std::string b = Programme("b", GetParam().b);
    const PlccRun r = Plcc({"diff", a, b});
    EXPECT_EQ(r.status, GetParam().status) << r.err;
    const std::string head = GetParam().status == 0 ? "" : "--- " + a + "\n+++ " + b + "\n";
    ASSERT_TRUE(r.out.starts_with(head + GetParam().lines + "checksum " + a + ": 0x")) << r.out;
    EXPECT_NE(r.out.find("\nchecksum " + b + ": 0x"), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Programmes, PlccDiffCases,
    ::testing::Values(
        DiffCase{"Equal", "%P00\nN010 NOP\nEND", "bin:%P00\nN010 NOP\nEND", 0, ""},
        DiffCase{"Changed", "%P00\nN010 NOP\nN020 JMP N010\nEND", "bin:%P00\nN010 WAIT 5\nN020 JMP N010\nEND", 1,
                 "-N010 NOP\n+N010 WAIT 5\n"},
        // One more statement is one line, though links and the head change with it.
        DiffCase{"Added", "%P00\nN010 NOP\nEND", "%P00\nN005 SET H001 = 1\nN010 NOP\nEND", 1,
                 "+N005 SET H001 = 1\n"},
        DiffCase{"Missing", "bin:%P00\nN010 NOP\nN020 NOP\nEND", "%P00\nN010 NOP\nEND", 1, "-N020 NOP\n"},
        // Names are no part of the image.
        DiffCase{"OnlyNamesDiffer", "%TEXT(A)\nDEF H1 = X\nEND\n%P00\nN010 SET H001 = 1\nEND",
                 "%P00\nN010 SET H1 = 1\nEND", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Bytes no statement shows still change the checksum: they are listed with
// the record's two words.
TEST_F(PlccDiff, BytesNoTextShowsAreListedWithTheRecord) {
    Write("a.plc", "%P00\nN010 NOP\nEND\n");
    ASSERT_EQ(Plcc({"build", "a.plc", "-o", "a.bin"}).status, 0);
    std::string bytes = ReadAll(Path("a.bin"));
    bytes.replace(50 * 20, 8, "00007700");           // record 50: unused, but not zero
    bytes.replace(10 * 10 * 2 + 10, 8, "00000001");  // record 10: NOP with a stray byte 4
    Write("b.bin", bytes);
    const PlccRun r = Plcc({"diff", "a.bin", "b.bin"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.substr(0, r.out.find("checksum")),
              "--- a.bin\n+++ b.bin\n"
              "-N010 NOP ; record 00ff0025 00000000\n+N010 NOP ; record 00ff0025 00000001\n"
              "+N050 ; unused record ; record 00007700 00000000\n")
        << r.out;
}

TEST_F(PlccDiff, ErrorsAndJson) {
    Write("a.plc", "%P00\nN010 NOP\nEND\n");
    Write("b.plc", "%P00\nN010 STOP B\nEND\n");
    EXPECT_EQ(Plcc({"diff", "a.plc"}).status, 2);
    EXPECT_EQ(Plcc({"diff", "a.plc", "missing.plc"}).status, 2);
    const PlccRun bad = Plcc({"diff", "a.plc", Write("e.plc", "%P00\nN010 FOO\nEND\n")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("ERR(05)"), std::string::npos);

    const PlccRun r = Plcc({"diff", "--diagnostics=json", "a.plc", "b.plc"});
    EXPECT_EQ(r.status, 1);
    const auto doc = nlohmann::json::parse(r.out);
    EXPECT_EQ(doc["same"], false);
    EXPECT_EQ(doc["a"]["checksum"]["add"], 0x339);
    EXPECT_EQ(doc["differences"], nlohmann::json::parse(R"([{"label": 10,
        "a": {"text": "N010 NOP", "record": "00ff0025 00000000"},
        "b": {"text": "N010 STOP B", "record": "00ff00a5 00000000"}}])"));
}

// ---- names back ----

TEST_F(PlccNames, ComeBackFromTheDeclarationFileAndCompile) {
    Write("Demo.plc", "%TEXT(Demo)\nDEF H1 = Count\nDEF M3 = Ready\nEND\n%P00\nN010 JMP (M3 = 1) N010\n"
                      "N020 SET H1 + 1\nN030 JMP N010\nEND\n");
    fs::create_directory(Path("decl"));
    ASSERT_EQ(Plcc({"build", "Demo.plc", "-o", "demo.bin", "--decl-dir", "decl"}).status, 0);
    const PlccRun r = Plcc({"list", "demo.bin", "--date", "d", "--names", "decl/Demo.txt", "-o", "back.plc"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("back.plc")),
              "; d, demo.bin\r\n\r\n%TEXT(Demo)\r\nDEF H001 = Count\r\nDEF M003 = Ready\r\nEND\r\n\r\n%P00\r\n"
              "N010 JMP (M003 = 1) N010\r\nN020 SET H001 + 1\r\nN030 JMP N010\r\nEND");
    // The listing compiles to the same image, names and all.
    EXPECT_EQ(Plcc({"diff", "Demo.plc", "back.plc"}).status, 0);
    const PlccRun graph = Plcc({"graph", "back.plc"});
    EXPECT_NE(graph.out.find("M003 Ready"), std::string::npos) << graph.out;

    // A malformed file is refused and nothing is written.
    Write("decl/Bad.txt", "[PLC_H]\n1: Count\n1: Again\n");
    const PlccRun bad = Plcc({"list", "demo.bin", "--names", "decl/Bad.txt", "-o", "bad.plc"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "plcc: decl/Bad.txt, line 3: number 1 of [PLC_H] is named twice (lines 2 and 3)\n");
    EXPECT_FALSE(fs::exists(Path("bad.plc")));
}

// ---- git's text conversion ----

class PlccGit : public PlccTest {
protected:
    // Runs a shell command in the test's folder, with a git of its own settings.
    int Shell(const std::string& command, std::string* out = nullptr) const {
        const std::string cmd = "cd " + Quote(m_dir) + " && HOME=" + Quote(m_dir) + " GIT_CONFIG_NOSYSTEM=1 " +
                                command + " >" + Quote(Path(".sh")) + " 2>&1";
        const int raw = std::system(cmd.c_str());
        if (out != nullptr) *out = ReadAll(Path(".sh"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
};

TEST_F(PlccGit, LogShowsTheChangedStatementOfAProgrammeAndANoteForAnyOtherBinFile) {
    if (Shell("git --version") != 0) GTEST_SKIP() << "git is not installed";
    // The attribute on every .bin, wider than the README's recipe: a file
    // that is no programme must not stop git.
    ASSERT_EQ(Shell("git init -q . && echo '*.bin diff=plcprog' >.gitattributes && "
                           "git config diff.plcprog.textconv \"" + std::string(PLCC_BINARY) +
                           " list --textconv --date '01/01/2000, 00:00' --name programme.bin\""),
              0);
    const std::string commit = "git -c user.name=t -c user.email=t@t commit -q -m c";
    Write("p.plc", "%P00\nN010 NOP\nN020 JMP N010\nEND\n");
    ASSERT_EQ(Plcc({"build", "p.plc", "-o", "prog.bin"}).status, 0);
    std::string firmware(3000, '\0');
    for (size_t i = 0; i < firmware.size(); ++i) firmware[i] = static_cast<char>(i * 7);
    Write("firmware.bin", firmware);
    std::string sums;
    ASSERT_EQ(Shell("sha256sum firmware.bin", &sums), 0);
    ASSERT_EQ(Shell("git add .gitattributes prog.bin firmware.bin && " + commit), 0);
    // The second commit changes a statement and adds a reserved record that no
    // statement gives (the listing reports it; git still gets the text), and
    // changes the firmware.
    Write("p.plc", "%P00\nN010 WAIT 5\nN020 JMP N010\nEND\n");
    ASSERT_EQ(Plcc({"build", "p.plc", "-o", "prog.bin"}).status, 0);
    std::string bytes = ReadAll(Path("prog.bin"));
    bytes.replace(30 * 20, 8, "0000008d");
    Write("prog.bin", bytes);
    Write("firmware.bin", firmware + "x");
    std::string sums2;
    ASSERT_EQ(Shell("sha256sum firmware.bin", &sums2), 0);
    ASSERT_EQ(Shell("git add prog.bin firmware.bin && " + commit), 0);

    std::string log;
    ASSERT_EQ(Shell("git log -p", &log), 0) << log;
    // The listing's lines end in CR LF.
    EXPECT_NE(log.find("\n-N010 NOP\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\n+N010 WAIT 5\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\n+; PLC: Reserved Command - 01 \r\n"), std::string::npos) << log;
    // The header is the same on both sides of the change (the first commit, further down, adds it).
    const std::string latest = log.substr(0, log.find("\ncommit "));
    EXPECT_EQ(latest.find("\n+; 01/01/2000"), std::string::npos) << log;
    // The firmware as a note of its size and digest, old and new.
    EXPECT_NE(log.find("\n-not a programme file: 3000 bytes, sha256 " + sums.substr(0, 64) + "\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("\n+not a programme file: 3001 bytes, sha256 " + sums2.substr(0, 64) + "\n"),
              std::string::npos)
        << log;
}

// The diff of plcc format applies with git apply, to a CR LF file as to an
// LF one, a last line without its break included.
TEST_F(PlccGit, FormatDiffAppliesWithGitApply) {
    if (Shell("git --version") != 0) GTEST_SKIP() << "git is not installed";
    for (const std::string br : {"\r\n", "\n"}) {
        const std::string loose = "%P00" + br + "N010   nop ; c" + br + "N020 JMP  N010" + br + "END";
        Write("f.plc", loose);
        const PlccRun canonical = Plcc({"format", "f.plc"});
        ASSERT_EQ(canonical.status, 0) << canonical.err;
        ASSERT_EQ(Plcc({"format", "--diff", "f.plc"}, "", "", Path("f.diff")).status, 0);
        std::string applied;
        EXPECT_EQ(Shell("git apply f.diff", &applied), 0) << applied << ReadAll(Path("f.diff"));
        EXPECT_EQ(ReadAll(Path("f.plc")), canonical.out) << (br == "\n" ? "LF" : "CR LF");
    }
}

}  // namespace
}  // namespace plcc::test
