// One table of texts for the line-end rule: CR LF, a bare LF and a lone CR
// each end a line. The command line's splitter and the editor's Open both
// answer to it.
#pragma once

#include <string>
#include <vector>

namespace plc::test {

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

inline const std::vector<LineEndCase>& LineEndCases() {
    static const std::vector<LineEndCase> cases = {
        {"crlf", "A\r\nB\r\n", {"A", "B", ""}},
        {"lf", "A\nB", {"A", "B"}},
        {"empty", "", {""}},
        {"one_crlf", "\r\n", {"", ""}},
        {"cr_then_crlf", "A\r\r\nB", {"A", "", "B"}},
        {"lone_cr", "A\rB", {"A", "B"}},
        {"two_lf", "\n\n", {"", "", ""}},
        {"lf_cr_is_two", "A\n\rB", {"A", "", "B"}},
        {"mixed", "%P00\rN010 NOP\nEND\r\n", {"%P00", "N010 NOP", "END", ""}},
        {"last_line_ends_in_cr", "END\r\nN\r", {"END", "N", ""}},
    };
    return cases;
}

}  // namespace plc::test
