// SPDX-License-Identifier: GPL-3.0-or-later
// The record iterator, the programme listing (frame, head, numbering of the
// reports, summary), listings of binary programme files against golden
// files, and the round trip of whole programmes through file and listing.
//
// Set PLCEDIT_UPDATE_GOLDEN=1 to rewrite the golden listings from the
// current output (then review the difference before keeping it).
#include "decoder/Listing.h"
#include "decoder/RecordPrinter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "compiler/CompileDriver.h"
#include "decoder/DecodeRecord.h"
#include "image/InstrSet.h"
#include "image/PlcProgram.h"
#include "tests/TestUtil.h"

namespace plc {
namespace {

namespace fs = std::filesystem;

const std::string kGolden = std::string(PLCEDIT_SOURCE_DIR) + "/tests/golden/";
constexpr const char* kDate = "01/01/2000, 00:00";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool UpdatingGoldens() { return std::getenv("PLCEDIT_UPDATE_GOLDEN") != nullptr; }

PlcInstr Rec(uint8_t opcode, uint8_t used, uint16_t target = 0, uint16_t line = 0) {
    PlcInstr rec;
    rec.setOpcode(opcode);
    rec.setUsed(used);
    rec.setTarget(target);
    rec.setLine(line);
    return rec;
}

// An image with a valid head in front of the given records.
CPlcProgram WithHead(const std::vector<std::pair<int, PlcInstr>>& records) {
    CPlcProgram program;
    program.Clear();
    for (const auto& [index, rec] : records) program.Record(index) = rec;
    program.Record(kEndRecord) = Rec(2, 1, 255);
    program.Record(kEntryRecord) = Rec(1, 1, records.empty() ? 255 : static_cast<uint16_t>(records[0].first));
    return program;
}

struct Visit {
    std::string text;
    int32_t line;
    int32_t error;
    bool operator==(const Visit&) const = default;
};

std::vector<Visit> Pass(CPlcProgram& program) {
    std::vector<Visit> visits;
    Visit v;
    while (DecodeNextRecord(program, v.text, v.line, v.error)) visits.push_back(v);
    return visits;
}

// ---- the record iterator ----

TEST(DecodeNextRecord, VisitsUsedOrCodedRecordsOneToTwoFiftyFour) {
    CPlcProgram program;
    program.Clear();
    program.Record(0) = Rec(37, 1);
    program.Record(1) = Rec(37, 1, 0, 17);    // first label
    program.Record(3) = Rec(0, 1, 0, 4);      // used without code
    program.Record(4) = Rec(37, 0, 0, 5);     // code without the used mark
    program.Record(5) = Rec(0, 0);            // neither: skipped
    program.Record(5).b[4] = 9;
    program.Record(6) = Rec(200, 1, 0, 7);    // unknown opcode
    program.Record(254) = Rec(37, 1, 0, 65535);
    program.Record(255) = Rec(37, 1);         // never visited
    const std::vector<Visit> expected = {
        {"N001 NOP", 17, 0},
        {"N003 (!) ERROR: NO CODE FOUND", 4, 33},
        {"N004 NOP", 5, 0},
        {"; ERROR: UNKOWN OPCODE.", 7, 33},
        {"N254 NOP", 65535, 0},
    };
    EXPECT_EQ(Pass(program), expected);
    // The pass ended, so the next one starts again at record 1.
    EXPECT_EQ(Pass(program), expected);
}

TEST(DecodeNextRecord, EmptyImageEndsAtOnce) {
    CPlcProgram program;
    program.Clear();
    std::string text = "unchanged";
    int32_t line = 0, error = 5;
    EXPECT_EQ(DecodeNextRecord(program, text, line, error), 0);
    EXPECT_EQ(error, 0);
}

// ---- the listing ----

TEST(Listing, ImageWithoutHeadOrRecords) {
    CPlcProgram program;
    program.Clear();
    const ListingOutcome out = ListProgramImage(program, "in.bin", kDate);
    EXPECT_EQ(out.text, "; 01/01/2000, 00:00, in.bin\r\n\r\n"
                        "; No valid programme or programme head (%P00) found.\r\nEND");
    EXPECT_EQ(out.entries, (std::vector<std::string>{
                               "PLC, Text coding...", "",
                               "  LINE(003): ERR() - ; No valid programme or programme head (%P00) found.", "",
                               "1  Error. Textcoding of programme sequence ends with error."}));
    EXPECT_EQ(out.errorCount, 1);
    EXPECT_EQ(out.undecodable, 0);
}

TEST(Listing, ImageWithHeadAndNoListedRecords) {
    CPlcProgram program;
    program.Clear();
    program.Record(kEntryRecord) = Rec(1, 1, 255);
    program.Record(kEndRecord) = Rec(2, 1, 255);
    const ListingOutcome out = ListProgramImage(program, "x.bin", kDate);
    EXPECT_EQ(out.text, "; 01/01/2000, 00:00, x.bin\r\n\r\n%P00\r\nEND");
    EXPECT_EQ(out.entries,
              (std::vector<std::string>{"PLC, Text coding...", "", "Textcoding - 0 Error (s), 0 Warning(s)."}));
    EXPECT_EQ(out.errorCount, 0);
}

TEST(Listing, UndecodableRecordsAreReportedOnTheirListedLine) {
    CPlcProgram program = WithHead({{7, Rec(200, 1)}, {8, Rec(37, 1)}, {9, Rec(12, 1, 30)}});
    program.Record(9).setMode(7);
    const ListingOutcome out = ListProgramImage(program, "f.bin", kDate);
    EXPECT_EQ(out.text, "; 01/01/2000, 00:00, f.bin\r\n\r\n%P00\r\n"
                        "; ERROR: UNKOWN OPCODE.\r\nN008 NOP\r\n"
                        "; ERROR: JMP (Hxx/ACTVAL/REFVAL != Hxx) Nxx/END\r\nEND");
    EXPECT_EQ(out.entries, (std::vector<std::string>{
                               "PLC, Text coding...", "",
                               "  LINE(004): ERR(33) - Error at text coding of programme sequence.",
                               "  LINE(006): ERR(33) - Error at text coding of programme sequence.", "",
                               "2  Error. Textcoding of programme sequence ends with error."}));
    EXPECT_EQ(out.errorCount, 2);
    EXPECT_EQ(out.undecodable, 2);

    // A second listing lists the same records again from record 1.
    const ListingOutcome again = ListProgramImage(program, "f.bin", kDate);
    EXPECT_EQ(again.text, out.text);
    EXPECT_EQ(again.entries, out.entries);
}

// Names restored from a text declaration file stand between the header and
// the programme; the entries count them in their line numbers, and each
// record knows its line.
TEST(Listing, RestoredNamesComeBeforeTheProgrammeAndMoveItsLines) {
    CPlcProgram program = WithHead({{7, Rec(200, 1)}, {8, Rec(37, 1)}});
    const DeclaredNames names{"Axis1", {{VarKind::H, 5, "Speed"}, {VarKind::M, 10, "Ready"}}};
    const ListingOutcome out = ListProgramImage(program, "f.bin", kDate, &names);
    EXPECT_EQ(out.text, "; 01/01/2000, 00:00, f.bin\r\n\r\n"
                        "%TEXT(Axis1)\r\nDEF H005 = Speed\r\nDEF M010 = Ready\r\nEND\r\n\r\n"
                        "%P00\r\n; ERROR: UNKOWN OPCODE.\r\nN008 NOP\r\nEND");
    ASSERT_EQ(out.errors.size(), 1u);
    EXPECT_EQ(out.errors[0].line, 9);
    EXPECT_EQ(out.errors[0].code, 33);
    EXPECT_EQ(out.lines[7], 9);
    EXPECT_EQ(out.lines[8], 10);
    EXPECT_EQ(out.lines[9], 0);
    // Without a head, the head's entry names its line too.
    program.Record(kEntryRecord) = PlcInstr{};
    EXPECT_EQ(ListProgramImage(program, "f.bin", kDate, &names).errors.front().line, 8);
}

TEST(Listing, DateFormat) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 9;
    EXPECT_EQ(ListingDate(t), "05/03/2024, 07:09");
}

// ---- listings of binary programme files against golden files ----

class ListingGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ListingGolden, MatchesTheGoldenListingAndEntries) {
    const std::string name = GetParam();
    CPlcProgram program;
    program.Clear();
    std::string why;
    ASSERT_EQ(program.ReadBinaryFile(kGolden + name + ".bin", &why), 1) << why;
    const ListingOutcome out = ListProgramImage(program, name + ".bin", kDate);
    std::string entries;
    for (const std::string& e : out.entries) entries += e + "\n";
    EXPECT_FALSE(out.text.ends_with("\n"));
    if (UpdatingGoldens()) {
        std::ofstream(kGolden + name + ".listing", std::ios::binary) << out.text;
        std::ofstream(kGolden + name + ".entries", std::ios::binary) << entries;
    }
    EXPECT_EQ(out.text, ReadAll(kGolden + name + ".listing"));
    EXPECT_EQ(entries, ReadAll(kGolden + name + ".entries"));
}

