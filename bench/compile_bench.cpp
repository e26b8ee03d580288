// Compile speed of a full programme against the floor of touching its bytes
// once: a single pass that finds the line ends and upper-cases each line into
// one reused buffer. Floor and compilation are timed interleaved in the same
// repetition, in CPU time, so that the ratio of each repetition compares like
// with like; the repetitions give its median and minimum.
//
// Two programmes of 254 statements: a mixed one drawn evenly from every
// statement form of the instruction tables (each form rendered by the decoder
// from a record with legal operands), and one of jumps only.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <ctime>
#include <string>
#include <vector>

#include "compiler/CompileDriver.h"
#include "decoder/RecordPrinter.h"
#include "image/Ascii.h"
#include "image/InstrSet.h"

namespace {

// A legal value for an operand of this domain, so that the rendered form
// compiles again.
uint32_t SampleValue(plc::Dom dom, int label) {
    using plc::Dom;
    switch (dom) {
        case Dom::LabelNo: return static_cast<uint32_t>(label == 254 ? 1 : label + 1);
        case Dom::Zero: return 0;
        case Dom::Value01: return static_cast<uint32_t>(label % 2);
        case Dom::Int32: return static_cast<uint32_t>(-123456);
        case Dom::UInt32: return 250000;
        case Dom::Float: {
            const uint32_t bits = std::bit_cast<uint32_t>(2.75f);
            return (bits << 16) | (bits >> 16);
        }
        case Dom::Word: return 1234;
        case Dom::ParamNo: return 202;
        default: return static_cast<uint32_t>(label % 2 + 1);
    }
}

struct Form {
    const plc::OpcodeRow* row;
    const plc::Variant* variant;
    bool endForm;
};

// Every statement form: each variant of each compiling row, its END form too.
std::vector<Form> AllForms() {
    std::vector<Form> forms;
    for (auto family : {plc::FlowRows(), plc::AssignRows(), plc::MotionRows()}) {
        for (const plc::OpcodeRow& row : family) {
            if (!row.compiles) continue;
            for (const plc::Variant& v : row.variants) {
                forms.push_back({&row, &v, false});
                if (v.endText != nullptr) forms.push_back({&row, &v, true});
            }
        }
    }
    return forms;
}

std::string MixedProgramme() {
    const std::vector<Form> forms = AllForms();
    std::string text = "; benchmark programme\r\n%TEXT(Bench)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\n";
    plc::CPlcProgram program;
    for (int label = 1; label <= 254; ++label) {
        // Evenly over the forms, whatever their number.
        const Form& form = forms[static_cast<size_t>(label - 1) * forms.size() / 254];
        plc::PlcInstr rec;
        rec.setOpcode(form.row->opcode);
        for (const plc::Operand& op : form.endForm ? form.variant->endArgs : form.variant->args)
            plc::SetFieldValue(op.src, rec, SampleValue(op.dom, label));
        if (form.endForm) rec.setTarget(plc::kEndRecord);
        if (form.row->selector != plc::Src::None)
            plc::SetFieldValue(form.row->selector, rec, form.variant->when >= 0 ? static_cast<uint32_t>(form.variant->when) : 1);
        for (const plc::FixedByte& f : form.variant->fixed)
            if (f.at >= 0) rec.b[static_cast<size_t>(f.at)] = f.value;
        program.Record(label) = rec;
        std::string line;
        program.DecodeRecord(line, label);
        text += line;
        if (label % 4 == 0) text += "\t\t; step " + std::to_string(label);
        text += "\r\n";
    }
    text += "END\r\n";
    return text;
}

const char* const kJumpForms[] = {
    "JMP (H%d = H%d) N%03d", "JMP (F%d >= F%d) END", "JMP (ACTVAL < H%d) N%03d",
    "JMP (M%d & IE%d) N%03d", "JMP (STA_INPOS = %d) END", "JMP (C%d != %d) N%03d",
    "JMP (RXMSG, %d, H%d) N%03d", "CALL N%03d", "NOP", "JMP N%03d",
};

std::string JumpProgramme() {
    std::string text = "; benchmark programme\r\n%TEXT(Bench)\r\nDEF H1 = Count\r\nEND\r\n%P00\r\n";
    char line[96], stmt[64];
    for (int label = 1; label <= 254; ++label) {
        const int target = label == 254 ? 1 : label + 1;
        const int a = label % 8, b = (label * 7) % 8;
        switch (label % 10) {
            case 0: std::snprintf(stmt, sizeof stmt, kJumpForms[0], a, b, target); break;
            case 1: std::snprintf(stmt, sizeof stmt, kJumpForms[1], a, b); break;
            case 2: std::snprintf(stmt, sizeof stmt, kJumpForms[2], a, target); break;
            case 3: std::snprintf(stmt, sizeof stmt, kJumpForms[3], a, b, target); break;
            case 4: std::snprintf(stmt, sizeof stmt, kJumpForms[4], label % 2); break;
            case 5: std::snprintf(stmt, sizeof stmt, kJumpForms[5], a, b, target); break;
            case 6: std::snprintf(stmt, sizeof stmt, kJumpForms[6], a, b, target); break;
            case 7: std::snprintf(stmt, sizeof stmt, kJumpForms[7], target); break;
            case 8: std::snprintf(stmt, sizeof stmt, "%s", kJumpForms[8]); break;
            default: std::snprintf(stmt, sizeof stmt, kJumpForms[9], target); break;
        }
        std::snprintf(line, sizeof line, "N%03d %s\t\t; step %d\r\n", label, stmt, label);
        text += line;
    }
    text += "END\r\n";
    return text;
}

// The floor: one pass over the bytes that finds each line end and upper-cases
// the line into a reused buffer.
size_t Floor(std::string_view text, std::string& buffer) {
    size_t sum = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        buffer.clear();
        while (end < text.size() && text[end] != '\n') buffer.push_back(plc::AsciiUpper(text[end++]));
        sum += buffer.size() + static_cast<unsigned char>(buffer.empty() ? 0 : buffer[0]);
        start = end + 1;
    }
    return sum;
}

