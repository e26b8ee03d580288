// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics as a SARIF 2.1.0 log, which code-scanning services read: one
// run of plcc, its rules the system's error table, the analysis's warnings
// and hints and the messages without a code, each described and linked to
// its help page; one result per error or warning, each naming its rule.
#include <algorithm>

#include "analysis/Analysis.h"
#include "apps/plcc/Formatters.h"
#include "apps/plcc/LspHelp.h"
#include "compiler/CompileDriver.h"
#include "compiler/HelpPages.h"
#include "image/ErrorCodes.h"

namespace plcc {

namespace {

using Json = nlohmann::ordered_json;

std::string RuleId(int32_t code) {
    char id[16];
    std::snprintf(id, sizeof id, "ERR%02d", static_cast<int>(code));
    return id;
}

// The rule of the messages that have no code (no programme, no programme
// head, a renumbering that could not be done).
constexpr const char* kMessageRule = "message";
// Absolute paths are relative to this base, the file system's root.
constexpr const char* kRootBase = "ROOT";

// A path as a URI reference: what is not unreserved, nor "/", is
// percent-encoded.
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

// Where a file is: a relative path as it is, an absolute one relative to
// the root base, standard input without a name of its own as "stdin".
Json ArtifactLocation(const std::string& file) {
    if (file == kDefaultStdinName) return {{"uri", "stdin"}};
    if (!file.empty() && file.front() == '/')
        return {{"uri", UriOf(file.substr(file.find_first_not_of('/')))}, {"uriBaseId", kRootBase}};
    return {{"uri", UriOf(file)}};
}

Json Location(const std::string& file, int32_t line, int32_t column, int32_t endColumn) {
    Json region = {{"startLine", line}, {"startColumn", column}};
    if (endColumn > column) region["endColumn"] = endColumn;
    return Json::array({{{"physicalLocation", {{"artifactLocation", ArtifactLocation(file)}, {"region", region}}}}});
}

Json Rule(const std::string& id, const std::string& summary, const std::string& explanation, const char* level,
          const std::string& helpPage) {
    Json rule = {{"id", id},
                 {"shortDescription", {{"text", summary}}},
                 {"fullDescription", {{"text", explanation}}},
                 {"defaultConfiguration", {{"level", level}}}};
    if (const std::string address = lsp::HelpAddress(helpPage); !address.empty()) rule["helpUri"] = address;
    return rule;
}

}  // namespace

void PrintSarif(const std::vector<Report>& reports, std::FILE* out) {
    Json rules = Json::array();
    std::vector<int32_t> ruleOfCode(plc::kErrLineNotReplaced + 1, -1);
    // The codes of the error table, not every message number below the last
    // (some of those are the compile's own status lines).
    for (const plc::ErrorCode code : plc::kErrorCodes) {
        const std::string text = plc::ErrorText(code);
        if (text.empty()) continue;
        ruleOfCode[static_cast<size_t>(code)] = static_cast<int32_t>(rules.size());
        rules.push_back(Rule(RuleId(code), text, plc::ErrorAdvice(code), "error", plc::ErrorHelpPage(code)));
    }
    const auto messageRule = static_cast<int32_t>(rules.size());
    rules.push_back(Rule(kMessageRule, "A message about the whole file, without an error code.",
                         "The file holds no programme, the programme head (%P00) is missing, or the statements "
                         "could not be renumbered.",
                         "error", "errors.html"));
    std::vector<std::string> findingRules;
    for (const plc::FindingRule& f : plc::FindingRules()) {
        findingRules.push_back(f.code);
        const bool hint = f.severity == plc::Severity::Hint;
        // W02 and the hints are about names and variables, the other warnings about the flow.
        const bool aboutNames = hint || std::string_view(f.code) == "W02";
        rules.push_back(Rule(f.code, f.summary, f.explanation, hint ? "note" : "warning",
                             aboutNames ? "language.html" : "flow.html"));
    }
    const auto firstFindingRule = static_cast<int32_t>(rules.size() - findingRules.size());
    Json results = Json::array();
    for (const Report& r : reports) {
        for (const Diagnostic& d : r.errors) {
            Json result;
            const bool known = d.code && *d.code > 0 && *d.code <= plc::kErrLineNotReplaced &&
                               ruleOfCode[static_cast<size_t>(*d.code)] >= 0;
            result["ruleId"] = known ? RuleId(*d.code) : kMessageRule;
            result["ruleIndex"] = known ? ruleOfCode[static_cast<size_t>(*d.code)] : messageRule;
            result["level"] = "error";
            result["message"] = {{"text", d.text}};
            result["locations"] = Location(r.file, d.line, d.column, d.endColumn);
            results.push_back(std::move(result));
        }
        for (const Warning& w : r.warnings) {
            const auto at = std::find(findingRules.begin(), findingRules.end(), w.code);
            Json result = {{"ruleId", w.code}};
            if (at != findingRules.end()) result["ruleIndex"] = firstFindingRule + (at - findingRules.begin());
            result["level"] = w.hint ? "note" : "warning";
            result["message"] = {{"text", w.text}};
            result["locations"] = Location(r.file, w.line, w.column, w.endColumn);
            results.push_back(std::move(result));
        }
    }
    Json log;
    log["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
    log["version"] = "2.1.0";
    log["runs"] = Json::array({{{"tool", {{"driver", {{"name", "plcc"}, {"version", PLCEDIT_VERSION}, {"rules", rules}}}}},
                                {"originalUriBaseIds", {{kRootBase, {{"uri", "file:///"}}}}},
                                {"results", results}}});
    WriteJson(log, out);
}

}  // namespace plcc
