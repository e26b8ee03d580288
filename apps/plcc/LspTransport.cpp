// SPDX-License-Identifier: GPL-3.0-or-later
// Header blocks are lines ending in CR LF (a bare LF is accepted too) up to an
// empty line. Content-Length is required, written as plain decimal digits,
// and may appear more than once only with the same value; Content-Type is
// ignored. A header block that breaks these rules leaves no way to find where
// the next message starts, so it ends the session.
#include "apps/plcc/LspTransport.h"

#include <algorithm>
#include <charconv>

#include "base/Ascii.h"

namespace plcc::lsp {

namespace {

constexpr size_t kMaxHeaderLine = 4096;
constexpr size_t kBlock = 64 * 1024;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool MessageReader::Fill() {
    if (m_at > 0) {
        m_buffer.erase(0, m_at);
        m_at = 0;
    }
    std::streambuf* source = m_in.rdbuf();
    if (source == nullptr) return false;
    // sgetc waits for the first byte; what the stream then has buffered is
    // taken in the same step, without waiting for more.
    if (source->sgetc() == std::char_traits<char>::eof()) return false;
    const std::streamsize ready = std::max<std::streamsize>(1, source->in_avail());
    const size_t take = std::min(kBlock, static_cast<size_t>(ready));
    const size_t old = m_buffer.size();
    m_buffer.resize(old + take);
    const std::streamsize got = source->sgetn(m_buffer.data() + old, static_cast<std::streamsize>(take));
    m_buffer.resize(old + static_cast<size_t>(std::max<std::streamsize>(got, 0)));
    return got > 0;
}

bool MessageReader::HeaderLine(std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    for (;;) {
        const size_t end = m_buffer.find('\n', m_at);
        const size_t stop = end == std::string::npos ? m_buffer.size() : end;
        const size_t room = kMaxHeaderLine - std::min(kMaxHeaderLine, line.size());
        if (stop - m_at > room) tooLong = true;
        line.append(m_buffer, m_at, std::min(stop - m_at, room));
        if (end != std::string::npos) {
            m_at = end + 1;
            break;
        }
        m_at = m_buffer.size();
        if (!Fill()) return !line.empty();
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

ReadStatus MessageReader::Read(std::string& body) {
    body.clear();
    constexpr std::string_view kLength = "content-length";
    bool haveLength = false;
    size_t length = 0;
    std::string line;
    bool sawHeader = false;
    for (;;) {
        bool tooLong = false;
        if (!HeaderLine(line, tooLong)) {
            if (!sawHeader) return ReadStatus::End;
            body = "the stream ended inside a header block";
            return ReadStatus::Broken;
        }
        if (line.empty()) {
            if (!sawHeader) continue;  // blank lines between messages
            break;
        }
        sawHeader = true;
        if (tooLong) {
            body = "a header line is longer than " + std::to_string(kMaxHeaderLine) + " bytes";
            return ReadStatus::Broken;
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            body = "a header line has no ':' (" + line.substr(0, 80) + ")";
            return ReadStatus::Broken;
        }
        if (!plc::EqualsIgnoreCase(TrimBlanks(std::string_view(line).substr(0, colon)), kLength)) continue;
        const std::string_view value = TrimBlanks(std::string_view(line).substr(colon + 1));
        size_t parsed = 0;
        // from_chars takes digits only: no sign, no "0x", no overflow.
        const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
        if (value.empty() || ec != std::errc() || ptr != value.data() + value.size()) {
            body = "unusable Content-Length '" + std::string(value.substr(0, 80)) + "'";
            return ReadStatus::Broken;
        }
        if (haveLength && parsed != length) {
            body = "two different Content-Length headers (" + std::to_string(length) + " and " +
                   std::to_string(parsed) + ")";
            return ReadStatus::Broken;
        }
        haveLength = true;
        length = parsed;
    }
    if (!haveLength) {
        body = "a header block without Content-Length";
        return ReadStatus::Broken;
    }
    if (length > kMaxSkippedBody) {
        body = "Content-Length " + std::to_string(length) + " is beyond any message";
        return ReadStatus::Broken;
    }
    const bool tooLarge = length > kMaxBodySize;
    // The body is taken from the buffer block by block; one too large is
    // passed over without being kept.
    size_t left = length;
    for (;;) {
        const size_t take = std::min(left, m_buffer.size() - m_at);
        if (!tooLarge) body.append(m_buffer, m_at, take);
        m_at += take;
        left -= take;
        if (left == 0) break;
        if (!Fill()) return ReadStatus::End;
    }
    return tooLarge ? ReadStatus::TooLarge : ReadStatus::Message;
}

bool WriteMessage(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n";
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace plcc::lsp
