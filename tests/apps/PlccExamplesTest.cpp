// Every programme in examples/ compiles with plcc check; a programme with a
// .entries file beside it is a deliberately faulty one, and its entries must
// be exactly those.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/apps/PlccRunner.h"

namespace plcc::test {
namespace {

std::vector<std::string> ExampleProgrammes() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(PLCEDIT_SOURCE_DIR "/examples"))
        if (entry.path().extension() == ".plc") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class PlccExample : public PlccTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(PlccExample, CompilesOrGivesItsGoldenEntries) {
    const fs::path source = fs::path(PLCEDIT_SOURCE_DIR "/examples") / (GetParam() + ".plc");
    const fs::path golden = fs::path(source).replace_extension(".entries");
    const PlccRun r = Plcc({"check", source.string()});
    EXPECT_EQ(r.err, "");
    if (fs::exists(golden)) {
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, ReadAll(golden.string()));
    } else {
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_NE(r.out.find("- 0 error (s), 0 warning(s)."), std::string::npos) << r.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, PlccExample, ::testing::ValuesIn(ExampleProgrammes()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace plcc::test
