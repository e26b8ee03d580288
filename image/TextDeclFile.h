// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a text declaration file back: the names a programme declared, as
// the file written beside its binary programme file lists them (section
// headers "[PLC_C]" to "[PLC_Z]", then one "NUMBER: NAME" line per named
// variable). A programme read back from a drive has lost its names; this
// file gives them back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "image/PlcProgram.h"

namespace plc {

struct DeclaredName {
    VarKind var = VarKind::H;
    int index = 0;
    std::string name;
};

struct DeclaredNames {
    std::string programName;         // the file's name without ".txt"
    std::vector<DeclaredName> names;  // in the order of the file
};

// The header of a family's section: "[PLC_H]".
std::string DeclSectionHeader(VarKind kind);

// Parses the bytes of the declaration file `fileName`. Refused, with `why`
// naming the file and the line, when the file holds anything the compiler
// would not accept back: an unknown or repeated section, an entry outside a
// section, a number outside its variable's range, a name that is empty,
// longer than 32 characters or has a character other than a letter, digit
// or "_", a variable named twice, or a file name that is no programme name.
bool ParseTextDeclFile(std::string_view bytes, std::string_view fileName, DeclaredNames& out, std::string& why);

}  // namespace plc
