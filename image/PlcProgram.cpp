// SPDX-License-Identifier: GPL-3.0-or-later
// The programme image itself: clearing, checksum, programme head and names.
#include "image/PlcProgram.h"

#include <cstring>
#include <type_traits>

#include "image/Opcodes.h"
#include "image/SectionWords.h"

namespace plc {

CPlcProgram::CPlcProgram() = default;

void CPlcProgram::Clear() {
    static_assert(std::is_trivially_copyable_v<PlcInstr>);
    std::memset(static_cast<void*>(m_records.data()), 0, sizeof m_records);  // an unused record is all zero
    for (auto& n : m_names) n.clear();
    m_sectionState = kOutsideSection;
    m_programEnded = 0;
    m_textDeclared = 0;
    m_programName.clear();
}

void CPlcProgram::ComputeChecksum(uint32_t& xorSum, uint32_t& addSum) const {
    // The four little-endian words of a record's first eight bytes stand
    // side by side in one 64-bit number: the xor is taken of all four at
    // once, and the sum of two at a time in 32-bit lanes (256 words of at
    // most 0xFFFF fit one lane), folded into one value at the end.
    constexpr uint64_t kEvenWords = 0x0000FFFF0000FFFF;
    uint64_t xorLanes = 0, addEven = 0, addOdd = 0;
    for (const PlcInstr& rec : m_records) {
        const uint64_t words = rec.low8();
        xorLanes ^= words;
        addEven += words & kEvenWords;
        addOdd += (words >> 16) & kEvenWords;
    }
    xorLanes ^= xorLanes >> 32;
    xorSum = static_cast<uint32_t>((xorLanes ^ (xorLanes >> 16)) & 0xFFFF);
    addSum = static_cast<uint32_t>((addEven & 0xFFFFFFFF) + (addEven >> 32) + (addOdd & 0xFFFFFFFF) + (addOdd >> 32));
}

bool CPlcProgram::HasProgramHead(std::string& text) const {
    const PlcInstr& entry = m_records[kEntryRecord];
    // A target beyond the image can only come from a foreign file: no head.
    if (entry.opcode() == Op::Jmp && entry.target() < kRecordCount &&
        m_records[entry.target()].used() == 1) {
        text = Word(SectionWord::ProgramHead);
        return true;
    }
    text.clear();
    return false;
}

const std::string& CPlcProgram::Name(VarKind kind, int index) const {
    static const std::string empty;
    if (index < 0 || index >= VarCount(kind)) return empty;
    return m_names[NameSlot(kind) + static_cast<size_t>(index)];
}

void CPlcProgram::SetName(VarKind kind, int index, std::string_view name) {
    if (index < 0 || index >= VarCount(kind)) return;
    m_names[NameSlot(kind) + static_cast<size_t>(index)] = name.substr(0, kMaxNameLength);
}

}  // namespace plc
