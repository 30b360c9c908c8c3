#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "driver/display_width.h"
#include "driver/line_editor.h"

namespace velmor {
namespace {

// A screen as a terminal keeps it, for the few sequences the editor may send:
// text that wraps at the margin (the cursor waits there until the next
// character), CR, LF, cursor up/down/forward (ESC [ n A/B/C), clear to the end
// (ESC [ J), home (ESC [ H) and clear all (ESC [ 2 J). Anything else is
// recorded as a fault, so no other escape byte can reach the screen unseen.
// Characters take the columns of driver/display_width.h: a wide one fills two
// cells (one that does not fit in the last column starts the next row), a
// zero-width one joins the cell before it, and a byte of no UTF-8 character
// fills one.
class Screen {
public:
    explicit Screen(int width) : width_(width) {}

    void feed(std::string_view bytes) {
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            const char c = bytes[at];
            if (c == '\x1b') {
                at = sequence(bytes, at);
            } else if (c == '\r') {
                column_ = 0;
                waiting_ = false;
            } else if (c == '\n') {
                ++row_;
                waiting_ = false;
            } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                faults.push_back("control byte " + std::to_string(static_cast<int>(c)));
            } else {
                const TextCharacter character = measureCharacter(bytes, at);
                put(bytes.substr(at, character.length), character.width);
                at += character.length - 1;
            }
        }
    }

    // The rows with their trailing blanks dropped, the empty ones at the end too.
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (const auto& cells : cells_) {
            std::string row;
            for (const std::string& cell : cells) row += cell;
            while (!row.empty() && row.back() == ' ') row.pop_back();
            out.push_back(row);
        }
        while (!out.empty() && out.back().empty()) out.pop_back();
        return out;
    }
    int row() const { return row_; }
    int column() const { return waiting_ ? width_ - 1 : column_; }

    std::vector<std::string> faults;

private:
    void put(std::string_view character, int columns) {
        if (columns == 0) {
            if (lastCell_ != nullptr) *lastCell_ += character;
            return;
        }
        if (waiting_ || column_ + columns > width_) {
            ++row_;
            column_ = 0;
            waiting_ = false;
        }
        // Writing over half of a wide character blanks its other half.
        for (int cell = column_; cell < column_ + columns; ++cell) {
            if (cellAt(row_, cell).empty() && cell > 0) cellAt(row_, cell - 1) = " ";
            if (cell + 1 < static_cast<int>(cells_[row_].size()) && cells_[row_][cell + 1].empty())
                cells_[row_][cell + 1] = " ";
        }
        cellAt(row_, column_) = std::string(character);
        for (int rest = 1; rest < columns; ++rest) cellAt(row_, column_ + rest).clear();  // the second half
        lastCell_ = &cellAt(row_, column_);
        if (column_ + columns == width_) {
            column_ = width_ - 1;
            waiting_ = true;
        } else {
            column_ += columns;
        }
    }

    std::string& cellAt(int row, int column) {
        if (static_cast<int>(cells_.size()) <= row) cells_.resize(row + 1);
        auto& cells = cells_[row];
        if (static_cast<int>(cells.size()) <= column) cells.resize(column + 1, " ");
        return cells[column];
    }

    std::size_t sequence(std::string_view bytes, std::size_t at) {
        std::size_t end = at + 1;
        if (end >= bytes.size() || bytes[end] != '[') {
            faults.push_back("escape without '['");
            return at;
        }
        ++end;
        std::string parameter;
        while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9') parameter += bytes[end++];
        if (end >= bytes.size()) {
            faults.push_back("unfinished sequence");
            return end;
        }
        const int count = parameter.empty() ? 1 : std::stoi(parameter);
        waiting_ = false;
        lastCell_ = nullptr;
        switch (bytes[end]) {
        case 'A': row_ = std::max(0, row_ - count); break;
        case 'B': row_ += count; break;
        case 'C': column_ = std::min(width_ - 1, column_ + count); break;
        case 'H':
            row_ = 0;
            column_ = 0;
            break;
        case 'J':
            if (parameter == "2") {
                cells_.clear();
            } else {
                if (static_cast<int>(cells_.size()) > row_) {
                    if (static_cast<int>(cells_[row_].size()) > column_) cells_[row_].resize(column_);
                    cells_.resize(row_ + 1);
                }
            }
            break;
        default: faults.push_back("sequence ESC [" + parameter + bytes[end]);
        }
        return end;
    }

    int width_;
    std::vector<std::vector<std::string>> cells_;
    int row_ = 0;
    int column_ = 0;
    bool waiting_ = false;
    std::string* lastCell_ = nullptr;
};

