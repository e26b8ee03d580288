// SPDX-License-Identifier: GPL-3.0-or-later
// The records of an image made ready to run: each record's row, form and
// run-time meaning resolved once, its operands turned into terms the step
// reads and writes without looking at the tables again. Inside sim/ only.
#pragma once

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "image/InstrSet.h"
#include "image/PlcProgram.h"
#include "sim/Values.h"

namespace plc::sim {

// What an operand reads or writes.
enum class TermKind : uint8_t {
    None,    // nothing (a test without a right side compares with 0)
    Const,   // a constant of the record
    H, F, M, C, Z,        // a variable: `index`
    ElemH, ElemF, ElemM,  // the element of a table that counter `index` picks
    Signal,  // the signal slot `index`
    Param,   // the parameter the record's parameter terms address
};

struct Term {
    TermKind kind = TermKind::None;
    int index = 0;
    Num constant;
    bool percent = false;  // a constant shown with '%' (ramps)
};

struct PreparedRecord {
    const OpcodeRow* row = nullptr;
    Calc calc = Calc::None;
    Flow flow = Flow::Next;
    DrivePlace place = DrivePlace::None;
    Term dst;                  // what the statement writes (or computes on, or stores a taken message in)
    Term left;                 // a test's left side; the place a WaitFor waits on
    Term right;                // the source; a test's right side; a wait's time
    Term aux;                  // the second source of a set-up
    Term paramNo, paramSub;    // the parameter a read or write addresses (paramSub None: no sub-index)
    std::vector<Term> reads;   // a drive command: the variables its operands read
    std::string setting;       // a set-up: the name it is kept under ("ACCR", "RXMSG[1]")
    int next = 0, target = 0;
    std::string text;          // canonical text without the label
    std::string fault;         // why it cannot run; empty when it can
};

// A stored variable's value as a number.
inline Num NumOf(float v) { return Num::Real(v); }
template <class Whole>
Num NumOf(Whole v) {
    return Num::Int(static_cast<int64_t>(v));
}

// Stores a variable's value and marks it known; true when that changed it
// (a float by its bits, so that a NaN stored again is no change).
template <class T, size_t N>
bool StoreValue(std::array<T, N>& values, std::bitset<N>& known, size_t i, T value) {
    const bool changed = !known.test(i) || !(NumOf(values[i]) == NumOf(value));
    values[i] = value;
    known.set(i);
    return changed;
}

// Makes every record of `program` ready; a record that cannot run carries
// its fault, which halts the run only when the run reaches it.
std::vector<PreparedRecord> PrepareRecords(const CPlcProgram& program);

}  // namespace plc::sim
