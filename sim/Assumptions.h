// SPDX-License-Identifier: GPL-3.0-or-later
// What a dry run assumes where the programme format fixes nothing: four
// conventions it always follows, and the keys of an assumption profile. A
// situation that needs a key the profile does not give halts the run with
// "behaviour not specified: ..."; nothing is guessed. Every step of a trace
// names the conventions and keys it used.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace plc::sim {

enum class Assumption : uint8_t {
    // The conventions, named G1 to G4 in traces.
    Start,      // execution starts at the programme head (record 0)
    Next,       // a statement that does not jump goes on at its record's `next`
    Branch,     // a conditional jump is taken when its condition holds, else goes on at `next`
    EndTarget,  // JMP END and a jump to target 255 reach END
    // The profile keys.
    End,
    IntOverflow,
    IntDivision,
    DivisionByZero,
    Shr,
    ShiftBig,
    FloatToInt,
    Round,
    FloatOverflow,
    MFromH,
    InvH,
    CounterWidth,
    CounterOverflow,
    IndexRange,
    TimerTick,
    WaitUnit,
    StatementTime,
    ReadBack,
    CallDepth,
    RetWithoutCall,
    InitVariables,
    InitDrive,
    Brkpt,
    Count
};
inline constexpr int kAssumptionCount = static_cast<int>(Assumption::Count);
inline constexpr int kConventionCount = 4;

// A set of assumptions, one bit each.
using AssumptionSet = uint32_t;
static_assert(kAssumptionCount <= 32, "one bit per assumption");
constexpr AssumptionSet Bit(Assumption a) { return AssumptionSet{1} << static_cast<int>(a); }

// The choices of the keys that take a word, in the order of their values.
enum class EndPolicy : uint8_t { Halt, Idle, Restart };
enum class Overflow : uint8_t { Wrap, Halt };
enum class Division : uint8_t { Trunc, Floor };
enum class ShiftRight : uint8_t { Arith, Logical };
enum class BigShift : uint8_t { Halt, Zero };
enum class FloatToInt : uint8_t { Trunc, Round, Halt };
enum class Rounding : uint8_t { HalfAway, HalfEven };
enum class FloatSpecial : uint8_t { Ieee, Halt };
enum class FlagFromH : uint8_t { NonZero, Bit0 };
enum class InvertH : uint8_t { Not, Neg };
enum class ReadBack : uint8_t { Written, Halt };
enum class RetEmpty : uint8_t { Halt, Next };
enum class InitialValue : uint8_t { Zero, Halt };
enum class BrkptPolicy : uint8_t { Pause, Ignore };

// How a key's value is written.
enum class KeyType : uint8_t { Convention, Choice, Milliseconds, Whole };

struct ProfileKey {
    Assumption id;
    std::string_view key;          // "int.overflow"; "G1" for a convention
    KeyType type;
    std::string_view values;       // the words of a choice, "wrap|halt"; the range of a number
    std::string_view defaultValue; // "" when the key has no default
    std::string_view what;         // what it decides, for help and documentation
};

// Every convention and key, in the order of Assumption.
std::span<const ProfileKey> ProfileKeys();
const ProfileKey& KeyOf(Assumption a);

class AssumptionProfile {
public:
    AssumptionProfile();

    // Reads a profile; false with `error` ("LINE: why") for a line that is
    // no entry, an unknown key, a key given twice, or a value the key does
    // not take.
    static bool Parse(std::string_view text, AssumptionProfile& out, std::string& error);

    // Whether the key is given (or has a default).
    bool Has(Assumption a) const { return m_value[Index(a)] >= 0; }
    // The choice of a word key: the index of its word in the key's values.
    template <class E>
    std::optional<E> Get(Assumption a) const {
        return Has(a) ? std::optional<E>(static_cast<E>(m_value[Index(a)])) : std::nullopt;
    }
    // A number key's value: microseconds for "_ms" keys, else the number.
    int64_t Number(Assumption a) const { return m_value[Index(a)]; }

    // Sets a key as a profile line would ("wrap", "10"); false when the key
    // does not take that value.
    bool Set(Assumption a, std::string_view value);

    // "int.overflow=wrap", "timer.tick_ms=10", or "G2" for a convention.
    std::string Describe(Assumption a) const;
    // Every key given, "key=value" separated by blanks, in table order.
    std::string Text() const;

private:
    static size_t Index(Assumption a) { return static_cast<size_t>(a); }

    // The index of a choice's word, or a number; -1 when not given.
    std::array<int64_t, kAssumptionCount> m_value{};
};

// "behaviour not specified: WHAT (set KEY = VALUES)": the text of a halt
// where the profile gives no policy.
std::string NotSpecified(std::string_view what, Assumption key);

}  // namespace plc::sim
