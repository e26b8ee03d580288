// SPDX-License-Identifier: GPL-3.0-or-later
#include "apps/plcc/LspHelp.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "base/Ascii.h"
#include "base/XdgFolders.h"
#include "compiler/HelpPages.h"

namespace plcc::lsp {

namespace {

// The folder of the help pages as found from this program's folder
// (plc::HelpFolder), looked up once.
const std::string& HelpFolder() {
    static const std::string folder = [] {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        return plc::HelpFolder(error ? std::string() : exe.parent_path().string());
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
