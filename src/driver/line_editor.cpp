#include "driver/line_editor.h"

#include <algorithm>
#include <utility>

#include "driver/display_width.h"
#include "lexer/lexer.h"

namespace velmor {

enum class LineEditor::Key {
    None,  // consumed, does nothing
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    Delete,
    WordLeft,
    WordRight,
    DeleteWordBackward,
    DeleteWordForward,
};

namespace {

constexpr int kEscape = 0x1b;
constexpr int kDefaultColumns = 80;

constexpr int control(char letter) { return letter & 0x1f; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A character of the text as the editor draws it. The only control bytes an
// entry holds are the line feed between its lines and a tab from a paste,
// which is drawn as one blank (appendDrawn).
TextCharacter drawnCharacter(std::string_view text, std::size_t at) {
    if (static_cast<unsigned char>(text[at]) < 0x80) return TextCharacter{1, 1};
    return measureCharacter(text, at);
}

// Columns the bytes take on the screen, leaving aside where rows break.
int columnsOf(std::string_view bytes) {
    int columns = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const TextCharacter character = drawnCharacter(bytes, at);
        columns += character.width;
        at += character.length;
    }
    return columns;
}

void appendDrawn(std::string& out, std::string_view bytes) {
    for (char c : bytes) out += c == '\t' ? ' ' : c;
}

// A printing ASCII byte, or one well-formed UTF-8 character.
bool isOnePrintingCharacter(std::string_view bytes) {
    if (bytes.size() == 1) return bytes[0] >= 0x20 && bytes[0] < 0x7f;
    return !bytes.empty() && measureCharacter(bytes, 0).length == bytes.size();
}

// How many bytes of UTF-8 follow a first byte of this value.
int continuationBytesAfter(int lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

struct ScreenPosition {
    int row = 0;
    int column = 0;
};

// Where a terminal puts the characters of one line, row by row: a character
// that does not fit before the margin starts the next row (a wide one meeting
// the last column leaves it empty), and after a character that reaches the
// margin the cursor waits there, so the column may equal the width.
class RowLayout {
public:
    explicit RowLayout(int width) : width_(width) {}

    // Places a character; gives the place where it starts.
    ScreenPosition place(int columns) {
        if (columns > 0 && end_.column > 0 && end_.column + columns > width_) {
            ++end_.row;
            end_.column = 0;
        }
        const ScreenPosition start = end_;
        end_.column += columns;
        return start;
    }

    // Just after the last character placed.
    ScreenPosition end() const { return end_; }
    // Where a cursor at that position stands: one waiting at the margin belongs at the next row's start.
    ScreenPosition cursorAt(ScreenPosition position) const {
        return position.column >= width_ ? ScreenPosition{position.row + 1, 0} : position;
    }

private:
    int width_;
    ScreenPosition end_;
};

// Places the character that begins at `at`; gives its length in bytes.
std::size_t placeCharacter(RowLayout& layout, std::string_view text, std::size_t at) {
    const TextCharacter character = drawnCharacter(text, at);
    layout.place(character.width);
    return character.length;
}

void appendCursorMove(std::string& out, int count, char direction) {
    if (count <= 0) return;
    out += "\x1b[";
    out += std::to_string(count);
    out += direction;
}

}  // namespace

LineEditor::LineEditor(TerminalIo& io, Completer completer) : io_(io), completer_(std::move(completer)) {}

bool LineEditor::addHistory(std::string entry) {
    if (std::all_of(entry.begin(), entry.end(), [](char c) { return isBlank(c) || c == '\n'; })) return false;
    if (static_cast<std::size_t>(std::count(entry.begin(), entry.end(), '\n')) >= kMaxHistoryLines) return false;
    if (!history_.empty() && history_.back() == entry) return false;
    history_.push_back(std::move(entry));
    if (history_.size() > kMaxHistoryEntries) history_.pop_front();
    return true;
}

LineEditor::Result LineEditor::readLine(std::string_view prompt, std::string_view continuationPrompt) {
    io_.prepareForInput();
    prompt_ = prompt;
    continuationPrompt_ = continuationPrompt;
    text_.clear();
    cursor_ = 0;
    historyIndex_ = history_.size();
    savedText_.clear();
    keysWaiting_ = 0;  // a program may have read what was there
    drawnCursorRow_ = 0;
    refresh();
    for (;;) {
        const int byte = nextByte(-1);
        if (byte == TerminalIo::kEndOfInput) {
            moveTo(text_.size());
            flush();
            return Result{Outcome::EndOfInput, {}};
        }
        if (handleKey(byte)) {
            flush();
            return Result{outcome_, outcome_ == Outcome::Line ? std::move(text_) : std::string()};
        }
    }
}

int LineEditor::nextByte(int timeoutMs) {
    if (pushedBack_ != TerminalIo::kNoByte) return std::exchange(pushedBack_, TerminalIo::kNoByte);
    // Drawing waits while more keys are already there (a paste): the screen
    // shows the outcome of the lot, written at once.
    if (!output_.empty()) {
        if (keysWaiting_ == 0) keysWaiting_ = io_.bytesWaiting();
        if (keysWaiting_ == 0) flush();
    }
    const int byte = io_.readByte(timeoutMs);
    if (byte >= 0 && keysWaiting_ > 0) --keysWaiting_;
    return byte;
}

void LineEditor::emit(std::string_view bytes) { output_ += bytes; }

void LineEditor::flush() {
    if (output_.empty()) return;
    io_.write(output_);
    output_.clear();
}

bool LineEditor::handleKey(int byte) {
    const bool lineFeedOfEnter = afterCarriageReturn_ && byte == '\n';
    afterCarriageReturn_ = false;
    if (lineFeedOfEnter) return false;
    switch (byte) {
    case '\r': afterCarriageReturn_ = true; [[fallthrough]];
    case '\n':
        moveTo(text_.size());
        leaveEntry();
        outcome_ = Outcome::Line;
        return true;
    case control('C'):
        // Shown as the terminal itself shows it, at the end of the entry.
        moveTo(text_.size());
        emit("^C\r\n");
        drawnCursorRow_ = drawnEndRow_ = 0;
        drawnEndOnFreshRow_ = false;
        outcome_ = Outcome::Interrupted;
        return true;
    case control('D'):
        if (text_.empty()) {
            outcome_ = Outcome::EndKey;
            return true;
        }
        return handleNamedKey(Key::Delete);
    case control('A'): return handleNamedKey(Key::Home);
    case control('E'): return handleNamedKey(Key::End);
    case control('B'): return handleNamedKey(Key::Left);
    case control('F'): return handleNamedKey(Key::Right);
    case control('P'): return handleNamedKey(Key::Up);
    case control('N'): return handleNamedKey(Key::Down);
    case control('H'):
    case 0x7f:
        if (cursor_ > 0) erase(previousCharacter(cursor_), cursor_);
        return false;
    case control('I'): complete(); return false;
    case control('K'): erase(cursor_, lineEnd(cursor_)); return false;
    case control('U'): erase(lineStart(cursor_), cursor_); return false;
    case control('W'): {
        std::size_t from = cursor_;
        const std::size_t start = lineStart(cursor_);
        while (from > start && isBlank(text_[from - 1])) --from;
        while (from > start && !isBlank(text_[from - 1])) --from;
        erase(from, cursor_);
        return false;
    }
    case control('L'):
        emit("\x1b[H\x1b[2J");
        drawnCursorRow_ = 0;
        refresh();
        return false;
    case control('Z'):
        leaveEntry();
        flush();
        io_.suspend();
        io_.prepareForInput();
        drawnCursorRow_ = 0;
        refresh();
        return false;
    case kEscape: return handleNamedKey(readEscape());
    default:
        // Other control bytes do nothing; everything else is text.
        if (byte >= 0x20) insertCharacter(byte);
        return false;
    }
}

// Reads the rest of a key that began with an escape byte.
LineEditor::Key LineEditor::readEscape() {
    int byte = nextByte(-1);
    if (byte == TerminalIo::kEndOfInput) return Key::None;
    if (byte == '[') {
        // CSI: parameter bytes, intermediate bytes, one final byte.
        std::string parameters;
        byte = nextByte(-1);
        if (byte == '[') {  // the Linux console's function keys: ESC [ [ letter
            nextByte(-1);
            return Key::None;
        }
        while (byte >= 0x20 && byte <= 0x3f) {
            if (parameters.size() < 16) parameters += static_cast<char>(byte);
            byte = nextByte(-1);
        }
        if (byte < 0x40 || byte > 0x7e) {
            // Not a sequence after all: the stray byte is a key of its own.
            if (byte != TerminalIo::kEndOfInput) pushedBack_ = byte;
            return Key::None;
        }
        const std::size_t semicolon = parameters.find(';');
        const std::string first = parameters.substr(0, semicolon);
        // "1;5C" and the like: an arrow with Ctrl or Alt moves by words.
        const bool modified = semicolon != std::string::npos && parameters.size() > semicolon + 1 &&
                              parameters.substr(semicolon + 1) != "1" && parameters.substr(semicolon + 1) != "2";
        switch (byte) {
        case 'A': return Key::Up;
        case 'B': return Key::Down;
        case 'C': return modified ? Key::WordRight : Key::Right;
        case 'D': return modified ? Key::WordLeft : Key::Left;
        case 'H': return Key::Home;
        case 'F': return Key::End;
        case '~':
            if (first == "1" || first == "7") return Key::Home;
            if (first == "4" || first == "8") return Key::End;
            if (first == "3") return Key::Delete;
            return Key::None;
        default: return Key::None;
        }
    }
    if (byte == 'O') {  // SS3: one more byte
        switch (nextByte(-1)) {
        case 'A': return Key::Up;
        case 'B': return Key::Down;
        case 'C': return Key::Right;
        case 'D': return Key::Left;
        case 'H': return Key::Home;
        case 'F': return Key::End;
        default: return Key::None;
        }
    }
    switch (byte) {  // Alt and a key
    case 'b':
    case 'B': return Key::WordLeft;
    case 'f':
    case 'F': return Key::WordRight;
    case 'd':
    case 'D': return Key::DeleteWordForward;
    case 0x7f:
    case control('H'): return Key::DeleteWordBackward;
    default:
        // Escape and then a control key (Enter, Ctrl-C, another escape) is that key.
        if (byte < 0x20) pushedBack_ = byte;
        return Key::None;
    }
}

bool LineEditor::handleNamedKey(Key key) {
    switch (key) {
    case Key::None: break;
    case Key::Up: moveVertically(-1); break;
    case Key::Down: moveVertically(1); break;
    case Key::Left:
        if (cursor_ > 0) moveTo(previousCharacter(cursor_));
        break;
    case Key::Right:
        if (cursor_ < text_.size()) moveTo(nextCharacter(cursor_));
        break;
    case Key::Home: moveTo(lineStart(cursor_)); break;
    case Key::End: moveTo(lineEnd(cursor_)); break;
    case Key::Delete:
        if (cursor_ < text_.size()) erase(cursor_, nextCharacter(cursor_));
        break;
    case Key::WordLeft: moveTo(previousWordStart(cursor_)); break;
    case Key::WordRight: moveTo(nextWordEnd(cursor_)); break;
    case Key::DeleteWordBackward: erase(previousWordStart(cursor_), cursor_); break;
    case Key::DeleteWordForward: erase(cursor_, nextWordEnd(cursor_)); break;
    }
    return false;
}

std::size_t LineEditor::lineStart(std::size_t position) const {
    const std::size_t newline = position == 0 ? std::string::npos : text_.rfind('\n', position - 1);
    return newline == std::string::npos ? 0 : newline + 1;
}

std::size_t LineEditor::lineEnd(std::size_t position) const {
    const std::size_t newline = text_.find('\n', position);
    return newline == std::string::npos ? text_.size() : newline;
}

// A character and the zero-width marks after it (an accent, a variation
// selector) move and go as one, so the cursor never stands inside what the
// screen shows as one character.
std::size_t LineEditor::previousCharacter(std::size_t position) const {
    if (position == 0) return 0;
    position = previousCharacterStart(text_, position);
    while (position > 0 && text_[position - 1] != '\n' && drawnCharacter(text_, position).width == 0)
        position = previousCharacterStart(text_, position);
    return position;
}

std::size_t LineEditor::nextCharacter(std::size_t position) const {
    if (position >= text_.size()) return text_.size();
    if (text_[position] == '\n') return position + 1;  // marks at a line's start stand alone
    position += drawnCharacter(text_, position).length;
    while (position < text_.size()) {
        const TextCharacter character = drawnCharacter(text_, position);
        if (character.width != 0) break;
        position += character.length;
    }
    return position;
}

std::size_t LineEditor::previousWordStart(std::size_t position) const {
    while (position > 0 && !isNameByte(text_[position - 1])) --position;
    while (position > 0 && isNameByte(text_[position - 1])) --position;
    return position;
}

std::size_t LineEditor::nextWordEnd(std::size_t position) const {
    while (position < text_.size() && !isNameByte(text_[position])) ++position;
    while (position < text_.size() && isNameByte(text_[position])) ++position;
    return position;
}

// Inserts a typed character whole: its first byte, then the UTF-8
// continuation bytes that its first byte announces, as they arrive. A byte
// that does not continue it is a key of its own.
void LineEditor::insertCharacter(int lead) {
    std::string character(1, static_cast<char>(lead));
    for (int following = continuationBytesAfter(lead); following > 0; --following) {
        const int byte = nextByte(-1);
        if (byte < 0 || (byte & 0xC0) != 0x80) {
            pushedBack_ = byte;
            break;
        }
        character += static_cast<char>(byte);
    }
    insert(character);
}

void LineEditor::insert(std::string_view bytes) {
    const bool atEndOfOneLine = cursor_ == text_.size() && text_.find('\n') == std::string::npos;
    text_.insert(cursor_, bytes);
    cursor_ += bytes.size();
    // Typing a printing character at the end of a single line, where it fits
    // before the margin, needs no redrawing: the terminal's own cursor follows it.
    if (atEndOfOneLine && isOnePrintingCharacter(bytes)) {
        RowLayout layout(width_);
        for (std::size_t at = 0; at < prompt_.size();) at += placeCharacter(layout, prompt_, at);
        const std::size_t typed = text_.size() - bytes.size();
        for (std::size_t at = 0; at < typed;) at += placeCharacter(layout, text_, at);
        const ScreenPosition before = layout.end();
        const int columns = drawnCharacter(bytes, 0).width;
        const ScreenPosition start = layout.place(columns);
        if (columns > 0 && start.row == before.row && layout.end().column < width_) {
            emit(bytes);
            drawnEndRow_ = drawnCursorRow_ = layout.end().row;
            drawnEndOnFreshRow_ = false;
            return;
        }
    }
    refresh();
}

void LineEditor::erase(std::size_t from, std::size_t to) {
    if (from >= to) return;
    text_.erase(from, to - from);
    cursor_ = from;
    refresh();
}

void LineEditor::moveTo(std::size_t position) {
    if (position == cursor_) return;
    cursor_ = position;
    refresh();
}

// Up and down move between the lines of a multi-line entry, keeping the
// column where they can; beyond its first or last line they go through the history.
void LineEditor::moveVertically(int direction) {
    const std::size_t start = lineStart(cursor_);
    const bool onEdgeLine = direction < 0 ? start == 0 : lineEnd(cursor_) == text_.size();
    if (onEdgeLine) {
        if (direction < 0 && historyIndex_ > 0) recall(historyIndex_ - 1);
        if (direction > 0 && historyIndex_ < history_.size()) recall(historyIndex_ + 1);
        return;
    }
    const int column = columnsOf(std::string_view(text_).substr(start, cursor_ - start));
    const std::size_t targetStart = direction < 0 ? lineStart(start - 1) : lineEnd(cursor_) + 1;
    const std::size_t targetEnd = lineEnd(targetStart);
    std::size_t position = targetStart;
    for (int passed = 0; position < targetEnd;) {
        const std::size_t next = nextCharacter(position);
        passed += columnsOf(std::string_view(text_).substr(position, next - position));
        if (passed > column) break;
        position = next;
    }
    moveTo(position);
}

void LineEditor::recall(std::size_t index) {
    if (historyIndex_ == history_.size()) savedText_ = text_;
    historyIndex_ = index;
    text_ = index == history_.size() ? savedText_ : history_[index];
    cursor_ = text_.size();
    refresh();
}

void LineEditor::complete() {
    // A tab with more input already waiting comes from a paste: it is text.
    const int waiting = nextByte(0);
    if (waiting != TerminalIo::kNoByte) {
        if (waiting != TerminalIo::kEndOfInput) pushedBack_ = waiting;
        insert("\t");
        return;
    }
    const std::size_t start = lineStart(cursor_);
    std::size_t begin = cursor_;
    while (begin > start && isNameByte(text_[begin - 1])) --begin;
    const std::string prefix = text_.substr(begin, cursor_ - begin);
    const bool afterDot = begin > start && text_[begin - 1] == '.';
    if (prefix.empty() && !afterDot) {
        // At the start of a line a tab indents; elsewhere there is nothing to complete.
        const std::string_view before = std::string_view(text_).substr(start, cursor_ - start);
        if (std::all_of(before.begin(), before.end(), isBlank)) {
            const int column = columnsOf(before);
            insert(std::string(static_cast<std::size_t>(kIndentWidth - column % kIndentWidth), ' '));
        }
        return;
    }
    // A number is not a name to complete; after a dot the completer offers fields.
    if (!prefix.empty() && prefix[0] >= '0' && prefix[0] <= '9') return;

    std::vector<std::string> candidates =
        completer_ ? completer_(std::string_view(text_).substr(0, cursor_), prefix) : std::vector<std::string>();
    std::erase_if(candidates, [&](const std::string& name) { return !name.starts_with(prefix); });
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    if (candidates.empty()) return;

    std::size_t common = candidates.front().size();
    for (const std::string& name : candidates) {
        std::size_t same = 0;
        while (same < common && same < name.size() && name[same] == candidates.front()[same]) ++same;
        common = same;
    }
    if (common > prefix.size()) {
        insert(std::string_view(candidates.front()).substr(prefix.size(), common - prefix.size()));
    } else if (candidates.size() > 1) {
        listCandidates(candidates);
    }
}

// Shows the candidates in columns below the entry, then draws the entry again under them.
void LineEditor::listCandidates(const std::vector<std::string>& candidates) {
    const int width = width_;
    std::size_t longest = 0;
    for (const std::string& name : candidates) longest = std::max(longest, name.size());
    const std::size_t cell = longest + 2;
    const std::size_t perRow = std::max<std::size_t>(1, static_cast<std::size_t>(width) / cell);
    const std::size_t rows = (candidates.size() + perRow - 1) / perRow;
    leaveEntry();
    std::string out;
    for (std::size_t row = 0; row < rows; ++row) {
        // Down the columns, as ls lists files.
        std::string line;
        for (std::size_t column = 0; column < perRow; ++column) {
            const std::size_t index = column * rows + row;
            if (index >= candidates.size()) break;
            line += candidates[index];
            line.append(cell - candidates[index].size(), ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line;
        out += "\r\n";
    }
    emit(out);
    drawnCursorRow_ = 0;
    refresh();
}

void LineEditor::refresh() {
    width_ = io_.columns() > 0 ? io_.columns() : kDefaultColumns;
    const int width = width_;
    std::string out = "\r";
    appendCursorMove(out, drawnCursorRow_, 'A');
    out += "\x1b[J";

    int row = 0;  // first row of the line being drawn
    int cursorRow = 0;
    int cursorColumn = 0;
    std::size_t begin = 0;
    for (bool first = true;; first = false) {
        const std::size_t end = lineEnd(begin);
        const std::string_view prompt = first ? prompt_ : continuationPrompt_;
        out += prompt;
        appendDrawn(out, std::string_view(text_).substr(begin, end - begin));
        RowLayout layout(width);
        for (std::size_t at = 0; at < prompt.size();) at += placeCharacter(layout, prompt, at);
        // The cursor stands on the character after it, wherever that one went.
        std::size_t at = begin;
        while (at < end) {
            const TextCharacter character = drawnCharacter(text_, at);
            const ScreenPosition start = layout.cursorAt(layout.place(character.width));
            if (cursor_ >= at && cursor_ < at + character.length) {
                cursorRow = row + start.row;
                cursorColumn = start.column;
            }
            at += character.length;
        }
        if (cursor_ == end) {
            const ScreenPosition position = layout.cursorAt(layout.end());
            cursorRow = row + position.row;
            cursorColumn = position.column;
        }
        if (end == text_.size()) {
            // A line that ends right at the margin leaves the terminal's cursor
            // waiting there; a fresh row makes every position below computable.
            drawnEndOnFreshRow_ = layout.end().column >= width;
            if (drawnEndOnFreshRow_) out += "\r\n";
            drawnEndRow_ = row + layout.cursorAt(layout.end()).row;
            break;
        }
        out += "\r\n";
        row += layout.end().row + 1;
        begin = end + 1;
    }

    appendCursorMove(out, drawnEndRow_ - cursorRow, 'A');
    out += '\r';
    appendCursorMove(out, cursorColumn, 'C');
    drawnCursorRow_ = cursorRow;
    emit(out);
}

void LineEditor::leaveEntry() {
    std::string out;
    appendCursorMove(out, drawnEndRow_ - drawnCursorRow_, 'B');
    out += drawnEndOnFreshRow_ ? "\r" : "\r\n";
    emit(out);
    drawnCursorRow_ = 0;
    drawnEndRow_ = 0;
    drawnEndOnFreshRow_ = false;
}

}  // namespace velmor
