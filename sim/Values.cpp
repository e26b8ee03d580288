// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers and times as a dry run reads and shows them.
#include "sim/Values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/Ascii.h"

namespace plc::sim {

uint32_t Num::BitsOf(float v) { return std::bit_cast<uint32_t>(v); }

std::string FormatNum(const Num& n) {
    char buf[48];
    const auto result = n.real ? std::to_chars(buf, buf + sizeof buf, n.f) : std::to_chars(buf, buf + sizeof buf, n.i);
    return std::string(buf, result.ptr);
}

std::string FormatMs(int64_t us) {
    const bool negative = us < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(us) : static_cast<uint64_t>(us);
    std::string text = std::to_string(magnitude / kUsPerMs);
    if (const uint64_t fraction = magnitude % kUsPerMs; fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 3 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += '.';
        text += digits;
    }
    return negative ? "-" + text : text;
}

bool ParseMs(std::string_view text, int64_t& us) {
    text = TrimBlanks(text);
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 13 || (dot != std::string_view::npos && fraction.empty()) ||
        fraction.size() > 3)
        return false;
    int64_t value = 0;
    for (char c : whole) {
        if (!AsciiDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    int64_t micro = 0;
    for (size_t i = 0; i < 3; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (!AsciiDigit(c)) return false;
        micro = micro * 10 + (c - '0');
    }
    constexpr int64_t kCentury = int64_t{100} * 365 * 24 * 3600 * 1000;
    if (value > kCentury) return false;
    us = value * kUsPerMs + micro;
    return true;
}

bool ParseWhole(std::string_view text, int64_t lo, int64_t hi, int64_t& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool ParseNum(std::string_view text, Num& value) {
    text = TrimBlanks(text);
    int64_t whole = 0;
    if (ParseWhole(text, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), whole)) {
        value = Num::Int(whole);
        return true;
    }
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    float f = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), f);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || !std::isfinite(f)) return false;
    value = Num::Real(f);
    return true;
}

}  // namespace plc::sim
