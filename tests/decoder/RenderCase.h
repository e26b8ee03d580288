// SPDX-License-Identifier: GPL-3.0-or-later
// One table row of the decoder tests: a record at an index, the text it
// renders and the decoder's result. The test itself is in DecodeFlowTest.cpp;
// each family's file instantiates it with its own rows.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

namespace plc::test {

struct RenderCase {
    int index;
    const char* bytes;  // bytes 0 to 7, hexadecimal
    const char* text;
    int result;
};

inline void PrintTo(const RenderCase& c, std::ostream* os) { *os << c.index << ":" << c.bytes; }

class RendersRecord : public ::testing::TestWithParam<RenderCase> {};

}  // namespace plc::test
