// SPDX-License-Identifier: GPL-3.0-or-later
// One table of texts for the line-end rule: CR LF, a bare LF and a lone CR
// each end a line. The command line's splitter and the editor's Open both
// answer to it; the editor's Save writes the lines back with the file's
// line end, the most frequent one of a file that mixes them (CR LF, then
// LF, then CR on a tie).
#pragma once

#include <string>
#include <vector>

namespace plc::test {

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    std::string saved = bytes;  // what the editor's Save writes back
};

inline const std::vector<LineEndCase>& LineEndCases() {
    static const std::vector<LineEndCase> cases = {
        {"crlf", "A\r\nB\r\n", {"A", "B", ""}},
        {"lf", "A\nB", {"A", "B"}},
        {"empty", "", {""}},
        {"one_crlf", "\r\n", {"", ""}},
        {"cr_then_crlf", "A\r\r\nB", {"A", "", "B"}, "A\r\n\r\nB"},
        {"lone_cr", "A\rB", {"A", "B"}},
        {"two_lf", "\n\n", {"", "", ""}},
        {"lf_cr_is_two", "A\n\rB", {"A", "", "B"}, "A\n\nB"},
        {"mixed", "%P00\rN010 NOP\nEND\r\n", {"%P00", "N010 NOP", "END", ""}, "%P00\r\nN010 NOP\r\nEND\r\n"},
        {"last_line_ends_in_cr", "END\r\nN\r", {"END", "N", ""}, "END\r\nN\r\n"},
        // Lines longer than sixteen bytes, and CR LF split between the
        // sixteenth and seventeenth byte of a line.
        {"crlf_at_sixteen", "N010 NOP ; 4567\r\nN020 NOP       \r\nEND",
         {"N010 NOP ; 4567", "N020 NOP       ", "END"}},
        {"long_lines", "N010 JMP (F1 = F2) N020 ; far\rN020 SET H1 = 1234567890\n\rN030 NOP",
         {"N010 JMP (F1 = F2) N020 ; far", "N020 SET H1 = 1234567890", "", "N030 NOP"},
         "N010 JMP (F1 = F2) N020 ; far\rN020 SET H1 = 1234567890\r\rN030 NOP"},
    };
    return cases;
}

}  // namespace plc::test
