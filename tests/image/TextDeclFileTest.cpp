// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a text declaration file back: what the writer writes reads back,
// and anything the compiler would not take back as DEF lines is refused with
// the file and line named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "compiler/CompileDriver.h"
#include "image/TextDeclFile.h"

namespace plc {
namespace {

TEST(TextDeclFile, ReadsBackWhatTheWriterWrites) {
    CPlcProgram program;
    ASSERT_TRUE(CompileProgramSource(program, "%TEXT(Axis1)\nDEF C10 = Parts\nDEF F0 = Gain\nDEF H5 = Speed\n"
                                              "DEF M255 = Last_Flag\nDEF Z3 = T3\nEND\n%P00\nN010 NOP\nEND")
                    .success);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("decl-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string path = dir.string();
    ASSERT_EQ(program.WriteTextDeclFile(path, false), 1);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(dir);

    DeclaredNames names;
    std::string why;
    ASSERT_TRUE(ParseTextDeclFile(bytes, path, names, why)) << why;
    EXPECT_EQ(names.programName, "Axis1");
    ASSERT_EQ(names.names.size(), 5u);
    for (const DeclaredName& n : names.names) EXPECT_EQ(program.Name(n.var, n.index), n.name);
}

struct DeclCase {
    const char* name;
    const char* fileName;
    const char* bytes;
    const char* refusal;  // nullptr: accepted; else a part of the message
};

class DeclFile : public ::testing::TestWithParam<DeclCase> {};

TEST_P(DeclFile, IsAcceptedOrRefusedWithItsReason) {
    DeclaredNames names;
    std::string why;
    const bool ok = ParseTextDeclFile(GetParam().bytes, GetParam().fileName, names, why);
    if (GetParam().refusal == nullptr) {
        EXPECT_TRUE(ok) << why;
        return;
    }
    EXPECT_FALSE(ok);
    EXPECT_NE(why.find(GetParam().refusal), std::string::npos) << why;
    EXPECT_EQ(why.rfind(GetParam().fileName, 0), 0u) << why;  // the message names the file
    EXPECT_TRUE(names.names.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DeclFile,
    ::testing::Values(
        DeclCase{"Empty", "Prog.txt", "", nullptr},
        DeclCase{"LineEndsAndBlanks", "dir/Prog.TXT", "\n[PLC_H]\n5:Speed  \r\n\r 7 :  Slow\n[plc_m]\r1: Ready", nullptr},
        DeclCase{"LongestName", "Prog.txt", "[PLC_H]\n1: abcdefghijklmnopqrstuvwxyz_12345\n", nullptr},
        DeclCase{"NameTooLong", "Prog.txt", "[PLC_H]\n1: abcdefghijklmnopqrstuvwxyz_123456\n",
                 "line 2: the name 'abcdefghijklmnopqrstuvwxyz_123456' is longer than 32 characters"},
        DeclCase{"NameWithABlank", "Prog.txt", "[PLC_H]\n1: Top Speed\n", "line 2: the name 'Top Speed' has a character"},
        DeclCase{"NoName", "Prog.txt", "[PLC_F]\n1:\n", "line 2: no name"},
        DeclCase{"NumberOutsideItsTable", "Prog.txt", "[PLC_C]\n11: Parts\n", "line 2: the number 11 is outside 0 to 10 of [PLC_C]"},
        DeclCase{"HugeNumber", "Prog.txt", "[PLC_M]\n99999999999999999999: X\n", "is outside 0 to 255 of [PLC_M]"},
        DeclCase{"NegativeNumber", "Prog.txt", "[PLC_H]\n-1: X\n", "line 2: '-1' is not a variable number"},
        DeclCase{"NoColon", "Prog.txt", "[PLC_H]\n5 Speed\n", "line 2: '5 Speed' is not an entry"},
        DeclCase{"NamedTwice", "Prog.txt", "[PLC_H]\n5: Speed\n6: Slow\n5: Fast\n",
                 "line 4: number 5 of [PLC_H] is named twice (lines 2 and 4)"},
        DeclCase{"SectionTwice", "Prog.txt", "[PLC_H]\n5: Speed\n[PLC_H]\n6: Slow\n", "line 3: the section [PLC_H] appears twice"},
        DeclCase{"UnknownSection", "Prog.txt", "[PLC_X]\n5: Speed\n", "line 1: unknown section [PLC_X]"},
        DeclCase{"EntryBeforeAnySection", "Prog.txt", "5: Speed\n", "line 1: an entry before the first section header"},
        DeclCase{"FileNameIsNoProgrammeName", "my-prog.txt", "", "the programme name 'my-prog'"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plc