// Keys typed in advance. A pause stands for the typist's hesitation: a read
// that does not wait finds nothing there.
class ScriptedTerminal final : public TerminalIo {
public:
    static constexpr int kPause = -100;

    explicit ScriptedTerminal(int width) : screen(width), width_(width) {}

    void type(std::string_view keys) {
        for (char c : keys) keys_.push_back(static_cast<unsigned char>(c));
    }
    void pause() { keys_.push_back(kPause); }

    int readByte(int timeoutMs) override {
        while (!keys_.empty() && keys_.front() == kPause) {
            if (timeoutMs >= 0) return kNoByte;
            keys_.pop_front();
            startOfKey_ = true;
        }
        if (keys_.empty()) return timeoutMs >= 0 ? kNoByte : kEndOfInput;
        if (std::exchange(startOfKey_, false) && beforeKey) beforeKey();
        const int key = keys_.front();
        keys_.pop_front();
        return key;
    }
    void write(std::string_view bytes) override {
        written += bytes;
        screen.feed(bytes);
    }
    int columns() override { return width_; }

    Screen screen;
    std::string written;
    // Called when the first byte after a pause is read, all keys before it handled.
    std::function<void()> beforeKey;

private:
    std::deque<int> keys_;
    bool startOfKey_ = true;
    int width_;
};

LineEditor::Result readWith(LineEditor& editor) { return editor.readLine(">> ", ".. "); }

TEST(LineEditor, EditsInTheMiddleOfTheLine) {
    struct Case {
        const char* keys;
        const char* text;
    };
    const Case cases[] = {
        {"prnt(42)\x01\x1b[C\x1b[Ci\r", "print(42)"},                       // Ctrl-A, right twice, insert
        {"print(12)\x1b[D\x1b[D\x7f\r", "print(2)"},                        // backspace in the middle
        {"print(1)\x1b[H\x1b[3~\r", "rint(1)"},                             // home, delete
        {"ab cd  ef\x17\r", "ab cd  "},                                     // Ctrl-W takes the word before
        {"garbage\x15print(7)\r", "print(7)"},                              // Ctrl-U
        {"print(8) junk\x1b[D\x1b[D\x1b[D\x1b[D\x1b[D\x0b\r", "print(8)"},  // Ctrl-K
        {"x\x1bOH\x1bOF\x1b[1~y\x1b[4~z\r", "yxz"},                         // the other home/end spellings
        {"one two\x1b"
         "b\x1b"
         "dthree\r",
         "one three"},  // Alt-b, Alt-d
        {"a\xc3\xa9"
         "b\x1b[D\x7f\r",
         "ab"},                          // a UTF-8 character goes as one
        {"abc\x02\x02\x06X\r", "abXc"},  // Ctrl-B, Ctrl-F
        {"12\x04\x01\x04\r", "2"},       // Ctrl-D deletes when there is text
        {"print(1)\r\n", "print(1)"},    // CR LF is one Enter
    };
    for (const Case& c : cases) {
        ScriptedTerminal terminal(80);
        LineEditor editor(terminal, nullptr);
        terminal.type(c.keys);
        const LineEditor::Result result = readWith(editor);
        EXPECT_EQ(result.outcome, LineEditor::Outcome::Line) << c.keys;
        EXPECT_EQ(result.text, c.text) << "keys: " << c.keys;
        EXPECT_TRUE(terminal.screen.faults.empty()) << terminal.screen.faults.front();
    }
}

