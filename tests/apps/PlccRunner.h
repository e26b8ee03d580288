// Runs the real plcc binary for the command-line tests.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace plcc::test {

struct PlccRun {
    int status = -1;  // exit status
    std::string out;  // stdout bytes
    std::string err;  // stderr bytes
};

// A scratch folder of this test process.
inline std::filesystem::path ScratchDir() {
    const auto dir = std::filesystem::temp_directory_path() / ("plcc_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes `bytes` to a file of the scratch folder; its path.
inline std::string WriteScratch(const std::string& name, const std::string& bytes) {
    const auto p = ScratchDir() / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
}

// Runs "plcc ARGS" through the shell, capturing both streams.
inline PlccRun Plcc(const std::string& args) {
    const auto out = ScratchDir() / "stdout", err = ScratchDir() / "stderr";
    const std::string cmd = std::string(PLCC_BINARY) + " " + args + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(cmd.c_str());
    PlccRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadBytes(out);
    r.err = ReadBytes(err);
    return r;
}

}  // namespace plcc::test
