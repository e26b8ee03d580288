// plcc check and plcc image on real files: output format and exit status.
#include <gtest/gtest.h>

#include "tests/apps/PlccRunner.h"

namespace plcc::test {
namespace {

using PlccCheck = PlccTest;
using PlccImage = PlccTest;

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

}  // namespace
}  // namespace plcc::test
