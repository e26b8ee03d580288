// SPDX-License-Identifier: GPL-3.0-or-later
// The binary programme file and the text declaration file: byte layout,
// reading back, refusals of malformed files, the overwrite question, path
// composition, and writes that fail without costing the previous file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <chrono>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/PathParts.h"
#include "base/SafeWrite.h"
#include "compiler/CompileDriver.h"
#include "image/PlcProgram.h"

namespace plc {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "plcfiles-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) != nullptr) m_path = tmpl;
    }
    ~TempDir() {
        if (m_path.empty()) return;
        std::error_code ec;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_path, ec);
    }
    std::string operator/(const std::string& name) const { return (fs::path(m_path) / name).string(); }
    const std::string& path() const { return m_path; }
    // Names of the entries of the folder (to see that no temporary file is left).
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_path)) names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::string m_path;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void Compile(CPlcProgram& program, const std::vector<std::string>& lines) {
    const CompileOutcome outcome = CompileProgramText(program, lines);
    ASSERT_TRUE(outcome.success) << (outcome.entries.size() > 2 ? outcome.entries[2] : "");
}

const std::vector<std::string> kNopProgramme = {"%P00", "N010 NOP", "END"};

// 512 lines of "%08x", CR LF, all zero but the given lines (1-based).
std::string FileWithLines(const std::vector<std::pair<int, std::string>>& lines) {
    std::vector<std::string> all(512, "00000000");
    for (const auto& [n, text] : lines) all[static_cast<size_t>(n - 1)] = text;
    std::string out;
    for (const std::string& l : all) out += l + "\r\n";
    return out;
}

bool ImageIsZero(const CPlcProgram& program) {
    for (int i = 0; i < kRecordCount; ++i) {
        if (program.Record(i) != PlcInstr{}) return false;
    }
    return true;
}

// ---- binary programme file: writing ----

TEST(BinaryFile, WritesFiveHundredTwelveLowerCaseLinesWithCrLf) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, kNopProgramme);
    std::string path = dir / "prog.bin";
    ASSERT_EQ(program.WriteBinaryFile(path, false), 1);
    EXPECT_EQ(path, FullPath(dir / "prog.bin"));

    const std::string bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 5120u);
    for (size_t at = 0; at < bytes.size(); at += 10) {
        const std::string line = bytes.substr(at, 10);
        ASSERT_EQ(line.substr(8), "\r\n") << "line " << at / 10 + 1;
        for (char c : line.substr(0, 8)) ASSERT_TRUE(std::isdigit(c) || (c >= 'a' && c <= 'f')) << line;
    }
    EXPECT_EQ(bytes, FileWithLines({{1, "000a0001"}, {2, "0000000a"}, {21, "00ff0025"}, {22, "00000000"},
                                    {511, "00ff0002"}, {512, "000000ff"}}));
}

TEST(BinaryFile, FileCarriesTheImageChecksum) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, kNopProgramme);
    std::string path = dir / "prog.bin";
    ASSERT_EQ(program.WriteBinaryFile(path, false), 1);

    // The two 16-bit halves of every word, as the drive sums them.
    uint32_t xorSum = 0, addSum = 0;
    std::istringstream in(ReadAll(path));
    std::string word;
    while (in >> word) {
        const auto value = static_cast<uint32_t>(std::stoul(word, nullptr, 16));
        for (uint32_t half : {value & 0xFFFFu, value >> 16}) {
            xorSum ^= half;
            addSum += half;
        }
    }
    EXPECT_EQ(addSum, 0x339u);
    EXPECT_EQ(xorSum, 0xD9u);
    uint32_t imageXor = 0, imageAdd = 0;
    program.ComputeChecksum(imageXor, imageAdd);
    EXPECT_EQ(addSum, imageAdd);
    EXPECT_EQ(xorSum, imageXor);
}

TEST(BinaryFile, FloatConstantShowsItsHalvesExchanged) {
    PlcInstr rec;
    rec.setOpcode(61);
    rec.setMode(3);
    for (size_t i = 0; i < 4; ++i) rec.b[4 + i] = std::array<uint8_t, 4>{0x80, 0x3F, 0x00, 0x00}[i];
    CPlcProgram program;
    program.Clear();
    program.Record(12) = rec;
    TempDir dir;
    std::string path = dir / "float.bin";
    ASSERT_EQ(program.WriteBinaryFile(path, false), 1);
    EXPECT_EQ(ReadAll(path).substr(24 * 10, 20), "0000033d\r\n00003f80\r\n");
}

// ---- binary programme file: reading ----

