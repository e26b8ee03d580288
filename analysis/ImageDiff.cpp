// SPDX-License-Identifier: GPL-3.0-or-later
// Record-by-record comparison of two images.
#include "analysis/ImageDiff.h"

#include <cinttypes>
#include <cstdio>

#include "analysis/FlowGraph.h"
#include "decoder/DecodeRecord.h"
#include "image/LabelText.h"

namespace plc {

namespace {

bool IsStatement(const CPlcProgram& p, int r) {
    return r >= kFirstLabel && r <= kLastLabel && (p.Record(r).used() == 1 || p.Record(r).opcode() != 0);
}

// The next statement after `r`, or END: what the link of `r` holds in an
// image the compiler made.
int ImpliedNext(const CPlcProgram& p, int r) {
    for (int s = r + 1; s <= kLastLabel; ++s)
        if (IsStatement(p, s)) return s;
    return kEndRecord;
}

// True when record `r` holds what the compiler makes of it from the records
// the programme uses: the entry and END records whole, a statement's link.
bool AsImplied(const CPlcProgram& p, int r) {
    const PlcInstr& rec = p.Record(r);
    if (r == kEntryRecord || r == kEndRecord) {
        const auto next = static_cast<uint16_t>(r == kEntryRecord ? ImpliedNext(p, kEntryRecord) : kEndRecord);
        PlcInstr implied;
        implied.setOpcode(r == kEntryRecord ? 1 : 2);
        implied.setNext(next);
        implied.setTarget(next);
        return implied.low8() == rec.low8();
    }
    return rec.next() == ImpliedNext(p, r);
}

RecordSide SideOf(const CPlcProgram& p, int r) {
    RecordSide side;
    char words[32];
    std::snprintf(words, sizeof words, "%08" PRIx32 " %08" PRIx32, p.Record(r).dword0(), p.Record(r).dword4());
    side.words = words;
    if (r == kEntryRecord || r == kEndRecord) {
        side.present = true;
        side.text = RecordLabel(r) + (r == kEntryRecord ? " ; programme head" : " ; END record");
    } else if (IsStatement(p, r)) {
        side.present = true;
        side.statement = true;
        std::string text;
        DecodeRecord(p, text, r);
        side.text = LabelledText(r, text);
    } else {
        // Bytes that no statement shows, though the checksum counts them.
        side.present = p.Record(r).low8() != 0;
        side.text = LabelText(r) + " ; unused record";
    }
    return side;
}

}  // namespace

std::vector<RecordDifference> CompareProgramImages(const CPlcProgram& a, const CPlcProgram& b) {
    std::vector<RecordDifference> out;
    constexpr uint64_t kLinkBytes = uint64_t{0xFFFF} << 16;
    for (int r = 0; r < kRecordCount; ++r) {
        const uint64_t wa = a.Record(r).low8();
        const uint64_t wb = b.Record(r).low8();
        if (wa == wb) continue;
        const bool implied = AsImplied(a, r) && AsImplied(b, r);
        if (implied && (r == kEntryRecord || r == kEndRecord)) continue;
        if (implied && IsStatement(a, r) && IsStatement(b, r) && (wa & ~kLinkBytes) == (wb & ~kLinkBytes)) continue;
        RecordDifference d{r, SideOf(a, r), SideOf(b, r)};
        d.sameText = d.a.present && d.b.present && d.a.text == d.b.text;
        out.push_back(std::move(d));
    }
    return out;
}

}  // namespace plc
