// SPDX-License-Identifier: GPL-3.0-or-later
// The warnings and hints of a programme image.
//
// Subroutines: the closure of a CALL's target is what the subroutine runs
// through until its RETs; its body is the part of the closure from which a
// RET can still be reached, so that what it leaves for by a jump (the main
// loop, END) is not part of it.
#include "analysis/Analysis.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <tuple>
#include <utility>

#include "analysis/FlowFacts.h"
#include "analysis/RecordVariables.h"
#include "compiler/ProgramIndex.h"

namespace plc {

namespace {

struct FindingKind {
    const char* code;
    Severity severity;
    const char* text;  // a format: its arguments are named with each kind below
};

enum Kind { kUnreached, kUnusedName, kRetWithoutCall, kNeverReturns, kRecursion, kIntoSubroutine, kOnlyRead, kOnlyWritten };

constexpr FindingKind kKinds[] = {
    {"W01", Severity::Warning, "No path from the programme head reaches this statement."},
    // [name, variable, variable]
    {"W02", Severity::Warning, "The name %s of %s is declared, but no statement uses %s."},
    {"W03", Severity::Warning, "RET is reached without a CALL before it."},
    // [subroutine]
    {"W04", Severity::Warning,
     "The subroutine %s can reach neither RET nor a jump out of it: this CALL never returns."},
    // [subroutine, subroutine]
    {"W05", Severity::Warning,
     "CALL %s is reached from inside its own subroutine %s: a recursion, and the drive's call depth is not known."},
    // [subroutine]
    {"W06", Severity::Warning, "Jump from outside the subroutine %s into its middle, past its first statement."},
    // [variable]
    {"I01", Severity::Hint, "%s is read, but no statement writes it (the host or the drive may)."},
    {"I02", Severity::Hint, "%s is written, but no statement reads it (the host or the drive may)."},
};

// What each kind finds and why it matters, in the order of kKinds.
constexpr std::pair<const char*, const char*> kKindTexts[] = {
    {"A statement no path from the programme head reaches.",
     "No jump, call or following statement leads to it, so the drive never runs it: a missing jump, or a label "
     "mistyped in the jump that should lead there."},
    {"A DEF name that no statement uses.",
     "The name is declared in %TEXT, but no statement reads or writes its variable: a leftover, or a statement "
     "that uses another variable than meant."},
    {"A RET reached without a CALL before it.",
     "Some path reaches RET without having called the subroutine, for instance the main code running on into "
     "the subroutine: the return has nowhere to go."},
    {"A CALL whose subroutine can reach neither RET nor a jump out of it.",
     "The subroutine never returns: the statements after the CALL are never reached that way."},
    {"A CALL reached from inside its own subroutine.",
     "The subroutine calls itself, directly or through others: a recursion, and the drive's call depth is not "
     "known."},
    {"A jump from outside a subroutine into its middle.",
     "The jump enters the subroutine past its first statement without a CALL, so its RET has no return address "
     "from this path."},
    {"A variable that statements read but none writes.",
     "Nothing in the programme gives it a value; the host or the drive may, so this is a hint."},
    {"A variable written but never read.",
     "Nothing in the programme reads the value it is given; the host or the drive may, so this is a hint."},
};
static_assert(std::size(kKindTexts) == std::size(kKinds), "a text pair for each kind of finding");

// "H005", or "H005 (Speed)" when it has a name.
std::string VariableText(const CPlcProgram& program, VarKind var, int index, bool withName) {
    std::string text = VariableName(var, index);
    if (withName && index < VarCount(var) && !program.Name(var, index).empty())
        text += " (" + program.Name(var, index) + ")";
    return text;
}

template <class... Args>
std::string Format(const char* format, const Args&... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, format, args.c_str()...);
    return buf;
}

// Read and written variables of every statement, by family, with the first
// record that reads or writes each.
struct VariableUse {
    static constexpr size_t kFamilies = 5;
    std::array<std::array<int, 256>, kFamilies> firstRead{}, firstWrite{};  // 0: none
    std::array<bool, kFamilies> elementRead{}, elementWritten{};