TEST(LineEditor, EveryEscapeSequenceIsConsumedWhole) {
    // CSI with parameters and any final byte, SS3, the Linux console's
    // function keys, Alt with any key, bracketed-paste marks: none may leave
    // a byte in the text, whatever it does to the cursor.
    std::vector<std::string> sequences;
    for (const char* parameters : {"", "1", "3", "15", "1;5", "1;2", "200", "201", "?25"}) {
        for (int final = 0x40; final <= 0x7e; ++final)
            sequences.push_back(std::string("\x1b[") + parameters + char(final));
    }
    for (int key = 0x20; key <= 0x7e; ++key) {
        sequences.push_back(std::string("\x1bO") + char(key));
        sequences.push_back(std::string("\x1b") + char(key));
    }
    for (char key : std::string("ABCDE")) sequences.push_back(std::string("\x1b[[") + key);
    for (const std::string& sequence : sequences) {
        ScriptedTerminal terminal(40);
        LineEditor editor(terminal, nullptr);
        terminal.type("ab" + sequence + "c\r");
        const LineEditor::Result result = readWith(editor);
        ASSERT_EQ(result.outcome, LineEditor::Outcome::Line);
        std::string sorted = result.text;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_TRUE(sorted == "abc" || sorted == "ac" || sorted == "bc" || sorted == "c" || sorted == "ab")
            << "sequence ESC" << sequence.substr(1) << " left " << result.text;
        EXPECT_TRUE(terminal.screen.faults.empty()) << terminal.screen.faults.front();
    }
}

TEST(LineEditor, ControlKeysEndTheEntry) {
    ScriptedTerminal terminal(80);
    LineEditor editor(terminal, nullptr);
    terminal.type("if x then\x03");
    EXPECT_EQ(readWith(editor).outcome, LineEditor::Outcome::Interrupted);
    EXPECT_EQ(terminal.screen.rows(), (std::vector<std::string>{">> if x then^C"}));
    terminal.type("\x04");
    EXPECT_EQ(readWith(editor).outcome, LineEditor::Outcome::EndKey);
    terminal.type("half typed");
    EXPECT_EQ(readWith(editor).outcome, LineEditor::Outcome::EndOfInput);  // the terminal closed
    // An escape, then Enter, is Enter.
    terminal.type("1\x1b\r");
    EXPECT_EQ(readWith(editor).text, "1");
}

TEST(LineEditor, HistoryRecallsWholeEntries) {
    ScriptedTerminal terminal(80);
    LineEditor editor(terminal, nullptr);
    editor.addHistory("for i = 1, 3 do\n    print(i)\nend");
    editor.addHistory("1 + 2");
    editor.addHistory("1 + 2");  // a repeat is kept once
    editor.addHistory("   ");    // blank: not kept
    EXPECT_EQ(editor.history().size(), 2u);

    terminal.type("\x1b[A\r");
    EXPECT_EQ(readWith(editor).text, "1 + 2");

    // The older, multi-line entry comes back whole and is drawn with the prompts.
    terminal.type("\x1b[A\x1b[A\r");
    Screen& screen = terminal.screen;
    const int top = screen.row();
    EXPECT_EQ(readWith(editor).text, "for i = 1, 3 do\n    print(i)\nend");
    const std::vector<std::string> rows = screen.rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(rows.end() - 3, rows.end()),
              (std::vector<std::string>{">> for i = 1, 3 do", "..     print(i)", ".. end"}));
    EXPECT_EQ(screen.row(), top + 3);  // below the entry

    // Inside a multi-line entry the arrows move between its lines first:
    // up twice reaches its first line, a third goes no further (nothing
    // older), then down three times passes its last line to the newer entry.
    terminal.type("\x1b[A\x1b[A\x1b[A\x1b[AX\r");
    EXPECT_EQ(readWith(editor).text, "forX i = 1, 3 do\n    print(i)\nend");
    terminal.type("\x1b[A\x1b[A\x1b[A\x1b[A\x1b[B\x1b[B\x1b[B\r");
    EXPECT_EQ(readWith(editor).text, "1 + 2");
    // Down past the newest entry gives back what was being typed.
    terminal.type("draft\x1b[A\x1b[B\r");
    EXPECT_EQ(readWith(editor).text, "draft");

    std::string tall;
    for (std::size_t line = 0; line < LineEditor::kMaxHistoryLines; ++line) tall += "x\n";
    editor.addHistory(tall + "x");
    EXPECT_NE(editor.history().back(), tall + "x");
}