TEST(BinaryFile, ReadingBackRestoresBytesZeroToSeven) {
    CPlcProgram written;
    Compile(written, {"%TEXT(Demo)", "DEF H1 = Count", "END", "%P00", "N005 JMP (H001 = 0) N020", "N010 CALL N020",
                      "N020 JMP (STA_INPOS = 1) END", "N030 RET", "END"});
    TempDir dir;
    std::string path = dir / "prog.bin";
    ASSERT_EQ(written.WriteBinaryFile(path, false), 1);

    CPlcProgram read;
    read.Clear();
    ASSERT_EQ(read.ReadBinaryFile(path), 1);
    for (int i = 0; i < kRecordCount; ++i) {
        const PlcInstr& a = written.Record(i);
        const PlcInstr& b = read.Record(i);
        for (size_t k = 0; k < 8; ++k) EXPECT_EQ(a.b[k], b.b[k]) << "record " << i << " byte " << k;
        EXPECT_EQ(b.used(), b.opcode() != 0 ? 1 : 0) << "record " << i;
        EXPECT_EQ(b.kind(), 0) << "record " << i;
        EXPECT_EQ(b.line(), 0) << "record " << i;
    }
    // Names do not travel through the file.
    EXPECT_EQ(read.Name(VarKind::H, 1), "");
    EXPECT_EQ(read.GetProgramName(), "");
    std::string head;
    EXPECT_TRUE(read.HasProgramHead(head));
}

// Spellings of the same file that a reader must take alike.
struct Spelling {
    const char* name;
    std::string bytes;
};

class BinaryFileSpelling : public ::testing::TestWithParam<Spelling> {};

TEST_P(BinaryFileSpelling, ReadsTheSameImage) {
    TempDir dir;
    const std::string path = dir / "in.bin";
    WriteAll(path, GetParam().bytes);
    CPlcProgram program;
    program.Clear();
    std::string why;
    ASSERT_EQ(program.ReadBinaryFile(path, &why), 1) << why;
    EXPECT_EQ(program.Record(0).opcode(), 1);
    EXPECT_EQ(program.Record(0).next(), 10);
    EXPECT_EQ(program.Record(0).target(), 10);
    EXPECT_EQ(program.Record(10).opcode(), 37);
    EXPECT_EQ(program.Record(10).next(), 255);
    EXPECT_EQ(program.Record(10).used(), 1);
    EXPECT_EQ(program.Record(255).dword4(), 0xFFu);
    EXPECT_EQ(program.Record(5).used(), 0);
}

std::string Joined(const std::string& separator, const std::string& tail) {
    std::string out;
    const std::string lines = FileWithLines({{1, "000a0001"}, {2, "0000000a"}, {21, "00ff0025"},
                                             {511, "00ff0002"}, {512, "000000ff"}});
    std::istringstream in(lines);
    std::string word;
    bool first = true;
    while (in >> word) {
        if (!first) out += separator;
        out += word;
        first = false;
    }
    return out + tail;
}

