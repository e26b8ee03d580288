// Operand helpers shared by the statement compilers of every family.
#include <cstring>

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

bool EatOp(ParseCursor& cur, std::string_view op, std::string_view letters) {
    const size_t at = cur.Position();
    if (cur.Eat(op) && cur.Eat(letters)) return true;
    cur.SetPosition(at);
    return false;
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

bool ScanStatusName(ParseCursor& cur, bool withWoti, uint8_t& number) {
    for (uint8_t n : StatusMatchOrder()) {
        if (!withWoti && n == kStatusWoti) continue;
        const char* name = StatusName(n) + std::strlen("STA_");
        if (cur.Eat(name)) {
            number = n;
            return true;
        }
    }
    return false;
}

int ScanTargetSuffix(ParseCursor& cur, PlcInstr& rec) {
    if (cur.Eat(")N")) {
        uint16_t target = 0;
        if (!ScanNumber(cur, Dom::LabelNo, target)) return kErrJumpTarget;
        rec.setTarget(target);
    } else if (cur.Eat(")END")) {
        rec.setTarget(kEndRecord);
    } else {
        return kErrJumpTarget;
    }
    return ExpectEnd(cur);
}

}  // namespace plc
