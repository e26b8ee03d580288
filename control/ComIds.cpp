// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/ComIds.h"

#include <cstdio>

#include "base/Ascii.h"

namespace plc::com {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string GuidToString(const Guid& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.data1), static_cast<unsigned>(g.data2),
                  static_cast<unsigned>(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                  g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

bool GuidFromString(std::string_view text, Guid& guid) {
    // {8-4-4-4-12}: the positions of the dashes and the hex digits are fixed.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    std::string_view body = text.substr(1, 36);
    uint8_t bytes[16];
    size_t n = 0;
    for (size_t i = 0; i < body.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (body[i] != '-') return false;
            ++i;
            continue;
        }
        const int hi = HexDigit(body[i]);
        const int lo = i + 1 < body.size() ? HexDigit(body[i + 1]) : -1;
        if (hi < 0 || lo < 0 || (i + 1 == 8 || i + 1 == 13 || i + 1 == 18 || i + 1 == 23))
            return false;
        bytes[n++] = static_cast<uint8_t>(hi * 16 + lo);
        i += 2;
    }
    if (n != 16) return false;
    Guid g;
    g.data1 = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) |
              bytes[3];
    g.data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
    guid = g;
    return true;
}

}  // namespace plc::com
