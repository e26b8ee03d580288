// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders: one rule for every kind, an absolute path from the
// variable or else the default under $HOME.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

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

}  // namespace
}  // namespace plc::test
