// One table row of the statement fault tests: a statement and the code it
// must be refused with. The test itself is in CompileFlowTest.cpp; each
// family's file instantiates it with its own rows.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

namespace plc::test {

struct FaultCase {
    const char* source;  // the statement after the label
    int code;
};

inline void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.source; }

class RefusesStatement : public ::testing::TestWithParam<FaultCase> {};

}  // namespace plc::test
