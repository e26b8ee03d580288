// SPDX-License-Identifier: GPL-3.0-or-later
// plcc check and plcc image on real files: output format and exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include <nlohmann/json.hpp>

#include "tests/apps/PlccRunner.h"

namespace plcc::test {
namespace {

using PlccCheck = PlccTest;
using PlccImage = PlccTest;
using PlccCommandLine = PlccTest;

const char* const kOk = "%P00\r\nN010 NOP\r\nEND\r\n";
const char* const kBad = "%P00\nN010 NOP5\nN020 JMP N030\nEND";

TEST_F(PlccCheck, CleanProgrammePrintsEntriesAndExitsZero) {
    const PlccRun r = Plcc({"check", Write("ok.plc", "%P00\r\nN010 NOP\r\nEND\r\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "PLC, compiling runs...\n\n\nSysntax check - 0 error (s), 0 warning(s). Calculated "
              "checksum: 0x0339 ADD, 0x00D9 XOR \n");
    EXPECT_EQ(r.err, "");
}

TEST_F(PlccCheck, ErrorsExitOneAndPointAtTheirLines) {
    const PlccRun r = Plcc({"check", Write("bad.plc", "%P00\nN010 NOP5\nN020 JMP N030\nEND")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "PLC, compiling runs...\n\n"
              "  LINE(002): ERR(02) - lines or variable texts too long or end of programme line cannot be "
              "found. Probably a comment character ';' is missing.\n"
              "  LINE(003): ERR(30) - Jump destination JMP (...) Nxxx not available.\n\n"
              "2  Error. Syntax check ends with error.\n");
}

TEST_F(PlccCheck, EmptyFileSaysSoOnStderr) {
    const PlccRun r = Plcc({"check", Write("empty.plc", "")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "No programme available.\n");
}

TEST_F(PlccCheck, UsageAndFileErrorsExitTwo) {
    EXPECT_EQ(Plcc({}).status, 2);
    EXPECT_EQ(Plcc({"check"}).status, 2);
    EXPECT_EQ(Plcc({"frobnicate", "x.plc"}).status, 2);
    const PlccRun r = Plcc({"check", "/nonexistent/dir/x.plc"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("/nonexistent/dir/x.plc"), std::string::npos);
}

TEST_F(PlccCheck, TooManyLinesAreRefused) {
    std::string text = "%P00\n";
    for (int i = 0; i < 65536; ++i) text += "\n";
    text += "N010 NOP\nEND\n";
    const PlccRun r = Plcc({"check", Write("long.plc", text)});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("lines"), std::string::npos);
}

TEST_F(PlccImage, PrintsAllRecordsAsHex) {
    const PlccRun r = Plcc({"image", Write("img.plc", "%P00\r\nN010 NOP\r\nEND\r\n")});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.out.size(), 256u * 25u);
    EXPECT_EQ(r.out.substr(0, 25), "01000a000a00000001010000\n");
    EXPECT_EQ(r.out.substr(10 * 25, 25), "2500ff000000000001010100\n");
    EXPECT_EQ(r.out.substr(255 * 25, 25), "0200ff00ff00000001010000\n");
    EXPECT_NE(r.err.find("Calculated checksum"), std::string::npos);
}

TEST_F(PlccImage, FailedCompilationStillPrintsTheImage) {
    const PlccRun r = Plcc({"image", Write("imgbad.plc", "%P00\nN010 NOP\nN011 FOO\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.size(), 256u * 25u);
    EXPECT_EQ(r.out.substr(10 * 25, 25), "250000000000000001010100\n");
    EXPECT_NE(r.err.find("ERR(05)"), std::string::npos);
}

// The command line as scripts use it: help, version, options, several files
// and standard input, and the input and output plcc refuses.
TEST_F(PlccCommandLine, StatusAndStreams) {
    Write("ok.plc", kOk);
    Write("bad.plc", kBad);
    fs::copy_file(kGolden + "listing_nohead.bin", Path("nohead.bin"));
    Write("big.plc", kOk);
    fs::resize_file(Path("big.plc"), (size_t{4} << 20) + 1);
    Write("bom.plc", "\xEF\xBB\xBF" + std::string(kOk));
    // The most lines a text may have, the last one ended by a line break.
    Write("longest.plc", "%P00\n" + std::string(65534, '\n') + "END\n");
    fs::create_directory(Path("folder"));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string outStart;  // empty: nothing on stdout
        std::string errHas;    // empty: nothing on stderr
        std::string input = "", output = "";
    };
    const Case cases[] = {
        {{"--help"}, 0, "usage: plcc COMMAND [OPTION]... FILE...\n", ""},
        {{"-h"}, 0, "usage: plcc COMMAND [OPTION]... FILE...\n", ""},
        {{"check", "--help"},
         0,
         "usage: plcc check FILE.plc... [--warnings] [--hints] [--werror] [--diagnostics=FORMAT]\n",
         ""},
        {{"build", "ok.plc", "-h"}, 0, "usage: plcc build FILE.plc -o OUT.bin", ""},
        {{"--version"}, 0, "plcc (PlcEdit) " PLCEDIT_VERSION "\nCopyright (C) 2026 the PlcEdit "
                           "developers\nLicense GPLv3+: GNU GPL version 3 or later", ""},
        {{"check", "--frob", "ok.plc"}, 2, "", "plcc: unknown option '--frob'\nusage: plcc check"},
        {{"check", "--diagnostics=xml", "ok.plc"}, 2, "", "unknown diagnostics format 'xml'"},
        {{"image", "ok.plc", "bad.plc"}, 2, "", "usage: plcc image"},
        {{"check", "ok.plc", "bad.plc"}, 1, "==> ok.plc <==\nPLC, compiling runs...", ""},
        {{"check", "bad.plc", "absent.plc", "ok.plc"}, 2, "==> bad.plc <==", "'absent.plc'"},
        {{"check", "-"}, 0, "PLC, compiling runs...\n\n\nSysntax check - 0 error", "", "ok.plc"},
        {{"check", "--", "-"}, 1, "PLC, compiling runs...\n\n  LINE(002)", "", "bad.plc"},
        // Refused: what is not a regular file, input beyond the byte limit,
        // a full standard output, and output onto the input.
        {{"check", "."}, 2, "", "'.'"},
        {{"check", "/dev/zero"}, 2, "", "'/dev/zero'"},
        {{"check", "big.plc"}, 2, "", "'big.plc'"},
        // Output goes to regular files only, and a device is never read.
        {{"build", "ok.plc", "-o", "folder"}, 2, "PLC, compiling runs...", "is a folder"},
        {{"build", "ok.plc", "-o", "/dev/zero"}, 2, "PLC, compiling runs...", "is a character device"},
        {{"build", "ok.plc", "-o", "fifo"}, 2, "PLC, compiling runs...", "is a pipe"},
        // A byte-order mark is no part of the text; a file of /proc says
        // its size is 0 but is read to its end; a final line break begins no
        // line more.
        {{"check", "bom.plc"}, 0, "PLC, compiling runs...\n\n\nSysntax check - 0 error", ""},
        {{"check", "/proc/self/status"}, 1, "PLC, compiling runs...\n\n  LINE(001): ERR(12)", ""},
        {{"check", "longest.plc"}, 0, "PLC, compiling runs...", ""},
        {{"image", "ok.plc"}, 2, "", "standard output", "", "/dev/full"},
        {{"build", "ok.plc", "-o", "./ok.plc"}, 2, "", "input file"},
        {{"list", "nohead.bin", "-o", "nohead.bin", "--date", "d"}, 2, "", "input file"},
        // A listing that reports an error (here: no programme head) fails.
        {{"list", "nohead.bin", "--date", "d"}, 1, "; d, nohead.bin\r\n", "ERR() - ; No valid programme"},
    };
    for (const Case& c : cases) {
        const PlccRun r = Plcc(c.args, "", c.input, c.output);
        const std::string call = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, c.status) << call << "\n" << r.err;
        EXPECT_TRUE(r.out.starts_with(c.outStart) && (c.outStart.empty() == r.out.empty())) << call << "\n" << r.out;
        EXPECT_TRUE(c.errHas.empty() ? r.err.empty() : r.err.find(c.errHas) != std::string::npos) << call << "\n" << r.err;
    }
    EXPECT_EQ(ReadAll(Path("ok.plc")), kOk);
    EXPECT_EQ(ReadAll(Path("nohead.bin")), ReadAll(kGolden + "listing_nohead.bin"));
}

// Each diagnostics format over the same errors, the messages without a code
// included; JSON is compared as parsed documents.
TEST_F(PlccCommandLine, DiagnosticsFormats) {
    Write("ok.plc", kOk);
    Write("bad.plc", kBad);
    Write("empty.plc", "");
    fs::copy_file(kGolden + "listing_nohead.bin", Path("nohead.bin"));
    const std::string text2 =
        "lines or variable texts too long or end of programme line cannot be found. Probably a comment "
        "character ';' is missing.";
    const std::string text30 = "Jump destination JMP (...) Nxxx not available.";
    const std::string text33 = "Error at text coding of programme sequence.";
    const std::string gcc = "bad.plc:2:9: error: " + text2 + " [ERR(02)]\nbad.plc:3:1: error: " + text30 + " [ERR(30)]\n";
    const nlohmann::json badJson = {
        {"file", "bad.plc"}, {"success", false},
        {"errors", {{{"line", 2}, {"column", 9}, {"endColumn", 10}, {"code", 2}, {"text", text2}},
                    {{"line", 3}, {"column", 1}, {"endColumn", 5}, {"code", 30}, {"text", text30}}}},
        {"warnings", nlohmann::json::array()}, {"interrupted", false}, {"checksum", nullptr}, {"records", 3}};
    const nlohmann::json okJson = {
        {"file", "ok.plc"}, {"success", true}, {"errors", nlohmann::json::array()},
        {"warnings", nlohmann::json::array()}, {"interrupted", false},
        {"checksum", {{"add", 0x0339}, {"xor", 0x00D9}}}, {"records", 3}};
    nlohmann::json stdinJson = badJson;
    stdinJson["file"] = "<stdin>";
    nlohmann::json namedJson = badJson;
    namedJson["file"] = "src/bad.plc";
    const nlohmann::json emptyJson = {
        {"file", "empty.plc"}, {"success", false},
        {"errors", {{{"line", 1}, {"column", 1}, {"endColumn", 1}, {"code", nullptr}, {"text", "No programme available."}}}},
        {"warnings", nlohmann::json::array()}, {"interrupted", false}, {"checksum", nullptr}, {"records", 0}};
    struct Case {
        std::vector<std::string> args;
        int status;
        bool onStderr;
        std::string gcc;    // expected text, or
        nlohmann::json json;  // the expected document
        std::string input = "";
    };
    Write("two\nlines.plc", "");
    const Case cases[] = {
        {{"check", "--diagnostics=gcc", "bad.plc"}, 1, false, gcc, {}},
        {{"check", "--diagnostics=gcc", "two\nlines.plc"}, 1, false, "two\\nlines.plc:1:1: error: No programme available.\n", {}},
        {{"image", "bad.plc", "--diagnostics", "gcc"}, 1, true, gcc, {}},
        {{"build", "--diagnostics=gcc", "bad.plc", "-o", "x.bin"}, 1, false, gcc, {}},
        {{"renum", "--diagnostics=gcc", "bad.plc"}, 1, true, gcc, {}},
        {{"check", "--diagnostics=gcc", "empty.plc"}, 1, false, "empty.plc:1:1: error: No programme available.\n", {}},
        {{"check", "--diagnostics=github", "bad.plc", "empty.plc"}, 1, false,
         "::error file=bad.plc,line=2,col=9,endColumn=10,title=ERR(02)::" + text2 +
             "\n::error file=bad.plc,line=3,col=1,endColumn=5,title=ERR(30)::" + text30 +
             "\n::error file=empty.plc,line=1,col=1::No programme available.\n",
         {}},
        {{"list", "--diagnostics=gcc", "nohead.bin", "--date", "d"}, 1, true,
         "nohead.bin:3:1: error: ; No valid programme or programme head (%P00) found.\n"
         "nohead.bin:6:1: error: " + text33 + " [ERR(33)]\n"
         "nohead.bin:7:1: error: " + text33 + " [ERR(33)]\n", {}},
        {{"check", "--diagnostics=system", "--diagnostics=json", "bad.plc"}, 1, false, "", badJson},
        {{"check", "--diagnostics=json", "empty.plc"}, 1, false, "", emptyJson},
        {{"build", "--diagnostics=json", "ok.plc", "-o", "ok.bin"}, 0, false, "", okJson},
        {{"check", "--diagnostics=json", "ok.plc", "-"}, 1, false, "", nlohmann::json::array({okJson, stdinJson}), "bad.plc"},
        {{"check", "--diagnostics=json", "--stdin-filename", "src/bad.plc", "-"}, 1, false, "", namedJson, "bad.plc"},
    };
    for (const Case& c : cases) {
        const PlccRun r = Plcc(c.args, "", c.input);
        const std::string call = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, c.status) << call << "\n" << r.err;
        const std::string& shown = c.onStderr ? r.err : r.out;
        if (c.json.is_null()) {
            EXPECT_EQ(shown, c.gcc) << call;
        } else {
            EXPECT_EQ(nlohmann::json::parse(shown, nullptr, false), c.json) << call << "\n" << shown;
        }
    }
    EXPECT_FALSE(fs::exists(Path("x.bin")));
    EXPECT_EQ(ReadAll(Path("ok.bin")).size(), 5120u);
}

// A SARIF log: one run; every error code, the messages without one and
// every warning and hint as a described rule with its help; each result
// naming its rule and pointing at its region; absolute paths against the
// root base, standard input as "stdin".
TEST_F(PlccCommandLine, SarifLog) {
    Write("bad.plc", kBad);
    Write("my file.plc", "");
    const std::string absolute = Path("bad.plc");
    ASSERT_EQ(absolute.front(), '/');
    const PlccRun r = Plcc({"check", "--diagnostics=sarif", "bad.plc", "my file.plc", absolute, "-"}, "", "bad.plc");
    EXPECT_EQ(r.status, 1);
    const nlohmann::json log = nlohmann::json::parse(r.out, nullptr, false);
    ASSERT_TRUE(log.is_object()) << r.out;
    EXPECT_EQ(log["version"], "2.1.0");
    ASSERT_EQ(log["runs"].size(), 1u);
    const nlohmann::json& run = log["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "plcc");
    EXPECT_EQ(run["originalUriBaseIds"]["ROOT"]["uri"], "file:///");
    const nlohmann::json& rules = run["tool"]["driver"]["rules"];
    std::set<std::string> ids;
    for (const nlohmann::json& rule : rules) {
        const std::string id = rule["id"];
        ids.insert(id);
        EXPECT_FALSE(rule["shortDescription"]["text"].get<std::string>().empty()) << id;
        EXPECT_FALSE(rule["fullDescription"]["text"].get<std::string>().empty()) << id;
        EXPECT_TRUE(rule.value("helpUri", "").starts_with("file:///")) << id;
    }
    for (const char* id : {"ERR01", "ERR30", "ERR52", "message", "W01", "W06", "I01", "I02"})
        EXPECT_TRUE(ids.contains(id)) << id;
    const nlohmann::json& results = run["results"];
    const std::string rootRelative = absolute.substr(1);
    const struct {
        const char* rule;
        std::string uri;
        const char* base;  // nullptr: none
        int line, column, endColumn;
    } expected[] = {{"ERR02", "bad.plc", nullptr, 2, 9, 10},   {"ERR30", "bad.plc", nullptr, 3, 1, 5},
                    {"message", "my%20file.plc", nullptr, 1, 1, 0}, {"ERR02", rootRelative, "ROOT", 2, 9, 10},
                    {"ERR30", rootRelative, "ROOT", 3, 1, 5},  {"ERR02", "stdin", nullptr, 2, 9, 10},
                    {"ERR30", "stdin", nullptr, 3, 1, 5}};
    ASSERT_EQ(results.size(), std::size(expected)) << r.out;
    for (size_t i = 0; i < std::size(expected); ++i) {
        const nlohmann::json& result = results[i];
        EXPECT_EQ(result["level"], "error");
        EXPECT_EQ(result["ruleId"], expected[i].rule);
        EXPECT_EQ(rules[result["ruleIndex"].get<size_t>()]["id"], expected[i].rule);
        const nlohmann::json& location = result["locations"][0]["physicalLocation"];
        EXPECT_EQ(location["artifactLocation"]["uri"], expected[i].uri);
        EXPECT_EQ(location["artifactLocation"].value("uriBaseId", ""), expected[i].base ? expected[i].base : "");
        EXPECT_EQ(location["region"]["startLine"], expected[i].line);
        EXPECT_EQ(location["region"]["startColumn"], expected[i].column);
        EXPECT_EQ(location["region"].value("endColumn", 0), expected[i].endColumn);
    }
}

}  // namespace
}  // namespace plcc::test
