// SPDX-License-Identifier: GPL-3.0-or-later
// plcc build, list and renum run as scripts run them: the real binary, real
// files, exact output formats and exit statuses.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/apps/PlccRunner.h"

namespace plcc::test {
namespace {

using PlccFiles = PlccTest;

const char* const kDemo =
    "; demo\r\n%TEXT(Demo)\r\nDEF H1 = Count\r\nDEF M3 = Ready\r\nEND\r\n\r\n%P00\r\n"
    "N001 JMP (H1 = 0) N005 ; zero\r\nN002 CALL N005\r\nN005 RET\r\nEND\r\n";

TEST_F(PlccFiles, BuildWritesBothFilesAndSaysSo) {
    WriteAll(Path("demo.plc"), kDemo);
    fs::create_directory(Path("decl"));
    const PlccRun r = Plcc({"build", "demo.plc", "-o", "out.bin", "--decl-dir", "decl"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadAll(Path("out.bin")).size(), 5120u);
    EXPECT_EQ(ReadAll(Path("decl/Demo.txt")), "[PLC_H]\r\n1: Count\r\n[PLC_M]\r\n3: Ready\r\n");
    const std::string binLine = "Binary programme file was made - " + fs::canonical(Path("out.bin")).string() + "\n";
    const std::string declLine =
        "Text declaration file was made - " + fs::canonical(Path("decl/Demo.txt")).string() + "\n";
    EXPECT_TRUE(r.out.starts_with("PLC, compiling runs...\n")) << r.out;
    EXPECT_TRUE(r.out.ends_with(binLine + declLine)) << r.out;
    EXPECT_NE(r.out.find("Calculated checksum: 0x"), std::string::npos);
}

// A declaration file that cannot be written leaves the binary programme file
// as it was: the old one back, or none where there was none.
TEST_F(PlccFiles, BuildWritesBothFilesOrNeither) {
    WriteAll(Path("demo.plc"), kDemo);
    for (const bool hadOld : {true, false}) {
        if (hadOld) WriteAll(Path("out.bin"), "old");
        const PlccRun r = Plcc({"build", "demo.plc", "-o", "out.bin", "--decl-dir", "absent"});
        EXPECT_EQ(r.status, 2) << hadOld;
        EXPECT_NE(r.err.find("absent/Demo.txt could not be created."), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("Binary programme file was made"), std::string::npos) << r.out;
        if (hadOld)
            EXPECT_EQ(ReadAll(Path("out.bin")), "old");
        else
            EXPECT_FALSE(fs::exists(Path("out.bin")));
        fs::remove(Path("out.bin"));
    }
}

TEST_F(PlccFiles, BuildWithoutDeclDirWritesOnlyTheBinaryFile) {
    WriteAll(Path("demo.plc"), kDemo);
    const PlccRun r = Plcc({"build", "demo.plc", "-o", "sub\\out.bin"});
    EXPECT_EQ(r.status, 2);  // the folder does not exist
    EXPECT_NE(r.err.find("sub\\out.bin could not be created."), std::string::npos) << r.err;
    fs::create_directory(Path("sub"));
    const PlccRun ok = Plcc({"build", "demo.plc", "-o", "sub\\out.bin"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_TRUE(ok.out.ends_with(fs::canonical(Path("sub/out.bin")).string() + "\n")) << ok.out;
    EXPECT_EQ(ok.out.find("Text declaration file"), std::string::npos);
}

TEST_F(PlccFiles, BuildWithErrorsKeepsTheOldFile) {
    WriteAll(Path("bad.plc"), "%P00\r\nN010 FOO\r\nEND\r\n");
    WriteAll(Path("out.bin"), "old");
    const PlccRun r = Plcc({"build", "bad.plc", "-o", "out.bin"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("  LINE(002): ERR(05) -"), std::string::npos) << r.out;
    EXPECT_EQ(ReadAll(Path("out.bin")), "old");
}

TEST_F(PlccFiles, UsageErrorsExitWithTwo) {
    WriteAll(Path("demo.plc"), kDemo);
    const std::vector<std::vector<std::string>> calls = {
        {"build", "demo.plc"},
        {"build", "demo.plc", "-o"},
        {"build", "demo.plc", "-o", "x.bin", "--decl-dir", ""},
        {"build", "absent.plc", "-o", "x.bin"},
        {"build", "demo.plc", "-o", "x.bin", "--what"},
        {"list"},
        {"list", "a.bin", "b.bin"},
        {"list", "absent.bin"},
        {"renum"},
        {"renum", "absent.plc"},
        {"renum", "demo.plc", "-o"},
    };
    for (const auto& args : calls) {
        const PlccRun r = Plcc(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(fs::exists(Path("x.bin")));
}

TEST_F(PlccFiles, ListWritesTheGoldenListingExactly) {
    fs::copy_file(kGolden + "listing_valid.bin", Path("listing_valid.bin"));
    const PlccRun r = Plcc({"list", "listing_valid.bin", "--date", "01/01/2000, 00:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ReadAll(kGolden + "listing_valid.listing"));
    EXPECT_EQ(r.err, ReadAll(kGolden + "listing_valid.entries"));

    const PlccRun toFile = Plcc({"list", "listing_valid.bin", "-o", "out.plc", "--date", "01/01/2000, 00:00"});
    EXPECT_EQ(toFile.status, 0);
    EXPECT_TRUE(toFile.out.empty());
    EXPECT_EQ(ReadAll(Path("out.plc")), r.out);
}

TEST_F(PlccFiles, ListDateComesFromSourceDateEpoch) {
    fs::copy_file(kGolden + "listing_nohead.bin", Path("in.bin"));
    const PlccRun r = Plcc({"list", "in.bin"}, "SOURCE_DATE_EPOCH=86400 TZ=UTC");
    EXPECT_EQ(r.status, 1);  // every record decodes, but the missing head is an error
    EXPECT_TRUE(r.out.starts_with("; 02/01/1970, 00:00, in.bin\r\n\r\n; No valid programme")) << r.out;
    EXPECT_TRUE(r.out.ends_with("\r\nEND"));
}

TEST_F(PlccFiles, ListOfUndecodableRecordsExitsWithOne) {
    fs::copy_file(kGolden + "listing_undecodable.bin", Path("in.bin"));
    const PlccRun r = Plcc({"list", "in.bin", "--date", "d"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.starts_with("; d, in.bin\r\n"));
    EXPECT_NE(r.err.find("  LINE(005): ERR(33) - Error at text coding of programme sequence.\n"), std::string::npos);
}

TEST_F(PlccFiles, ListRefusesAMalformedFile) {
    std::string bytes;
    for (int i = 0; i < 512; ++i) bytes += i == 41 ? "garbage\r\n" : "00000000\r\n";
    WriteAll(Path("bad.bin"), bytes);
    WriteAll(Path("out.plc"), "old");
    const PlccRun r = Plcc({"list", "bad.bin", "-o", "out.plc"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.bin"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 42"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(Path("out.plc")), "old");
}

TEST_F(PlccFiles, RenumWritesTheRenumberedText) {
    WriteAll(Path("demo.plc"), kDemo);
    const std::string expected =
        "; demo\r\n%TEXT(Demo)\r\nDEF H1 = Count\r\nDEF M3 = Ready\r\nEND\r\n\r\n%P00\r\n"
        "N010 JMP (H001 = 0) N030\t\t; zero\r\nN020 CALL N030\r\nN030 RET\r\nEND\r\n";
    const PlccRun r = Plcc({"renum", "demo.plc"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "PLC, Text coding...\n\nTextcoding - 0 Error (s), 0 Warning(s).\n");

    const PlccRun toFile = Plcc({"renum", "demo.plc", "-o", "demo.plc"});
    EXPECT_EQ(toFile.status, 0);
    EXPECT_EQ(ReadAll(Path("demo.plc")), expected);
}

TEST_F(PlccFiles, RenumOfAFaultyTextWritesNothing) {
    WriteAll(Path("bad.plc"), "%P00\r\nN010 NOP\r\nN005 NOP\r\nEND\r\n");
    const PlccRun r = Plcc({"renum", "bad.plc", "-o", "out.plc"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ERR(31)"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("out.plc")));
}

// Record lines are 16 bits: 65,536 lines fit (indexes 0 to 65535), one more does not.
TEST_F(PlccFiles, LineCountBound) {
    std::string text(65533 * 2, '\0');
    for (size_t i = 0; i < text.size(); i += 2) text.replace(i, 2, "\r\n");
    WriteAll(Path("fits.plc"), text + "%P00\r\nN010 NOP\r\nEND");
    const PlccRun fits = Plcc({"build", "fits.plc", "-o", "fits.bin"});
    EXPECT_EQ(fits.status, 0) << fits.err;
    const PlccRun renum = Plcc({"renum", "fits.plc", "-o", "fits2.plc"});
    EXPECT_EQ(renum.status, 0) << renum.err;
    EXPECT_TRUE(ReadAll(Path("fits2.plc")).ends_with("\r\n%P00\r\nN010 NOP\r\nEND"));
    // A line break that ends the last line begins no line more.
    WriteAll(Path("ended.plc"), text + "%P00\r\nN010 NOP\r\nEND\r\n");
    const PlccRun ended = Plcc({"build", "ended.plc", "-o", "ended.bin"});
    EXPECT_EQ(ended.status, 0) << ended.err;

    WriteAll(Path("long.plc"), text + "%P00\r\nN010 NOP\r\nEND\r\n\r\n");
    for (const char* command : {"build", "renum"}) {
        const PlccRun r = Plcc({command, "long.plc", "-o", "long.out"});
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_NE(r.err.find("65536"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(Path("long.out")));
}

// plcc format: the canonical text printed, checked, shown as a diff or
// written back; the file's line breaks and byte-order mark kept.
TEST_F(PlccFiles, FormatGivesTheCanonicalText) {
    const std::string loose = "%P00\nN010   nop ; c\nN020 JMP  N010\nEND\n";
    const std::string canonical = "%P00\nN010 NOP\t\t; c\nN020 JMP N010\nEND\n";
    WriteAll(Path("loose.plc"), loose);
    WriteAll(Path("canonical.plc"), canonical);
    WriteAll(Path("marked.plc"), "\xEF\xBB\xBF" + loose);
    WriteAll(Path("bad.plc"), "%P00\nN010 FOO\nEND\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;     // exactly
        std::string errHas;  // empty: nothing on stderr
    };
    const Case cases[] = {
        {{"format", "loose.plc"}, 0, canonical, ""},
        {{"format", "--check", "canonical.plc"}, 0, "", ""},
        {{"format", "--check", "canonical.plc", "loose.plc"}, 1, "", "'loose.plc' is not in canonical form"},
        {{"format", "--diff", "loose.plc"},
         0,
         "--- a/loose.plc\n+++ b/loose.plc\n@@ -1,4 +1,4 @@\n %P00\n-N010   nop ; c\n+N010 NOP\t\t; c\n"
         "-N020 JMP  N010\n+N020 JMP N010\n END\n",
         ""},
        {{"format", "bad.plc"}, 1, "", "ERR(05)"},
        {{"format", "-i", "-"}, 2, "", "in place"},
        {{"format", "-i", "marked.plc"}, 0, "", ""},
    };
    for (const Case& c : cases) {
        const PlccRun r = Plcc(c.args);
        const std::string call = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, c.status) << call << "\n" << r.err;
        EXPECT_EQ(r.out, c.out) << call;
        EXPECT_TRUE(c.errHas.empty() ? r.err.empty() : r.err.find(c.errHas) != std::string::npos) << call << r.err;
    }
    EXPECT_EQ(ReadAll(Path("loose.plc")), loose);
    EXPECT_EQ(ReadAll(Path("marked.plc")), "\xEF\xBB\xBF" + canonical);
}

// "-o -" writes the one output of a command to standard output, never to a
// file named "-"; build's messages then go to stderr.
TEST_F(PlccFiles, OutputDashIsStandardOutput) {
    WriteAll(Path("p.plc"), "%P00\nN010 NOP\nN020 JMP N010\nEND\n");
    ASSERT_EQ(Plcc({"build", "p.plc", "-o", "p.bin"}).status, 0);
    const struct {
        std::vector<std::string> args;  // "-o -" is appended
        std::string sameAs;             // stdout of args without -o, or the file args with -o write
    } cases[] = {
        {{"build", "p.plc"}, ReadAll(Path("p.bin"))},
        {{"list", "p.bin", "--date", "d"}, Plcc({"list", "p.bin", "--date", "d"}).out},
        {{"renum", "p.plc"}, Plcc({"renum", "p.plc"}).out},
        {{"graph", "p.plc"}, Plcc({"graph", "p.plc"}).out},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", "-"});
        const PlccRun r = Plcc(args);
        const std::string call = ::testing::PrintToString(args);
        EXPECT_EQ(r.status, 0) << call << "\n" << r.err;
        EXPECT_FALSE(c.sameAs.empty()) << call;
        EXPECT_EQ(r.out, c.sameAs) << call;
        EXPECT_FALSE(fs::exists(Path("-"))) << call;
    }
}

// The round trip a programme makes through the device: build, list the
// file, compile the listing: bytes 0 to 7 of every record are the same.
TEST_F(PlccFiles, BuildListAndImageAgree) {
    for (const char* name : {"forms_flow.plc", "forms_set.plc", "forms_misc.plc"}) {
        fs::copy_file(kGolden + name, Path(name), fs::copy_options::overwrite_existing);
        const PlccRun built = Plcc({"build", name, "-o", "p.bin"});
        if (built.status != 0) {
            ADD_FAILURE() << name << " does not build:\n" << built.out;
            continue;
        }
        const PlccRun listed = Plcc({"list", "p.bin", "-o", "listed.plc"});
        EXPECT_EQ(listed.status, 0) << listed.err;
        const PlccRun a = Plcc({"image", name});
        const PlccRun b = Plcc({"image", "listed.plc"});
        EXPECT_EQ(b.status, 0) << name << ":\n" << b.err;
        std::istringstream sa(a.out), sb(b.out);
        std::string la, lb;
        int record = 0;
        while (std::getline(sa, la) && std::getline(sb, lb)) {
            EXPECT_EQ(la.substr(0, 16), lb.substr(0, 16)) << name << " record " << record;
            ++record;
        }
        EXPECT_EQ(record, 256) << name;
    }
}

}  // namespace
}  // namespace plcc::test
