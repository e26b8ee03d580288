// SPDX-License-Identifier: GPL-3.0-or-later
// Where the operand fields of a record stand, and which form of an opcode's
// row a record stands for: written once, here, on the byte positions of
// PlcInstr. The compiler places a statement's values by these (Emit), the
// decoder reads them back by the same (RecordPrinter), and both choose a
// row's form by its selector with SelectVariant. A float constant's word is
// stored by FloatStored and read by StoredFloat.
#pragma once

#include <bit>
#include <cstdint>
#include <span>

#include "image/InstrSet.h"
#include "image/PlcInstr.h"

namespace plc {

// A field within the record's first eight bytes read as one little-endian
// 64-bit word (PlcInstr::low8): its lowest bit and its width in bytes. A
// width of 0 is no stored field (no operand, or the record's own label).
struct FieldBits {
    uint8_t shift = 0;
    uint8_t bytes = 0;

    constexpr uint64_t Mask() const {
        constexpr uint64_t kMasks[] = {0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF};
        return kMasks[bytes];
    }
    // The byte a one-byte field stands in; -1 for every other field.
    constexpr int SingleByte() const { return bytes == 1 ? shift / 8 : -1; }
};

constexpr FieldBits ByteAt(int at, int width) {
    return {static_cast<uint8_t>(8 * at), static_cast<uint8_t>(width)};
}

constexpr FieldBits BitsOf(Src src) {
    switch (src) {
        case Src::Mode: return ByteAt(PlcInstr::kMode, 1);
        case Src::B4: return ByteAt(PlcInstr::kDword4, 1);
        case Src::B5: return ByteAt(PlcInstr::kDword4 + 1, 1);
        case Src::B6: return ByteAt(PlcInstr::kDword4 + 2, 1);
        case Src::B7: return ByteAt(PlcInstr::kDword4 + 3, 1);
        case Src::Target: return ByteAt(PlcInstr::kTarget, 2);
        case Src::W67: return ByteAt(PlcInstr::kWord67, 2);
        case Src::D4: return ByteAt(PlcInstr::kDword4, 4);
        case Src::None:
        case Src::Label: break;
    }
    return {};
}

// `word` with `value` (cut to the field's width) in the field's place.
constexpr uint64_t Place(uint64_t word, FieldBits field, uint64_t value) {
    const uint64_t mask = field.Mask();
    return (word & ~(mask << field.shift)) | ((value & mask) << field.shift);
}

// The value of a field of `rec`; `index` is the record's own label.
inline uint32_t FieldValue(Src src, const PlcInstr& rec, int index) {
    if (src == Src::Label) return static_cast<uint32_t>(index);
    const FieldBits field = BitsOf(src);
    return static_cast<uint32_t>((rec.low8() >> field.shift) & field.Mask());
}

// Writes `value` into a field of `rec`, cut to the field's width (the label
// and no field at all take nothing).
inline void SetFieldValue(Src src, PlcInstr& rec, uint32_t value) {
    const FieldBits field = BitsOf(src);
    if (field.bytes != 0) rec.setLow8(Place(rec.low8(), field, value));
}

// A float constant stands in bytes 4 to 7 with its two 16-bit halves
// exchanged: the stored word is the float's bits with the halves swapped.
constexpr uint32_t SwapHalves(uint32_t word) { return (word << 16) | (word >> 16); }
constexpr float StoredFloat(uint32_t stored) { return std::bit_cast<float>(SwapHalves(stored)); }
constexpr uint32_t FloatStored(float value) { return SwapHalves(std::bit_cast<uint32_t>(value)); }

// Whether a form written for selector value `when` stands for `selector`.
constexpr bool SelectsVariant(int16_t when, uint32_t selector) {
    if (when == kAnyValue) return true;
    if (when == kNonZero) return selector != 0;
    return static_cast<uint32_t>(when) == selector;
}

// The first of `forms` (a row's variants, or anything else that carries
// their `when`) that stands for `selector`; nullptr when none does.
template <typename Form>
const Form* SelectForm(std::span<const Form> forms, uint32_t selector) {
    for (const Form& form : forms)
        if (SelectsVariant(form.when, selector)) return &form;
    return nullptr;
}

// The form of `row` that record `index` stands for, by its selector field.
inline const Variant* SelectVariant(const OpcodeRow& row, const PlcInstr& rec, int index) {
    return SelectForm(row.variants, FieldValue(row.selector, rec, index));
}

}  // namespace plc
