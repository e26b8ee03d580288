// SPDX-License-Identifier: GPL-3.0-or-later
// The variable families that carry names — counters C, floats F, integers
// H, flags M and timers Z — one row each: the letter source writes, how
// many there are, the operand domain of their indices, the line compiler's
// error code for a faulty one and what the family is called. The compiler,
// the programme image, the index, the lexer and the language server all
// take their families from this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

#include "base/Ascii.h"
#include "image/ErrorCodes.h"
#include "image/OperandDomains.h"

namespace plc {

enum class VarKind : uint8_t { C, F, H, M, Z };
inline constexpr int kCountC = 11, kCountF = 128, kCountH = 128, kCountM = 256, kCountZ = 11;

struct VarFamily {
    VarKind kind;
    char letter;       // as written in source ("H005")
    int count;         // indices 0 to count - 1
    Dom dom;           // the operand domain of an index
    ErrorCode error;   // the line compiler's code for a faulty index
    const char* what;  // "integer variable"
};

// In the order of VarKind.
inline constexpr VarFamily kVarFamilies[] = {
    {VarKind::C, 'C', kCountC, Dom::CVar, kErrCounter, "counter"},
    {VarKind::F, 'F', kCountF, Dom::FVar, kErrFloat, "float variable"},
    {VarKind::H, 'H', kCountH, Dom::HVar, kErrInteger, "integer variable"},
    {VarKind::M, 'M', kCountM, Dom::MVar, kErrFlag, "flag"},
    {VarKind::Z, 'Z', kCountZ, Dom::ZVar, kErrTimer, "timer"},
};
static_assert(std::size(kVarFamilies) == static_cast<size_t>(VarKind::Z) + 1, "a row for every family");

constexpr const VarFamily& FamilyOf(VarKind kind) { return kVarFamilies[static_cast<size_t>(kind)]; }

constexpr int VarCount(VarKind kind) { return FamilyOf(kind).count; }

// A family's letter as a text of its own ("H").
constexpr std::string_view LetterOf(VarKind kind) { return {&FamilyOf(kind).letter, 1}; }

// A variable as statements write it: "H005".
inline std::string VariableName(VarKind var, int index) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%c%03d", FamilyOf(var).letter, index);
    return buf;
}

// The family of a letter in either case; nullptr for any other character.
constexpr const VarFamily* FamilyOfLetter(char letter) {
    for (const VarFamily& family : kVarFamilies)
        if (family.letter == AsciiUpper(letter)) return &family;
    return nullptr;
}

// The family whose indices are of domain `dom`; nullptr for any other domain.
constexpr const VarFamily* FamilyOfDomain(Dom dom) {
    for (const VarFamily& family : kVarFamilies)
        if (family.dom == dom) return &family;
    return nullptr;
}

// Where a family's names start in one table of all of them (C, then F, ...).
constexpr size_t NameSlot(VarKind kind) {
    size_t slot = 0;
    for (const VarFamily& family : kVarFamilies) {
        if (family.kind == kind) break;
        slot += static_cast<size_t>(family.count);
    }
    return slot;
}
inline constexpr size_t kNamedVariables = NameSlot(VarKind::Z) + kCountZ;

}  // namespace plc
