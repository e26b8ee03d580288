// SPDX-License-Identifier: GPL-3.0-or-later
// Trace lines as text.
#include "sim/Trace.h"

#include "sim/Events.h"

namespace plc::sim {

namespace {

void AppendValues(std::string& out, const std::vector<NamedValue>& values) {
    for (const NamedValue& v : values) {
        if (out.back() != ' ') out += ' ';
        out += v.name;
        out += '=';
        out += FormatNum(v.value);
    }
}

}  // namespace

std::vector<std::string> TraceHeader(const std::string& programme, const std::string& profileName,
                                     const AssumptionProfile& profile, const std::string& stimuliName) {
    const std::string keys = profile.Text();
    return {kBanner, "programme: " + programme,
            "profile: " + (profileName.empty() ? std::string("none") : profileName) +
                (keys.empty() ? std::string() : " (" + keys + ")"),
            "stimuli: " + (stimuliName.empty() ? std::string("none") : stimuliName)};
}

std::string FormatTraceLine(const TraceLine& line) {
    std::string out;
    switch (line.kind) {
        case TraceLine::Kind::Step:
            out = "#" + std::to_string(line.step) + " t=" + FormatMs(line.timeUs) + " ";
            out += line.label >= 0 && line.label != 0 ? LabelText(line.label) + " " : std::string();
            out += line.statement;
            if (!line.reads.empty()) {
                out += "  ";
                AppendValues(out, line.reads);
            }
            if (!line.writes.empty() || !line.next.empty() || !line.note.empty()) {
                out += " ->";
                AppendValues(out, line.writes);
                if (!line.next.empty()) out += " " + line.next;
                if (!line.note.empty()) out += " " + line.note;
            }
            break;
        case TraceLine::Kind::Stimulus:
            out = "@ t=" + FormatMs(line.timeUs);
            AppendValues(out, line.writes);
            break;
        case TraceLine::Kind::Skip:
            out = "~ t=" + FormatMs(line.fromUs) + ".." + FormatMs(line.timeUs) + " " + line.note;
            break;
        case TraceLine::Kind::Stop:
            out = "= t=" + FormatMs(line.timeUs) + " after " + std::to_string(line.step) + " steps";
            if (line.label >= 0) out += " at " + (line.label == 0 ? std::string("%P00") : LabelText(line.label));
            out += ": " + line.note;
            break;
    }
    if (line.kind == TraceLine::Kind::Stimulus) out += "  [stimuli line " + std::to_string(line.stimuliLine) + "]";
    if (!line.assumptions.empty()) {
        out += "  [";
        for (size_t i = 0; i < line.assumptions.size(); ++i) out += (i ? " " : "") + line.assumptions[i];
        out += ']';
    }
    return out;
}

}  // namespace plc::sim
