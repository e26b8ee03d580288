// SPDX-License-Identifier: GPL-3.0-or-later
// The keyword chain of the line compiler. The order of the rows is the
// behaviour: prefixes are tested top to bottom and the first match decides,
// so a longer keyword always stands before a shorter one that begins it
// ("SETF[C" before "SETF", "SETHALT=" before "SETH", "WAITH" before "WAIT").
// Each row also says which statement family's help page shows its forms and
// whether the label it takes follows its keyword; the keywords that spell a
// drive register, a control flag or an input or output group take the name
// from the image's name tables.
#include <array>
#include <bit>
#include <cstring>

#include "compiler/Statements.h"
#include "image/NameTables.h"

namespace plc {

namespace {

using F = StatementFamily;

// The name tables a keyword may spell a name of.
enum class Names : uint8_t { None, Register, CtrlFlag, Inputs, Outputs };

// A row of the chain as written here: its keyword is `head`, or `head`, a
// name of a table and `tail` ("SET" + "OUTPUT" + "=H"). A named row passes
// the name's number (an input or output group's position) to its compiler,
// so the keyword and what the statement stores come from one table row.
struct ChainRow {
    std::string_view head;
    Names names;
    uint8_t number;
    std::string_view tail;
    StatementCompiler compile;
    int arg;
    StatementFamily family;
    bool labelFollows;
};

constexpr ChainRow Row(std::string_view keyword, StatementCompiler compile, int arg, StatementFamily family) {
    return {keyword, Names::None, 0, {}, compile, arg, family, false};
}
// A row whose keyword ends in the N of the label the statement takes.
constexpr ChainRow LabelRow(std::string_view keyword, StatementCompiler compile, StatementFamily family) {
    return {keyword, Names::None, 0, {}, compile, 0, family, true};
}
constexpr ChainRow Named(std::string_view head, Names names, uint8_t number, std::string_view tail,
                         StatementCompiler compile, StatementFamily family) {
    return {head, names, number, tail, compile, number, family, false};
}

constexpr std::string_view NameOf(const ChainRow& row) {
    switch (row.names) {
        case Names::None: break;
        case Names::Register: return kRegisterNames[row.number];
        case Names::CtrlFlag: return kCtrlFlagNames[row.number];
        case Names::Inputs: return kInputGroups[row.number].letters;
        case Names::Outputs: return kOutputGroups[row.number].letters;
    }
    return {};
}

constexpr ChainRow kRows[] = {
    // Jumps and calls.
    LabelRow("JMPN", CompileJmpLabel, F::Jumps),
    Row("JMPEND", CompileJmpEnd, 0, F::Jumps),
    Row("JMP(F", CompileJmpVar, 'F', F::Jumps),
    Row("JMP(H", CompileJmpVar, 'H', F::Jumps),
    Row("JMP(ACTVAL", CompileJmpActRef, 1, F::Jumps),
    Row("JMP(REFVAL", CompileJmpActRef, 2, F::Jumps),
    Row("JMP(M", CompileJmpFlag, 0, F::Jumps),
    Named("JMP(", Names::Inputs, 0, "", CompileJmpInput, F::Jumps),
    Named("JMP(", Names::Inputs, 1, "", CompileJmpInput, F::Jumps),
    Named("JMP(", Names::Inputs, 2, "", CompileJmpInput, F::Jumps),
    Named("JMP(", Names::Outputs, 0, "", CompileJmpOutput, F::Jumps),
    Named("JMP(", Names::Outputs, 1, "", CompileJmpOutput, F::Jumps),
    Named("JMP(", Names::Outputs, 2, "", CompileJmpOutput, F::Jumps),
    Row("JMP(C", CompileJmpCounter, 0, F::Jumps),
    Row("JMP(Z", CompileJmpTimer, 0, F::Jumps),
    Row("JMP(RXMSG,", CompileJmpRxMsg, 0, F::Fieldbus),
    Row("JMP(REF=", CompileJmpState, Op::JmpRef, F::Jumps),
    Row("JMP(ROT_0=", CompileJmpState, Op::JmpRot0, F::Jumps),
    Row("JMP(STA_", CompileJmpStatus, 0, F::Jumps),
    LabelRow("CALLN", CompileCall, F::Calls),
    Row("RET", CompileBare, Op::Ret, F::Calls),
    Row("BRKPT", CompileBare, Op::Brkpt, F::Calls),
    Row("NOP", CompileBare, Op::Nop, F::Calls),
    // Drive settings and assignments.
    Named("SET", Names::Register, 0, "=H", CompileSetRegister, F::Outputs),
    Named("SET", Names::Register, 1, "=H", CompileSetRegister, F::Outputs),
    Row("SETREFFRQ=", CompileSetRefVal, 0, F::Outputs),
    Named("SET", Names::Register, 2, "=", CompileSetRefVal, F::Outputs),
    Named("SET", Names::Register, 3, "=H", CompileSetRegister, F::Outputs),
    Named("SET", Names::Register, 4, "=H", CompileSetRegister, F::Outputs),
    Named("SET", Names::Register, 5, "=H", CompileSetRegister, F::Outputs),
    Named("SET", Names::CtrlFlag, 0, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 1, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 2, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 3, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 4, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 5, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 6, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 7, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 8, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 9, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 10, "=", CompileSetCtrlFlag, F::Outputs),
    Named("SET", Names::CtrlFlag, 11, "=", CompileSetCtrlFlag, F::Outputs),
    Row("SETF[C", CompileSetFIndexed, 0, F::Assignments),
    Row("SETF", CompileSetF, 0, F::Assignments),
    Row("SETH[C", CompileSetHIndexed, 0, F::Assignments),
    Row("SETH", CompileSetH, 0, F::Assignments),
    Row("SETM[C", CompileSetMIndexed, 0, F::Assignments),
    Row("SETM", CompileSetM, 0, F::Assignments),
    Row("SETC", CompileSetC, 0, F::Assignments),
    Row("SETZ", CompileSetZ, 0, F::Assignments),
    Named("SET", Names::Outputs, 0, "", CompileSetOutput, F::Outputs),
    Named("SET", Names::Outputs, 1, "", CompileSetOutput, F::Outputs),
    Named("SET", Names::Outputs, 2, "", CompileSetOutput, F::Outputs),
    Row("SETPARA[H", CompileSetPara, 1, F::Outputs),
    Row("SETPARA[", CompileSetPara, 0, F::Outputs),
    // Fieldbus receive set-up and ramps.
    Row("SETRXMSG[", CompileSetRxMsg, 0, F::Fieldbus),
    Row("SETACCR=", CompileSetRamp, Op::SetAccr, F::Ramps),
    Row("SETDECR=", CompileSetRamp, Op::SetDecr, F::Ramps),
    // Inversions.
    Row("INVH", CompileInvH, 0, F::Assignments),
    Row("INVM", CompileInvM, 0, F::Assignments),
    Named("INV", Names::Outputs, 0, "", CompileInvOutput, F::Outputs),
    Named("INV", Names::Outputs, 1, "", CompileInvOutput, F::Outputs),
    Named("INV", Names::Outputs, 2, "", CompileInvOutput, F::Outputs),
    // Waiting, stopping, motion and fieldbus sending.
    Row("WAITH", CompileWaitH, 0, F::Waits),
    Row("WAITPAR", CompileWaitBare, Op::WaitPar, F::Waits),
    Row("WAITREF", CompileWaitBare, Op::WaitRef, F::Waits),
    Row("WAITROT_0", CompileWaitBare, Op::WaitRot0, F::Waits),
    Row("WAIT", CompileWaitTime, 0, F::Waits),
    Row("STOP", CompileStop, 0, F::Motion),
    Row("GO", CompileGo, 0, F::Motion),
    Row("SENDNMTCMD[", CompileSendNmt, 0, F::Fieldbus),
    Row("SENDTXMSG[", CompileSendTx, 0, F::Fieldbus),
};

// Every keyword's text, one after the other.
constexpr size_t KeywordSize(const ChainRow& row) { return row.head.size() + NameOf(row).size() + row.tail.size(); }
constexpr size_t TextSize() {
    size_t size = 0;
    for (const ChainRow& row : kRows) size += KeywordSize(row);
    return size;
}
constexpr std::array<char, TextSize()> kKeywordText = [] {
    std::array<char, TextSize()> text{};
    size_t at = 0;
    for (const ChainRow& row : kRows)
        for (const std::string_view part : {row.head, NameOf(row), row.tail})
            for (const char c : part) text[at++] = c;
    return text;
}();

// The chain itself, its keywords in kKeywordText.
constexpr std::array<KeywordRow, std::size(kRows)> kChain = [] {
    std::array<KeywordRow, std::size(kRows)> chain{};
    size_t at = 0;
    for (size_t r = 0; r < std::size(kRows); ++r) {
        const ChainRow& row = kRows[r];
        const size_t size = KeywordSize(row);
        chain[r] = {std::string_view(kKeywordText.data() + at, size), row.compile, row.arg, row.family, row.labelFollows};
        at += size;
    }
    return chain;
}();

// The first eight bytes of a text as one word, the first byte lowest.
constexpr uint64_t Word8(std::string_view text) {
    uint64_t word = 0;
    for (size_t i = 0; i < 8 && i < text.size(); ++i)
        word |= static_cast<uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    return word;
}

// Byte `at` (below 8) of a text's first eight bytes; 0 past the text's end.
constexpr unsigned char ByteOf(uint64_t word, size_t at) { return static_cast<unsigned char>(word >> (8 * at)); }

// A character with more rows than this is split once more, into this many
// parts.
constexpr size_t kSplitAbove = 4;
constexpr size_t kSplitParts = 64;

// Whether a row's keyword is a candidate in part `part` of `first`.
constexpr bool InPart(std::string_view keyword, unsigned char first, size_t split, size_t part) {
    if (static_cast<unsigned char>(keyword[0]) != first) return false;
    if (split == 0 || keyword.size() <= split) return true;
    return static_cast<unsigned char>(keyword[split]) % kSplitParts == part;
}

// For each first character, the position that splits its rows into the
// smallest largest part (the earliest of equals); 0 for a character with few
// rows. Worked out once, with one count per part, for the compile-time
// evaluation to stay small.
constexpr std::array<uint8_t, 256> SplitPositions() {
    std::array<size_t, 256> rows{};
    for (const KeywordRow& row : kChain) ++rows[static_cast<unsigned char>(row.keyword[0])];
    std::array<uint8_t, 256> split{};
    for (size_t first = 0; first < 256; ++first) {
        if (rows[first] <= kSplitAbove) continue;
        size_t bestLargest = rows[first];
        for (size_t at = 1; at < 8; ++at) {
            std::array<size_t, kSplitParts> inPart{};
            size_t shorter = 0;  // rows in every part
            for (const KeywordRow& row : kChain) {
                if (static_cast<unsigned char>(row.keyword[0]) != first) continue;
                if (row.keyword.size() <= at)
                    ++shorter;
                else
                    ++inPart[static_cast<unsigned char>(row.keyword[at]) % kSplitParts];
            }
            size_t largest = 0;
            for (size_t count : inPart) largest = count > largest ? count : largest;
            if (largest + shorter < bestLargest) {
                bestLargest = largest + shorter;
                split[first] = static_cast<uint8_t>(at);
            }
        }
    }
    return split;
}
constexpr std::array<uint8_t, 256> kSplit = SplitPositions();

// How many slots and entries the index needs.
constexpr size_t SlotCount() {
    size_t slots = 0;
    for (int c = 0; c < 256; ++c) slots += kSplit[static_cast<size_t>(c)] != 0 ? kSplitParts : 1;
    return slots;
}
constexpr size_t EntryCount() {
    size_t entries = 0;
    for (int c = 0; c < 256; ++c) {
        const auto first = static_cast<unsigned char>(c);
        const size_t split = kSplit[first];
        for (size_t part = 0; part < (split != 0 ? kSplitParts : 1); ++part)
            for (const KeywordRow& row : kChain) entries += InPart(row.keyword, first, split, part) ? 1 : 0;
    }
    return entries;
}

// The chain split by the characters of its keywords. Rows whose keywords
// begin differently can never both match, so the rows of the line's first
// character are the only candidates. A character with many rows is split once
// more, by the character at one keyword position (its "split"): a row with a
// character there is a candidate only for that character, a row whose
// keyword ends before it for every one. Each part keeps chain order, so the
// first row of a part that matches is the first row of the whole chain that
// matches, and the chain decides as it always has. Each row's first eight
// keyword bytes are compared as one word.
//
// A split position's characters are told apart by their low six bits: the
// keywords' characters (letters, digits, "(", "[", "=", "_", ",") all differ
// there, and a text character that shares them with a keyword's only makes
// that row a candidate, which its full comparison then refuses.
class ChainIndex {
public:
    struct Entry {
        uint64_t head;  // the keyword's first eight bytes
        uint64_t mask;  // the bytes of `head` the keyword has
        uint8_t row;    // position in the chain
    };
    // The candidates, in chain order, of a text whose first eight bytes are `head`.
    constexpr std::span<const Entry> Candidates(uint64_t head) const {
        const unsigned char first = ByteOf(head, 0);
        size_t slot = m_slot[first];
        if (kSplit[first] != 0) slot += ByteOf(head, kSplit[first]) % kSplitParts;
        return std::span<const Entry>(m_entries).subspan(m_begin[slot], m_begin[slot + 1] - m_begin[slot]);
    }

