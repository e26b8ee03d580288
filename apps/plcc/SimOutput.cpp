// SPDX-License-Identifier: GPL-3.0-or-later
// plcc sim's outputs: one writer for the three formats over the machine's
// trace lines and state.
#include "apps/plcc/SimOutput.h"

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "image/LabelText.h"
#include "sim/Events.h"

namespace plcc {

namespace {

using plc::sim::FormatMs;
using plc::sim::FormatNum;
using plc::sim::NamedValue;
using plc::sim::Num;
using plc::sim::TraceLine;
using Json = nlohmann::ordered_json;

void Print(std::FILE* out, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
}

// A value as JSON: a whole number, or a float by its shortest text.
Json JsonNum(const Num& n) { return n.real ? Json(std::strtod(FormatNum(n).c_str(), nullptr)) : Json(n.i); }
// Milliseconds as a JSON number (whole where it is whole).
Json JsonMs(int64_t us) {
    return us % plc::sim::kUsPerMs == 0 ? Json(us / plc::sim::kUsPerMs) : Json(std::strtod(FormatMs(us).c_str(), nullptr));
}

Json JsonValues(const std::vector<NamedValue>& values) {
    Json object = Json::object();
    for (const NamedValue& v : values) object[v.name] = JsonNum(v.value);
    return object;
}

Json TextOrNull(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }

std::string Location(const plc::sim::Machine& m) {
    const int pc = m.State().pc;
    if (pc >= plc::kEndRecord) return plc::LabelText(plc::kEndRecord);
    return (pc == plc::kEntryRecord ? std::string() : plc::RecordLabel(pc) + " ") + m.Statement(pc);
}

std::string Calls(const plc::sim::MachineState& s) {
    if (s.returns.empty()) return "none";
    std::string text;
    for (uint8_t r : s.returns) text += (text.empty() ? "" : " ") + plc::RecordLabel(r);
    return text + " (RETs go back there, innermost last)";
}

}  // namespace

SimWriter::SimWriter(std::FILE* out, const SimRun& run, const plc::sim::Machine& machine)
    : m_out(out), m_run(run), m_machine(machine) {}

void SimWriter::Header() {
    const plc::sim::AssumptionProfile& profile = m_machine.Profile();
    if (m_run.format == SimFormat::Jsonl) {
        Json assumptions = Json::object();
        for (const plc::sim::ProfileKey& k : plc::sim::ProfileKeys()) {
            if (k.type == plc::sim::KeyType::Convention) {
                assumptions[std::string(k.key)] = std::string(k.what);
            } else if (profile.Has(k.id)) {
                const std::string text = profile.Describe(k.id);
                assumptions[std::string(k.key)] = text.substr(text.find('=') + 1);
            }
        }
        Json header = {{"type", "banner"}, {"banner", plc::sim::kBanner}, {"programme", m_run.programme},
                       {"profile", TextOrNull(m_run.profile)}, {"stimuli", TextOrNull(m_run.stimuli)},
                       {"assumptions", assumptions}};
        Print(m_out, header.dump());
        return;
    }
    for (const std::string& line : plc::sim::TraceHeader(m_run.programme, m_run.profile, profile, m_run.stimuli))
        Print(m_out, line);
}

void SimWriter::Line(const TraceLine& line) {
    if (m_run.format == SimFormat::Summary) return;
    if (line.kind == TraceLine::Kind::Stop) return;  // Finish says why the run stopped
    if (m_run.format == SimFormat::Text) {
        Print(m_out, plc::sim::FormatTraceLine(line));
        return;
    }
    Json j;
    switch (line.kind) {
        case TraceLine::Kind::Step:
            j = {{"type", "step"},
                 {"step", line.step},
                 {"t_ms", JsonMs(line.timeUs)},
                 {"label", line.label > 0 ? Json(plc::RecordLabel(line.label)) : Json(nullptr)},
                 {"statement", line.statement},
                 {"reads", JsonValues(line.reads)},
                 {"writes", JsonValues(line.writes)},
                 {"next", TextOrNull(line.next)},
                 {"note", TextOrNull(line.note)},
                 {"assumptions", line.assumptions}};
            break;
        case TraceLine::Kind::Stimulus:
            j = {{"type", "stimulus"}, {"t_ms", JsonMs(line.timeUs)}, {"writes", JsonValues(line.writes)},
                 {"line", line.stimuliLine}};
            break;
        case TraceLine::Kind::Skip:
            j = {{"type", "skip"}, {"from_ms", JsonMs(line.fromUs)}, {"t_ms", JsonMs(line.timeUs)}, {"note", line.note}};
            break;
        case TraceLine::Kind::Stop: break;
    }
    Print(m_out, j.dump());
}

void SimWriter::Finish(const plc::sim::StopInfo& stop, const std::string& why, int exitStatus) {
    const plc::sim::MachineState& s = m_machine.State();
    const std::vector<plc::sim::Watch> values = m_machine.Watches(s);
    if (m_run.format == SimFormat::Jsonl) {
        Json state = Json::object();
        for (const plc::sim::Watch& w : values) {
            Json entry = {{"value", w.numeric ? JsonNum(w.number) : Json(w.value)}};
            if (!w.defName.empty()) entry["def"] = w.defName;
            state[w.name] = entry;
        }
        Json returns = Json::array();
        for (uint8_t r : s.returns) returns.push_back(plc::RecordLabel(r));
        Json j = {{"type", "stop"}, {"t_ms", JsonMs(s.timeUs)}, {"steps", s.steps}, {"at", Location(m_machine)},
                  {"reason", why}, {"exit", exitStatus}, {"returns", returns}, {"state", state}};
        Print(m_out, j.dump());
        return;
    }
    Print(m_out, "= stopped at t=" + FormatMs(s.timeUs) + " after " + std::to_string(s.steps) + " steps at " +
                     Location(m_machine) + ": " + why);
    (void)stop;
    if (m_run.format != SimFormat::Summary) return;
    Print(m_out, "calls: " + Calls(s));
    for (const plc::sim::Watch& w : values)
        Print(m_out, w.name + " = " + w.value + (w.defName.empty() ? std::string() : "  (" + w.defName + ")"));
}

}  // namespace plcc
