// SPDX-License-Identifier: GPL-3.0-or-later
// Operand helpers shared by the statement compilers of every family.
#include <array>
#include <cstring>
#include <vector>

#include "compiler/Statements.h"
#include "image/RecordLayout.h"
#include "image/SectionWords.h"

namespace plc {

bool ScanConstant(ParseCursor& cur, Dom dom, uint32_t& stored) {
    const DomainInfo& domain = DomainOf(dom);
    switch (domain.scan) {
        case Scan::Signed: {
            int32_t value = 0;
            if (!ScanInt(cur, value, domain.lo, domain.hi)) return false;
            stored = static_cast<uint32_t>(value);
            return true;
        }
        case Scan::Float: return ScanFloat(cur, stored, domain.lo, domain.hi);
        default: return ScanDword(cur, stored, domain.lo, domain.hi);
    }
}

int ScanIoNumber(ParseCursor& cur, const IoGroup& group, uint8_t& bit) {
    uint8_t n = 0;
    if (!ScanByte(cur, n, 0, group.count - 1)) return kErrIoNumber;
    bit = group.bit[n];
    return kErrNone;
}

int ScanIoOperand(ParseCursor& cur, std::span<const IoGroup> groups, uint8_t& bit) {
    for (const IoGroup& group : groups) {
        if (cur.Eat(group.letters)) return ScanIoNumber(cur, group, bit);
    }
    return -1;
}

namespace {

// The status names without their "STA_", in the order the compiler tests them.
struct StatusNames {
    std::array<std::string_view, kStatusCount> text{};
    std::array<uint8_t, kStatusCount> number{};
    StatusNames() {
        size_t i = 0;
        for (uint8_t n : StatusMatchOrder()) {
            text[i] = std::string_view(StatusName(n)).substr(std::strlen("STA_"));
            number[i++] = n;
        }
    }
};

}  // namespace

bool ScanStatusName(ParseCursor& cur, bool withWoti, uint8_t& number) {
    static const StatusNames names;
    for (size_t i = 0; i < names.text.size(); ++i) {
        if (!withWoti && names.number[i] == kStatusWoti) continue;
        if (cur.Eat(names.text[i])) {
            number = names.number[i];
            return true;
        }
    }
    return false;
}

int ScanTargetSuffix(ParseCursor& cur, uint16_t& target) {
    if (cur.Eat(")N")) {
        if (!ScanNumber(cur, Dom::LabelNo, target)) return kErrJumpTarget;
    } else if (EatOp(cur, ")", Word(SectionWord::End))) {
        target = kEndRecord;
    } else {
        return kErrJumpTarget;
    }
    return ExpectEnd(cur);
}

namespace {

// One form of a row as the compiler fills it, read once from the rows so
// that a statement costs a few operations on one word: the opcode and
// selector value go in first, then each given value in turn, then the
// form's fixed bytes, each written over what stood in its bytes.
struct Placement {
    uint8_t kind = 0;
    int16_t when = kAnyValue;
    uint8_t count = 0;  // values the form takes
    std::array<FieldBits, kMaxOperands> to{};
    uint64_t headMask = 0, headBits = 0;    // opcode and selector value
    uint64_t fixedMask = 0, fixedBits = 0;  // the fixed bytes
};

struct PlacementIndex {
    std::array<uint16_t, 257> first{};  // the forms of opcode n: first[n] to first[n + 1]
    std::vector<Placement> forms;

    PlacementIndex() {
        forms.reserve(256);
        for (int opcode = 0; opcode < 256; ++opcode) {
            first[static_cast<size_t>(opcode)] = static_cast<uint16_t>(forms.size());
            const OpcodeRow* row = FindOpcodeRow(static_cast<uint8_t>(opcode));
            if (row == nullptr || !row->compiles) continue;
            for (const Variant& variant : row->variants)
                forms.push_back(PlaceOf(static_cast<uint8_t>(opcode), *row, variant));
        }
        first[256] = static_cast<uint16_t>(forms.size());
    }

    static Placement PlaceOf(uint8_t opcode, const OpcodeRow& row, const Variant& form) {
        Placement p;
        p.kind = row.kind;
        p.when = form.when;
        p.headMask = 0xFF;
        p.headBits = opcode;
        if (form.when >= 0) {
            const FieldBits selector = BitsOf(row.selector);
            p.headBits = Place(p.headBits, selector, static_cast<uint64_t>(form.when));
            p.headMask |= selector.Mask() << selector.shift;
        }
        for (const FixedByte& fixed : form.fixed) {
            if (fixed.at < 0) continue;
            const FieldBits byte = ByteAt(fixed.at, 1);
            p.fixedBits = Place(p.fixedBits, byte, fixed.value);
            p.fixedMask |= byte.Mask() << byte.shift;
        }
        for (const Operand& operand : form.args) {
            if (operand.src == Src::None || operand.src == Src::Label) continue;
            const int at = BitsOf(operand.src).SingleByte();
            const bool fixedByForm = at >= 0 && ((p.fixedMask >> (8 * at)) & 0xFF) != 0;
            if (!fixedByForm) p.to[p.count++] = BitsOf(operand.src);
        }
        return p;
    }
};

const PlacementIndex& Placements() {
    static const PlacementIndex index;
    return index;
}

}  // namespace

int Emit(PlcInstr& rec, uint8_t opcode, FormValues values, int selector) {
    const PlacementIndex& index = Placements();
    const std::span<const Placement> forms(index.forms.data() + index.first[opcode],
                                           index.forms.data() + index.first[opcode + 1u]);
    const Placement* form = forms.empty() ? nullptr : forms.data();
    if (selector != kAnyValue) form = SelectForm(forms, static_cast<uint32_t>(selector));
    if (form == nullptr || values.size() != form->count) return kErrInternal;
    uint64_t word = (rec.low8() & ~form->headMask) | form->headBits;
    const uint32_t* value = values.begin();
    for (uint8_t i = 0; i < form->count; ++i) word = Place(word, form->to[i], value[i]);
    word = (word & ~form->fixedMask) | form->fixedBits;
    rec.setLow8(word);
    rec.setKind(form->kind);
    return kErrNone;
}

}  // namespace plc
