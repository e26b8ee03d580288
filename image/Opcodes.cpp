// SPDX-License-Identifier: GPL-3.0-or-later
// The opcode list's derived tables.
#include "image/Opcodes.h"

#include <array>

namespace plc {

namespace {

constexpr uint8_t kDefined[] = {
#define PLC_OPCODE_NUMBER(name, number) number,
    PLC_OPCODES(PLC_OPCODE_NUMBER)
#undef PLC_OPCODE_NUMBER
};

constexpr std::array<const char*, 256> MakeNames() {
    std::array<const char*, 256> names{};
#define PLC_OPCODE_NAME(name, number) names[number] = #name;
    PLC_OPCODES(PLC_OPCODE_NAME)
#undef PLC_OPCODE_NAME
    return names;
}
constexpr std::array<const char*, 256> kNames = MakeNames();

}  // namespace

std::span<const uint8_t> DefinedOpcodes() { return kDefined; }

const char* OpcodeName(uint8_t opcode) { return kNames[opcode]; }

}  // namespace plc
