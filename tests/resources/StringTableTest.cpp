// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

namespace plc {
namespace {

struct TextCase {
    uint32_t id;
    const char* text;
};

// Texts as they must appear, byte for byte: misspellings, double blanks,
// leading and trailing blanks and embedded line breaks are part of them.
constexpr TextCase kTextCases[] = {
    {1, "Torvix Control"},
    {200, "General"},
    {32768, "New"},
    {32775, "Search/Replace"},
    {32781, "Read PLC programme from file (device setting)"},
    {32784, "Save PLC programme in device"},
    {32889, "Replace '%1' with '%2'."},
    {32890, "No programme available.\nNow create programme body ?"},
    {32892, "PLC-Programme (*.plc)|*.plc|all files (*.*)|*.*|"},
    {32893, "Error at opening of\n"},
    {32898, " already exists.\nWould you like to replace ist?"},
    {32899, " could not be created."},
    {32900, "No valied path data found for programme file."},
    {32902, "Values of margins are out of the value range (0..100).\n Please correct setting."},
    {32904, "Max. size of document is reached.\nSave and reduce size of document before datas are lost."},
    {32905, "Not enough working memory for this application."},
    {kIdsErrorBase, "%1 Translate the programme without error."},
    {kIdsErrorBase + 2,
     "%1 lines or variable texts too long or end of programme line cannot be found. Probably a "
     "comment character ';' is missing."},
    {kIdsErrorBase + 4, "%1 Error at lable adressing (Nxxx)."},
    {57691, "%1 Missing END-assignation of programme % P00 ... END."},
    {kIdsErrorBase + 12,
     "%1 No or faulty programme head % P00 or Text declaration head  % TEXT(Name) found."},
    {kIdsErrorBase + 28,
     "%1 Faulty benchmark figure. Jumps can only be made to Null or unlike Null. Example: JMP( "
     "Hxxx = 0 ) Nyyy; JMP( Fxxx != 0.0 ) Nyyy."},
    {kIdsErrorBase + 31, "%1 Command sequence not in rising raw. Probably wrong name of lable."},
    {57714, "Error at new-numbering of programme sequence."},
    {57715, "%1 Error at text coding of programme sequence."},
    {kIdsErrorBase + 34, "%1 Unknown GO-command (GO W A/R Hxx, GO A/R Hxx, GO 0+Hxx, GO 0)."},
    {kIdsCompiling, "PLC, compiling runs..."},
    {kIdsTooManyErrors, "Maximum number of errors of 30 errors exceeded. Syntax check interrupted."},
    {kIdsChecksumSummary, "Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: %1"},
    {kIdsErrorSummary, "%1 Error. Syntax check ends with error."},
    {kIdsSyntaxCheckFailed, "Syntax check ends with error."},
    {kIdsTextCoding, "PLC, Text coding..."},
    {kIdsTextCodingErrors, "%1 Error. Textcoding of programme sequence ends with error."},
    {kIdsTextCodingOk, "Textcoding - 0 Error (s), 0 Warning(s)."},
    {57737, "Text declaration file was made - "},
    {57738, "Binary programme file was made - "},
    {kIdsNoProgramHead, "; No valid programme or programme head (%P00) found."},
    {kIdsNoProgramCreateBody, "No programme available.\nNow create programme body ?"},
    {kIdsTodoOwnCode, "TODO: Insert own programme code here"},
};

class StringTableTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(StringTableTextTest, HoldsExactText) {
    const TextCase& c = GetParam();
    const char* text = FindString(c.id);
    ASSERT_NE(text, nullptr) << "id " << c.id;
    EXPECT_EQ(std::string_view(text), std::string_view(c.text)) << "id " << c.id;
    EXPECT_EQ(LoadString(c.id), c.text) << "id " << c.id;
}

INSTANTIATE_TEST_SUITE_P(Samples, StringTableTextTest, ::testing::ValuesIn(kTextCases));

TEST(StringTableTest, EveryCompilerErrorCodeHasAMessageWithPrefixPlaceholder) {
    for (uint32_t code = 1; code <= 34; ++code) {
        if (code == 32 || code == 33) {
            continue;  // renumbering and text coding, checked above
        }
        const std::string text = LoadString(kIdsErrorBase + code);
        EXPECT_TRUE(text.starts_with("%1 ")) << "code " << code << ": " << text;
    }
}

TEST(StringTableTest, ErrorEntryIsBuiltFromPrefixAndMessage) {
    EXPECT_EQ(FormatString(kIdsErrorBase + 4, "  LINE(012): ERR(04) -"),
              "  LINE(012): ERR(04) - Error at lable adressing (Nxxx).");
    EXPECT_EQ(FormatString(kIdsChecksumSummary, "0x0339 ADD, 0x00D9 XOR "),
              "Sysntax check - 0 error (s), 0 warning(s). Calculated checksum: 0x0339 ADD, 0x00D9 XOR ");
    EXPECT_EQ(FormatString(kIdsErrorSummary, "1 "), "1  Error. Syntax check ends with error.");
}

TEST(StringTableTest, IdsAreStrictlyAscendingAndTextsPresent) {
    const StringEntry* first = StringTableBegin();
    const StringEntry* last = StringTableEnd();
    ASSERT_LT(first, last);
    for (const StringEntry* it = first; it != last; ++it) {
        ASSERT_NE(it->text, nullptr) << "id " << it->id;
        EXPECT_GT(std::strlen(it->text), 0u) << "id " << it->id;
        EXPECT_EQ(FindString(it->id), it->text) << "id " << it->id;
        if (it + 1 != last) {
            EXPECT_LT(it->id, (it + 1)->id);
        }
    }
}

TEST(StringTableTest, UnknownIdsYieldNothing) {
    for (uint32_t id : {0u, 3u, 32767u, 32785u, 32790u, 57681u, 57717u, 57740u, 0xFFFFFFFFu}) {
        EXPECT_EQ(FindString(id), nullptr) << "id " << id;
        EXPECT_EQ(LoadString(id), "") << "id " << id;
        EXPECT_EQ(FormatString(id, "x"), "") << "id " << id;
    }
}

struct ReplaceCase {
    const char* pattern;
    const char* arg;
    const char* expected;
};

constexpr ReplaceCase kReplaceCases[] = {
    {"no placeholder", "x", "no placeholder"},
    {"%1", "abc", "abc"},
    {"%1 and %1", "A", "A and A"},
    {"a%1b%1c", "", "abc"},
    {"%1", "", ""},
    {"", "x", ""},
    {"%P00 %% %2 %", "x", "%P00 %% %2 %"},
    {"%%1", "x", "%x"},
    {"%11", "x", "x1"},
    {"%1!", "%1", "%1!"},         // the argument is not expanded again
    {"<%1>", "a\nb", "<a\nb>"},
};

class ReplacePlaceholderTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplacePlaceholderTest, ReplacesEveryPlaceholderOnce) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplacePlaceholder(c.pattern, c.arg), c.expected)
        << "pattern \"" << c.pattern << "\" arg \"" << c.arg << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplacePlaceholderTest, ::testing::ValuesIn(kReplaceCases));

}  // namespace
}  // namespace plc