std::string WithoutLeadingZeros(const std::string& text) {
    std::istringstream in(text);
    std::string out, word;
    while (in >> word) {
        const size_t first = word.find_first_not_of('0');
        out += (first == std::string::npos ? "0" : word.substr(first)) + "\n";
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, BinaryFileSpelling,
    ::testing::Values(Spelling{"CrLf", Joined("\r\n", "\r\n")}, Spelling{"LfOnly", Joined("\n", "")},
                      Spelling{"UpperCase", [] {
                                   std::string s = Joined("\r\n", "\r\n");
                                   for (char& c : s) c = static_cast<char>(std::toupper(c));
                                   return s;
                               }()},
                      Spelling{"BlanksAndTabs", Joined(" \t ", " \t\r\n\r\n  ")},
                      Spelling{"LeadingZerosLeftOut", WithoutLeadingZeros(Joined("\n", "\n"))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BinaryFile, RecordWithOpcodeZeroReadsAsUnused) {
    TempDir dir;
    const std::string path = dir / "in.bin";
    WriteAll(path, FileWithLines({{21, "12345600"}, {22, "9abcdef0"}}));
    CPlcProgram program;
    program.Clear();
    ASSERT_EQ(program.ReadBinaryFile(path), 1);
    EXPECT_EQ(program.Record(10).used(), 0);
    EXPECT_EQ(program.Record(10).dword0(), 0x12345600u);
    EXPECT_EQ(program.Record(10).dword4(), 0x9abcdef0u);
}

// A file is read only when it holds exactly 512 hexadecimal numbers.
struct Refusal {
    const char* name;
    std::string bytes;
    const char* reason;  // part of the refusal text, naming the line
};

class BinaryFileRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(BinaryFileRefusal, LeavesTheImageClearedAndSaysWhy) {
    TempDir dir;
    const std::string path = dir / "bad.bin";
    WriteAll(path, GetParam().bytes);
    CPlcProgram program;
    program.Clear();
    std::string why;
    EXPECT_EQ(program.ReadBinaryFile(path, &why), 0);
    EXPECT_NE(why.find(path), std::string::npos) << why;
    EXPECT_NE(why.find(GetParam().reason), std::string::npos) << why;
    EXPECT_TRUE(ImageIsZero(program));
}

std::string Replaced(int line, const std::string& text) { return FileWithLines({{line, text}}); }

INSTANTIATE_TEST_SUITE_P(
    Files, BinaryFileRefusal,
    ::testing::Values(
        Refusal{"Empty", "", "holds no numbers"},
        Refusal{"OnlyWhiteSpace", " \r\n\t\r\n", "holds no numbers"},
        Refusal{"EndsEarly", FileWithLines({}).substr(0, 300 * 10), "line 301: the file ends after 300 of 512"},
        Refusal{"EndsInsideALine", FileWithLines({}).substr(0, 5 * 10 + 4), "line 6: the file ends after 6 of 512"},
        Refusal{"GarbageLine", Replaced(7, "0000zz00"), "line 7: not a hexadecimal number: '0000zz00'"},
        Refusal{"WordOfText", Replaced(300, "hello"), "line 300: not a hexadecimal number"},
        Refusal{"NineDigits", Replaced(9, "000000001"), "line 9: number has more than 8 digits"},
        Refusal{"AboveThirtyTwoBits", Replaced(10, "100000000"), "line 10: number does not fit in 32 bits"},
        Refusal{"HexPrefix", Replaced(3, "0x000001"), "line 3: not a hexadecimal number"},
        Refusal{"Sign", Replaced(4, "-1"), "line 4: not a hexadecimal number"},
        Refusal{"NumberAfterTheLast", FileWithLines({}) + "00000000\r\n", "line 513: more than 512 numbers"},
        Refusal{"TextAfterTheLast", FileWithLines({}) + "\r\nEND", "line 514: more than 512 numbers"},
        Refusal{"NulByte", Replaced(2, std::string("0000\0" "000", 8)), "line 2: not a hexadecimal number"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BinaryFile, RefusalLeavesAFilledImageUntouched) {
    TempDir dir;
    const std::string path = dir / "bad.bin";
    WriteAll(path, Replaced(100, "zz"));
    CPlcProgram program;
    Compile(program, kNopProgramme);
    const PlcInstr before = program.Record(10);
    EXPECT_EQ(program.ReadBinaryFile(path), 0);
    EXPECT_EQ(program.Record(10), before);
    EXPECT_EQ(program.Record(0).opcode(), 1);
}

TEST(BinaryFile, MissingFileOrNameIsRefused) {
    TempDir dir;
    CPlcProgram program;
    program.Clear();
    std::string why;
    EXPECT_EQ(program.ReadBinaryFile(dir / "absent.bin", &why), 0);
    EXPECT_NE(why.find("absent.bin"), std::string::npos);
    EXPECT_EQ(program.ReadBinaryFile("", &why), 0);
    EXPECT_EQ(program.ReadBinaryFile(dir.path(), &why), 0);  // a folder
    std::string empty;
    EXPECT_EQ(program.WriteBinaryFile(empty, false), 0);
}

TEST(BinaryFile, SpecialFilesAreRefusedUnread) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    WriteAll(dir / "huge.bin", std::string(kMaxBinaryFileBytes + 1, '0'));
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {"/dev/zero", "is a character device, not a regular file"},
        {dir / "fifo", "is a pipe, not a regular file"},  // would block on opening
        {dir.path(), "is a folder"},
        {dir / "huge.bin", "is larger than 1 MiB"},
    };
    for (const auto& c : cases) {
        CPlcProgram program;
        program.Clear();
        std::string why;
        EXPECT_EQ(program.ReadBinaryFile(c.path, &why), 0) << c.path;
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        EXPECT_TRUE(ImageIsZero(program));
    }
}

TEST(BinaryFile, BackslashesSeparateFolders) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, kNopProgramme);
    fs::create_directory(dir / "sub");
    std::string path = dir.path() + "\\sub\\prog.bin";
    ASSERT_EQ(program.WriteBinaryFile(path, false), 1);
    EXPECT_EQ(path, FullPath(dir / "sub/prog.bin"));
    EXPECT_EQ(ReadAll(dir / "sub/prog.bin").size(), 5120u);

    CPlcProgram read;
    read.Clear();
    EXPECT_EQ(read.ReadBinaryFile(dir.path() + "\\sub\\prog.bin"), 1);
    EXPECT_EQ(read.Record(10).opcode(), 37);
}

// ---- the overwrite question ----

struct OverwriteCase {
    const char* name;
    bool exists;
    bool askOverwrite;
    int answer;  // -1: no callback, 0: no, 1: yes
    bool asked;
    bool written;
};

class OverwriteQuestion : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(OverwriteQuestion, DecidesWhetherTheFileIsReplaced) {
    const OverwriteCase& c = GetParam();
    TempDir dir;
    const std::string target = dir / "prog.bin";
    if (c.exists) WriteAll(target, "old");
    CPlcProgram program;
    Compile(program, kNopProgramme);

    std::vector<std::string> questions;
    AskOverwrite ask;
    if (c.answer >= 0) {
        ask = [&](const std::string& fullPath) {
            questions.push_back(fullPath);
            return c.answer == 1;
        };
    }
    std::string path = target;
    EXPECT_EQ(program.WriteBinaryFile(path, c.askOverwrite, ask), c.written ? 1 : 0);
    EXPECT_EQ(questions.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(questions[0], FullPath(target));
    }
    if (c.written) {
        EXPECT_EQ(ReadAll(target).size(), 5120u);
    } else {
        EXPECT_EQ(path, target);
        EXPECT_EQ(ReadAll(target), c.exists ? "old" : "");
    }

    // The declaration file asks the same way.
    program.Clear();
    Compile(program, {"%TEXT(Axis1)", "DEF H5 = Speed", "END", "%P00", "N010 NOP", "END"});
    const std::string declTarget = dir / "Axis1.txt";
    if (c.exists) WriteAll(declTarget, "old");
    questions.clear();
    std::string folder = dir.path();
    EXPECT_EQ(program.WriteTextDeclFile(folder, c.askOverwrite, ask), c.written ? 1 : 0);
    EXPECT_EQ(questions.size(), c.asked ? 1u : 0u);
    EXPECT_EQ(ReadAll(declTarget), c.written ? "[PLC_H]\r\n5: Speed\r\n" : (c.exists ? "old" : ""));
}

INSTANTIATE_TEST_SUITE_P(Cases, OverwriteQuestion,
                         ::testing::Values(OverwriteCase{"NotAsked", true, false, 0, false, true},
                                           OverwriteCase{"Declined", true, true, 0, true, false},
                                           OverwriteCase{"Accepted", true, true, 1, true, true},
                                           OverwriteCase{"NobodyToAsk", true, true, -1, false, false},
                                           OverwriteCase{"NewFile", false, true, 0, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- failed writes keep the previous file ----

TEST(SafeWrite, MissingFolderFailsCleanly) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, kNopProgramme);
    std::string path = dir / "absent/prog.bin";
    EXPECT_EQ(program.WriteBinaryFile(path, false), 0);
    EXPECT_EQ(path, dir / "absent/prog.bin");
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(SafeWrite, PathThroughARegularFileFailsCleanly) {
    TempDir dir;
    WriteAll(dir / "plain", "x");
    CPlcProgram program;
    Compile(program, {"%TEXT(Axis1)", "DEF H5 = Speed", "END", "%P00", "N010 NOP", "END"});
    std::string path = dir / "plain/prog.bin";
    EXPECT_EQ(program.WriteBinaryFile(path, false), 0);
    std::string folder = dir / "plain";
    EXPECT_EQ(program.WriteTextDeclFile(folder, false), 0);
    EXPECT_EQ(folder, dir / "plain");
    EXPECT_EQ(ReadAll(dir / "plain"), "x");
}

TEST(SafeWrite, FolderInPlaceOfTheTargetFailsAndLeavesNoTemporaryFile) {
    TempDir dir;
    fs::create_directory(dir / "prog.bin");
    CPlcProgram program;
    Compile(program, kNopProgramme);
    std::string path = dir / "prog.bin";
    EXPECT_EQ(program.WriteBinaryFile(path, false), 0);
    EXPECT_TRUE(fs::is_directory(dir / "prog.bin"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"prog.bin"});
}

// A disk that fills up while the file is written: the file size limit makes
// the writes fail part way, as a full disk would, also for root.
TEST(SafeWrite, WriteThatFailsPartWayKeepsTheOldFile) {
    TempDir dir;
    const std::string target = dir / "prog.bin";
    WriteAll(target, "previous contents");
    CPlcProgram program;
    Compile(program, kNopProgramme);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string path = target;
    const int result = program.WriteBinaryFile(path, false);
    std::string error;
    const bool direct = WriteFileSafely(target, std::string(4096, 'x'), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 0);
    EXPECT_FALSE(direct);
    EXPECT_NE(error.find("write failed"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(target), "previous contents");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"prog.bin"});
}

TEST(SafeWrite, ReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root; the write failures above cover it";
    TempDir dir;
    const std::string target = dir / "prog.bin";
    WriteAll(target, "previous contents");
    fs::permissions(target, fs::perms::owner_read);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    CPlcProgram program;
    Compile(program, kNopProgramme);
    std::string path = target;
    EXPECT_EQ(program.WriteBinaryFile(path, false), 0);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(ReadAll(target), "previous contents");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"prog.bin"});
}

