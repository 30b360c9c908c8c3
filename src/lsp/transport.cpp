#include "lsp/transport.h"

#include <algorithm>
#include <cctype>

namespace velmor::lsp {

namespace {

// Longer header lines are cut: no real header comes near this.
constexpr size_t kMaxHeaderLine = 4096;

enum class LineStatus { Line, End };

LineStatus readHeaderLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) return LineStatus::End;
        if (c == '\n') break;
        if (line.size() < kMaxHeaderLine) line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return LineStatus::Line;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Decimal digits only; false on anything else or on overflow past the limit.
bool parseLength(std::string_view text, size_t& length, bool& tooLarge) {
    if (text.empty()) return false;
    length = 0;
    tooLarge = false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        if (length > kMaxMessageBytes) {
            tooLarge = true;
            continue;
        }
        length = length * 10 + static_cast<size_t>(c - '0');
    }
    if (length > kMaxMessageBytes) tooLarge = true;
    return true;
}

// Reads and drops `count` bytes; false when the input ends first.
bool skipBytes(std::istream& in, size_t count) {
    char chunk[65536];
    while (count > 0) {
        auto want = static_cast<std::streamsize>(std::min(count, sizeof chunk));
        std::streamsize got = in.rdbuf()->sgetn(chunk, want);
        if (got <= 0) return false;
        count -= static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

ReadStatus readMessage(std::istream& in, std::string& body) {
    std::string line;
    bool sawHeader = false;
    bool haveLength = false;
    bool invalid = false;
    bool tooLarge = false;
    size_t length = 0;
    for (;;) {
        if (readHeaderLine(in, line) == LineStatus::End) return ReadStatus::End;
        if (line.empty()) {
            // Blank lines before a header block are tolerated.
            if (!sawHeader) continue;
            break;
        }
        sawHeader = true;
        size_t colon = line.find(':');
        if (colon == std::string::npos) {
            invalid = true;
            continue;
        }
        std::string_view name = trim(std::string_view(line).substr(0, colon));
        if (!equalsIgnoringCase(name, "Content-Length")) continue;
        bool large = false;
        if (haveLength || !parseLength(trim(std::string_view(line).substr(colon + 1)), length, large)) {
            invalid = true;
            continue;
        }
        haveLength = true;
        tooLarge = large;
    }
    if (!haveLength || invalid) return ReadStatus::Malformed;
    if (tooLarge) {
        // A length beyond the limit cannot be skipped reliably when it does
        // not even fit the counter; the stream is then read on as headers.
        if (length <= kMaxMessageBytes * 16 && !skipBytes(in, length)) return ReadStatus::End;
        return ReadStatus::TooLarge;
    }
    body.resize(length);
    if (length > 0) {
        std::streamsize got = in.rdbuf()->sgetn(body.data(), static_cast<std::streamsize>(length));
        if (got != static_cast<std::streamsize>(length)) return ReadStatus::End;
    }
    return ReadStatus::Message;
}

void writeMessage(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n";
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
}

}  // namespace velmor::lsp
