#pragma once

// Base protocol framing: every message is a header block of "Name: value"
// lines, an empty line, then exactly Content-Length bytes of JSON.
//
// A client that miscounts (characters instead of bytes on non-ASCII text) or
// a damaged header must not cost the session: after a broken frame the
// reader resynchronises on the next "Content-Length:" in the stream, wherever
// it stands (a body is not followed by a line break, so the next header
// usually begins in the middle of a line), and reports the broken frame once.

#include <cstddef>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace velmor::lsp {

// Bodies larger than this are skipped unread; a document of that size is far
// beyond anything the front end is meant for.
inline constexpr size_t kMaxMessageBytes = size_t{64} << 20;

enum class ReadStatus {
    Message,    // `body` holds one message
    Malformed,  // a header block without a usable Content-Length; skipped up to the next header
    Unframed,   // bytes that start no header (the rest of a body longer than its length); skipped
    Overrun,    // a length that ran past its body into the next header; the frame was skipped
    TooLarge,   // a length above kMaxMessageBytes; skipped up to the next header
    End,        // the input ended (possibly inside a message)
};

class MessageReader {
public:
    // Whether a body is a whole message (parses). It is asked only about a
    // body that holds a header start, the mark of a length that ran past its
    // body into the next frame.
    using IsMessage = std::function<bool(std::string_view body)>;

    MessageReader(std::istream& in, IsMessage isMessage) : in_(*in.rdbuf()), isMessage_(std::move(isMessage)) {}

    // Reads the next frame. Header lines may end in "\r\n" or "\n"; header
    // names are matched without regard to case; unknown headers are ignored.
    ReadStatus next(std::string& body);

    // Whether bytes can be read without waiting: unread ones held here, or
    // ones the stream has buffered or can tell are ready.
    bool hasInput() const { return pendingAt_ < pending_.size() || in_.in_avail() > 0; }

private:
    int get();
    // Puts bytes back in front of the input: they are read again next.
    void unread(std::string_view bytes);
    // One line with its "\n" when it has one; at most a header line's worth,
    // the rest stays unread. False at the end of the input.
    bool readLine(std::string& raw);
    // Drops bytes until the next header start, which stays unread.
    void skipToHeader();
    // After a body that is no message: the bytes from a header start in it,
    // or from one cut off at its end (the rest follows), are read again.
    // Whether there was one.
    bool reclaim(std::string_view body);

    std::streambuf& in_;
    IsMessage isMessage_;
    std::string pending_;  // unread bytes, read before the stream's
    size_t pendingAt_ = 0;
};

// Writes one frame and flushes it.
void writeMessage(std::ostream& out, std::string_view body);

}  // namespace velmor::lsp
