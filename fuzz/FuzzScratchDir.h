// SPDX-License-Identifier: GPL-3.0-or-later
// A private folder for the files a fuzz target writes: on the memory file
// system when there is one (no disk traffic at millions of runs), removed
// when the process ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace plc::fuzz {

inline const std::string& ScratchDir() {
    // Never destroyed: the exit handler that removes the folder needs it.
    static const std::string* const dir = [] {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path made = base / ("plcfuzz-" + std::to_string(::getpid()));
        fs::create_directories(made, ec);
        return new std::string(made.string());
    }();
    static const bool removed = [] {
        return std::atexit([] {
            std::error_code e;
            std::filesystem::remove_all(*dir, e);
        }) == 0;
    }();
    (void)removed;
    return *dir;
}

}  // namespace plc::fuzz
