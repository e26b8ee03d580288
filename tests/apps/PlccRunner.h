// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real plcc binary as scripts run it, each test in a folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace plcc::test {

namespace fs = std::filesystem;

inline const std::string kGolden = std::string(PLCEDIT_SOURCE_DIR) + "/tests/golden/";

struct PlccRun {
    int status = -1;  // exit status
    std::string out;  // stdout bytes
    std::string err;  // stderr bytes
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Single-quotes a word for the shell.
inline std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A fixture with a fresh temporary folder; plcc runs inside it.
class PlccTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "plcc-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (fs::path(m_dir) / name).string(); }

    // Writes a file into the folder; its name, for the command line.
    std::string Write(const std::string& name, const std::string& bytes) const {
        WriteAll(Path(name), bytes);
        return name;
    }

    // Runs plcc with the arguments (each quoted) in the folder; `env` is put
    // in front of the command ("NAME=value ..."). Standard input comes from
    // the file `input` (else it is empty); standard output goes to the file
    // `output` when one is named (then `out` stays empty).
    PlccRun Plcc(const std::vector<std::string>& args, const std::string& env = "", const std::string& input = "",
                 const std::string& output = "") const {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) about
        // "literal" + std::string in optimised builds.
        std::string cmd = "cd ";
        cmd += Quote(m_dir);
        cmd += " && ";
        cmd += env;
        cmd += " timeout 60 ";  // input that is never refused would be read for ever
        cmd += Quote(PLCC_BINARY);
        for (const std::string& a : args) {
            cmd += " ";
            cmd += Quote(a);
        }
        cmd += " <";
        cmd += input.empty() ? std::string("/dev/null") : Quote(input);
        cmd += " >";
        cmd += Quote(output.empty() ? Path(".out") : output);
        cmd += " 2>";
        cmd += Quote(Path(".err"));
        PlccRun r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        if (output.empty()) r.out = ReadAll(Path(".out"));
        r.err = ReadAll(Path(".err"));
        fs::remove(Path(".out"));
        fs::remove(Path(".err"));
        return r;
    }

    std::string m_dir;
};

}  // namespace plcc::test
