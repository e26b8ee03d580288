// SPDX-License-Identifier: GPL-3.0-or-later
// The accessors of the name tables (image/NameTables.h).
#include "image/NameTables.h"

namespace plc {

namespace {

// Every name is a literal, so its view ends in a NUL and serves as a C string.
template <size_t N>
const char* Lookup(const std::array<std::string_view, N>& table, uint8_t number) {
    return number < N ? table[number].data() : nullptr;
}

}  // namespace

std::span<const IoGroup> InputGroups() { return kInputGroups; }
std::span<const IoGroup> OutputGroups() { return kOutputGroups; }
const char* InputName(uint8_t number) { return Lookup(kInputNames, number); }
const char* OutputName(uint8_t number) { return Lookup(kOutputNames, number); }
const char* StatusName(uint8_t number) { return Lookup(kStatusNames, number); }
std::span<const uint8_t> StatusMatchOrder() { return kStatusMatchOrder; }
const char* RegisterName(uint8_t number) { return Lookup(kRegisterNames, number); }
const char* CtrlFlagName(uint8_t number) { return Lookup(kCtrlFlagNames, number); }
const char* DriveValueFName(uint8_t number) { return Lookup(kDriveValueFNames, number); }
const char* DriveValueHName(uint8_t number) { return Lookup(kDriveValueHNames, number); }
std::span<const std::string_view> DriveValueFNames() { return kDriveValueFNames; }
std::span<const std::string_view> DriveValueHNames() { return kDriveValueHNames; }

}  // namespace plc
