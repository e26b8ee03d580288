// SPDX-License-Identifier: GPL-3.0-or-later
// The formats of plcc's diagnostics for editors and CI: one formatter each,
// all over the same reports.
#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "apps/plcc/Plcc.h"

namespace plcc {

// "FILE:LINE:COL: error: TEXT [ERR(NN)]" a line, warnings and hints after.
void PrintGcc(const std::vector<Report>& reports, std::FILE* out);
// One document: an object, or an array of objects when `several` is set.
void PrintJson(const std::vector<Report>& reports, std::FILE* out, bool several);
// One SARIF 2.1.0 log: one run, the rules from the error table.
void PrintSarif(const std::vector<Report>& reports, std::FILE* out);
// Workflow commands ("::error file=…::TEXT") that show as annotations.
void PrintGithub(const std::vector<Report>& reports, std::FILE* out);

// Writes a document, indented, with a line break after it. Texts are 8-bit:
// a byte that is not UTF-8 (in a file name, say) is shown as U+FFFD rather
// than failing the whole document.
void WriteJson(const nlohmann::ordered_json& doc, std::FILE* out);

}  // namespace plcc