    explicit VariableUse(const CPlcProgram& program, const RecordSet& statements) {
        for (int r = kFirstLabel; r <= kLastLabel; ++r) {
            if (!statements.test(static_cast<size_t>(r))) continue;
            const RecordVariables vars = VariablesOf(program.Record(r));
            for (int i = 0; i < vars.count; ++i) {
                const VariableAccess& v = vars.vars[static_cast<size_t>(i)];
                const auto family = static_cast<size_t>(v.var);
                int& read = firstRead[family][static_cast<size_t>(v.index)];
                int& write = firstWrite[family][static_cast<size_t>(v.index)];
                if (v.read && read == 0) read = r;
                if (v.written && write == 0) write = r;
            }
            if (vars.readsElement) elementRead[static_cast<size_t>(*vars.readsElement)] = true;
            if (vars.setsElement) elementWritten[static_cast<size_t>(*vars.setsElement)] = true;
        }
    }
    bool Used(VarKind var, int index) const {
        const auto family = static_cast<size_t>(var);
        return firstRead[family][static_cast<size_t>(index)] != 0 ||
               firstWrite[family][static_cast<size_t>(index)] != 0 || elementRead[family] ||
               elementWritten[family];
    }
};

class Findings {
public:
    Findings(const CPlcProgram& program, const SourceSites& sites, const RecordLines& lines,
             std::vector<Finding>& out)
        : m_program(program), m_sites(sites), m_lines(lines), m_out(out) {}

    void Add(Kind kind, TextSpan at, std::string text) {
        m_out.push_back({kKinds[kind].code, kKinds[kind].severity, at, std::move(text)});
    }
    void Add(Kind kind, TextSpan at) { Add(kind, at, kKinds[kind].text); }

    int32_t LineOf(int record) const { return m_lines[static_cast<size_t>(record)]; }
    // A place on a record's line: the site `pick` chooses, else the label,
    // else the start of the line.
    TextSpan At(int record, TextSpan StatementSites::*pick) const {
        const int32_t line = LineOf(record);
        const StatementSites& sites = m_sites.Line(line);
        if ((sites.*pick).Known() && (sites.*pick).line == line) return sites.*pick;
        if (sites.label.Known()) return sites.label;
        return TextSpan{line, 0, 0};
    }
    // The variable on a record's line, else its label.
    TextSpan VariableAt(int record, VarKind var, int index) const {
        const int32_t line = LineOf(record);
        for (const UseSite& use : m_sites.uses) {
            if (use.at.line == line && use.var == var && use.index == index) return use.at;
        }
        return At(record, &StatementSites::label);
    }

