// The keyword chain of the line compiler. The order of the rows is the
// behaviour: prefixes are tested top to bottom and the first match decides,
// so a longer keyword always stands before a shorter one that begins it
// ("SETF[C" before "SETF", "SETHALT=" before "SETH", "WAITH" before "WAIT").
#include <array>

#include "compiler/Statements.h"

namespace plc {

namespace {

constexpr KeywordRow kChain[] = {
    // Jumps and calls.
    {"JMPN", CompileJmpLabel, 0},
    {"JMPEND", CompileJmpEnd, 0},
    {"JMP(F", CompileJmpVar, 'F'},
    {"JMP(H", CompileJmpVar, 'H'},
    {"JMP(ACTVAL", CompileJmpActRef, 1},
    {"JMP(REFVAL", CompileJmpActRef, 2},
    {"JMP(M", CompileJmpFlag, 0},
    {"JMP(IS", CompileJmpInput, 0},
    {"JMP(IE", CompileJmpInput, 1},
    {"JMP(IA", CompileJmpInput, 2},
    {"JMP(OS", CompileJmpOutput, 0},
    {"JMP(OE", CompileJmpOutput, 1},
    {"JMP(OV", CompileJmpOutput, 2},
    {"JMP(C", CompileJmpCounter, 0},
    {"JMP(Z", CompileJmpTimer, 0},
    {"JMP(RXMSG,", CompileJmpRxMsg, 0},
    {"JMP(REF=", CompileJmpState, Op::JmpRef},
    {"JMP(ROT_0=", CompileJmpState, Op::JmpRot0},
    {"JMP(STA_", CompileJmpStatus, 0},
    {"CALLN", CompileCall, 0},
    {"RET", CompileBare, Op::Ret},
    {"BRKPT", CompileBare, Op::Brkpt},
    {"NOP", CompileBare, Op::Nop},
    // Drive settings and assignments.
    {"SETOUTPUT=H", CompileSetRegister, 0},
    {"SETOSA0=H", CompileSetRegister, 1},
    {"SETREFFRQ=", CompileSetRefVal, 0},
    {"SETREFVAL=", CompileSetRefVal, 0},
    {"SETINPOSWINDOW=H", CompileSetRegister, 3},
    {"SETINPOSTIME=H", CompileSetRegister, 4},
    {"SETEGEARPOS=H", CompileSetRegister, 5},
    {"SETENCTRL=", CompileSetCtrlFlag, 0},
    {"SETINV=", CompileSetCtrlFlag, 1},
    {"SETBRAKE=", CompileSetCtrlFlag, 2},
    {"SETERR=", CompileSetCtrlFlag, 3},
    {"SETBRKPT=", CompileSetCtrlFlag, 4},
    {"SETPCTRL=", CompileSetCtrlFlag, 5},
    {"SETERRRQ=", CompileSetCtrlFlag, 6},
    {"SETHALT=", CompileSetCtrlFlag, 7},
    {"SETUSER0_M=", CompileSetCtrlFlag, 8},
    {"SETUSER1_M=", CompileSetCtrlFlag, 9},
    {"SETUSER2_M=", CompileSetCtrlFlag, 10},
    {"SETUSER3_M=", CompileSetCtrlFlag, 11},
    {"SETF[C", CompileSetFIndexed, 0},
    {"SETF", CompileSetF, 0},
    {"SETH[C", CompileSetHIndexed, 0},
    {"SETH", CompileSetH, 0},
    {"SETM[C", CompileSetMIndexed, 0},
    {"SETM", CompileSetM, 0},
    {"SETC", CompileSetC, 0},
    {"SETZ", CompileSetZ, 0},
    {"SETOS", CompileSetOutput, 0},
    {"SETOE", CompileSetOutput, 1},
    {"SETOV", CompileSetOutput, 2},
    {"SETPARA[H", CompileSetPara, 1},
    {"SETPARA[", CompileSetPara, 0},
    // Fieldbus receive set-up and ramps.
    {"SETRXMSG[", CompileSetRxMsg, 0},
    {"SETACCR=", CompileSetRamp, Op::SetAccr},
    {"SETDECR=", CompileSetRamp, Op::SetDecr},
    // Inversions.
    {"INVH", CompileInvH, 0},
    {"INVM", CompileInvM, 0},
    {"INVOS", CompileInvOutput, 0},
    {"INVOE", CompileInvOutput, 1},
    {"INVOV", CompileInvOutput, 2},
    // Waiting, stopping, motion and fieldbus sending.
    {"WAITH", CompileWaitH, 0},
    {"WAITPAR", CompileWaitBare, Op::WaitPar},
    {"WAITREF", CompileWaitBare, Op::WaitRef},
    {"WAITROT_0", CompileWaitBare, Op::WaitRot0},
    {"WAIT", CompileWaitTime, 0},
    {"STOP", CompileStop, 0},
    {"GO", CompileGo, 0},
    {"SENDNMTCMD[", CompileSendNmt, 0},
    {"SENDTXMSG[", CompileSendTx, 0},
};

// The first eight bytes of a text as one word, the first byte lowest.
constexpr uint64_t Word8(std::string_view text) {
    uint64_t word = 0;
    for (size_t i = 0; i < 8 && i < text.size(); ++i)
        word |= static_cast<uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    return word;
}

// The chain split by the first character of its keywords: rows whose
// keywords begin differently can never both match, so testing only the rows
// of the line's first character, in chain order, decides exactly as the whole
// chain does. Each row's first eight keyword bytes are compared as one word.
struct ChainIndex {
    struct Entry {
        uint64_t head;  // the keyword's first eight bytes
        uint64_t mask;  // the bytes of `head` the keyword has
        uint8_t row;    // position in the chain
    };
    std::array<Entry, std::size(kChain)> entries{};
    std::array<uint8_t, 257> begin{};  // entries of character c: begin[c] to begin[c + 1]

    constexpr ChainIndex() {
        size_t n = 0;
        for (int c = 0; c < 256; ++c) {
            begin[static_cast<size_t>(c)] = static_cast<uint8_t>(n);
            for (size_t r = 0; r < std::size(kChain); ++r) {
                const std::string_view keyword = kChain[r].keyword;
                if (static_cast<unsigned char>(keyword[0]) != c) continue;
                const size_t len = keyword.size() < 8 ? keyword.size() : 8;
                const uint64_t mask = len == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * len)) - 1;
                entries[n++] = Entry{Word8(keyword), mask, static_cast<uint8_t>(r)};
            }
        }
        begin[256] = static_cast<uint8_t>(n);
    }
};
static_assert(std::size(kChain) < 256, "chain positions fit a byte");
constexpr ChainIndex kIndex;

}  // namespace

std::span<const KeywordRow> KeywordChain() { return kChain; }

int CompileStatement(ParseCursor& cur, PlcInstr& rec) {
    const std::string_view rest = cur.Rest();
    // The text's bytes past its end read as 0, which no keyword holds.
    const uint64_t head = Word8(rest);
    const auto first = static_cast<unsigned char>(head & 0xFF);
    for (size_t i = kIndex.begin[first]; i < kIndex.begin[first + 1u]; ++i) {
        const ChainIndex::Entry& entry = kIndex.entries[i];
        if ((head & entry.mask) != entry.head) continue;
        const KeywordRow& row = kChain[entry.row];
        if (row.keyword.size() > 8 && !rest.substr(8).starts_with(row.keyword.substr(8))) continue;
        cur.Advance(row.keyword.size());
        return row.compile(cur, rec, row.arg);
    }
    return kErrUnknownCommand;
}

}  // namespace plc
