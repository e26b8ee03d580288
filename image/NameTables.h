// SPDX-License-Identifier: GPL-3.0-or-later
// Name tables shared by the instruction families: inputs and outputs, drive
// status flags, registers, control flags and drive values. The accessors of
// InstrSet.h read them; the keyword chain spells its register, control-flag
// and input/output keywords from them at compile time, so that a keyword and
// the number its statement stores come from one row.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "image/InstrSet.h"

namespace plc {

// Inputs and outputs are numbered in one sequence each; the groups are not
// contiguous (IS04 to IS06 follow IA1, OS03 to OS05 follow OV01).
inline constexpr std::array<IoGroup, 3> kInputGroups{{
    {"IS", true, 7, {0, 1, 2, 3, 14, 15, 16, 0}},
    {"IE", true, 8, {4, 5, 6, 7, 8, 9, 10, 11}},
    {"IA", true, 2, {12, 13, 0, 0, 0, 0, 0, 0}},
}};
inline constexpr std::array<IoGroup, 3> kOutputGroups{{
    {"OS", false, 6, {0, 1, 2, 9, 10, 11, 0, 0}},
    {"OE", false, 4, {3, 4, 5, 6, 0, 0, 0, 0}},
    {"OV", false, 2, {7, 8, 0, 0, 0, 0, 0, 0}},
}};

inline constexpr std::array<std::string_view, 17> kInputNames{
    "IS00", "IS01", "IS02", "IS03", "IE00", "IE01", "IE02", "IE03", "IE04",
    "IE05", "IE06", "IE07", "IA0",  "IA1",  "IS04", "IS05", "IS06"};
inline constexpr std::array<std::string_view, 12> kOutputNames{
    "OS00", "OS01", "OS02", "OE00", "OE01", "OE02", "OE03", "OV00", "OV01", "OS03", "OS04", "OS05"};

inline constexpr std::array<std::string_view, kStatusCount> kStatusNames{
    "STA_ERR",   "STA_WRN",        "STA_ERR_WRN",    "STA_ACTIV", "STA_ROT_R", "STA_ROT_L",
    "STA_ROT_0", "STA_LIMIT",      "STA_REF",        "STA_BRAKE", "STA_OFF",   "STA_C_RDY",
    "STA_WUV",   "STA_WOV",        "STA_WIIT",       "STA_WOTM",  "STA_WOTI",  "STA_WOTD",
    "STA_WIS",   "STA_WFOUT",      "STA_WFDIG",      "STA_WIT",   "STA_WTQ",   "STA_INPOS",
    "STA_HOMATD", "STA_RAMP_ACTIV", "STA_RAMP_CONST", "STA_USER0", "STA_USER1", "STA_USER2",
    "STA_USER3"};

// STA_ERR_WRN is tested before STA_ERR, which begins it; the rest follow in
// the order of their numbers.
inline constexpr std::array<uint8_t, kStatusCount> kStatusMatchOrder{
    2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};

inline constexpr std::array<std::string_view, 6> kRegisterNames{"OUTPUT",      "OSA0",      "REFVAL",
                                                         "INPOSWINDOW", "INPOSTIME", "EGEARPOS"};
inline constexpr std::array<std::string_view, 12> kCtrlFlagNames{"ENCTRL",  "INV",     "BRAKE",   "ERR",
                                                          "BRKPT",   "PCTRL",   "ERRRQ",   "HALT",
                                                          "USER0_M", "USER1_M", "USER2_M", "USER3_M"};
inline constexpr std::array<std::string_view, 6> kDriveValueFNames{"ACTFRQ",    "ACTSPEED",   "ACTPOS",
                                                            "ACTTORQUE", "ACTCURRENT", "REFPOS"};
inline constexpr std::array<std::string_view, 14> kDriveValueHNames{
    "OUTPUT", "INPUT", "ACTFRQ", "ACTSPEED", "ACTPOS",  "ACTTORQUE",  "ACTCURRENT",
    "OSA0",   "ISA0",  "ISA1",   "REFPOS",   "CANSTAT", "EGEARSPEED", "EGEARPOS"};

}  // namespace plc
