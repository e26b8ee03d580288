// SPDX-License-Identifier: GPL-3.0-or-later
#include "apps/plcc/LspHelp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "base/Ascii.h"
#include "compiler/HelpPages.h"

namespace plcc::lsp {

namespace {

// The folder of the installed help pages: $PLCEDIT_HELP_DIR, else
// share/plcedit/help beside the executable's bin folder, else the build
// tree's help folder beside the executable; empty when none holds the
// contents page. Looked up once.
const std::string& HelpFolder() {
    static const std::string folder = [] {
        namespace fs = std::filesystem;
        std::vector<fs::path> candidates;
        if (const char* dir = std::getenv("PLCEDIT_HELP_DIR"); dir && *dir) candidates.emplace_back(dir);
        std::error_code error;
        const fs::path exe = fs::read_symlink("/proc/self/exe", error);
        if (!error) {
            candidates.push_back(exe.parent_path() / ".." / "share" / "plcedit" / "help");
            candidates.push_back(exe.parent_path() / "help");
        }
        for (const fs::path& dir : candidates)
            if (fs::exists(dir / "index.html", error)) return fs::weakly_canonical(dir, error).string();
        return std::string();
    }();
    return folder;
}

}  // namespace

// A file:// address of a help page ("errors.html#error30"), the path's
// bytes outside the unreserved ones percent-encoded; empty without help.
std::string HelpAddress(const std::string& page) {
    const std::string& folder = HelpFolder();
    if (folder.empty()) return {};
    std::string address = "file://";
    for (unsigned char c : folder + "/" + page.substr(0, page.find('#'))) {
        if (plc::AsciiAlnum(static_cast<char>(c)) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
            address += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            address += hex;
        }
    }
    if (const size_t hash = page.find('#'); hash != std::string::npos) address += page.substr(hash);
    return address;
}

std::string HelpLink(const plc::Topic& topic) {
    const std::string address = HelpAddress(plc::TopicHelpPage(topic));
    return address.empty() ? std::string() : "[Help](" + address + ")";
}

}  // namespace plcc::lsp
