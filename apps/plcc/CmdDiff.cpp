// SPDX-License-Identifier: GPL-3.0-or-later
// plcc diff: two programmes compared record by record; the differences as
// lines of each side (-, +) or as one JSON document.
#include <cinttypes>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "analysis/ImageDiff.h"
#include "apps/plcc/Plcc.h"

namespace plcc {

namespace {

std::string ChecksumText(const plc::CPlcProgram& p) {
    uint32_t xorSum = 0, addSum = 0;
    p.ComputeChecksum(xorSum, addSum);
    char buf[64];
    std::snprintf(buf, sizeof buf, "0x%04" PRIX32 " ADD, 0x%04" PRIX32 " XOR", addSum, xorSum);
    return buf;
}

nlohmann::ordered_json JsonSide(const plc::RecordSide& side) {
    if (!side.present) return nullptr;
    return {{"text", side.text}, {"record", side.words}};
}

nlohmann::ordered_json JsonProgramme(const Programme& p) {
    uint32_t xorSum = 0, addSum = 0;
    p.program.ComputeChecksum(xorSum, addSum);
    return {{"file", p.file}, {"binary", p.binary}, {"checksum", {{"add", addSum}, {"xor", xorSum}}}};
}

}  // namespace

int CmdDiff(const Args& args) {
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(args, {kDiagnosticsOption}, 2, cl, why)) return UsageError("diff", why);
    if (cl.files.size() != 2) return UsageError("diff", "two programmes to compare");
    Programme a, b;
    // A programme with errors is no image to compare: that is an error here.
    if (LoadProgramme(cl.files[0], cl.diagnostics, a) != kExitOk) return kExitUsage;
    if (LoadProgramme(cl.files[1], cl.diagnostics, b) != kExitOk) return kExitUsage;

    const std::vector<plc::RecordDifference> differences = plc::CompareProgramImages(a.program, b.program);
    const std::string sumA = ChecksumText(a.program), sumB = ChecksumText(b.program);
    const bool same = differences.empty() && sumA == sumB;

    std::string out;
    if (cl.diagnostics == DiagnosticsFormat::Json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const plc::RecordDifference& d : differences)
            list.push_back({{"label", d.label}, {"a", JsonSide(d.a)}, {"b", JsonSide(d.b)}});
        nlohmann::ordered_json doc = {
            {"a", JsonProgramme(a)}, {"b", JsonProgramme(b)}, {"same", same}, {"differences", std::move(list)}};
        out = doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    } else {
        if (!same) out += "--- " + a.file + "\n+++ " + b.file + "\n";
        // A side's bytes are shown where its text does not tell what differs.
        auto line = [](char sign, const plc::RecordSide& side, bool sameText) {
            if (!side.present) return std::string();
            const bool words = sameText || !side.statement;
            return sign + side.text + (words ? " ; record " + side.words : "") + "\n";
        };
        for (const plc::RecordDifference& d : differences) out += line('-', d.a, d.sameText) + line('+', d.b, d.sameText);
        out += "checksum " + a.file + ": " + sumA + "\n";
        out += "checksum " + b.file + ": " + sumB + "\n";
    }
    if (const int status = WriteResult("", out)) return status;
    return same ? kExitOk : kExitProgramErrors;
}

}  // namespace plcc
