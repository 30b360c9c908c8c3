#pragma once

// The prompt's line editor, for a terminal that understands ANSI (VT100)
// sequences: cursor movement and the usual Emacs-style editing keys, a history
// of whole entries, and completion of names. It owns no terminal itself: it
// reads keys from and draws through a TerminalIo, so that the tests can drive
// it with scripted keys.
//
// How it draws, in brief:
// 1. An entry is bytes that may hold line feeds (a multi-line entry recalled
//    from the history). Its first line stands after the prompt, every further
//    line after the continuation prompt, as the prompt shows a fragment typed
//    line by line; long lines wrap at the screen's width.
// 2. Every change redraws the whole entry in place: back to the entry's top
//    row, clear to the end of the screen, write it out, then move to the
//    cursor. Only typing at the end of a line that does not wrap writes the
//    byte alone. The editor remembers the row it left the cursor on, and
//    relies on nothing else about the screen. While more keys wait to be
//    read (a paste), the drawing is held back and written in one piece.
// 3. Every key arrives whole: an escape sequence is read to its final byte
//    and acted on or dropped, never inserted; an escape followed by another
//    byte is an Alt key. No timeout is involved, so a sequence that arrives
//    in pieces over a slow line is still consumed whole.
// 4. Columns are the terminal's (driver/display_width.h): a wide character
//    takes two, a combining mark none and joins the character before it,
//    and a wide character that meets the last column starts the next row,
//    as terminals place it. A character arrives whole too: the editor reads
//    the UTF-8 bytes its first byte announces before it draws anything.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// Where the editor reads keys and draws.
class TerminalIo {
public:
    static constexpr int kNoByte = -1;      // nothing arrived within the time
    static constexpr int kEndOfInput = -2;  // the terminal closed or failed

    virtual ~TerminalIo() = default;
    // Called when a line is about to be read: a real terminal enters raw mode.
    virtual void prepareForInput() {}
    // The next input byte (0 to 255); waits at most timeoutMs milliseconds,
    // or without limit when it is negative.
    virtual int readByte(int timeoutMs) = 0;
    virtual void write(std::string_view bytes) = 0;
    // How many input bytes are there already, to be read without waiting.
    virtual std::size_t bytesWaiting() { return 0; }
    // The width of the screen in columns.
    virtual int columns() = 0;
    // Ctrl-Z: stop the process as the terminal would; returns when it resumes.
    virtual void suspend() {}
};

class LineEditor {
public:
    // EndKey: Ctrl-D on an empty entry; EndOfInput: the terminal closed.
    enum class Outcome { Line, Interrupted, EndKey, EndOfInput };
    struct Result {
        Outcome outcome = Outcome::Line;
        std::string text;  // the entry, without its final line feed
    };
    // The names that complete `prefix` (each starts with it), in any order;
    // `before` is the entry up to the cursor, the prefix being its end.
    using Completer = std::function<std::vector<std::string>(std::string_view before, std::string_view prefix)>;

    static constexpr std::size_t kMaxHistoryEntries = 1000;
    // Taller entries cannot be redrawn in place on a usual screen, so they are not kept.
    static constexpr std::size_t kMaxHistoryLines = 100;
    static constexpr int kIndentWidth = 4;

    LineEditor(TerminalIo& io, Completer completer);

    // Reads one entry. Enter ends it (Line), Ctrl-C drops it (Interrupted),
    // Ctrl-D on an empty entry asks to end (EndKey), and so does a closed terminal.
    Result readLine(std::string_view prompt, std::string_view continuationPrompt);

    // Remembers an entry for the up arrow; blank entries, very tall ones and
    // repeats of the latest are not kept. Whether it was kept.
    bool addHistory(std::string entry);
    const std::deque<std::string>& history() const { return history_; }

private:
    enum class Key;

    int nextByte(int timeoutMs);
    void emit(std::string_view bytes);
    void flush();
    Key readEscape();
    // Acts on a key; true when it ends the entry (outcome_ says how).
    bool handleKey(int byte);
    bool handleNamedKey(Key key);

    std::size_t lineStart(std::size_t position) const;
    std::size_t lineEnd(std::size_t position) const;
    std::size_t previousCharacter(std::size_t position) const;
    std::size_t nextCharacter(std::size_t position) const;
    std::size_t previousWordStart(std::size_t position) const;
    std::size_t nextWordEnd(std::size_t position) const;

    void insertCharacter(int lead);
    void insert(std::string_view bytes);
    void erase(std::size_t from, std::size_t to);
    void moveTo(std::size_t position);
    void moveVertically(int direction);
    void recall(std::size_t index);
    void complete();
    void listCandidates(const std::vector<std::string>& candidates);

    void refresh();
    // Puts the terminal's cursor below the entry, on a fresh row.
    void leaveEntry();

    TerminalIo& io_;
    Completer completer_;
    std::deque<std::string> history_;

    // The entry being edited.
    std::string text_;
    std::size_t cursor_ = 0;
    std::string prompt_;
    std::string continuationPrompt_;
    Outcome outcome_ = Outcome::Line;
    // history_.size() while editing a new entry; savedText_ keeps it while
    // the arrows show older ones.
    std::size_t historyIndex_ = 0;
    std::string savedText_;

    // What the last drawing left on the screen, counted from the entry's top row.
    int drawnCursorRow_ = 0;
    int drawnEndRow_ = 0;
    bool drawnEndOnFreshRow_ = false;

    int width_ = 80;      // columns, as of the latest full drawing
    std::string output_;  // drawn but not yet written
    std::size_t keysWaiting_ = 0;

    int pushedBack_ = TerminalIo::kNoByte;
    bool afterCarriageReturn_ = false;  // a line feed right after it is the same Enter
};

}  // namespace velmor
