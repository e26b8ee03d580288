// SPDX-License-Identifier: GPL-3.0-or-later
// The values a dry run computes with and shows: a number that is either a
// whole number (H, C, Z, flags, drive values given as whole numbers) or a
// single-precision float (F, float constants), and simulated time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plc::sim {

struct Num {
    bool real = false;  // a float; otherwise a whole number in `i`
    int64_t i = 0;
    float f = 0;

    static Num Int(int64_t v) { return Num{false, v, 0}; }
    static Num Real(float v) { return Num{true, 0, v}; }
    bool operator==(const Num& o) const {
        return real == o.real && (real ? BitsOf(f) == BitsOf(o.f) : i == o.i);
    }

private:
    static uint32_t BitsOf(float v);
};

// "17", "-5", "1.5", "0.1": a whole number in decimal, a float in the
// shortest text that reads back to the same single-precision value.
std::string FormatNum(const Num& n);

// A named value of a trace line or an event: "H001" = 17.
struct NamedValue {
    std::string name;
    Num value;
};

// Simulated time runs in microseconds.
inline constexpr int64_t kUsPerMs = 1000;
inline constexpr int64_t kNoTime = INT64_MAX;
// The latest time a run reaches: far beyond any run, far from the clock's end.
inline constexpr int64_t kLatestUs = int64_t{1} << 61;

// Microseconds as milliseconds: "250", "0.05", "12.5".
std::string FormatMs(int64_t us);

// Reads milliseconds with up to three decimals ("250", "0.5", "1.125") into
// microseconds; false for anything else, a negative time included, or a time
// beyond a hundred years.
bool ParseMs(std::string_view text, int64_t& us);

// Reads a decimal whole number with an optional sign; false when it is not
// one or does not fit in [lo, hi].
bool ParseWhole(std::string_view text, int64_t lo, int64_t hi, int64_t& value);

// Reads a whole number or a float ("17", "-2", "1.5", "1e3"); a float must
// be finite in single precision.
bool ParseNum(std::string_view text, Num& value);

}  // namespace plc::sim
