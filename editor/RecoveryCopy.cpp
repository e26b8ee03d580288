// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/RecoveryCopy.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

#include "base/Ascii.h"
#include "base/SafeWrite.h"
#include "base/XdgFolders.h"
#include "compiler/CompileDriver.h"

namespace plc {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCopyPrefix = "recovery-";

// The document's own name without folder and extension, safe as part of a
// file name.
std::string BaseName(const std::string& documentName) {
    std::string base = NormalizeSeparators(documentName);
    if (const size_t sep = base.find_last_of('/'); sep != std::string::npos) base.erase(0, sep + 1);
    if (const size_t dot = base.find_last_of('.'); dot != std::string::npos && dot > 0) base.erase(dot);
    for (char& c : base) {
        const bool plain = AsciiAlnum(c) || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    return base.empty() ? std::string("unnamed") : base.substr(0, 64);
}

}  // namespace

std::string RecoveryFolder() {
    const std::string state = XdgFolder(XdgKind::State);
    return state.empty() ? std::string("./plcedit-recovery") : state + "/plcedit/recovery";
}

std::string WriteRecoveryCopy(const std::string& documentName, const std::string& text, std::string& error) {
    const std::string folder = RecoveryFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create the folder " + folder + ": " + ec.message();
        return {};
    }
    // The time first, so that names sort oldest first; the process and a
    // counter keep two copies of one second apart.
    const std::tm now = CurrentLocalTime();
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &now);
    static unsigned counter = 0;
    char unique[48];
    std::snprintf(unique, sizeof unique, "-%ld-%06u-", static_cast<long>(::getpid()), counter++);
    const std::string path = folder + "/" + kCopyPrefix + stamp + unique + BaseName(documentName) + ".plc";
    if (!WriteFileSafely(path, text, &error)) return {};

    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kCopyPrefix, 0) == 0 && entry.is_regular_file(ec)) copies.push_back(entry.path());
    }
    if (copies.size() > kRecoveryCopiesKept) {
        // Oldest first by modification time, then by name.
        std::sort(copies.begin(), copies.end(), [](const fs::path& a, const fs::path& b) {
            std::error_code e;
            const auto ta = fs::last_write_time(a, e), tb = fs::last_write_time(b, e);
            return ta != tb ? ta < tb : a < b;
        });
        for (size_t i = 0; i + kRecoveryCopiesKept < copies.size(); ++i) fs::remove(copies[i], ec);
    }
    return path;
}

}  // namespace plc
