// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/XdgFolders.h"

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <vector>

namespace plc {

namespace {

struct XdgRule {
    const char* variable;
    const char* underHome;  // nullptr: no default
};

constexpr XdgRule kRules[] = {
    {"XDG_CONFIG_HOME", "/.config"},
    {"XDG_DATA_HOME", "/.local/share"},
    {"XDG_STATE_HOME", "/.local/state"},
    {"XDG_RUNTIME_DIR", nullptr},
};
static_assert(std::size(kRules) == static_cast<size_t>(XdgKind::Runtime) + 1, "one rule for every kind");

}  // namespace

std::string XdgFolder(XdgKind kind) {
    const XdgRule& rule = kRules[static_cast<size_t>(kind)];
    if (const char* value = std::getenv(rule.variable); value != nullptr && value[0] == '/') return value;
    if (rule.underHome == nullptr) return {};
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::string(home) + rule.underHome;
    return {};
}

std::string HelpFolder(const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates;
    if (const char* dir = std::getenv("PLCEDIT_HELP_DIR"); dir != nullptr && dir[0] != '\0') candidates.emplace_back(dir);
    if (!programFolder.empty()) {
        candidates.push_back(fs::path(programFolder) / ".." / "share" / "plcedit" / "help");
        candidates.push_back(fs::path(programFolder) / "help");
    }
    std::error_code error;
    for (const fs::path& dir : candidates)
        if (fs::exists(dir / "index.html", error)) return fs::weakly_canonical(dir, error).string();
    return {};
}

}  // namespace plc
