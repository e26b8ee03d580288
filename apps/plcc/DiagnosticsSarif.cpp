// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics as a SARIF 2.1.0 log, which code-scanning services read: one
// run of plcc, its rules the system's error table (and the analysis's
// warnings that occur), one result per error or warning.
#include <algorithm>

#include "apps/plcc/Formatters.h"
#include "compiler/CompileDriver.h"
#include "image/ErrorCodes.h"

namespace plcc {

namespace {

using Json = nlohmann::ordered_json;

std::string RuleId(int32_t code) {
    char id[16];
    std::snprintf(id, sizeof id, "ERR%02d", static_cast<int>(code));
    return id;
}

// A file name as a relative URI reference: what is not unreserved, nor
// "/", is percent-encoded.
std::string UriOf(const std::string& file) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : file) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~' || c == '/') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

Json Location(const std::string& file, int32_t line, int32_t column, int32_t endColumn) {
    Json region = {{"startLine", line}, {"startColumn", column}};
    if (endColumn > column) region["endColumn"] = endColumn;
    return Json::array({{{"physicalLocation", {{"artifactLocation", {{"uri", UriOf(file)}}}, {"region", region}}}}});
}

}  // namespace

void PrintSarif(const std::vector<Report>& reports, std::FILE* out) {
    Json rules = Json::array();
    std::vector<int32_t> ruleOfCode(plc::kErrLineNotReplaced + 1, -1);
    for (int32_t code = 1; code <= plc::kErrLineNotReplaced; ++code) {
        const std::string text = plc::ErrorText(code);
        if (text.empty()) continue;
        ruleOfCode[static_cast<size_t>(code)] = static_cast<int32_t>(rules.size());
        rules.push_back({{"id", RuleId(code)},
                         {"shortDescription", {{"text", text}}},
                         {"defaultConfiguration", {{"level", "error"}}}});
    }
    std::vector<std::string> warningRules;
    Json results = Json::array();
    for (const Report& r : reports) {
        for (const Diagnostic& d : r.errors) {
            Json result;
            const bool known = d.code && *d.code > 0 && *d.code <= plc::kErrLineNotReplaced &&
                               ruleOfCode[static_cast<size_t>(*d.code)] >= 0;
            if (known) {
                result["ruleId"] = RuleId(*d.code);
                result["ruleIndex"] = ruleOfCode[static_cast<size_t>(*d.code)];
            }
            result["level"] = "error";
            result["message"] = {{"text", d.text}};
            result["locations"] = Location(r.file, d.line, d.column, d.endColumn);
            results.push_back(std::move(result));
        }
        for (const Warning& w : r.warnings) {
            auto at = std::find(warningRules.begin(), warningRules.end(), w.code);
            if (at == warningRules.end()) {
                warningRules.push_back(w.code);
                rules.push_back({{"id", w.code}, {"defaultConfiguration", {{"level", w.hint ? "note" : "warning"}}}});
                at = warningRules.end() - 1;
            }
            const auto index = static_cast<int32_t>(rules.size() - warningRules.size()) +
                               static_cast<int32_t>(at - warningRules.begin());
            results.push_back({{"ruleId", w.code},
                               {"ruleIndex", index},
                               {"level", w.hint ? "note" : "warning"},
                               {"message", {{"text", w.text}}},
                               {"locations", Location(r.file, w.line, w.column, w.endColumn)}});
        }
    }
    Json log;
    log["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
    log["version"] = "2.1.0";
    log["runs"] = Json::array({{{"tool", {{"driver", {{"name", "plcc"}, {"version", PLCEDIT_VERSION}, {"rules", rules}}}}},
                                {"results", results}}});
    WriteJson(log, out);
}

}  // namespace plcc