TEST(SafeWrite, ReplacedFileKeepsItsPermissionsAndLinksAreFollowed) {
    TempDir dir;
    const std::string target = dir / "real.bin";
    WriteAll(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, dir / "link.bin");
    ASSERT_TRUE(WriteFileSafely(dir / "link.bin", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// ---- faults of the file system and of permissions ----
//
// Each case runs in a child process as the file system makes it: the work
// folder may be a small file system of its own (a private mount namespace)
// filled up before the write, and root may drop its privileges to the user
// nobody, so that permission bits count. Cases that need root are skipped,
// with a message, where the tests do not run as root.

constexpr uid_t kNobody = 65534;
constexpr int kSkip = 77;

struct FaultCase {
    const char* name;
    void (*setup)(const std::string& work);  // makes the target "t", as root
    bool fullDisk;         // the work folder is a small, full file system
    bool asNobody;         // the write runs as the user nobody
    bool ok;               // WriteFileSafely's result
    const char* reason;    // part of the error; nullptr: none
    const char* after;     // the target's contents after; nullptr: the bytes written
    int ownerAfter;        // the target's owner after; -1: not checked
    int modeAfter;         // the target's permissions after; -1: not checked
    bool needsRoot;
};

void Own(const std::string& path, uid_t user, mode_t mode) {
    if (::chown(path.c_str(), user, user) != 0 || ::chmod(path.c_str(), mode) != 0) std::_Exit(kSkip);
}

const FaultCase kFaultCases[] = {
    {"DanglingLinkIsRefused", [](const std::string& w) { fs::create_symlink("missing", w + "/t"); },
     false, false, false, "No such file or directory", nullptr, -1, -1, false},
    {"LoopingLinkIsRefused",
     [](const std::string& w) {
         fs::create_symlink("t2", w + "/t");
         fs::create_symlink("t", w + "/t2");
     },
     false, false, false, "Too many levels of symbolic links", nullptr, -1, -1, false},
    {"ReadOnlyFileIsRefused",
     [](const std::string& w) {
         WriteAll(w + "/t", "old");
         Own(w + "/t", kNobody, 0444);
         Own(w, kNobody, 0755);
     },
     false, true, false, "Permission denied", "old", -1, -1, true},
    {"UnwritableFolderIsWrittenInPlace",
     [](const std::string& w) {
         WriteAll(w + "/t", "old");
         Own(w + "/t", kNobody, 0644);
         Own(w, kNobody, 0555);
     },
     false, true, true, nullptr, nullptr, int(kNobody), 0644, true},
    {"OwnerGroupAndModeAreKept",
     [](const std::string& w) {
         WriteAll(w + "/t", "old");
         Own(w + "/t", kNobody, 0640);
     },
     false, false, true, nullptr, nullptr, int(kNobody), 0640, true},
    {"OwnerThatCannotBeGivenIsKeptInPlace",
     [](const std::string& w) {
         WriteAll(w + "/t", "old");
         Own(w + "/t", 0, 0666);
         Own(w, 0, 0777);
     },
     false, true, true, nullptr, nullptr, 0, 0666, true},
    {"FullDiskKeepsTheOldFile", [](const std::string& w) { WriteAll(w + "/t", "old contents"); }, true, false,
     false, "No space left on device", "old contents", -1, -1, true},
    {"FullDiskInPlacePutsTheOldBytesBack",
     [](const std::string& w) {
         WriteAll(w + "/t", "old");
         Own(w + "/t", kNobody, 0644);
         Own(w, kNobody, 0555);
     },
     true, true, false, "No space left on device", "old", int(kNobody), -1, true},
};

// Runs one case, the bytes written whole or, `streamed`, in pieces through a
// SafeFileStream; the child's exit status: 0 passed, kSkip skipped, 1 failed.
int RunFault(const FaultCase& c, bool streamed, const std::string& root) {
    auto fail = [](const std::string& why) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    };
    const bool root_ = ::geteuid() == 0;
    if (c.needsRoot && !root_) return kSkip;
    const std::string work = root + "/w";
    // The copy of an in-place write goes to a state folder the writer owns.
    const std::string state = root + "/state";
    ::mkdir(state.c_str(), 0777);
    ::chmod(state.c_str(), 0777);
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    ::mkdir(work.c_str(), 0777);
    ::chmod(work.c_str(), 0777);
    ::chmod(root.c_str(), 0711);
    if (c.fullDisk) {
        if (::unshare(CLONE_NEWNS) != 0) return kSkip;
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return kSkip;
        if (::mount("tmpfs", work.c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0) return kSkip;
    }
    c.setup(work);
    if (c.fullDisk) {
        // Fill what is left, with the folder as the case left it.
        const int fd = ::open((work + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'f');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
        }
        if (fd >= 0) ::close(fd);
    }
    struct stat before {};
    ::stat((work + "/t").c_str(), &before);
    if (c.asNobody && root_) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return kSkip;
    }
    // Streamed, more than the stream's buffer holds, each piece told apart.
    std::string bytes(streamed ? 3 * BUFSIZ + 5 : 8192, 'n');
    if (streamed)
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 23);
    std::string error;
    bool ok = false;
    if (streamed) {
        SafeFileStream stream;
        ok = stream.Open(work + "/t", &error);
        for (size_t at = 0; ok && at < bytes.size(); at += 1000)
            std::fwrite(bytes.data() + at, 1, std::min<size_t>(1000, bytes.size() - at), stream.Stream());
        ok = ok && stream.Commit(&error);
    } else {
        ok = WriteFileSafely(work + "/t", bytes, &error);
    }
    if (ok != c.ok) return fail(std::string("result ") + (ok ? "true" : "false") + ": " + error);
    if (c.reason != nullptr && error.find(c.reason) == std::string::npos) return fail("error: " + error);
    struct stat st {};
    if (c.after == nullptr && !c.ok) {
        if (::lstat((work + "/t").c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return fail("the link is gone");
        return 0;
    }
    const std::string contents = ReadAll(work + "/t");
    if (contents != (c.after != nullptr ? std::string(c.after) : bytes))
        return fail("contents: " + contents.substr(0, 40));
    if (::stat((work + "/t").c_str(), &st) != 0) return fail("no target");
    if (c.ownerAfter >= 0 && (st.st_uid != uid_t(c.ownerAfter) || st.st_gid != gid_t(c.ownerAfter)))
        return fail("owner " + std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid));
    if (c.modeAfter >= 0 && int(st.st_mode & 07777) != c.modeAfter) return fail("mode " + std::to_string(st.st_mode & 07777));
    for (const auto& e : fs::directory_iterator(work)) {
        const std::string name = e.path().filename().string();
        if (name != "t" && name != "filler") return fail("left behind: " + name);
    }
    // An in-place write that finished, or put the old bytes back, keeps no copy.
    if (!LeftBackupOf(work + "/t").empty()) return fail("copy left: " + LeftBackupOf(work + "/t"));
    return 0;
}

class SafeWriteFault : public ::testing::TestWithParam<std::tuple<FaultCase, bool>> {};

TEST_P(SafeWriteFault, AsTheFileSystemAllows) {
    TempDir dir;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) std::_Exit(RunFault(std::get<0>(GetParam()), std::get<1>(GetParam()), dir.path()));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the case crashed";
    if (WEXITSTATUS(status) == kSkip)
        GTEST_SKIP() << "needs root, a private mount namespace and the user nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see the message above";
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeWriteFault, ::testing::Combine(::testing::ValuesIn(kFaultCases), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "Streamed" : "");
                         });

