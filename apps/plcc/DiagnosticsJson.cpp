// SPDX-License-Identifier: GPL-3.0-or-later
// Diagnostics as one JSON document a script reads.
#include "apps/plcc/Formatters.h"

namespace plcc {

namespace {

nlohmann::ordered_json JsonOf(const Report& r) {
    nlohmann::ordered_json errors = nlohmann::ordered_json::array();
    for (const Diagnostic& d : r.errors) {
        errors.push_back({{"line", d.line},
                          {"column", d.column},
                          {"endColumn", d.endColumn},
                          {"code", d.code ? nlohmann::ordered_json(*d.code) : nlohmann::ordered_json()},
                          {"text", d.text}});
    }
    nlohmann::ordered_json doc;
    doc["file"] = r.file;
    doc["success"] = r.errors.empty();
    doc["errors"] = std::move(errors);
    nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
    for (const Warning& w : r.warnings) {
        warnings.push_back({{"line", w.line},
                            {"column", w.column},
                            {"endColumn", w.endColumn},
                            {"code", w.code},
                            {"severity", w.hint ? "hint" : "warning"},
                            {"text", w.text}});
    }
    doc["warnings"] = std::move(warnings);
    doc["interrupted"] = r.interrupted;
    if (r.addSum && r.xorSum) {
        doc["checksum"] = {{"add", *r.addSum}, {"xor", *r.xorSum}};
    } else {
        doc["checksum"] = nullptr;
    }
    doc["records"] = r.records;
    return doc;
}

}  // namespace

void WriteJson(const nlohmann::ordered_json& doc, std::FILE* out) {
    const std::string text = doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
}

void PrintJson(const std::vector<Report>& reports, std::FILE* out, bool several) {
    if (reports.empty() && !several) return;
    nlohmann::ordered_json doc = nlohmann::ordered_json::array();
    for (const Report& r : reports) doc.push_back(JsonOf(r));
    if (!several) doc = doc.front();
    WriteJson(doc, out);
}

}  // namespace plcc
