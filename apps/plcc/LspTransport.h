// SPDX-License-Identifier: GPL-3.0-or-later
// The language server's transport: JSON-RPC messages framed by a
// "Content-Length" header, read from and written to byte streams.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace plcc::lsp {

// A body larger than this is skipped unread: the largest document the server
// accepts (4 MiB) fits with room for its JSON escapes.
inline constexpr size_t kMaxBodySize = size_t{8} << 20;
// A Content-Length beyond this is no message a client means to send: it is
// taken as broken framing rather than skipped to the end of the stream.
inline constexpr size_t kMaxSkippedBody = size_t{1} << 30;

enum class ReadStatus {
    Message,   // `body` holds one message
    TooLarge,  // a body over kMaxBodySize was skipped; the stream goes on after it
    Broken,    // a header block that cannot be used: the framing is lost; `body` says why
    End,       // the stream ended (the client closed it or disconnected)
};

// Reads messages from a stream in blocks of what the stream has ready, so
// that headers and bodies are not taken a character at a time.
class MessageReader {
public:
    explicit MessageReader(std::istream& in) : m_in(in) {}
    // Reads one header block and its body.
    ReadStatus Read(std::string& body);

private:
    // Makes at least one more byte available; false at the end of the stream.
    bool Fill();
    // One header line without its line end into `line`; false at the end of the stream.
    bool HeaderLine(std::string& line, bool& tooLong);

    std::istream& m_in;
    std::string m_buffer;
    size_t m_at = 0;
};

// Writes one message with its header and flushes; false when the stream failed.
bool WriteMessage(std::ostream& out, std::string_view body);

}  // namespace plcc::lsp