// ---- writes killed at random moments ----
//
// The writer runs as a child and is killed (SIGKILL) at a random moment of
// its write, a few hundred times, replacing the file and writing it in place
// (as the user nobody in a folder nobody may not write) by turns. The target
// then holds the old bytes or the new ones, or, only where it was written in
// place, damaged bytes beside a complete copy of the old ones; temporary
// files a killed writer left go with the next write. KILL_ROUNDS sets the
// number of rounds.

struct KillTally {
    int rounds = 0, old = 0, now = 0, copy = 0, damaged = 0, temporaries = 0;
};

TEST(SafeWrite, KilledWritesLeaveOldNewOrACompleteCopy) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to write in place as the user nobody";
    TempDir dir;
    const std::string work = dir / "w";
    const std::string state = dir / "state";
    const std::string target = work + "/t";
    fs::create_directories(work);
    fs::create_directories(state);
    ::chmod(dir.path().c_str(), 0711);
    ::chmod(state.c_str(), 0777);
    const char* before = std::getenv("XDG_STATE_HOME");
    const std::string savedState = before != nullptr ? before : "";
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    const std::string oldBytes(size_t{1} << 20, 'o');
    const std::string newBytes((size_t{1} << 20) + 4096, 'n');

    auto prepare = [&](bool inPlace) {
        ::chmod(work.c_str(), 0755);
        WriteAll(target, oldBytes);
        fs::remove(InPlaceBackupPath(target));
        const uid_t owner = inPlace ? kNobody : 0;
        if (::chown(target.c_str(), owner, owner) != 0 || ::chown(work.c_str(), owner, owner) != 0) return false;
        return ::chmod(work.c_str(), inPlace ? 0555 : 0755) == 0;
    };
    // Starts the writer; -1 when it cannot be started.
    auto start = [&](bool inPlace) {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child != 0) return child;
        if (inPlace && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            std::_Exit(kSkip);
        std::_Exit(WriteFileSafely(target, newBytes) ? 0 : 1);
    };
    // How long an uninterrupted write takes, in microseconds (the shortest
    // of a few).
    long spans[2] = {LONG_MAX, LONG_MAX};
    for (const bool inPlace : {false, true, false, true, false, true}) {
        ASSERT_TRUE(prepare(inPlace));
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t child = start(inPlace);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status) && WEXITSTATUS(status) == kSkip) GTEST_SKIP() << "the user nobody is not available";
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_EQ(ReadAll(target), newBytes);
        spans[inPlace] = std::min<long>(
            spans[inPlace],
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count());
    }

    const char* asked = std::getenv("KILL_ROUNDS");
    const int rounds = asked != nullptr ? std::atoi(asked) : 200;
    std::mt19937 random(std::random_device{}());
    KillTally tally;
    std::set<std::string> temporaries;
    for (int round = 0; round < rounds; ++round) {
        const bool inPlace = round % 2 == 1;
        ASSERT_TRUE(prepare(inPlace));
        std::uniform_int_distribution<long> delay(0, spans[inPlace]);
        const pid_t child = start(inPlace);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ++tally.rounds;
        const std::string contents = ReadAll(target);
        const std::string copy = LeftBackupOf(target);
        if (contents == oldBytes) {
            ++tally.old;
        } else if (contents == newBytes) {
            ++tally.now;
        } else if (inPlace && !copy.empty() && ReadAll(copy) == oldBytes) {
            ++tally.copy;
        } else {
            ++tally.damaged;
            ADD_FAILURE() << "round " << round << (inPlace ? " (in place)" : "") << ": " << contents.size()
                          << " bytes, " << (copy.empty() ? "no copy" : "copy " + copy);
        }
        for (const auto& e : fs::directory_iterator(work))
            if (e.path().filename() != "t") temporaries.insert(e.path().filename().string());
    }
    // The next writer removes what killed writers left, and only that: the
    // temporary file of a writer still running stays.
    ::chmod(work.c_str(), 0755);
    const pid_t gone = ::fork();
    if (gone == 0) std::_Exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string stale = target + ".tmp-" + std::to_string(gone) + "-0";
    const std::string running = target + ".tmp-" + std::to_string(::getppid()) + "-0";
    WriteAll(stale, "stale");
    WriteAll(running, "running");
    ASSERT_TRUE(WriteFileSafely(target, "last"));
    EXPECT_EQ(dir.Entries().size(), 2u);  // w and state
    fs::remove(running);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(work)) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"t"});
    EXPECT_TRUE(LeftBackupOf(target).empty());
    EXPECT_EQ(tally.damaged, 0);
    tally.temporaries = static_cast<int>(temporaries.size());
    std::printf("%d kills (replace %ld us, in place %ld us): old %d, new %d, damaged beside a complete copy %d, "
                "damaged without one %d; temporary files left by kills %d, all gone with the next write\n",
                tally.rounds, spans[0], spans[1], tally.old, tally.now, tally.copy, tally.damaged, tally.temporaries);
    if (before != nullptr)
        ::setenv("XDG_STATE_HOME", savedState.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

// Two files written together (the binary programme file and its text
// declaration file), killed at random moments: each is old or new, never
// damaged, and the binary programme file is never new beside an old
// declaration file, since it takes its place last.
TEST(SafeWrite, KilledPairWritesNeverLeaveANewProgrammeBesideAnOldDeclaration) {
    TempDir dir;
    const std::string decl = dir / "Axis1.txt";
    const std::string binary = dir / "out.bin";
    const std::string oldDecl(size_t{1} << 19, 'd'), newDecl((size_t{1} << 19) + 512, 'D');
    const std::string oldBinary(size_t{1} << 20, 'b'), newBinary((size_t{1} << 20) + 512, 'B');
    const FileToWrite files[] = {{decl, newDecl}, {binary, newBinary}};
    auto start = [&] {
        WriteAll(decl, oldDecl);
        WriteAll(binary, oldBinary);
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) std::_Exit(WriteFilesSafely(files) ? 0 : 1);
        return child;
    };
    long span = LONG_MAX;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t child = start();
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        span = std::min<long>(span, std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now() - t0).count());
    }
    const char* asked = std::getenv("KILL_ROUNDS");
    const int rounds = asked != nullptr ? std::atoi(asked) : 200;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> delay(0, span);
    int both = 0, neither = 0, declOnly = 0;
    for (int round = 0; round < rounds; ++round) {
        const pid_t child = start();
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        const std::string d = ReadAll(decl), b = ReadAll(binary);
        ASSERT_TRUE(d == oldDecl || d == newDecl) << "round " << round << ": declaration file damaged";
        ASSERT_TRUE(b == oldBinary || b == newBinary) << "round " << round << ": binary programme file damaged";
        ASSERT_FALSE(b == newBinary && d == oldDecl) << "round " << round << ": new programme, old declarations";
        (b == newBinary ? both : d == newDecl ? declOnly : neither)++;
    }
    std::printf("%d kills of a pair write: both new %d, neither %d, declaration file only %d\n", rounds, both, neither,
                declOnly);
}

