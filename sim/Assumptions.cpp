// SPDX-License-Identifier: GPL-3.0-or-later
// The conventions and profile keys of a dry run, and the profile reader.
#include "sim/Assumptions.h"

#include <iterator>
#include <limits>

#include "base/Ascii.h"
#include "sim/Ini.h"
#include "sim/Values.h"

namespace plc::sim {

namespace {

using A = Assumption;
constexpr int64_t kLongestUnitUs = int64_t{24} * 3600 * 1000 * kUsPerMs;
using T = KeyType;

// In the order of Assumption. The README's table of keys says the same.
constexpr ProfileKey kKeys[] = {
    {A::Start, "G1", T::Convention, "", "", "execution starts at the programme head (record 0)"},
    {A::Next, "G2", T::Convention, "", "", "a statement that does not jump goes on at its record's next"},
    {A::Branch, "G3", T::Convention, "", "",
     "a conditional jump is taken when its condition holds, else goes on at next"},
    {A::EndTarget, "G4", T::Convention, "", "", "JMP END and a jump to target 255 reach END"},
    {A::End, "end", T::Choice, "halt|idle|restart", "",
     "at END the drive halts, idles while time runs on, or starts the programme again at its head "
     "with every value kept"},
    {A::IntOverflow, "int.overflow", T::Choice, "wrap|halt", "",
     "an H result outside the 32-bit range (+ - * : ABS, INV with neg) wraps in two's complement or halts"},
    {A::IntDivision, "int.division", T::Choice, "trunc|floor", "",
     "':' and '%' with a negative operand: the quotient rounds toward zero (the remainder takes the "
     "dividend's sign) or toward minus infinity (the remainder takes the divisor's sign)"},
    {A::DivisionByZero, "division.by_zero", T::Choice, "halt", "halt",
     "':' and '%' by zero, on H and on F, halt"},
    {A::Shr, "shr", T::Choice, "arith|logical", "",
     "'>>' of a negative H fills with the sign bit or with zeros"},
    {A::ShiftBig, "shift.big", T::Choice, "halt|zero", "",
     "a shift by 32 or more or by a negative count halts, or shifts every bit out (0; an arithmetic "
     "'>>' of a negative value gives -1)"},
    {A::FloatToInt, "float_to_int", T::Choice, "trunc|round|halt", "",
     "an F value stored in an H (SET H = F, a float read into H) rounds toward zero, to the nearest "
     "(by round), or halts when it has a fraction; outside the 32-bit range it always halts"},
    {A::Round, "round", T::Choice, "half_away|half_even", "",
     "ROUND, and float_to_int = round, on a value halfway between two whole numbers"},
    {A::FloatOverflow, "float.overflow", T::Choice, "ieee|halt", "",
     "an F result that is infinite or not a number is kept as IEEE single precision gives it, or halts"},
    {A::MFromH, "m_from_h", T::Choice, "nonzero|bit0", "",
     "a flag set from an H other than 0 or 1 takes 1 for any nonzero value, or the value's bit 0"},
    {A::InvH, "inv_h", T::Choice, "not|neg", "", "INV H inverts every bit or negates"},
    {A::CounterWidth, "counter.width", T::Choice, "8|16|32", "",
     "a counter holds 0 to 2^width-1; needed when a counter would go above 255"},
    {A::CounterOverflow, "counter.overflow", T::Choice, "wrap|halt", "",
     "a counter result below 0 or beyond its width wraps or halts"},
    {A::IndexRange, "index.out_of_range", T::Choice, "halt", "halt",
     "F[C], H[C], M[C] with a counter beyond the table halt"},
    {A::TimerTick, "timer.tick_ms", T::Milliseconds, "> 0", "",
     "a Z timer loaded with n runs out n ticks later and reads the ticks left"},
    {A::WaitUnit, "wait.unit_ms", T::Milliseconds, "> 0", "", "WAIT n and WAIT Hxxx wait n units"},
    {A::StatementTime, "statement.time_ms", T::Milliseconds, ">= 0", "",
     "how long every statement takes; a WAIT's time comes on top"},
    {A::ReadBack, "read_back", T::Choice, "written|halt", "",
     "a digital output or drive register the programme wrote reads back what it wrote, or halts"},
    {A::CallDepth, "call.depth", T::Whole, ">= 1", "",
     "how many CALLs may nest (one always may); a CALL beyond halts"},
    {A::RetWithoutCall, "ret.without_call", T::Choice, "halt|next", "",
     "RET with no CALL to return to halts or goes on at its record's next"},
    {A::InitVariables, "init.variables", T::Choice, "zero|halt", "",
     "H, F, M, C, Z read before anything gave them a value read 0, or halt"},
    {A::InitDrive, "init.drive", T::Choice, "zero|halt", "",
     "inputs, status flags, REF, ROT_0, drive values, CM flags, parameters, outputs and registers read "
     "before a stimulus or the programme gave them a value read 0, or halt"},
    {A::Brkpt, "brkpt", T::Choice, "pause|ignore", "", "BRKPT pauses the run as a breakpoint does, or is skipped"},
};
static_assert(std::size(kKeys) == static_cast<size_t>(kAssumptionCount), "one row per assumption");

constexpr bool InOrder() {
    for (size_t i = 0; i < std::size(kKeys); ++i)
        if (static_cast<size_t>(kKeys[i].id) != i) return false;
    return true;
}
static_assert(InOrder(), "the key rows stand in the order of Assumption");

// The index of `word` among the '|'-separated values; -1 when absent.
int64_t WordIndex(std::string_view values, std::string_view word) {
    int64_t index = 0;
    for (size_t start = 0;; ++index) {
        const size_t bar = values.find('|', start);
        if (values.substr(start, bar - start) == word) return index;
        if (bar == std::string_view::npos) return -1;
        start = bar + 1;
    }
}

// What a key takes, in words: "wrap|halt", "milliseconds > 0".
std::string Takes(const ProfileKey& k) {
    switch (k.type) {
        case KeyType::Choice: return std::string(k.values);
        case KeyType::Whole: return "a whole number " + std::string(k.values);
        default: return "milliseconds " + std::string(k.values) + " (up to a day)";
    }
}

std::string_view WordAt(std::string_view values, int64_t index) {
    size_t start = 0;
    for (int64_t i = 0; i < index; ++i) start = values.find('|', start) + 1;
    return values.substr(start, values.find('|', start) - start);
}

}  // namespace

std::span<const ProfileKey> ProfileKeys() { return kKeys; }
const ProfileKey& KeyOf(Assumption a) { return kKeys[static_cast<size_t>(a)]; }

AssumptionProfile::AssumptionProfile() {
    m_value.fill(-1);
    for (const ProfileKey& k : kKeys)
        if (!k.defaultValue.empty()) Set(k.id, k.defaultValue);
}

bool AssumptionProfile::Set(Assumption a, std::string_view value) {
    const ProfileKey& k = KeyOf(a);
    int64_t v = -1;
    switch (k.type) {
        case KeyType::Convention: return false;
        case KeyType::Choice: v = WordIndex(k.values, AsciiLower(TrimBlanks(value))); break;
        case KeyType::Milliseconds:
            // Up to a day: no statement, tick or wait unit is longer.
            if (!ParseMs(value, v) || (v == 0 && k.values == "> 0") || v > kLongestUnitUs) v = -1;
            break;
        case KeyType::Whole:
            if (!ParseWhole(value, 1, std::numeric_limits<int32_t>::max(), v)) v = -1;
            break;
    }
    if (v < 0) return false;
    m_value[Index(a)] = v;
    return true;
}

bool AssumptionProfile::Parse(std::string_view text, AssumptionProfile& out, std::string& error) {
    out = AssumptionProfile();
    std::vector<IniEntry> entries;
    IniError iniError;
    if (!ReadIni(text, entries, iniError)) {
        error = std::to_string(iniError.line) + ": " + iniError.text;
        return false;
    }
    std::array<int, kAssumptionCount> givenAt{};
    for (const IniEntry& e : entries) {
        const ProfileKey* key = nullptr;
        for (const ProfileKey& k : kKeys)
            if (k.type != KeyType::Convention && k.key == e.key) key = &k;
        const std::string at = std::to_string(e.line) + ": ";
        if (key == nullptr) {
            error = at + "unknown key '" + e.key + "'";
            return false;
        }
        int& first = givenAt[Index(key->id)];
        if (first != 0) {
            error = at + "'" + e.key + "' is given already on line " + std::to_string(first);
            return false;
        }
        first = e.line;
        if (!out.Set(key->id, e.value)) {
            error = at + "'" + e.key + "' takes " + Takes(*key) +
                    (key->type == KeyType::Milliseconds ? " with at most three decimals" : "") + ", not '" + e.value +
                    "'";
            return false;
        }
    }
    return true;
}

std::string AssumptionProfile::Describe(Assumption a) const {
    const ProfileKey& k = KeyOf(a);
    if (k.type == KeyType::Convention || !Has(a)) return std::string(k.key);
    const int64_t v = m_value[Index(a)];
    std::string text(k.key);
    text += '=';
    switch (k.type) {
        case KeyType::Choice: text += WordAt(k.values, v); break;
        case KeyType::Milliseconds: text += FormatMs(v); break;
        default: text += std::to_string(v); break;
    }
    return text;
}

std::string AssumptionProfile::Text() const {
    std::string text;
    for (const ProfileKey& k : kKeys) {
        if (k.type == KeyType::Convention || !Has(k.id)) continue;
        if (!text.empty()) text += ' ';
        text += Describe(k.id);
    }
    return text;
}

std::string NotSpecified(std::string_view what, Assumption key) {
    const ProfileKey& k = KeyOf(key);
    std::string text = "behaviour not specified: ";
    text += what;
    text += " (set ";
    text += k.key;
    text += k.type == KeyType::Choice ? " = " : " to ";
    text += Takes(k);
    text += ")";
    return text;
}

}  // namespace plc::sim
