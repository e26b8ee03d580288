// Header blocks are lines ending in CR LF (a bare LF is accepted too) up to an
// empty line; only Content-Length matters, Content-Type is ignored.
#include "apps/plcc/LspTransport.h"

#include <charconv>

#include "base/Ascii.h"

namespace plcc::lsp {

namespace {

constexpr size_t kMaxHeaderLine = 4096;

// One header line without its line end; false at the end of the stream.
bool ReadHeaderLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    for (;;) {
        const int c = in.get();
        if (c == std::char_traits<char>::eof()) return !line.empty();
        if (c == '\n') break;
        if (line.size() < kMaxHeaderLine) {
            line.push_back(static_cast<char>(c));
        } else {
            tooLong = true;
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

ReadStatus ReadMessage(std::istream& in, std::string& body) {
    body.clear();
    constexpr std::string_view kLength = "content-length:";
    bool haveLength = false;
    bool bad = false;
    size_t length = 0;
    std::string line;
    bool sawHeader = false;
    for (;;) {
        bool tooLong = false;
        if (!ReadHeaderLine(in, line, tooLong)) return ReadStatus::End;
        if (line.empty()) {
            if (!sawHeader) continue;  // blank lines between messages
            break;
        }
        sawHeader = true;
        if (tooLong) bad = true;
        if (line.size() < kLength.size() ||
            !plc::EqualsIgnoreCase(std::string_view(line).substr(0, kLength.size()), kLength)) {
            continue;
        }
        size_t at = kLength.size();
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        size_t end = line.size();
        while (end > at && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
        const auto [ptr, ec] = std::from_chars(line.data() + at, line.data() + end, length);
        haveLength = ec == std::errc() && ptr == line.data() + end;
        if (!haveLength) bad = true;
    }
    if (!haveLength || bad) return ReadStatus::Malformed;
    if (length > kMaxBodySize) {
        in.ignore(static_cast<std::streamsize>(length));
        return in ? ReadStatus::Malformed : ReadStatus::End;
    }
    body.resize(length);
    in.read(body.data(), static_cast<std::streamsize>(length));
    if (static_cast<size_t>(in.gcount()) != length) return ReadStatus::End;
    return ReadStatus::Message;
}

bool WriteMessage(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n";
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace plcc::lsp
