// SPDX-License-Identifier: GPL-3.0-or-later
// Table rows of the statement tests: a statement and the bytes and record
// kind it compiles to, or the code it must be refused with. The tests
// themselves are in CompileFlowTest.cpp; each family's file instantiates them
// with its own rows.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "image/PlcInstr.h"

namespace plc::test {

struct BytesCase {
    const char* source;  // the statement after the label
    const char* bytes;   // bytes 0 to 7, hexadecimal
    int kind = kKindControlFlow;
};

inline void PrintTo(const BytesCase& c, std::ostream* os) { *os << c.source; }

class CompilesStatement : public ::testing::TestWithParam<BytesCase> {};

struct FaultCase {
    const char* source;  // the statement after the label
    int code;
};

inline void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.source; }

class RefusesStatement : public ::testing::TestWithParam<FaultCase> {};

}  // namespace plc::test
