// SPDX-License-Identifier: GPL-3.0-or-later
// Where the help explains what: the page of each statement family, the
// anchor of each statement form's opcode and of each error code. The help
// generator writes its pages under these names, and the editor's F1 and the
// language server's links take them from here, so that a link always finds
// its page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plc {

// The statement families, one help page each, as the instruction tables
// group the opcodes.
enum class StatementFamily { Flow, Assign, Motion };

inline constexpr StatementFamily kStatementFamilies[] = {StatementFamily::Flow, StatementFamily::Assign,
                                                         StatementFamily::Motion};

// The page of a family ("flow.html") and its title.
const char* FamilyPage(StatementFamily family);
const char* FamilyTitle(StatementFamily family);

// The family of a defined opcode; none for an undefined one.
std::optional<StatementFamily> FamilyOfOpcode(uint8_t opcode);

// The anchor of an opcode's forms on its family page ("op0C").
std::string OpcodeAnchor(uint8_t opcode);

// The page and anchor ("flow.html#op0C") of the statement on a programme
// line ("N010 JMP N020 ; comment"); empty when the line holds no statement
// that compiles.
std::string StatementHelpPage(std::string_view line);

// The page and anchor of an error code ("errors.html#error24").
std::string ErrorHelpPage(int32_t code);

}  // namespace plc
