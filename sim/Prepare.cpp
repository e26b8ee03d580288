// SPDX-License-Identifier: GPL-3.0-or-later
// Making the records of an image ready to run: the row and form of each
// record, its run-time meaning, its operands as terms. Everything here comes
// from the instruction tables; no opcode is named.
#include <bit>
#include <cstdio>

#include "decoder/Listing.h"
#include "decoder/DecodeRecord.h"
#include "decoder/RecordPrinter.h"
#include "sim/Events.h"
#include "sim/Prepared.h"
#include "sim/Signals.h"

namespace plc::sim {

namespace {

using Prepared = PreparedRecord;

const Operand* OperandAt(const Variant& form, Src src) {
    if (src == Src::None) return nullptr;
    for (const Operand& op : form.args)
        if (op.src == src) return &op;
    return nullptr;
}

// The term an operand of the record stands for.
Term TermOf(const Operand& op, const PlcInstr& rec, int index) {
    const uint32_t raw = FieldValue(op.src, rec, index);
    Term t;
    t.index = static_cast<int>(raw);
    switch (op.dom) {
        case Dom::FVar: t.kind = TermKind::F; break;
        case Dom::HVar: t.kind = TermKind::H; break;
        case Dom::MVar: t.kind = TermKind::M; break;
        case Dom::CVar: t.kind = TermKind::C; break;
        case Dom::ZVar: t.kind = TermKind::Z; break;
        case Dom::Input:
        case Dom::Output:
        case Dom::Status:
        case Dom::Register:
        case Dom::CtrlFlag:
        case Dom::DriveValF:
        case Dom::DriveValH:
        case Dom::CmIndex:
            t.kind = TermKind::Signal;
            t.index = Signals::Table().ForDomain(op.dom, raw);
            if (t.index < 0) t.kind = TermKind::None;
            break;
        case Dom::Int32:
            t.kind = TermKind::Const;
            t.constant = Num::Int(static_cast<int32_t>(raw));
            break;
        case Dom::Float:
            t.kind = TermKind::Const;
            // Stored with its halves exchanged.
            t.constant = Num::Real(std::bit_cast<float>((raw << 16) | (raw >> 16)));
            break;
        case Dom::LabelNo:
        case Dom::LetterAR:
        case Dom::Hex:
        case Dom::None:
            t.kind = TermKind::None;
            break;
        default:  // the numbers: values, bytes, counts, parameter numbers, message numbers
            t.kind = TermKind::Const;
            t.constant = Num::Int(static_cast<int64_t>(raw) + DomainOf(op.dom).bias);
            t.percent = op.dom == Dom::Percent;
            break;
    }
    return t;
}

Term TermAt(const Variant& form, Src src, const PlcInstr& rec, int index) {
    const Operand* op = OperandAt(form, src);
    return op != nullptr ? TermOf(*op, rec, index) : Term{};
}

Term SignalTerm(DrivePlace place) {
    Term t;
    t.index = Signals::Table().ForPlace(place);
    t.kind = t.index >= 0 ? TermKind::Signal : TermKind::None;
    return t;
}

Term ElementTerm(Dom table, uint32_t counter) {
    Term t;
    t.index = static_cast<int>(counter);
    t.kind = table == Dom::FVar ? TermKind::ElemF : table == Dom::HVar ? TermKind::ElemH : TermKind::ElemM;
    return t;
}

bool IsVariable(Dom dom) {
    return dom == Dom::FVar || dom == Dom::HVar || dom == Dom::MVar || dom == Dom::CVar || dom == Dom::ZVar;
}

std::string PlaceName(DrivePlace place, const Prepared& r) {
    switch (place) {
        case DrivePlace::Accr: return "ACCR";
        case DrivePlace::Decr: return "DECR";
        case DrivePlace::RxMsg: return "RXMSG[" + std::to_string(r.dst.constant.i) + "]";
        default: return {};
    }
}

// Fills `r` from the record's form and its row's meaning.
void Resolve(Prepared& r, const Variant& form, const PlcInstr& rec, int index) {
    const Meaning& m = r.row->meaning;
    r.calc = form.calc != Calc::None ? form.calc : m.calc;
    r.place = form.place != DrivePlace::None ? form.place : m.place;
    r.flow = m.flow;
    const bool param = r.place == DrivePlace::Param;

    // What it writes.
    if (m.sets != Src::None) {
        r.dst = TermAt(form, m.sets, rec, index);
    } else if (m.setsElement != Dom::None) {
        r.dst = ElementTerm(m.setsElement, FieldValue(m.to, rec, index));
    } else if (m.to != Src::None && !param) {
        r.dst = TermAt(form, m.to, rec, index);
    } else if (r.calc == Calc::Copy) {
        r.dst = SignalTerm(r.place);  // SET REFVAL = F
    }

    // What it reads.
    if (r.flow == Flow::Branch && r.calc != Calc::Drive) {
        r.left = r.place != DrivePlace::None ? SignalTerm(r.place) : TermAt(form, m.left, rec, index);
    }
    if (r.calc == Calc::WaitFor) r.left = SignalTerm(r.place);
    if (m.readsElement != Dom::None) {
        r.right = ElementTerm(m.readsElement, FieldValue(m.from, rec, index));
    } else if (param && r.calc != Calc::Drive) {
        r.right.kind = TermKind::Param;
        r.paramNo = TermAt(form, m.from, rec, index);
        r.paramSub = TermAt(form, m.aux, rec, index);
    } else {
        r.right = TermAt(form, m.from, rec, index);
        r.aux = TermAt(form, m.aux, rec, index);
    }
    if (param && r.calc == Calc::Drive) {
        r.paramNo = TermAt(form, m.to, rec, index);
        r.paramSub = TermAt(form, m.aux, rec, index);
    }
    if (r.calc == Calc::Setup) {
        r.dst = TermAt(form, m.to, rec, index);  // the receive message's number
        r.setting = PlaceName(r.place, r);
    }
    // A drive command reads every variable its form shows, but the one a
    // taken message jump stores into.
    if (r.calc == Calc::Drive) {
        for (const Operand& op : form.args)
            if (IsVariable(op.dom) && op.src != m.sets) r.reads.push_back(TermOf(op, rec, index));
    }
}

std::string Labelled(const char* what, int index) {
    char buf[96];
    std::snprintf(buf, sizeof buf, what, index);
    return buf;
}

}  // namespace

std::vector<Prepared> PrepareRecords(const CPlcProgram& program) {
    std::vector<Prepared> records(kRecordCount);
    for (int i = 0; i < kRecordCount; ++i) {
        Prepared& r = records[static_cast<size_t>(i)];
        const PlcInstr& rec = program.Record(i);
        r.next = rec.next();
        r.target = rec.target();
        if (i == kEntryRecord) {
            std::string head;
            if (!program.HasProgramHead(head)) {
                r.fault = "the image has no programme head (record 0 is no jump to a statement)";
                continue;
            }
            r.row = FindOpcodeRow(rec.opcode());
            r.flow = Flow::Jump;
            r.text = head;
            continue;
        }
        if (i == kEndRecord) continue;  // reaching it is reaching END
        if (rec.used() != 1 && rec.opcode() == 0) {
            r.fault = Labelled("N%03d holds no statement", i);
            continue;
        }
        std::string text;
        const bool decoded = DecodeRecord(program, text, i) != 0;
        r.row = FindOpcodeRow(rec.opcode());
        if (r.row == nullptr) {
            r.fault = Labelled("N%03d holds opcode ", i) + std::to_string(rec.opcode()) +
                      (rec.opcode() == 0 ? ", no instruction" : ", which is not defined");
            continue;
        }
        // A reserved record lists as a comment, which compiles back to
        // nothing; it halts with its own reason when the run reaches it.
        if (!decoded || (r.row->compiles && !RecordCompilesBack(program, i, text))) {
            r.fault = Labelled("N%03d cannot be decoded: ", i) + text;
            continue;
        }
        r.text = text.starts_with(LabelText(i) + " ") ? text.substr(5) : text;
        const uint32_t selector = FieldValue(r.row->selector, rec, i);
        for (const Variant& v : r.row->variants) {
            if (SelectsVariant(v.when, selector)) {
                Resolve(r, v, rec, i);
                break;
            }
        }
    }
    return records;
}

}  // namespace plc::sim