    const CPlcProgram& m_program;
    const SourceSites& m_sites;
    const RecordLines& m_lines;
    std::vector<Finding>& m_out;
};

void FlowWarnings(const FlowFacts& facts, Findings& f) {
    const RecordSet& statements = facts.Statements();
    auto each = [&statements](auto&& visit) {
        for (int r = kFirstLabel; r <= kLastLabel; ++r)
            if (statements.test(static_cast<size_t>(r))) visit(r);
    };
    // Without a programme head nothing is reached: the listing says so already.
    if (facts.HasHead()) {
        each([&](int r) {
            if (!facts.Reachable().test(static_cast<size_t>(r))) f.Add(kUnreached, f.At(r, &StatementSites::label));
            if (facts.FlowOf(r) == Flow::Return && facts.ReachableOutsideCalls().test(static_cast<size_t>(r)))
                f.Add(kRetWithoutCall, f.At(r, &StatementSites::keyword));
        });
    }

    // The subroutines: bodies, and whether each leaves for records that are
    // reached without passing through its first statement.
    std::array<RecordSet, kRecordCount> bodies{};
    RecordSet inSomeBody, entries;
    for (int t : facts.CallTargets()) {
        bodies[static_cast<size_t>(t)] = facts.Body(t);
        inSomeBody |= bodies[static_cast<size_t>(t)];
        entries.set(static_cast<size_t>(t));
    }
    // Per subroutine, worked out once for all its CALLs: what it runs
    // through, the subroutines it calls entered, and whether that leaves it
    // for END or for records reached without passing its first statement
    // (a jump out, its own or one of a subroutine it calls).
    std::array<RecordSet, kRecordCount> runs{};
    RecordSet runsKnown;
    auto runsFor = [&](int t) -> const RecordSet& {
        if (!runsKnown.test(static_cast<size_t>(t))) {
            runs[static_cast<size_t>(t)] = facts.ReachFrom(t, true);
            runsKnown.set(static_cast<size_t>(t));
        }
        return runs[static_cast<size_t>(t)];
    };
    enum : uint8_t { kUnknown, kNo, kYes };
    std::array<uint8_t, kRecordCount> leaves{};
    auto leavesFor = [&](int t) {
        uint8_t& known = leaves[static_cast<size_t>(t)];
        if (known == kUnknown) {
            const RecordSet& through = runsFor(t);
            const bool out = through.test(kEndRecord) ||
                             (facts.HasHead() && (through & facts.ReachFrom(kEntryRecord, true, t)).any());
            known = out ? kYes : kNo;
        }
        return known == kYes;
    };

    each([&](int r) {
        const Flow flow = facts.FlowOf(r);
        const int target = facts.Target(r);
        if (target < 0) return;
        if (flow == Flow::Call) {
            const std::string sub = LabelText(target);
            if (!facts.Returns(target) && !leavesFor(target))
                f.Add(kNeverReturns, f.At(r, &StatementSites::target), Format(kKinds[kNeverReturns].text, sub));
            if (runsFor(target).test(static_cast<size_t>(r)))
                f.Add(kRecursion, f.At(r, &StatementSites::target), Format(kKinds[kRecursion].text, sub, sub));
            return;
        }
        if (flow != Flow::Jump && flow != Flow::Branch) return;
        // Into the middle of a subroutine from where no subroutine holds both ends.
        if (target == kEndRecord || entries.test(static_cast<size_t>(target)) ||
            !inSomeBody.test(static_cast<size_t>(target)))
            return;
        int into = -1;
        for (int t : facts.CallTargets()) {
            const RecordSet& body = bodies[static_cast<size_t>(t)];
            if (!body.test(static_cast<size_t>(target))) continue;
            if (body.test(static_cast<size_t>(r))) return;
            if (into < 0) into = t;
        }
        f.Add(kIntoSubroutine, f.At(r, &StatementSites::target),
              Format(kKinds[kIntoSubroutine].text, LabelText(into)));
    });
}

void VariableFindings(const FlowFacts& facts, Findings& f) {
    const CPlcProgram& program = f.m_program;
    const VariableUse use(program, facts.Statements());

    for (const DefSite& def : f.m_sites.defs) {
        if (def.index >= VarCount(def.var) || use.Used(def.var, def.index)) continue;
        const std::string variable = VariableText(program, def.var, def.index, false);
        f.Add(kUnusedName, def.at, Format(kKinds[kUnusedName].text, def.name, variable, variable));
    }

    for (VarKind var : {VarKind::C, VarKind::F, VarKind::H, VarKind::M, VarKind::Z}) {
        const auto family = static_cast<size_t>(var);
        for (int index = 0; index < 256; ++index) {
            const int read = use.firstRead[family][static_cast<size_t>(index)];
            const int write = use.firstWrite[family][static_cast<size_t>(index)];
            // An element a counter picks may be any variable of its table.
            if (read != 0 && write == 0 && !use.elementWritten[family]) {
                f.Add(kOnlyRead, f.VariableAt(read, var, index),
                      Format(kKinds[kOnlyRead].text, VariableText(program, var, index, true)));
            }
            if (write != 0 && read == 0 && !use.elementRead[family]) {
                f.Add(kOnlyWritten, f.VariableAt(write, var, index),
                      Format(kKinds[kOnlyWritten].text, VariableText(program, var, index, true)));
            }
        }
    }
}

}  // namespace

ProgramAnalysis AnalyseProgram(const CPlcProgram& program, const SourceSites& sites, const RecordLines& lines) {
    ProgramAnalysis analysis;
    const FlowFacts facts(program);
    analysis.graph = BuildFlowGraph(program, lines, facts);
    Findings findings(program, sites, lines, analysis.findings);
    FlowWarnings(facts, findings);
    VariableFindings(facts, findings);
    std::stable_sort(analysis.findings.begin(), analysis.findings.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.at.line, a.at.column, a.code) < std::tie(b.at.line, b.at.column, b.code);
    });
    return analysis;
}

std::vector<Finding> FindingsOf(const ProgramAnalysis& analysis, Severity severity) {
    std::vector<Finding> out;
    for (const Finding& f : analysis.findings)
        if (f.severity == severity) out.push_back(f);
    return out;
}

std::vector<FindingRule> FindingRules() {
    std::vector<FindingRule> rules;
    for (size_t k = 0; k < std::size(kKinds); ++k)
        rules.push_back({kKinds[k].code, kKinds[k].severity, kKindTexts[k].first, kKindTexts[k].second});
    return rules;
}

}  // namespace plc
