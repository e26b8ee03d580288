// SPDX-License-Identifier: GPL-3.0-or-later
// Outcomes of drive commands and the patterns that pick them.
#include "sim/Events.h"

#include <cstdio>

#include "base/Ascii.h"

namespace plc::sim {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '[' || c == ']' || c == '(' || c == ')' || c == ',' || c == '='; }

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !IsSeparator(text[i])) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

bool AllDigits(std::string_view w) {
    if (w.empty()) return false;
    for (char c : w)
        if (!AsciiDigit(c)) return false;
    return true;
}

std::string_view WithoutLeadingZeros(std::string_view w) {
    while (w.size() > 1 && w.front() == '0') w.remove_prefix(1);
    return w;
}

// '*' any run of characters, '?' one; letters in any case.
bool Glob(std::string_view pattern, std::string_view word) {
    if (pattern.empty()) return word.empty();
    if (pattern.front() == '*') {
        for (size_t skip = 0; skip <= word.size(); ++skip)
            if (Glob(pattern.substr(1), word.substr(skip))) return true;
        return false;
    }
    if (word.empty()) return false;
    if (pattern.front() != '?' && AsciiLower(pattern.front()) != AsciiLower(word.front())) return false;
    return Glob(pattern.substr(1), word.substr(1));
}

bool WordMatches(std::string_view pattern, std::string_view word) {
    if (AllDigits(pattern) && AllDigits(word)) return WithoutLeadingZeros(pattern) == WithoutLeadingZeros(word);
    return Glob(pattern, word);
}

bool Begins(const std::vector<std::string_view>& pattern, const std::vector<std::string_view>& words, size_t from) {
    if (pattern.empty() || words.size() < from + pattern.size()) return false;
    for (size_t i = 0; i < pattern.size(); ++i)
        if (!WordMatches(pattern[i], words[from + i])) return false;
    return true;
}

}  // namespace

std::string LabelText(int label) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "N%03d", label);
    return buf;
}

bool PatternMatches(std::string_view pattern, const DriveEvent& event) {
    const std::vector<std::string_view> p = Words(pattern);
    if (p.size() == 1 && EqualsIgnoreCase(p.front(), LabelText(event.label))) return true;
    const std::vector<std::string_view> words = Words(event.statement);
    return Begins(p, words, 0) || Begins(p, words, 1);
}

bool ParseOutcome(std::string_view text, Outcome& out, std::string& why) {
    out = Outcome{};
    out.text = std::string(TrimBlanks(text));
    const std::vector<std::string_view> w = Words(out.text);
    auto is = [&w](size_t i, std::string_view word) { return i < w.size() && EqualsIgnoreCase(w[i], word); };
    if (is(0, "done") && w.size() == 1) return true;
    if (is(0, "done") && is(1, "after")) {
        // "done after 200 ms" or "done after 200ms"
        std::string_view amount = w.size() > 2 ? w[2] : std::string_view{};
        bool unitSeen = is(3, "ms") && w.size() == 4;
        if (w.size() == 3 && amount.size() > 2 && EqualsIgnoreCase(amount.substr(amount.size() - 2), "ms")) {
            amount.remove_suffix(2);
            unitSeen = true;
        }
        if (unitSeen && ParseMs(amount, out.afterUs)) return true;
        why = "'done after' takes a time in milliseconds: done after 200 ms";
        return false;
    }
    if (is(0, "not") && is(1, "taken") && w.size() == 2) {
        out.kind = Outcome::Kind::NotTaken;
        return true;
    }
    if (is(0, "taken")) {
        out.kind = Outcome::Kind::Taken;
        if (w.size() == 1) return true;
        // "taken 17" or "taken H004=17" (Words has split at '=').
        const bool named = w.size() == 3;
        if ((w.size() == 2 || named) && ParseNum(w.back(), out.value)) {
            out.hasValue = true;
            if (named) out.store = std::string(w[1]);
            if (!named || out.text.find('=') != std::string::npos) return true;
        }
        why = "'taken' takes the value stored: taken H004=17 or taken 17";
        return false;
    }
    why = "an outcome is done, done after N ms, taken, taken Hxxx=VALUE or not taken";
    return false;
}

}  // namespace plc::sim
