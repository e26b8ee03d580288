// SPDX-License-Identifier: GPL-3.0-or-later
// One 12-byte instruction record of the programme image.
//
// Bytes 0 to 7 are the drive's own instruction format (what the binary
// programme file carries and the checksum covers); bytes 8 to 11 exist only in
// the editor. Multi-byte fields are little-endian, whatever the host's byte
// order, so the record is kept as raw bytes with typed accessors.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plc {

struct PlcInstr {
    std::array<uint8_t, 12> b{};

    // Byte positions of the named fields: the one place the record's layout
    // is written (the operand fields of image/RecordLayout.h stand on these).
    static constexpr int kOpcode = 0;
    static constexpr int kMode = 1;
    static constexpr int kNext = 2;    // bytes 2 and 3
    static constexpr int kTarget = 4;  // bytes 4 and 5
    static constexpr int kWord67 = 6;  // bytes 6 and 7 (parameter and message numbers)
    static constexpr int kDword4 = 4;  // bytes 4 to 7 as one 32-bit word (constants)
    static constexpr int kUsed = 8;
    static constexpr int kKind = 9;
    static constexpr int kLine = 10;   // bytes 10 and 11

    uint8_t opcode() const { return b[kOpcode]; }
    uint8_t mode() const { return b[kMode]; }
    uint16_t next() const { return Get16(kNext); }
    uint16_t target() const { return Get16(kTarget); }
    uint8_t used() const { return b[kUsed]; }
    uint8_t kind() const { return b[kKind]; }
    uint16_t line() const { return Get16(kLine); }

    void setOpcode(uint8_t v) { b[kOpcode] = v; }
    void setMode(uint8_t v) { b[kMode] = v; }
    void setNext(uint16_t v) { Set16(kNext, v); }
    void setTarget(uint16_t v) { Set16(kTarget, v); }
    void setUsed(uint8_t v) { b[kUsed] = v; }
    void setKind(uint8_t v) { b[kKind] = v; }
    void setLine(uint16_t v) { Set16(kLine, v); }

    uint16_t word67() const { return Get16(kWord67); }
    void setWord67(uint16_t v) { Set16(kWord67, v); }

    uint32_t dword4() const { return Get32(kDword4); }
    void setDword4(uint32_t v) { Set32(kDword4, v); }

    // Bytes 0 to 3 and 4 to 7 as the two words of the binary programme file.
    uint32_t dword0() const { return Get32(kOpcode); }
    void setDword0(uint32_t v) { Set32(kOpcode, v); }

    // Bytes 0 to 7, the drive's instruction, as one 64-bit little-endian
    // word: the checksum adds its four 16-bit words, the compiler places its
    // operand fields in it.
    uint64_t low8() const {
        uint64_t word = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&word, b.data(), sizeof word);
        } else {
            for (size_t i = 0; i < 8; ++i) word |= static_cast<uint64_t>(b[i]) << (8 * i);
        }
        return word;
    }
    void setLow8(uint64_t word) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(b.data(), &word, sizeof word);
        } else {
            for (size_t i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(word >> (8 * i));
        }
    }

    uint16_t Get16(int at) const { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
    void Set16(int at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v & 0xFF);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    uint32_t Get32(int at) const {
        return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
               (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
    }
    void Set32(int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }

    bool operator==(const PlcInstr&) const = default;
};

static_assert(sizeof(PlcInstr) == 12, "a programme record is exactly 12 bytes");

// Record kinds written by the compiler. Only kControlFlow is ever tested.
inline constexpr uint8_t kKindControlFlow = 1;
inline constexpr uint8_t kKindAssign = 2;
inline constexpr uint8_t kKindConstant = 3;
inline constexpr uint8_t kKindFieldbus = 4;

}  // namespace plc
