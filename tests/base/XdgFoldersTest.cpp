// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders: one rule for every kind, an absolute path from the
// variable or else the default under $HOME.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "base/XdgFolders.h"

namespace plc::test {
namespace {

// Sets (or, with nullptr, removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

struct XdgCase {
    XdgKind kind;
    const char* variable;
    const char* value;  // nullptr: unset
    const char* home;   // nullptr: unset
    const char* folder;
};

class XdgFolders : public ::testing::TestWithParam<XdgCase> {};

TEST_P(XdgFolders, AbsoluteVariableElseTheDefaultUnderHome) {
    const XdgCase& c = GetParam();
    const ScopedEnv variable(c.variable, c.value), home("HOME", c.home);
    EXPECT_EQ(XdgFolder(c.kind), c.folder);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, XdgFolders,
    ::testing::Values(XdgCase{XdgKind::Config, "XDG_CONFIG_HOME", "/c", "/h", "/c"},
                      XdgCase{XdgKind::Config, "XDG_CONFIG_HOME", nullptr, "/h", "/h/.config"},
                      XdgCase{XdgKind::Config, "XDG_CONFIG_HOME", "", "/h", "/h/.config"},
                      // A relative path is no folder: settings never land in the current folder by it.
                      XdgCase{XdgKind::Config, "XDG_CONFIG_HOME", "conf", "/h", "/h/.config"},
                      XdgCase{XdgKind::Config, "XDG_CONFIG_HOME", nullptr, "", ""},
                      XdgCase{XdgKind::Data, "XDG_DATA_HOME", "relative/data", "/h", "/h/.local/share"},
                      XdgCase{XdgKind::Data, "XDG_DATA_HOME", "/d", nullptr, "/d"},
                      XdgCase{XdgKind::State, "XDG_STATE_HOME", nullptr, "/h", "/h/.local/state"},
                      XdgCase{XdgKind::State, "XDG_STATE_HOME", "/s", "/h", "/s"},
                      XdgCase{XdgKind::Runtime, "XDG_RUNTIME_DIR", "/run/user/7", "/h", "/run/user/7"},
                      XdgCase{XdgKind::Runtime, "XDG_RUNTIME_DIR", nullptr, "/h", ""},
                      XdgCase{XdgKind::Runtime, "XDG_RUNTIME_DIR", "run", "/h", ""}));

// The help folder: the variable's first, then the installed pages, then the
// build tree's; only a folder with the contents page counts.
TEST(HelpFolder, FirstFolderThatHoldsTheContentsPage) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::weakly_canonical(fs::temp_directory_path()) / ("plcedit-help-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path bin = root / "bin", installed = root / "share" / "plcedit" / "help", built = bin / "help",
                   own = root / "own";
    for (const fs::path& dir : {bin, installed, built, own}) fs::create_directories(dir);
    const auto contents = [](const fs::path& dir) { std::ofstream(dir / "index.html") << "<html></html>"; };

    const ScopedEnv unset("PLCEDIT_HELP_DIR", nullptr);
    EXPECT_EQ(HelpFolder(bin.string()), "");
    contents(built);
    EXPECT_EQ(HelpFolder(bin.string()), built.string());
    contents(installed);
    EXPECT_EQ(HelpFolder(bin.string()), installed.string());
    {
        const ScopedEnv variable("PLCEDIT_HELP_DIR", own.string().c_str());
        EXPECT_EQ(HelpFolder(bin.string()), installed.string());
        contents(own);
        EXPECT_EQ(HelpFolder(bin.string()), own.string());
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace plc::test
