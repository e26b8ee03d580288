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
    // in front of the command ("NAME=value ...").
    PlccRun Plcc(const std::vector<std::string>& args, const std::string& env = "") const {
        std::string cmd = "cd " + Quote(m_dir) + " && " + env + " " + Quote(PLCC_BINARY);
        for (const std::string& a : args) cmd += " " + Quote(a);
        cmd += " >" + Quote(Path(".out")) + " 2>" + Quote(Path(".err"));
        PlccRun r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadAll(Path(".out"));
        r.err = ReadAll(Path(".err"));
        fs::remove(Path(".out"));
        fs::remove(Path(".err"));
        return r;
    }

    std::string m_dir;
};

}  // namespace plcc::test
