// SPDX-License-Identifier: GPL-3.0-or-later
// Every programme in examples/ compiles with plcc check; a programme with a
// .entries file beside it is a deliberately faulty one, and its entries must
// be exactly those.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

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

// The problem matchers the README gives for editors and CI take every line
// plcc prints in the gcc format: errors with a code and without one,
// warnings and hints, over every example.
TEST_F(PlccTest, ReadmeProblemMatcherMatchesEveryDiagnosticsLine) {
    const std::string readme = ReadAll(PLCEDIT_SOURCE_DIR "/README.md");
    const std::string key = "\"regexp\": ";
    std::vector<std::regex> matchers;
    for (size_t at = readme.find(key); at != std::string::npos; at = readme.find(key, at + 1)) {
        const size_t end = readme.find("\",\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string pattern = nlohmann::json::parse(readme.substr(at + key.size(), end + 1 - at - key.size()));
        matchers.emplace_back(pattern);
    }
    ASSERT_FALSE(matchers.empty());
    Write("empty.plc", "");
    std::vector<std::string> files = {"empty.plc"};
    for (const std::string& name : ExampleProgrammes()) files.push_back(PLCEDIT_SOURCE_DIR "/examples/" + name + ".plc");
    size_t lines = 0, withoutCode = 0;
    for (const std::string& file : files) {
        const PlccRun r = Plcc({"check", "--diagnostics=gcc", "--warnings", "--hints", file});
        std::istringstream out(r.out);
        for (std::string line; std::getline(out, line);) {
            ++lines;
            withoutCode += line.ends_with("]") ? 0 : 1;
            // The editors' matcher (the first) takes every line; of GitHub's
            // matchers, one a kind (error, warning, note), exactly one does.
            size_t taken = 0;
            for (size_t k = 0; k < matchers.size(); ++k) {
                std::smatch m;
                const bool matches = std::regex_match(line, m, matchers[k]);
                if (k == 0) {
                    EXPECT_TRUE(matches) << line;
                } else {
                    taken += matches ? 1 : 0;
                }
                if (matches) {
                    EXPECT_EQ(fs::path(m[1].str()).filename(), fs::path(file).filename()) << line;
                }
            }
            EXPECT_EQ(taken, 1u) << line;
        }
    }
    EXPECT_GT(lines, 3u);
    EXPECT_GT(withoutCode, 0u);
}

}  // namespace
}  // namespace plcc::test