// ---- paths ----

struct JoinCase {
    const char* directory;
    const char* expected;
};

TEST(Paths, JoinInsertsOneSlash) {
    const JoinCase cases[] = {{"proj", "proj/Axis1.txt"},   {"proj/", "proj/Axis1.txt"},
                              {"proj\\", "proj/Axis1.txt"}, {"C:\\Proj", "C:/Proj/Axis1.txt"},
                              {"", "Axis1.txt"},            {"/", "/Axis1.txt"}};
    for (const JoinCase& c : cases) EXPECT_EQ(JoinPath(c.directory, "Axis1.txt"), c.expected) << c.directory;
}

// Both separators count; the root stays a folder; a leading dot is no extension.
TEST(Paths, PartsOfAPath) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
        const char* stem;
    } cases[] = {
        {"proj/Axis1.plc", "proj", "Axis1.plc", "Axis1"},  {"C:\\Proj\\a.b.plc", "C:\\Proj", "a.b.plc", "a.b"},
        {"Axis1.plc", "", "Axis1.plc", "Axis1"},           {"/Axis1.plc", "/", "Axis1.plc", "Axis1"},
        {"proj/.profile", "proj", ".profile", ".profile"}, {"proj/", "proj", "", ""},
        {"noext", "", "noext", "noext"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
        EXPECT_EQ(StemOf(c.path), c.stem) << c.path;
    }
    EXPECT_EQ(FolderOf("Axis1.plc"), ".");
}

