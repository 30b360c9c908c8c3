// The framing of the base protocol, and how the reader finds the frames
// again after a broken one. tests/lsp/frames_test.py runs the same kinds of
// damage through the program end to end.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lsp/transport.h"

using namespace velmor::lsp;

namespace {

// What the reader makes of `input`, one entry per frame: "{...}" for a
// message body as read, else the status's name. A body is a message here
// when it is one pair of braces.
std::string frames(const std::string& input) {
    std::istringstream in(input);
    MessageReader reader(in, [](std::string_view body) {
        return body.size() >= 2 && body.front() == '{' && body.find('}') == body.size() - 1;
    });
    std::string found;
    std::string body;
    for (;;) {
        ReadStatus status = reader.next(body);
        if (status == ReadStatus::End) return found;
        if (!found.empty()) found += " ";
        switch (status) {
        case ReadStatus::Message: found += body; break;
        case ReadStatus::Malformed: found += "Malformed"; break;
        case ReadStatus::Unframed: found += "Unframed"; break;
        case ReadStatus::Overrun: found += "Overrun"; break;
        case ReadStatus::TooLarge: found += "TooLarge"; break;
        case ReadStatus::End: break;
        }
    }
}

std::string frame(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

}  // namespace

TEST(LspTransport, FramesAndTheWayBackAfterABrokenOne) {
    const std::string next = frame("{2}") + frame("{3}");
    struct Case {
        std::string input;
        const char* expected;
    };
    const Case cases[] = {
        {"\r\n\ncontent-length: 3\nContent-Type: x\n\n{1}" + next, "{1} {2} {3}"},
        {"Content-Length: 3x\r\n\r\n{1}" + next, "Malformed {2} {3}"},
        {"Content-Type: x\r\n\r\n{1}" + next, "Malformed {2} {3}"},
        {"Content-Length: 3\r\nContent-Length: 3\r\n\r\n{2}" + frame("{3}"), "Malformed {2} {3}"},
        {"Content-Length: 3\r\nX-Cut" + next, "Malformed {2} {3}"},
        // A length shorter than the body (characters counted, not bytes).
        {"Content-Length: 3\r\n\r\n{\xC3\xA9}" + next, "{\xC3\xA9 Unframed {2} {3}"},
        // Lengths past the body: into the next frame, just short of its
        // header's end, into its header's first bytes, past the input's end.
        {"Content-Length: 30\r\n\r\n{1}" + next, "Overrun {2} {3}"},
        {"Content-Length: 24\r\n\r\n{1}" + next, "Overrun {2} {3}"},
        {"Content-Length: 7\r\n\r\n{1}" + next, "Overrun {2} {3}"},
        {"Content-Length: 999\r\n\r\n{1}" + next, "Overrun {2} {3}"},
        {"Content-Length: 99999999999999999999\r\n\r\n{1}" + next, "TooLarge {2} {3}"},
        {"Content-Length: 67108865\r\n\r\n{1}" + next, "TooLarge {2} {3}"},
        // Bytes that start no frame, on lines of their own or running into a header.
        {"noise\r\n" + next, "Unframed {2} {3}"},
        {"{1}" + next, "Unframed {2} {3}"},
        {"Content-Length: 3\r\n\r\n{1}cContent-Length: 3\r\n\r\n{2}", "{1} Unframed {2}"},
        {std::string(4090, 'x') + next, "Unframed {2} {3}"},
        {"X: " + std::string(5000, 'x') + next, "Unframed {2} {3}"},
        // The input ends inside a frame.
        {"Content-Length: 9\r\n\r\n{1}", ""},
        {"Content-Length: 3", ""},
    };
    for (const Case& test : cases) EXPECT_EQ(frames(test.input), test.expected) << test.input.substr(0, 80);
}

TEST(LspTransport, WritesOneFrame) {
    std::ostringstream out;
    writeMessage(out, "{\"a\":\"\xC3\xA9\"}");
    EXPECT_EQ(out.str(), "Content-Length: 10\r\n\r\n{\"a\":\"\xC3\xA9\"}");
}
