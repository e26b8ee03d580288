// SPDX-License-Identifier: GPL-3.0-or-later
// The operand scanners, and the cursor's own copy of a line.
#include <cstring>

#include "compiler/Scanners.h"
#include "image/PlcProgram.h"
#include "image/RecordLayout.h"

namespace plc {

ParseCursor::ParseCursor(std::string_view line) : m_own(line) {
    m_own.append(line);
    for (size_t i = 0; i < line.size(); ++i) m_own[i] = AsciiUpper(m_own[i]);
    m_upper = std::string_view(m_own).substr(0, line.size());
    m_original = std::string_view(m_own).substr(line.size());
}

namespace {

// Reads unsigned decimal digits into a double; false (cursor unchanged) when
// there is no digit. There is no limit on the number of digits. The digits
// are gathered in an integer while it is exact in a double as well, so the
// value is the same as a double accumulated digit by digit.
bool ScanDigits(ParseCursor& cur, double& value) {
    const std::string_view rest = cur.Rest();
    size_t i = 0;
    uint64_t exact = 0;
    constexpr uint64_t kExactLimit = (uint64_t{1} << 53) / 10 - 1;
    for (; i < rest.size() && AsciiDigit(rest[i]) && exact <= kExactLimit; ++i)
        exact = exact * 10 + static_cast<uint64_t>(rest[i] - '0');
    if (i == 0) return false;
    value = static_cast<double>(exact);
    for (; i < rest.size() && AsciiDigit(rest[i]); ++i) value = value * 10.0 + (rest[i] - '0');
    cur.Advance(i);
    return true;
}

bool InRange(double value, double lo, double hi) { return !(value < lo) && !(value > hi); }

template <typename T>
bool ScanUnsigned(ParseCursor& cur, T& out, double lo, double hi) {
    if (uint32_t v = 0; cur.TakeShortUnsigned(v, lo, hi)) {
        out = static_cast<T>(v);
        return true;
    }
    const size_t start = cur.Position();
    double value = 0.0;
    if (!ScanDigits(cur, value) || !InRange(value, lo, hi)) {
        cur.NoteFailedScan(start);
        return false;
    }
    out = static_cast<T>(value);
    return true;
}

// Consumes an optional sign; true when it was "-".
bool ScanSign(ParseCursor& cur) {
    if (cur.Eat("-")) return true;
    cur.Eat("+");
    return false;
}

}  // namespace

bool ScanByte(ParseCursor& cur, uint8_t& value, double lo, double hi) {
    return ScanUnsigned(cur, value, lo, hi);
}

bool ScanWord(ParseCursor& cur, uint16_t& value, double lo, double hi) {
    return ScanUnsigned(cur, value, lo, hi);
}

bool ScanDword(ParseCursor& cur, uint32_t& value, double lo, double hi) {
    return ScanUnsigned(cur, value, lo, hi);
}

bool ScanInt(ParseCursor& cur, int32_t& value, double lo, double hi) {
    const size_t start = cur.Position();
    const bool negative = ScanSign(cur);
    double v = 0.0;
    const bool digits = ScanDigits(cur, v);
    if (negative) v = -v;
    if (!digits || !InRange(v, lo, hi)) {
        cur.NoteFailedScan(start);
        return false;
    }
    // The bounds callers pass keep v within 32 bits; clamp all the same so
    // that a wide range can never turn into an undefined conversion.
    if (v > 2147483647.0) v = 2147483647.0;
    if (v < -2147483648.0) v = -2147483648.0;
    value = static_cast<int32_t>(v);
    return true;
}

bool ScanFloat(ParseCursor& cur, uint32_t& swappedBits, double lo, double hi) {
    const size_t start = cur.Position();
    const bool negative = ScanSign(cur);
    double value = 0.0;
    double factor = 0.1;
    bool inFraction = false;
    bool digitSeen = false;
    for (;;) {
        const char c = cur.Peek();
        if (AsciiDigit(c)) {
            if (inFraction) {
                value += (c - '0') * factor;
                factor *= 0.1;
            } else {
                value = value * 10.0 + (c - '0');
            }
            digitSeen = true;
            cur.Advance();
        } else if (c == '.') {
            cur.Advance();
            if (inFraction) {  // a second point: the number is malformed
                digitSeen = false;
                break;
            }
            inFraction = true;
        } else {
            break;
        }
    }
    if (negative) value = -value;
    if (!digitSeen || !InRange(value, lo, hi)) {
        cur.NoteFailedScan(start);
        return false;
    }
    swappedBits = FloatStored(static_cast<float>(value));
    return true;
}

bool ScanName(ParseCursor& cur, std::string& name) {
    name.clear();
    while (name.size() < static_cast<size_t>(kMaxNameLength)) {
        const char c = cur.PeekOriginal();
        if (c == '\0' || c == ')') break;
        if (!AsciiAlnum(c) && c != '_') return false;
        name.push_back(c);
        cur.Advance();
    }
    return !name.empty();
}

}  // namespace plc
