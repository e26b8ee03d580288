// The language server's transport: JSON-RPC messages framed by a
// "Content-Length" header, read from and written to byte streams.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace plcc::lsp {

// A body larger than this is skipped unread (a programme is a few tens of kilobytes).
inline constexpr size_t kMaxBodySize = 64u << 20;

enum class ReadStatus {
    Message,    // `body` holds one message
    Malformed,  // a header block without a usable Content-Length, or a body too large: skipped
    End,        // the stream ended (the client closed it or disconnected)
};

// Reads one header block and its body.
ReadStatus ReadMessage(std::istream& in, std::string& body);

// Writes one message with its header and flushes; false when the stream failed.
bool WriteMessage(std::ostream& out, std::string_view body);

}  // namespace plcc::lsp
