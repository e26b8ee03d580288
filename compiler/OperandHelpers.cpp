// Operand helpers shared by the statement compilers of every family.
#include <array>
#include <cstring>
#include <vector>

#include "compiler/Statements.h"

namespace plc {

int VarError(VarKind kind) {
    switch (kind) {
        case VarKind::C: return kErrCounter;
        case VarKind::F: return kErrFloat;
        case VarKind::H: return kErrInteger;
        case VarKind::M: return kErrFlag;
        case VarKind::Z: return kErrTimer;
    }
    return kErrInternal;
}

bool ScanNumber(ParseCursor& cur, Dom dom, uint8_t& stored) {
    const DomainInfo& domain = DomainOf(dom);
    uint16_t written = 0;
    if (!CPlcProgram::ScanWord(cur, written, domain.lo, domain.hi > 255 ? 255 : domain.hi)) return false;
    stored = static_cast<uint8_t>(written - domain.bias);
    return true;
}

bool ScanNumber(ParseCursor& cur, Dom dom, uint16_t& stored) {
    const DomainInfo& domain = DomainOf(dom);
    uint16_t written = 0;
    if (!CPlcProgram::ScanWord(cur, written, domain.lo, domain.hi)) return false;
    stored = static_cast<uint16_t>(written - domain.bias);
    return true;
}

bool ScanConstant(ParseCursor& cur, Dom dom, uint32_t& stored) {
    const DomainInfo& domain = DomainOf(dom);
    switch (domain.scan) {
        case Scan::Signed: {
            int32_t value = 0;
            if (!CPlcProgram::ScanInt(cur, value, domain.lo, domain.hi)) return false;
            stored = static_cast<uint32_t>(value);
            return true;
        }
        case Scan::Float: return CPlcProgram::ScanFloat(cur, stored, domain.lo, domain.hi);
        default: return CPlcProgram::ScanDword(cur, stored, domain.lo, domain.hi);
    }
}

Dom VarDomain(VarKind kind) {
    switch (kind) {
        case VarKind::C: return Dom::CVar;
        case VarKind::F: return Dom::FVar;
        case VarKind::H: return Dom::HVar;
        case VarKind::M: return Dom::MVar;
        case VarKind::Z: return Dom::ZVar;
    }
    return Dom::None;
}

int ScanVar(ParseCursor& cur, VarKind kind, uint8_t& index) {
    return ScanNumber(cur, VarDomain(kind), index) ? kErrNone : VarError(kind);
}

int ScanIoNumber(ParseCursor& cur, const IoGroup& group, uint8_t& bit) {
    uint8_t n = 0;
    if (!CPlcProgram::ScanByte(cur, n, 0, group.count - 1)) return kErrIoNumber;
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
    } else if (cur.Eat(")END")) {
        target = kEndRecord;
    } else {
        return kErrJumpTarget;
    }
    return ExpectEnd(cur);
}

namespace {

// The byte a one-byte field stands in; -1 for the wider fields.
constexpr int SingleByteOf(Src src) {
    switch (src) {
        case Src::Mode: return 1;
        case Src::B4: return 4;
        case Src::B5: return 5;
        case Src::B6: return 6;
        case Src::B7: return 7;
        default: return -1;
    }
}

inline void Store(PlcInstr& rec, Src src, uint32_t value) {
    switch (src) {
        case Src::Target: rec.setTarget(static_cast<uint16_t>(value)); return;
        case Src::W67: rec.setWord67(static_cast<uint16_t>(value)); return;
        case Src::D4: rec.setDword4(value); return;
        case Src::None:
        case Src::Label: return;
        default: rec.b[static_cast<size_t>(SingleByteOf(src))] = static_cast<uint8_t>(value); return;
    }
}

// One form of a row as the compiler fills it: where each given value goes,
// read once from the rows so that a statement costs a few stores.
struct Placement {
    uint8_t kind = 0;
    Src selector = Src::None;
    int16_t when = kAnyValue;
    uint8_t count = 0;  // values the form takes
    std::array<Src, kMaxOperands> to{};
    uint8_t fixedCount = 0;
    FixedBytes fixed{};
};

struct PlacementIndex {
    std::array<uint16_t, 257> first{};  // the forms of opcode n: first[n] to first[n + 1]
    std::vector<Placement> forms;

    PlacementIndex() {
        for (int opcode = 0; opcode < 256; ++opcode) {
            first[static_cast<size_t>(opcode)] = static_cast<uint16_t>(forms.size());
            const OpcodeRow* row = FindOpcodeRow(static_cast<uint8_t>(opcode));
            if (row == nullptr || !row->compiles) continue;
            for (const Variant& variant : row->variants) forms.push_back(PlaceOf(*row, variant));
        }
        first[256] = static_cast<uint16_t>(forms.size());
    }

    static Placement PlaceOf(const OpcodeRow& row, const Variant& form) {
        Placement p;
        p.kind = row.kind;
        p.selector = row.selector;
        p.when = form.when;
        for (const FixedByte& fixed : form.fixed) {
            if (fixed.at >= 0) p.fixed[p.fixedCount++] = fixed;
        }
        for (const Operand& operand : form.args) {
            if (operand.src == Src::None || operand.src == Src::Label) continue;
            const int at = SingleByteOf(operand.src);
            bool fixedByForm = false;
            for (uint8_t i = 0; i < p.fixedCount; ++i) fixedByForm = fixedByForm || p.fixed[i].at == at;
            if (!fixedByForm) p.to[p.count++] = operand.src;
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
    const Placement* form = index.forms.data() + index.first[opcode];
    const Placement* const end = index.forms.data() + index.first[opcode + 1u];
    if (selector != kAnyValue) {
        while (form != end && form->when != selector && !(form->when == kNonZero && selector != 0)) ++form;
    }
    if (form == end || values.size() != form->count) return kErrInternal;
    rec.setOpcode(opcode);
    rec.setKind(form->kind);
    if (form->when >= 0) Store(rec, form->selector, static_cast<uint32_t>(form->when));
    const uint32_t* value = values.begin();
    for (uint8_t i = 0; i < form->count; ++i) Store(rec, form->to[i], value[i]);
    for (uint8_t i = 0; i < form->fixedCount; ++i) rec.b[static_cast<size_t>(form->fixed[i].at)] = form->fixed[i].value;
    return kErrNone;
}

}  // namespace plc
