// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: profile files.
//
// Input: one byte choosing the operation and the names, then the file's
// bytes. The file is written as it is; then a key is written or deleted. The
// operation must succeed; the key must read back as written (or as missing
// after the delete); and every other section and key found in the file must
// read as before.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/Ascii.h"
#include "fuzz/FuzzScratchDir.h"
#include "platform/Profile.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

// Section and key names that appear in the file, read loosely: a name the
// profile itself does not see reads as the default before and after, so it
// costs nothing.
std::vector<std::pair<std::string, std::string>> NamesIn(std::string_view file) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    size_t pos = 0;
    while (pos <= file.size()) {
        size_t end = file.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = file.size();
        const std::string line = Trimmed(file.substr(pos, end - pos));
        if (!line.empty() && line.front() == '[') {
            const size_t close = line.find(']');
            section = Trimmed(std::string_view(line).substr(1, close == std::string::npos ? std::string::npos : close - 1));
        } else if (const size_t eq = line.find('='); eq != std::string::npos) {
            names.emplace_back(section, Trimmed(std::string_view(line).substr(0, eq)));
        }
        pos = end + 1;
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 16 * 1024) return 0;
    const uint8_t op = data[0];
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

    // Names from the file when it has some, so that existing keys are hit.
    const auto names = NamesIn(file);
    static const char* const kSections[] = {"Menu", "Page", "menu", "New"};
    static const char* const kKeys[] = {"LastPath", "Top", "top", "Key"};
    std::string section = kSections[(op >> 1) & 3];
    std::string key = kKeys[(op >> 3) & 3];
    if ((op & 0x20) && !names.empty()) {
        const auto& picked = names[static_cast<size_t>(op >> 6) % names.size()];
        if (!picked.first.empty() && !picked.second.empty() &&
            picked.first.find_first_of("[]") == std::string::npos && picked.second.find('=') == std::string::npos) {
            section = picked.first;
            key = picked.second;
        }
    }
    const std::string value = "v" + std::to_string(size);

    const std::string path = plc::fuzz::ScratchDir() + "/profile.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
        if (!out) Fail("cannot prepare the profile file");
    }
    const plc::Profile profile(path);
    static const char* const kMissing = "\x01missing";
    std::vector<std::string> before;
    for (const auto& [s, k] : names) before.push_back(profile.GetString(s, k, kMissing));

    const bool deleting = (op & 1) != 0;
    if (deleting) {
        if (!profile.DeleteKey(section, key)) Fail("delete failed");
        if (profile.GetString(section, key, kMissing) != kMissing) Fail("deleted key still reads: " + key);
    } else {
        if (!profile.WriteString(section, key, value)) Fail("write failed");
        if (profile.GetString(section, key, kMissing) != value) Fail("written key does not read back: " + key);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const auto& [s, k] = names[i];
        if (plc::EqualsIgnoreCase(s, section) && plc::EqualsIgnoreCase(k, key)) continue;
        if (profile.GetString(s, k, kMissing) != before[i]) Fail("another entry changed: [" + s + "] " + k);
    }
    return 0;
}
