#pragma once

// The prompt's history kept between sessions, in a file of the user's state
// directory. Each entry is one line of the file, oldest first; a line feed
// inside an entry (a block typed over several lines) is written as "\n" and a
// backslash as "\\", so every entry comes back whole.
//
// Several prompts may run at once. Each reads the file when it starts and
// appends every entry as it is entered, in one write to a file opened for
// appending, so entries of different prompts interleave but never mix. The
// file is cut back to its newest entries when a prompt starts, by writing a
// new file beside it and renaming it over the old one.
//
// The history is a convenience: a file that cannot be read or written leaves
// the prompt without a saved history, and nothing is reported.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// The history file: the one that VELMOR_HISTORY names ("off" or an empty
// value: none), else $XDG_STATE_HOME/velmor/history, else
// $HOME/.local/state/velmor/history (%LOCALAPPDATA%\Velmor\history on
// Windows). Empty when there is none.
std::filesystem::path historyFilePath();

// One entry as a line of the file (without its line feed), and back.
std::string encodeHistoryEntry(std::string_view entry);
std::string decodeHistoryEntry(std::string_view line);

class HistoryFile {
public:
    explicit HistoryFile(std::filesystem::path path) : path_(std::move(path)) {}

    // The saved entries, oldest first, at most `limit` of them (the newest);
    // a file that holds more is rewritten with only those. Creates the
    // file's directory when it is missing, so that appending can succeed.
    std::vector<std::string> load(std::size_t limit);
    // Adds an entry at the end of the file.
    void append(std::string_view entry);

private:
    std::filesystem::path path_;
};

}  // namespace velmor
