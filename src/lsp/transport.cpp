#include "lsp/transport.h"

#include <algorithm>
#include <cctype>

namespace velmor::lsp {

namespace {

// A longer line is no header: no real header comes near this.
constexpr size_t kMaxHeaderLine = 4096;

// Every frame starts with it, whatever headers follow.
constexpr std::string_view kHeaderStart = "content-length:";

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

// Where kHeaderStart first starts in `bytes` at or after `from`.
size_t findHeaderStart(std::string_view bytes, size_t from) {
    for (size_t at = from; at + kHeaderStart.size() <= bytes.size(); ++at) {
        if (equalsIgnoringCase(bytes.substr(at, kHeaderStart.size()), kHeaderStart)) return at;
    }
    return std::string_view::npos;
}

// The length of the longest end of `bytes` that begins kHeaderStart without completing it.
size_t partialHeaderStart(std::string_view bytes) {
    for (size_t length = std::min(bytes.size(), kHeaderStart.size() - 1); length > 0; --length) {
        if (equalsIgnoringCase(bytes.substr(bytes.size() - length), kHeaderStart.substr(0, length))) return length;
    }
    return 0;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool isNameByte(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// A "Name: value" line: anything else is not a header.
bool isHeaderLine(std::string_view line, std::string_view& name, std::string_view& value) {
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    name = trim(line.substr(0, colon));
    value = trim(line.substr(colon + 1));
    return !name.empty() && std::all_of(name.begin(), name.end(), isNameByte);
}

// Decimal digits only; false on anything else. A length past the limit
// stops counting there and sets `tooLarge`.
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

}  // namespace

int MessageReader::get() {
    if (pendingAt_ < pending_.size()) return static_cast<unsigned char>(pending_[pendingAt_++]);
    return in_.sbumpc();
}

void MessageReader::unread(std::string_view bytes) {
    // Into the room of the pending bytes already read when there is room:
    // resynchronising through a long reclaimed body then copies nothing of
    // the rest of it.
    if (bytes.size() <= pendingAt_) {
        pendingAt_ -= bytes.size();
        pending_.replace(pendingAt_, bytes.size(), bytes);
        return;
    }
    pending_ = std::string(bytes) + pending_.substr(pendingAt_);
    pendingAt_ = 0;
}

bool MessageReader::readLine(std::string& raw) {
    raw.clear();
    while (raw.size() < kMaxHeaderLine) {
        int c = get();
        if (c == std::char_traits<char>::eof()) break;
        raw.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !raw.empty();
}

void MessageReader::skipToHeader() {
    // No letter of kHeaderStart after its first is a "c", so a mismatch can
    // only restart the match at the byte that broke it.
    std::string matched;
    for (;;) {
        int c = get();
        if (c == std::char_traits<char>::eof()) return;
        char byte = static_cast<char>(c);
        if (lower(byte) != kHeaderStart[matched.size()]) matched.clear();
        if (lower(byte) == kHeaderStart[matched.size()]) matched.push_back(byte);
        if (matched.size() == kHeaderStart.size()) {
            unread(matched);
            return;
        }
    }
}

bool MessageReader::reclaim(std::string_view body) {
    size_t header = findHeaderStart(body, 0);
    size_t from = header != std::string_view::npos ? header : body.size() - partialHeaderStart(body);
    if (from == body.size()) return false;
    unread(body.substr(from));
    return true;
}

ReadStatus MessageReader::next(std::string& body) {
    std::string raw;
    bool sawHeader = false;
    bool sawLength = false;
    bool haveLength = false;
    bool tooLarge = false;
    size_t length = 0;
    for (;;) {
        if (!readLine(raw)) return ReadStatus::End;
        std::string_view line(raw);
        if (line.ends_with('\n')) line.remove_suffix(1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) {
            // Blank lines before a header block are tolerated.
            if (!sawHeader) continue;
            break;
        }
        const ReadStatus broken = sawHeader ? ReadStatus::Malformed : ReadStatus::Unframed;
        // A frame that starts inside the line: what stands before it is the
        // rest of something broken (a body longer than its length said).
        if (size_t again = findHeaderStart(raw, 1); again != std::string::npos) {
            unread(std::string_view(raw).substr(again));
            return broken;
        }
        std::string_view name;
        std::string_view value;
        const bool cut = raw.size() == kMaxHeaderLine && !raw.ends_with('\n');
        if (cut || !isHeaderLine(line, name, value)) {
            unread(std::string_view(raw).substr(1));
            skipToHeader();
            return broken;
        }
        sawHeader = true;
        if (!equalsIgnoringCase(name, "Content-Length")) continue;
        if (sawLength) {
            // The block before never ended; a new frame may start here.
            unread(raw);
            return ReadStatus::Malformed;
        }
        sawLength = true;
        haveLength = parseLength(value, length, tooLarge);
    }
    if (!haveLength || tooLarge) {
        // The body's end is unknown: the next frame starts at the next header.
        skipToHeader();
        return haveLength ? ReadStatus::TooLarge : ReadStatus::Malformed;
    }

    body.resize(length);
    size_t got = std::min(length, pending_.size() - pendingAt_);
    std::copy_n(pending_.data() + pendingAt_, got, body.data());
    pendingAt_ += got;
    if (got < length) {
        std::streamsize more = in_.sgetn(body.data() + got, static_cast<std::streamsize>(length - got));
        got += static_cast<size_t>(std::max<std::streamsize>(more, 0));
    }
    if (got < length) {
        // The input ended inside the body; a length too long may have swallowed whole frames.
        body.resize(got);
        return reclaim(body) ? ReadStatus::Overrun : ReadStatus::End;
    }
    const bool mayHoldHeader = findHeaderStart(body, 0) != std::string::npos || partialHeaderStart(body) > 0;
    if (mayHoldHeader && !isMessage_(body) && reclaim(body)) return ReadStatus::Overrun;
    return ReadStatus::Message;
}

void writeMessage(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n";
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
}

}  // namespace velmor::lsp
