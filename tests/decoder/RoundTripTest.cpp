// SPDX-License-Identifier: GPL-3.0-or-later
// Every opcode row against the compiler: a record built from random legal
// operands renders to a text that compiles back to the same bytes, and that
// text renders again to itself. Parameterised over the instruction tables,
// so a new row is covered the moment it is added.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "decoder/RecordPrinter.h"
#include "tests/TestUtil.h"

namespace plc::test {
namespace {

std::vector<const OpcodeRow*> AllRows(bool compilingOnly = false) {
    std::vector<const OpcodeRow*> rows;
    for (auto family : {FlowRows(), AssignRows(), MotionRows()})
        for (const OpcodeRow& row : family)
            if (row.compiles || !compilingOnly) rows.push_back(&row);
    return rows;
}

// A random value the compiler can produce for an operand of this domain;
// false for operands that fixed bytes determine.
bool RandomLegal(Dom dom, std::mt19937& rng, uint32_t& value, uint8_t opcode) {
    auto in = [&rng](uint32_t lo, uint32_t hi) { return std::uniform_int_distribution<uint32_t>(lo, hi)(rng); };
    switch (dom) {
        case Dom::LabelNo: value = in(1, 254); return true;
        case Dom::FVar:
        case Dom::HVar: value = in(0, 127); return true;
        case Dom::MVar: value = in(0, 255); return true;
        case Dom::CVar:
        case Dom::ZVar: value = in(0, 10); return true;
        case Dom::Value01: value = in(0, 1); return true;
        case Dom::Zero: value = 0; return true;
        case Dom::Byte:
        case Dom::SubIndex: value = in(0, 255); return true;
        case Dom::Shift: value = in(0, 32); return true;
        case Dom::ParamNo: value = in(1, 999); return true;
        case Dom::MsgNo: value = in(0, 15); return true;
        case Dom::Word: value = in(0, 65535); return true;
        case Dom::Percent: value = in(0, 150); return true;
        case Dom::NmtNode: value = in(0, 127); return true;
        case Dom::MsgLen: value = in(0, 8); return true;
        case Dom::CmIndex: value = in(0, 15); return true;
        case Dom::Int32:  // any 32-bit integer but -2^31, which the compiler refuses
            value = in(0, 0xFFFFFFFE);
            if (value >= 0x80000000u) ++value;
            return true;
        case Dom::UInt32: value = in(0, 0xFFFFFFFF); return true;
        case Dom::Float: {
            // Any finite single inside the compiler's range, magnitudes spread over the exponents.
            for (;;) {
                const uint32_t bits = in(0, 0xFFFFFFFF);
                const float f = std::bit_cast<float>(bits);
                if (std::isfinite(f) && std::fabs(f) <= 3.37e38f) {
                    value = (bits << 16) | (bits >> 16);
                    return true;
                }
            }
        }
        case Dom::Input: value = in(0, 16); return true;
        case Dom::Output: value = in(0, 11); return true;
        case Dom::Status:
            // The status-flag jump refuses STA_WOTI; the flag assignment takes it.
            do value = in(0, 30);
            while (opcode == 173 && value == kStatusWoti);
            return true;
        case Dom::Register: value = in(0, 5); return true;
        case Dom::CtrlFlag: value = in(0, 11); return true;
        case Dom::DriveValF: value = in(0, 5); return true;
        case Dom::DriveValH: value = in(0, 13); return true;
        case Dom::None:
        case Dom::LetterAR:
        case Dom::Hex: return false;
    }
    return false;
}

class RoundTrip : public ::testing::TestWithParam<const OpcodeRow*> {};
class RowFormats : public ::testing::TestWithParam<const OpcodeRow*> {};

// Reserved opcodes come only from files: no statement produces them.
TEST_P(RoundTrip, RecordToTextToRecord) {
    const OpcodeRow& row = *GetParam();
    std::mt19937 rng(1000u + row.opcode);
    for (const Variant& variant : row.variants) {
        for (int round = 0; round < 60; ++round) {
            const bool endForm = variant.endText != nullptr && round % 3 == 0;
            PlcInstr rec;
            rec.setOpcode(row.opcode);
            for (const Operand& op : endForm ? variant.endArgs : variant.args) {
                uint32_t value = 0;
                if (op.src != Src::Label && RandomLegal(op.dom, rng, value, row.opcode)) SetFieldValue(op.src, rec, value);
            }
            if (endForm) rec.setTarget(kEndRecord);
            if (row.selector != Src::None && variant.when >= 0) SetFieldValue(row.selector, rec, static_cast<uint32_t>(variant.when));
            for (const FixedByte& f : variant.fixed)
                if (f.at >= 0) rec.b[static_cast<size_t>(f.at)] = f.value;

            const int label = std::uniform_int_distribution<int>(1, 254)(rng);
            int result = 0;
            const std::string text = Render(rec, label, &result);
            ASSERT_EQ(result, 1) << "opcode " << int(row.opcode) << ": " << text;

            PlcInstr compiled;
            const int code = CompileLineInSection(text, label, compiled);
            ASSERT_EQ(code, 0) << "opcode " << int(row.opcode) << ": " << text;
            EXPECT_EQ(Hex8(compiled), Hex8(rec)) << text;
            EXPECT_EQ(compiled.kind(), row.kind) << text;
            EXPECT_EQ(Render(compiled, label), text);
        }
    }
}

// Every format string's conversions match the operands that fill it.
TEST_P(RowFormats, MatchTheirOperands) {
    const OpcodeRow& row = *GetParam();
    auto check = [&row](const char* text, const Operands& args) {
        if (text == nullptr) return;
        std::vector<char> expected;
        for (const Operand& op : args)
            if (op.src != Src::None) expected.push_back(ConversionOf(op.dom, op.src));
        EXPECT_EQ(FormatConversions(text), expected) << "opcode " << int(row.opcode) << ": " << text;
    };
    for (const Variant& v : row.variants) {
        check(v.text, v.args);
        check(v.endText, v.endArgs);
        if (v.endText != nullptr) {
            EXPECT_TRUE(std::string_view(v.endText).ends_with(" END")) << v.endText;
        }
    }
    check(row.selectorError.text, row.selectorError.args);
    check(row.guardError.text, row.guardError.args);
    // A selector whose forms do not cover every value needs its error line.
    bool coversAll = false, zero = false, nonZero = false;
    for (const Variant& v : row.variants) {
        coversAll = coversAll || v.when == kAnyValue;
        zero = zero || v.when == 0;
        nonZero = nonZero || v.when == kNonZero;
    }
    if (row.selector != Src::None && !coversAll && !(zero && nonZero)) {
        EXPECT_NE(row.selectorError.text, nullptr) << "opcode " << int(row.opcode);
    }
    if (row.guard.src != Src::None) {
        EXPECT_NE(row.guardError.text, nullptr) << "opcode " << int(row.opcode);
    }
}

// Each row's meaning agrees with what its label-form text says: where
// control goes (JMP END, JMP Nxxx, a JMP with a condition, CALL, RET) and
// which variable the statement assigns (the one after SET or INV, read first
// when an operator other than "=" follows it; F[Cxxx] on either side of "="
// reaches an element a counter picks).
TEST_P(RowFormats, MeaningAgreesWithTheText) {
    const OpcodeRow& row = *GetParam();
    const Variant& form = row.variants.front();
    std::string_view text(form.text);
    if (text.starts_with("N%03d ")) text.remove_prefix(6);
    SCOPED_TRACE(std::string(form.text));
    const Meaning& meaning = row.meaning;

    Flow flow = Flow::Next;
    if (text == "JMP END") flow = Flow::End;
    else if (text.starts_with("JMP N")) flow = Flow::Jump;
    else if (text.starts_with("JMP")) flow = Flow::Branch;
    else if (text.starts_with("CALL ")) flow = Flow::Call;
    else if (text == "RET") flow = Flow::Return;
    EXPECT_EQ(meaning.flow, flow);
    bool hasTarget = false;
    for (const Operand& op : form.args) hasTarget = hasTarget || op.src == Src::Target;
    EXPECT_EQ(hasTarget, flow == Flow::Jump || flow == Flow::Branch || flow == Flow::Call);

    // The variable operand that fills the n-th conversion of the text.
    auto variableAt = [&form](size_t conversion) -> Operand {
        const Operand op = conversion < form.args.size() ? form.args[conversion] : Operand{};
        const bool variable = op.dom == Dom::FVar || op.dom == Dom::HVar || op.dom == Dom::MVar ||
                              op.dom == Dom::CVar || op.dom == Dom::ZVar;
        return variable ? op : Operand{};
    };
    auto tableOf = [](char letter) {
        switch (letter) {
            case 'F': return Dom::FVar;
            case 'H': return Dom::HVar;
            case 'M': return Dom::MVar;
            default: return Dom::None;
        }
    };
    Meaning expected;
    expected.flow = flow;
    if (text.starts_with("INV ")) {
        expected.sets = variableAt(1).src;
        expected.readsSet = expected.sets != Src::None;
    } else if (text.starts_with("SET ")) {
        const std::string_view rest = text.substr(4);
        const std::string_view dest = rest.substr(0, rest.find(' '));
        const std::string_view op = rest.substr(dest.size() + 1, rest.find(' ', dest.size() + 1) - dest.size() - 1);
        if (dest.size() == 8 && dest.substr(1) == "[C%03d]") {
            expected.setsElement = tableOf(dest[0]);
        } else if (dest.size() == 5 && dest.substr(1) == "%03d") {
            expected.sets = variableAt(1).src;
            expected.readsSet = expected.sets != Src::None && op != "=";
            const size_t element = rest.find("[C%03d]", dest.size());
            if (element != std::string_view::npos) expected.readsElement = tableOf(rest[element - 1]);
        }
    } else if (text.starts_with("JMP(RXMSG")) {
        expected.sets = variableAt(2).src;  // the value of a received message is stored
    }
    EXPECT_EQ(meaning.sets, expected.sets);
    EXPECT_EQ(meaning.readsSet, expected.readsSet);
    EXPECT_EQ(meaning.setsElement, expected.setsElement);
    EXPECT_EQ(meaning.readsElement, expected.readsElement);
}

std::string RowName(const ::testing::TestParamInfo<const OpcodeRow*>& info) {
    return "Opcode" + std::to_string(info.param->opcode);
}

INSTANTIATE_TEST_SUITE_P(CompiledOpcodes, RoundTrip, ::testing::ValuesIn(AllRows(true)), RowName);
INSTANTIATE_TEST_SUITE_P(AllOpcodes, RowFormats, ::testing::ValuesIn(AllRows()), RowName);

TEST(InstructionTables, EachOpcodeHasOneRow) {
    std::array<int, 256> count{};
    for (const OpcodeRow* row : AllRows()) ++count[row->opcode];
    for (int op = 0; op < 256; ++op) EXPECT_LE(count[static_cast<size_t>(op)], 1) << "opcode " << op;
    EXPECT_EQ(count[0], 0);
    // Opcodes 1 to 173 are all defined; 174 to 255 none.
    for (int op = 1; op <= 173; ++op) EXPECT_EQ(count[static_cast<size_t>(op)], 1) << "opcode " << op;
    for (int op = 174; op <= 255; ++op) EXPECT_EQ(count[static_cast<size_t>(op)], 0) << "opcode " << op;
    for (const OpcodeRow* row : AllRows()) EXPECT_EQ(FindOpcodeRow(row->opcode), row);
}

// The opcode list and the rows agree one to one, and every operand's stored
// values fit the record field the row puts it in.
TEST(InstructionTables, EveryListedOpcodeHasOneRowWhoseOperandsFitTheirFields) {
    std::array<int, 256> rows{};
    for (const OpcodeRow* row : AllRows()) {
        ++rows[row->opcode];
        EXPECT_NE(OpcodeName(row->opcode), nullptr) << "opcode " << int(row->opcode) << " is not in the list";
    }
    for (uint8_t op : DefinedOpcodes()) EXPECT_EQ(rows[op], 1) << OpcodeName(op);

    auto fieldMax = [](Src src) -> double {
        switch (src) {
            case Src::Target:
            case Src::W67: return 65535;
            case Src::D4: return 4294967295.0;
            default: return 255;
        }
    };
    auto check = [&](const OpcodeRow& row, const Operands& args, const FixedBytes& fixed) {
        for (const Operand& op : args) {
            if (op.src == Src::None) continue;
            if (op.src == Src::Label) {
                EXPECT_EQ(op.dom, Dom::None) << OpcodeName(row.opcode);
                continue;
            }
            const DomainInfo& d = DomainOf(op.dom);
            EXPECT_EQ(d.dom, op.dom);
            if (d.show == Show::Signed32 || d.show == Show::Float) {
                EXPECT_EQ(op.src, Src::D4) << OpcodeName(row.opcode);
            } else {
                EXPECT_GE(d.lo - d.bias, 0) << OpcodeName(row.opcode);
                EXPECT_LE(d.hi - d.bias, fieldMax(op.src)) << OpcodeName(row.opcode);
            }
            EXPECT_EQ(d.name != nullptr, d.show == Show::Name) << OpcodeName(row.opcode);
            // A byte the form fixes is never one that source text fills.
            if (d.scan == Scan::None || op.src < Src::B4 || op.src > Src::B7) continue;
            const int at = static_cast<int>(op.src) - static_cast<int>(Src::B4) + 4;
            for (const FixedByte& f : fixed) EXPECT_NE(f.at, at) << OpcodeName(row.opcode);
        }
    };
    for (const OpcodeRow* row : AllRows()) {
        for (const Variant& v : row->variants) {
            check(*row, v.args, v.fixed);
            check(*row, v.endArgs, v.fixed);
        }
    }
}

TEST(InstructionTables, ControlFlowRowsAreKindOne) {
    for (const OpcodeRow& row : FlowRows()) EXPECT_EQ(row.kind, kKindControlFlow) << int(row.opcode);
    for (auto family : {AssignRows(), MotionRows()})
        for (const OpcodeRow& row : family) EXPECT_NE(row.kind, kKindControlFlow) << int(row.opcode);
}

}  // namespace
}  // namespace plc::test
