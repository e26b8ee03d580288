// SPDX-License-Identifier: GPL-3.0-or-later
// The generic record printer: the opcode rows carry the texts, this file only
// knows how to fetch an operand from a record and print it by its domain.
#include "decoder/RecordPrinter.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "compiler/ParseCursor.h"
#include "compiler/Scanners.h"
#include "image/PlcProgram.h"

namespace plc {

namespace {

struct Value {
    char kind = 'd';        // 'd' / 'u' / 'X' / 'c': integer, 's': text, 'f': float
    int64_t number = 0;
    std::string text;
    uint32_t bits = 0;      // float constant, halves exchanged
    bool unnamed = false;   // an input or output number without a name
    bool unknown = false;   // a named selector outside its table
};


// An operand's value as its domain shows it.
Value Evaluate(Operand op, const PlcInstr& rec, int index) {
    const uint32_t raw = FieldValue(op.src, rec, index);
    const DomainInfo& domain = DomainOf(op.dom);
    Value v;
    v.kind = ConversionOf(op.dom, op.src);
    switch (domain.show) {
        case Show::Name:
            if (const char* name = domain.name(static_cast<uint8_t>(raw)); name != nullptr) {
                v.text = name;
            } else if (domain.unnamedShown) {
                v.text = "???ERR";
                v.unnamed = true;
            } else {
                v.unknown = true;
            }
            break;
        case Show::Signed32: v.number = static_cast<int32_t>(raw); break;
        case Show::Float: v.bits = raw; break;
        case Show::Letter: v.number = raw == 0 ? 'A' : 'R'; break;
        case Show::Number: v.number = static_cast<int64_t>(raw) + domain.bias; break;
    }
    return v;
}

// Fills `format` with the operands in order. Only the conversions the tables
// use are known: flags "0", a width, ".precision", the length "l", and
// d, u, X, c, s, f.
std::string Fill(const char* format, const Operands& args, const PlcInstr& rec, int index,
                 bool* unnamed) {
    std::string out;
    size_t next = 0;
    WalkFormat(
        format, [&out](char c) { out.push_back(c); },
        [&](std::string_view flags, char conv) {
            const Value v = next < args.size() ? Evaluate(args[next], rec, index) : Value{};
            ++next;
            if (v.unnamed && unnamed != nullptr) *unnamed = true;
            std::string conversion(1, '%');
            conversion += flags;
            char buf[96];
            switch (conv) {
                case 'd': std::snprintf(buf, sizeof buf, (conversion + PRId64).c_str(), v.number); break;
                case 'u': std::snprintf(buf, sizeof buf, (conversion + PRIu64).c_str(), v.number); break;
                case 'X': std::snprintf(buf, sizeof buf, (conversion + PRIX64).c_str(), v.number); break;
                case 'c': buf[0] = static_cast<char>(v.number); buf[1] = '\0'; break;
                case 's': out += v.text; buf[0] = '\0'; break;
                case 'f': out += FormatFloatConstant(v.bits); buf[0] = '\0'; break;
                default: buf[0] = '\0'; break;
            }
            out += buf;
        });
    return out;
}


// True when `text` compiles back through the float scanner to `swappedBits`.
bool ReadsBack(const std::string& text, uint32_t swappedBits) {
    ParseCursor cur(text);
    uint32_t bits = 0;
    const DomainInfo& domain = DomainOf(Dom::Float);
    return ScanFloat(cur, bits, domain.lo, domain.hi) && cur.AtEnd() && bits == swappedBits;
}

}  // namespace

char ConversionOf(Dom dom, Src src) { return src == Src::None ? '\0' : DomainOf(dom).conversion; }

std::vector<char> FormatConversions(std::string_view format) {
    std::vector<char> conversions;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i < format.size() && format[i] == '%') continue;
        while (i < format.size() && (format[i] == '0' || (format[i] >= '1' && format[i] <= '9') ||
                                     format[i] == '.' || format[i] == 'l'))
            ++i;
        if (i < format.size()) conversions.push_back(format[i]);
    }
    return conversions;
}

std::string FormatFloatConstant(uint32_t swappedBits) {
    const double value = StoredFloat(swappedBits);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.10f", value);
    const std::string canonical = buf;
    if (ReadsBack(canonical, swappedBits)) return canonical;
    for (int decimals = 11; decimals <= 60; ++decimals) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        if (ReadsBack(buf, swappedBits)) return buf;
    }
    // The scanner rounds to the nearest single, so a text anywhere within
    // half a step of the value reads back to it. The single nearest to the
    // scanner's bound 3.37e38 lies just beyond the bound: its own digits are
    // refused, but a point of its interval nearer zero is accepted.
    const double towardZero = std::nextafter(StoredFloat(swappedBits), 0.0f);
    for (int sixteenths = 1; sixteenths < 8; ++sixteenths) {
        std::snprintf(buf, sizeof buf, "%.10f", value + (towardZero - value) * sixteenths / 16.0);
        if (ReadsBack(buf, swappedBits)) return buf;
    }
    return canonical;
}

int RenderRecord(const OpcodeRow& row, const PlcInstr& rec, int index, std::string& text) {
    if (row.guard.src != Src::None && Evaluate(row.guard, rec, index).unknown) {
        text = Fill(row.guardError.text, row.guardError.args, rec, index, nullptr);
        return 0;
    }
    const Variant* variant = SelectVariant(row, rec, index);
    if (variant == nullptr) {
        text = Fill(row.selectorError.text, row.selectorError.args, rec, index, nullptr);
        return 0;
    }
    const bool endForm = variant->endText != nullptr && rec.target() == kEndRecord;
    bool unnamed = false;
    text = endForm ? Fill(variant->endText, variant->endArgs, rec, index, &unnamed)
                   : Fill(variant->text, variant->args, rec, index, &unnamed);
    // A selector name outside its table inside a statement text.
    for (const Operand& op : endForm ? variant->endArgs : variant->args) {
        if (op.src != Src::None && Evaluate(op, rec, index).unknown) {
            text = Fill(row.guardError.text, row.guardError.args, rec, index, nullptr);
            return 0;
        }
    }
    if (unnamed) {
        text.insert(0, "ERROR: ");
        return 0;
    }
    return 1;
}

}  // namespace plc