TEST(LineEditor, CompletesNamesAndListsChoices) {
    std::string seenBefore;  // what the completer was shown of the entry
    const auto completer = [&seenBefore](std::string_view before, std::string_view prefix) {
        seenBefore = before;
        std::vector<std::string> names;
        for (const char* name : {"print", "push", "pop", "is_map", "is_nil", "counterValue", "if", "in"}) {
            if (std::string_view(name).starts_with(prefix)) names.emplace_back(name);
        }
        return names;
    };
    const auto complete = [&](const char* before, const char* after) {
        ScriptedTerminal terminal(40);
        LineEditor editor(terminal, completer);
        terminal.type(before);
        terminal.pause();
        terminal.type("\t");
        terminal.pause();
        terminal.type(after);
        terminal.type("\r");
        std::string text = readWith(editor).text;
        return std::make_pair(text, terminal.screen.rows());
    };
    EXPECT_EQ(complete("pri", "(1)").first, "print(1)");
    EXPECT_EQ(complete("x = counterV", " + 1").first, "x = counterValue + 1");
    EXPECT_EQ(complete("is", "").first, "is_");  // as far as the choices agree
    const auto listed = complete("is_", "m");
    EXPECT_EQ(listed.first, "is_m");
    EXPECT_NE(std::find(listed.second.begin(), listed.second.end(), "is_map  is_nil"), listed.second.end())
        << ::testing::PrintToString(listed.second);
    // The completer sees the entry up to the cursor, and is asked after a dot too.
    complete("x = counterV", " + 1");
    EXPECT_EQ(seenBefore, "x = counterV");
    complete("m.", "");
    EXPECT_EQ(seenBefore, "m.");
    EXPECT_EQ(complete("12", "").first, "12");
    EXPECT_EQ(complete("zzz", "").first, "zzz");
    EXPECT_EQ(complete("", "x").first, "    x");  // at the start of a line a tab indents
    EXPECT_EQ(complete("  ", "x").first, "    x");

    // A tab in a paste (more input already waiting) is text, not a completion.
    ScriptedTerminal terminal(40);
    LineEditor editor(terminal, completer);
    terminal.type("pri\tx\r");
    EXPECT_EQ(readWith(editor).text, "pri\tx");
}

// Randomly edited entries, single- and multi-line, with wide characters,
// combining marks and bytes of no UTF-8 character, on narrow screens: after
// every key the screen must show exactly the entry a simple model of the
// keys gives, wrapped at the margin, with the cursor where the model has it.
// The model steps over a character with the zero-width marks after it.
struct Model {
    std::string text;
    std::size_t cursor = 0;
    std::string recalled;  // the one history entry
    bool browsing = false;
    std::string saved;