// The whole compilation of a source text as the command line runs it.
plc::CompileOutcome Compile(plc::CPlcProgram& program, std::string_view text) {
    return plc::CompileProgramSource(program, text);
}

double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Each iteration times a batch of floors and then a batch of compilations.
void CompileAgainstFloor(benchmark::State& state, const std::string& text) {
    const auto lines = static_cast<double>(std::count(text.begin(), text.end(), '\n') + 1);
    plc::CPlcProgram program;
    if (!Compile(program, text).success) {
        state.SkipWithError("the benchmark programme does not compile");
        return;
    }
    constexpr int kBatch = 8;
    std::string buffer;
    double floorSeconds = 0.0, compileSeconds = 0.0;
    for (auto _ : state) {
        const double t0 = CpuSeconds();
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(Floor(text, buffer));
        const double t1 = CpuSeconds();
        for (int i = 0; i < kBatch; ++i) benchmark::DoNotOptimize(Compile(program, text).addSum);
        const double t2 = CpuSeconds();
        floorSeconds += t1 - t0;
        compileSeconds += t2 - t1;
    }
    const double runs = static_cast<double>(state.iterations()) * kBatch;
    state.counters["lines_per_s"] = lines * runs / compileSeconds;
    state.counters["compile_us"] = compileSeconds / runs * 1e6;
    state.counters["floor_us"] = floorSeconds / runs * 1e6;
    state.counters["x_floor"] = compileSeconds / floorSeconds;
}

void BM_CompileMixed(benchmark::State& state) {
    static const std::string text = MixedProgramme();
    CompileAgainstFloor(state, text);
}

void BM_CompileJumps(benchmark::State& state) {
    static const std::string text = JumpProgramme();
    CompileAgainstFloor(state, text);
}

// Decoding the compiled mixed programme back into its text, record by record.
void BM_DecodeMixed(benchmark::State& state) {
    static const std::string text = MixedProgramme();
    plc::CPlcProgram program;
    Compile(program, text);
    std::string line;
    for (auto _ : state) {
        for (int r = plc::kFirstLabel; r <= plc::kLastLabel; ++r) {
            program.DecodeRecord(line, r);
            benchmark::DoNotOptimize(line.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * (plc::kLastLabel - plc::kFirstLabel + 1));
}
BENCHMARK(BM_DecodeMixed);

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(BM_CompileMixed)->Repetitions(15)->ComputeStatistics("min", Min)->ReportAggregatesOnly(true);
BENCHMARK(BM_CompileJumps)->Repetitions(15)->ComputeStatistics("min", Min)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