// ---- text declaration file ----

TEST(TextDeclFile, WritesNamedEntriesOfEachTable) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, {"%TEXT(Axis1)", "DEF H5 = Speed", "DEF M10 = Ready", "END", "%P00", "N010 NOP", "END"});
    std::string folder = dir.path() + "/";
    ASSERT_EQ(program.WriteTextDeclFile(folder, false), 1);
    EXPECT_EQ(folder, FullPath(dir / "Axis1.txt"));
    EXPECT_EQ(ReadAll(dir / "Axis1.txt"), "[PLC_H]\r\n5: Speed\r\n[PLC_M]\r\n10: Ready\r\n");
}

TEST(TextDeclFile, NoNamesGiveAnEmptyFile) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, {"%TEXT(Bare)", "END", "%P00", "N010 NOP", "END"});
    std::string folder = dir.path();
    ASSERT_EQ(program.WriteTextDeclFile(folder, false), 1);
    EXPECT_TRUE(fs::exists(dir / "Bare.txt"));
    EXPECT_EQ(ReadAll(dir / "Bare.txt"), "");
}

TEST(TextDeclFile, WithoutProgrammeNameNothingIsWritten) {
    TempDir dir;
    CPlcProgram program;
    Compile(program, kNopProgramme);
    program.SetName(VarKind::H, 1, "Count");
    std::string folder = dir.path();
    EXPECT_EQ(program.WriteTextDeclFile(folder, false), 0);
    EXPECT_EQ(folder, dir.path());
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(TextDeclFile, MatchesTheGoldenFileForEveryTable) {
    const std::string golden = std::string(PLCEDIT_SOURCE_DIR) + "/tests/golden/";
    CPlcProgram program;
    Compile(program, SplitLines(ReadAll(golden + "decl_every_table.plc")));
    TempDir dir;
    std::string folder = dir.path();
    ASSERT_EQ(program.WriteTextDeclFile(folder, false), 1);
    const std::string written = ReadAll(folder);
    if (std::getenv("PLCEDIT_UPDATE_GOLDEN") != nullptr) WriteAll(golden + "decl_every_table.txt", written);
    EXPECT_EQ(written, ReadAll(golden + "decl_every_table.txt"));
}

}  // namespace
}  // namespace plc