INSTANTIATE_TEST_SUITE_P(Files, ListingGolden,
                         ::testing::Values("listing_valid", "listing_undecodable", "listing_reserved",
                                           "listing_nohead"));

// ---- a listed line must compile back to its record ----

struct CompileBackCase {
    const char* name;
    const char* record10;  // bytes 0 to 7 of record N010, hexadecimal
    bool clean;
};

class ListedLine : public ::testing::TestWithParam<CompileBackCase> {};

// N010 is poked into a compiled image of N010 and N020; its listing line is 4.
TEST_P(ListedLine, IsCleanOnlyWhenItCompilesBack) {
    CPlcProgram program;
    ASSERT_TRUE(CompileProgramText(program, {"%P00", "N010 NOP", "N020 NOP", "END"}).success);
    const PlcInstr rec = test::FromHex8(GetParam().record10);
    for (size_t b = 0; b < 8; ++b) program.Record(10).b[b] = rec.b[b];
    const ListingOutcome out = ListProgramImage(program, "x.bin", kDate);
    if (GetParam().clean) {
        EXPECT_EQ(out.errorCount, 0) << out.text;
    } else {
        EXPECT_EQ(out.errorCount, 1) << out.text;
        EXPECT_EQ(out.undecodable, 1);
        EXPECT_NE(std::find(out.entries.begin(), out.entries.end(), FormatErrorEntry(4, 33)), out.entries.end())
            << out.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ListedLine,
    ::testing::Values(CompileBackCase{"JumpToAListedLabel", "0100000014000000", true},
                      CompileBackCase{"LineDoesNotCompile", "0103000000000000", false},      // JMP N000
                      CompileBackCase{"CompilesToOtherBytes", "010500001400edfc", false},    // JMP N020
                      CompileBackCase{"JumpToALabelNotListed", "0100000032000000", false},   // JMP N050
                      // A reserved record lists as a comment, which compiles to nothing.
                      CompileBackCase{"ReservedRecord", "8d00000000000000", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- whole programmes: source -> file -> listing -> source ----

// The programmes that together use every statement form.
const char* const kFormFiles[] = {"forms_flow.plc", "forms_set.plc", "forms_misc.plc"};

std::vector<std::string> GoldenLines(const std::string& name) { return SplitLines(ReadAll(kGolden + name)); }

std::string FirstError(const CompileOutcome& outcome) {
    for (const std::string& e : outcome.entries) {
        if (e.find("ERR(") != std::string::npos) return e;
    }
    return outcome.entries.empty() ? std::string() : outcome.entries.back();
}

class WholeProgramme : public ::testing::TestWithParam<const char*> {};

TEST_P(WholeProgramme, BuildListAndCompileGiveTheSameBytes) {
    const std::string name = GetParam();
    CPlcProgram built;
    const CompileOutcome first = CompileProgramText(built, GoldenLines(name));
    ASSERT_TRUE(first.success) << name << ": " << FirstError(first);

    const fs::path dir = fs::temp_directory_path() / ("plcforms-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / (name + ".bin")).string();
    ASSERT_EQ(built.WriteBinaryFile(path, false), 1);

    CPlcProgram read;
    read.Clear();
    ASSERT_EQ(read.ReadBinaryFile(path), 1);
    fs::remove_all(dir);
    const ListingOutcome listing = ListProgramImage(read, path, kDate);
    EXPECT_EQ(listing.errorCount, 0) << listing.entries.back();

    CPlcProgram again;
    const CompileOutcome second = CompileProgramText(again, SplitLines(listing.text));
    ASSERT_TRUE(second.success) << name << " listed: " << FirstError(second);
    for (int i = 0; i < kRecordCount; ++i) {
        for (size_t k = 0; k < 8; ++k) {
            EXPECT_EQ(built.Record(i).b[k], again.Record(i).b[k]) << name << " record " << i << " byte " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, WholeProgramme, ::testing::ValuesIn(kFormFiles),
                         [](const auto& info) {
                             std::string n = info.param;
                             return n.substr(0, n.find('.'));
                         });

// Every form of every statement that compiles — each variant of each
// opcode, in its label form and, where it has one, its END form — is used by
// one of the programmes above.
TEST(WholeProgramme, TheProgrammesUseEveryStatementForm) {
    std::set<std::tuple<int, int, bool>> used;  // opcode, variant, END form
    for (const char* name : kFormFiles) {
        CPlcProgram program;
        const CompileOutcome outcome = CompileProgramText(program, GoldenLines(name));
        if (!outcome.success) continue;  // reported by the round trip
        for (int i = kFirstLabel; i <= kLastLabel; ++i) {
            const PlcInstr& rec = program.Record(i);
            const OpcodeRow* row = rec.used() ? FindOpcodeRow(rec.opcode()) : nullptr;
            if (row == nullptr) continue;
            const uint32_t selector = FieldValue(row->selector, rec, 0);
            for (size_t v = 0; v < row->variants.size(); ++v) {
                if (!SelectsVariant(row->variants[v].when, selector)) continue;
                const bool endForm = row->variants[v].endText != nullptr && rec.target() == kEndRecord;
                used.insert({rec.opcode(), static_cast<int>(v), endForm});
                break;
            }
        }
    }
    int forms = 0;
    for (auto family : {FlowRows(), AssignRows(), MotionRows()}) {
        for (const OpcodeRow& row : family) {
            if (!row.compiles) continue;
            for (size_t v = 0; v < row.variants.size(); ++v) {
                for (bool endForm : {false, true}) {
                    if (endForm && row.variants[v].endText == nullptr) continue;
                    ++forms;
                    EXPECT_TRUE(used.count({row.opcode, static_cast<int>(v), endForm}))
                        << "no programme uses opcode " << int(row.opcode) << " variant " << v
                        << (endForm ? " (END form): " : ": ")
                        << (endForm ? row.variants[v].endText : row.variants[v].text);
                }
            }
        }
    }
    // Each opcode from 1 to 173 but the reserved ones has at least one form.
    std::set<int> opcodes;
    for (const auto& [opcode, variant, endForm] : used) opcodes.insert(opcode);
    for (int op = 1; op <= 173; ++op) {
        if (op >= 141 && op <= 155) continue;
        EXPECT_TRUE(opcodes.count(op)) << "no programme uses opcode " << op;
    }
    EXPECT_GT(forms, 0);
}

}  // namespace
}  // namespace plc
