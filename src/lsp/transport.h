#pragma once

// Base protocol framing: every message is a header block of "Name: value"
// lines, an empty line, then exactly Content-Length bytes of JSON.

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace velmor::lsp {

// Bodies larger than this are skipped unread; a document of that size is far
// beyond anything the front end is meant for.
inline constexpr size_t kMaxMessageBytes = size_t{64} << 20;

enum class ReadStatus {
    Message,    // `body` holds one message
    Malformed,  // a header block without a usable Content-Length; skipped
    TooLarge,   // a body above kMaxMessageBytes; skipped
    End,        // the input ended (possibly inside a message)
};

// Reads the next frame. Header lines may end in "\r\n" or "\n"; header names
// are matched without regard to case; unknown headers are ignored.
ReadStatus readMessage(std::istream& in, std::string& body);

// Writes one frame and flushes it.
void writeMessage(std::ostream& out, std::string_view body);

}  // namespace velmor::lsp