    constexpr ChainIndex() {
        size_t slots = 0, entries = 0;
        for (int c = 0; c < 256; ++c) {
            const auto first = static_cast<unsigned char>(c);
            m_slot[first] = static_cast<uint16_t>(slots);
            const size_t parts = kSplit[first] != 0 ? kSplitParts : 1;
            for (size_t part = 0; part < parts; ++part, ++slots) {
                m_begin[slots] = static_cast<uint16_t>(entries);
                for (size_t r = 0; r < std::size(kChain); ++r) {
                    if (!InPart(kChain[r].keyword, first, kSplit[first], part)) continue;
                    m_entries[entries++] = MakeEntry(r);
                }
            }
        }
        m_begin[slots] = static_cast<uint16_t>(entries);
    }

private:
    static constexpr Entry MakeEntry(size_t row) {
        const std::string_view keyword = kChain[row].keyword;
        const size_t len = keyword.size() < 8 ? keyword.size() : 8;
        const uint64_t mask = len == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * len)) - 1;
        return Entry{Word8(keyword), mask, static_cast<uint8_t>(row)};
    }

    std::array<Entry, EntryCount()> m_entries{};
    std::array<uint16_t, SlotCount() + 1> m_begin{};  // entries of slot s: m_begin[s] to m_begin[s + 1]
    std::array<uint16_t, 256> m_slot{};               // the first slot of each first character
};
static_assert(std::size(kChain) < 256, "chain positions fit a byte");
static_assert(EntryCount() < 65536, "entry positions fit 16 bits");
constexpr ChainIndex kIndex;

}  // namespace

std::span<const KeywordRow> KeywordChain() { return kChain; }

int MatchKeyword(std::string_view rest) {
    // The text's bytes past its end read as 0, which no keyword holds.
    uint64_t head = 0;
    if (std::endian::native == std::endian::little && rest.size() >= 8)
        std::memcpy(&head, rest.data(), 8);
    else
        head = Word8(rest);
    for (const ChainIndex::Entry& entry : kIndex.Candidates(head)) {
        if ((head & entry.mask) != entry.head) continue;
        const std::string_view keyword = kChain[entry.row].keyword;
        if (keyword.size() > 8 && !rest.substr(8).starts_with(keyword.substr(8))) continue;
        return entry.row;
    }
    return -1;
}

int CompileStatement(ParseCursor& cur, PlcInstr& rec) {
    const int matched = MatchKeyword(cur.Rest());
    if (matched < 0) return kErrUnknownCommand;
    const KeywordRow& row = kChain[static_cast<size_t>(matched)];
    cur.Advance(row.keyword.size());
    return row.compile(cur, rec, row.arg);
}

}  // namespace plc
