// The programme listing: frame, head line, one line per listed record, and
// the entries that report undecodable records against their listed line.
#include "decoder/Listing.h"

#include <cinttypes>
#include <cstdio>

#include "compiler/CompileDriver.h"
#include "resources/StringTable.h"

namespace plc {

namespace {

constexpr int32_t kHeadLine = 3;  // header, empty line, then the head

}  // namespace

std::string ListingDate(const std::tm& localTime) {
    char buf[64];
    if (std::strftime(buf, sizeof buf, "%d/%m/%Y, %H:%M", &localTime) == 0) return {};
    return buf;
}

ListingOutcome ListProgramImage(CPlcProgram& program, std::string_view fileName,
                                std::string_view dateText) {
    ListingOutcome out;
    out.entries.push_back(LoadString(kIdsTextCoding));
    out.entries.emplace_back();

    out.text = "; ";
    out.text += dateText;
    out.text += ", ";
    out.text += fileName;
    out.text += "\r\n\r\n";

    std::string head;
    if (!program.HasProgramHead(head)) {
        head = LoadString(kIdsNoProgramHead);
        char prefix[48];
        std::snprintf(prefix, sizeof prefix, "  LINE(%03" PRId32 "): ERR() - ", kHeadLine);
        out.entries.push_back(prefix + head);
        ++out.errorCount;
    }
    out.text += head;
    out.text += "\r\n";

    // The pass always runs to its end, so the next pass starts at record 1.
    int32_t lineNumber = kHeadLine;
    std::string recordText;
    int32_t sourceLine = 0;
    int32_t error = 0;
    while (program.DecodeNextRecord(recordText, sourceLine, error)) {
        ++lineNumber;
        out.text += recordText;
        out.text += "\r\n";
        if (error != 0) {
            out.entries.push_back(FormatErrorEntry(lineNumber, error));
            ++out.errorCount;
            ++out.undecodable;
        }
    }
    out.text += "END";

    AppendTextCodingSummary(out.entries, out.errorCount);
    return out;
}

void AppendTextCodingSummary(std::vector<std::string>& entries, int32_t errorCount) {
    if (errorCount != 0) {
        char count[32];
        std::snprintf(count, sizeof count, "%" PRId32 " ", errorCount);
        entries.emplace_back();
        entries.push_back(FormatString(kIdsTextCodingErrors, count));
    } else {
        entries.push_back(LoadString(kIdsTextCodingOk));
    }
}

}  // namespace plc
