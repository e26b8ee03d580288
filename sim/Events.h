// SPDX-License-Identifier: GPL-3.0-or-later
// Drive commands as a dry run meets them: an event with the statement, the
// values its operands read, and the outcome the engineer supplies — from an
// outcome row of the stimuli or, in the window, by answering a question.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Values.h"

namespace plc::sim {

struct DriveEvent {
    int label = 0;                  // the record, "N020"
    std::string statement;          // its canonical text without the label: "GO W A H010 V H020"
    std::vector<NamedValue> reads;  // the variables its operands read, with their values
    bool branch = false;            // a jump on a received message: taken or not taken
    std::string stores;             // the variable a taken jump stores into ("H004"); empty when none
};

struct Outcome {
    enum class Kind : uint8_t { Done, Taken, NotTaken };
    Kind kind = Kind::Done;
    int64_t afterUs = 0;   // "done after 200 ms": the statement ends that much later
    std::string store;     // "taken H004=17": the variable named, "" when only the value is
    bool hasValue = false; // "taken 17" or "taken H004=17"
    Num value;
    std::string text;      // as written
    int line = 0;          // its line in the stimuli; 0 when it came from elsewhere
};

// Reads an outcome: "done", "done after 200 ms", "taken", "taken 17",
// "taken H004=17", "not taken" (any case); false with `why` otherwise.
bool ParseOutcome(std::string_view text, Outcome& out, std::string& why);

// Whether an outcome pattern stands for an event. A pattern is words
// (blanks, brackets, commas and '=' separate them; '*' and '?' match within
// a word; numbers match by value, so 2 matches 002) and matches when its
// words begin the event's statement, or the statement after its first word
// ("RXMSG 3" matches "JMP(RXMSG, 3, H004) N070", "GO*" every GO, "PARA 100"
// "SET PARA[100, 002] = F007"); a pattern that is the event's label ("N020")
// matches too. Letters match in any case.
bool PatternMatches(std::string_view pattern, const DriveEvent& event);

// "N020".
std::string LabelText(int label);

}  // namespace plc::sim