    // A character as drawn: a tab (from a paste) is one blank.
    static TextCharacter at(std::string_view bytes, std::size_t position) {
        if (static_cast<unsigned char>(bytes[position]) < 0x80) return TextCharacter{1, 1};
        return measureCharacter(bytes, position);
    }
    // The characters' starts, from the front of the text.
    std::vector<std::size_t> starts() const {
        std::vector<std::size_t> out;
        for (std::size_t position = 0; position < text.size(); position += at(text, position).length)
            out.push_back(position);
        return out;
    }
    // Starts of what the cursor steps over: a character and the zero-width marks after it.
    std::vector<std::size_t> steps() const {
        std::vector<std::size_t> out;
        for (std::size_t position : starts()) {
            const bool mark = at(text, position).width == 0 && position > 0 && text[position - 1] != '\n';
            if (!mark || out.empty()) out.push_back(position);
        }
        out.push_back(text.size());
        return out;
    }
    std::size_t start() const {
        const std::size_t newline = cursor == 0 ? std::string::npos : text.rfind('\n', cursor - 1);
        return newline == std::string::npos ? 0 : newline + 1;
    }
    std::size_t end(std::size_t from) const {
        const std::size_t newline = text.find('\n', from);
        return newline == std::string::npos ? text.size() : newline;
    }
    std::size_t previous() const {
        const std::vector<std::size_t> all = steps();
        return *(std::lower_bound(all.begin(), all.end(), cursor) - 1);
    }
    std::size_t next() const {
        const std::vector<std::size_t> all = steps();
        return *std::upper_bound(all.begin(), all.end(), cursor);
    }
    static int width(std::string_view bytes) {
        int columns = 0;
        for (std::size_t position = 0; position < bytes.size(); position += at(bytes, position).length)
            columns += at(bytes, position).width;
        return columns;
    }
    void vertical(int direction) {
        const std::size_t lineStart = start();
        const bool edge = direction < 0 ? lineStart == 0 : end(cursor) == text.size();
        if (edge) {
            if (direction < 0 && !browsing) {
                saved = text;
                text = recalled;
                browsing = true;
                cursor = text.size();
            } else if (direction > 0 && browsing) {
                text = saved;
                browsing = false;
                cursor = text.size();
            }
            return;
        }
        const int column = width(std::string_view(text).substr(lineStart, cursor - lineStart));
        std::size_t target = end(cursor) + 1;
        if (direction < 0) {
            const std::size_t newline = lineStart < 2 ? std::string::npos : text.rfind('\n', lineStart - 2);
            target = newline == std::string::npos ? 0 : newline + 1;
        }
        const std::size_t targetEnd = end(target);
        cursor = target;
        while (cursor < targetEnd) {
            const std::size_t after = next();
            if (width(std::string_view(text).substr(target, after - target)) > column) break;
            cursor = after;
        }
    }
};

std::vector<std::string> expectedRows(const Model& model, int width, int& cursorRow, int& cursorColumn) {
    std::vector<std::string> rows;
    std::size_t begin = 0;
    for (bool first = true;; first = false) {
        const std::size_t end = model.end(begin);
        std::string line = (first ? ">> " : ".. ") + model.text.substr(begin, end - begin);
        std::replace(line.begin(), line.end(), '\t', ' ');
        // Cut into rows of `width` columns: a character that does not fit starts the next row.
        const bool cursorHere = model.cursor >= begin && model.cursor <= end;
        const std::size_t cursorAt = 3 + model.cursor - begin;
        std::string row;
        int used = 0;
        for (std::size_t at = 0; at <= line.size();) {
            const TextCharacter character = at < line.size() ? Model::at(line, at) : TextCharacter{0, 0};
            if (character.width > 0 && used + character.width > width) {
                rows.push_back(row);
                row.clear();
                used = 0;
            }
            // On the character after it; past the margin, at the next row's start.
            if (cursorHere && at == cursorAt) {
                cursorRow = static_cast<int>(rows.size()) + (used == width ? 1 : 0);
                cursorColumn = used == width ? 0 : used;
            }
            if (at == line.size()) break;
            row += line.substr(at, character.length);
            used += character.width;
            at += character.length;
        }
        rows.push_back(row);
        if (end == model.text.size()) break;
        begin = end + 1;
    }
    for (std::string& row : rows) {
        while (!row.empty() && row.back() == ' ') row.pop_back();
    }
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
}

