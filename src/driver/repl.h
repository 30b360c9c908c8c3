#pragma once

// How the prompt gathers typed lines into fragments it can run.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ast.h"
#include "lexer/token.h"

namespace velmor {

// Openers ("(", "[", "{", "function", "if", "while", "for", "try") minus
// closers (")", "]", "}", "end").
int openerBalance(const std::vector<Token>& tokens);

// The fragment being entered at the prompt, a line at a time. After each line
// it gives the answer that tokenizing and parsing the whole fragment gives:
// open (the ".. " prompt follows), complete, or failed with the report of the
// first error, the fragment being its excerpt's source. It gets there without
// going over the earlier lines again while the fragment is open, so that a
// paste of many lines takes time linear in its length:
// - no token spans a line feed, so the fragment tokenizes when each of its
//   lines does, and its balance of openers is the sum of theirs;
// - a fragment that parses closes every opener it has, so while that balance
//   is positive the parse would fail, and the fragment would stay open.
// Only a fragment whose balance has dropped to zero or below (or one with a
// line the shortcut cannot vouch for) is tokenized and parsed whole.
//
// After numberLinesApart(), every fragment that parses is given lines of its
// own: its first line is numbered past the last line of the one before, so
// that the position of a node (and of a runtime error) tells which fragment
// it stands in. Reports of syntax errors count lines from the fragment's
// start either way.
class FragmentBuffer {
public:
    enum class State { Open, Complete, Failed };

    explicit FragmentBuffer(std::string sourceName) : sourceName_(std::move(sourceName)) {}

    // Adds a line (without its line feed). After Complete, takeStatements()
    // has the fragment's statements; after Failed, report() its error report.
    // Both start the next fragment. Failures of the implementation itself
    // (out of memory) propagate; clear() then drops the fragment.
    State addLine(std::string_view line);
    void numberLinesApart() { linesApart_ = true; }
    bool empty() const { return text_.empty(); }
    void clear();
    StmtList takeStatements() { return std::move(statements_); }
    // After Complete: the fragment's text, and the number its first line has in its tree.
    std::string takeSource() { return std::move(source_); }
    int32_t sourceFirstLine() const { return sourceFirstLine_; }
    const std::string& report() const { return report_; }

private:
    State parseWhole();

    std::string sourceName_;
    std::string text_;
    int balance_ = 0;
    bool linesTokenized_ = true;  // every line so far tokenized on its own
    bool linesApart_ = false;
    int32_t firstLine_ = 1;  // the number the next fragment's first line gets
    StmtList statements_;
    std::string source_;
    int32_t sourceFirstLine_ = 1;
    std::string report_;
};

}  // namespace velmor