TEST(LineEditor, ScreenFollowsRandomEditing) {
    std::mt19937 random(77);
    // Letters, a precomposed accent, wide CJK and an emoji, a combining accent,
    // a byte of no UTF-8 character.
    const std::vector<std::string> insertions = {"a",          "b",      " ",   "(", "\xc3\xa9", "xyz", "\u65e5\u672c",
                                                 "\U0001F600", "\u0301", "\xff"};
    for (int round = 0; round < 300; ++round) {
        const int width = std::uniform_int_distribution<int>(5, 24)(random);
        ScriptedTerminal terminal(width);
        LineEditor editor(terminal, nullptr);
        Model model;
        model.recalled = round % 2 == 0 ? "first line\n  second\n\nthe last one here" : "only";
        editor.addHistory(model.recalled);

        struct Step {
            std::string keys;
            Model after;
        };
        std::vector<Step> steps;
        for (int key = 0; key < 60; ++key) {
            std::string keys;
            const int choice = std::uniform_int_distribution<int>(0, 11)(random);
            Model& m = model;
            switch (choice) {
            case 0:
            case 1:
            case 2: {
                keys = insertions[std::uniform_int_distribution<std::size_t>(0, insertions.size() - 1)(random)];
                m.text.insert(m.cursor, keys);
                m.cursor += keys.size();
                break;
            }
            case 3:
                keys = "\x1b[D";
                if (m.cursor > 0) m.cursor = m.previous();
                break;
            case 4:
                keys = "\x1bOC";
                if (m.cursor < m.text.size()) m.cursor = m.next();
                break;
            case 5:
                keys = "\x01";
                m.cursor = m.start();
                break;
            case 6:
                keys = "\x1b[F";
                m.cursor = m.end(m.cursor);
                break;
            case 7:
                keys = "\x7f";
                if (m.cursor > 0) {
                    const std::size_t from = m.previous();
                    m.text.erase(from, m.cursor - from);
                    m.cursor = from;
                }
                break;
            case 8:
                keys = "\x1b[3~";
                if (m.cursor < m.text.size()) m.text.erase(m.cursor, m.next() - m.cursor);
                break;
            case 9:
                keys = "\x0b";
                m.text.erase(m.cursor, m.end(m.cursor) - m.cursor);
                break;
            case 10:
                keys = "\x1b[A";
                m.vertical(-1);
                break;
            case 11:
                keys = "\x1b[B";
                m.vertical(1);
                break;
            }
            steps.push_back(Step{keys, model});
        }
        for (const Step& step : steps) {
            terminal.type(step.keys);
            terminal.pause();
        }
        terminal.type("\r");

        std::size_t checked = 0;
        terminal.beforeKey = [&] {
            if (checked > steps.size() || HasFailure()) return;  // the first difference says it all
            if (checked > 0) {
                const Model& expected = steps[checked - 1].after;
                int row = 0;
                int column = 0;
                const std::vector<std::string> rows = expectedRows(expected, width, row, column);
                ASSERT_EQ(terminal.screen.rows(), rows)
                    << "width " << width << " after key " << checked << ", text \"" << expected.text << "\"";
                ASSERT_EQ(terminal.screen.row(), row) << "width " << width << " after key " << checked;
                ASSERT_EQ(terminal.screen.column(), column) << "width " << width << " after key " << checked;
            }
            ++checked;
        };
        const LineEditor::Result result = readWith(editor);
        EXPECT_EQ(result.text, model.text) << "width " << width;
        EXPECT_EQ(checked, steps.size() + 1);  // every step was looked at
        EXPECT_TRUE(terminal.screen.faults.empty()) << terminal.screen.faults.front();
        if (HasFatalFailure() || HasFailure()) return;
    }
}

}  // namespace
}  // namespace velmor
