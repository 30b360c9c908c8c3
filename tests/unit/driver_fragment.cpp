#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "driver.h"
#include "driver/repl.h"
#include "error.h"
#include "parser.h"

namespace velmor {
namespace {

// What the prompt does with a line when it tokenizes and parses the whole
// fragment every time: the rule that FragmentBuffer must follow exactly.
class WholeFragmentReference {
public:
    FragmentBuffer::State addLine(const std::string& line) {
        buffer_ = buffer_.empty() ? line : buffer_ + "\n" + line;
        try {
            statements_ = parseSource(buffer_);
        } catch (const VelmorError& error) {
            if (isIncomplete(buffer_)) return FragmentBuffer::State::Open;
            report_ = formatReport(error, buffer_, "<repl>");
            buffer_.clear();
            return FragmentBuffer::State::Failed;
        }
        source_ = std::move(buffer_);
        buffer_.clear();
        return FragmentBuffer::State::Complete;
    }
    const std::string& report() const { return report_; }
    const std::string& source() const { return source_; }
    std::size_t statementCount() const { return statements_.size(); }

private:
    std::string buffer_;
    std::string report_;
    std::string source_;
    StmtList statements_;
};

const char* stateName(FragmentBuffer::State state) {
    switch (state) {
    case FragmentBuffer::State::Open: return "open";
    case FragmentBuffer::State::Complete: return "complete";
    case FragmentBuffer::State::Failed: return "failed";
    }
    return "?";
}

// Lines from pieces that open, close, continue and break fragments, lexical
// errors, byte order marks and interpolations among them, joined at random.
std::string randomLine(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "function f(n)",
        "return n * 2",
        "end",
        "if x then",
        "elif y then",
        "else",
        "while false do",
        "for i = 1, 3 do",
        "for k in [1] do",
        "try",
        "catch e",
        "let x = [",
        "1,",
        "]",
        "{",
        "\"a\": 1",
        "}",
        "(",
        ")",
        "[",
        "print(1)",
        "let = 3",
        "\"unterminated",
        "\"${ (1 }\"",
        "\"${1 + }\"",
        "\"${ \"(\" }\"",
        "x +* y",
        "'if ('",
        "# if while (",
        "\xEF\xBB\xBFlet y = 1",
        "\xEF\xBB\xBF(",
        "  ",
        "",
        "@",
        "1 !",
        "let g = function(a)",
        "return a end",
        "x = 1",
        "do",
        "then",
        ",",
        "1e",
        "\\",
        "exit",
        "\r",
        "\t",
    };
    std::string line;
    const int count = std::uniform_int_distribution<int>(1, 3)(random);
    for (int index = 0; index < count; ++index) {
        if (index > 0) line += ' ';
        line += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    }
    return line;
}

// Half the sessions number the lines of each fragment apart from the others':
// the answers and reports stay the same, and every fragment's tree lies
// within lines of its own.
TEST(FragmentBuffer, AnswersAsParsingTheWholeFragmentDoes) {
    std::mt19937 random(20240611);
    for (int session = 0; session < 400; ++session) {
        FragmentBuffer fragment("<repl>");
        const bool linesApart = session % 2 == 1;
        if (linesApart) fragment.numberLinesApart();
        int32_t nextFreeLine = 1;
        WholeFragmentReference reference;
        std::string typed;
        for (int lineNumber = 0; lineNumber < 40; ++lineNumber) {
            const std::string line = randomLine(random);
            typed += line + "\n";
            const FragmentBuffer::State expected = reference.addLine(line);
            const FragmentBuffer::State actual = fragment.addLine(line);
            ASSERT_STREQ(stateName(actual), stateName(expected)) << "after the lines:\n" << typed;
            if (actual == FragmentBuffer::State::Failed) {
                ASSERT_EQ(fragment.report(), reference.report()) << "after the lines:\n" << typed;
            }
            if (actual == FragmentBuffer::State::Complete) {
                const StmtList statements = fragment.takeStatements();
                ASSERT_EQ(statements.size(), reference.statementCount()) << typed;
                ASSERT_EQ(fragment.takeSource(), reference.source()) << typed;
                const int32_t first = fragment.sourceFirstLine();
                const auto lines =
                    static_cast<int32_t>(std::count(reference.source().begin(), reference.source().end(), '\n')) + 1;
                ASSERT_EQ(first == 1, !linesApart || nextFreeLine == 1) << typed;
                ASSERT_GE(first, nextFreeLine) << typed;
                for (const StmtPtr& statement : statements) {
                    ASSERT_GE(statement->line, first) << typed;
                    ASSERT_LT(statement->line, first + lines) << typed;
                }
                if (linesApart) nextFreeLine = first + lines;
            }
            ASSERT_EQ(fragment.empty(), actual != FragmentBuffer::State::Open);
        }
    }
}

TEST(FragmentBuffer, LongOpenFragmentsParseOnceClosed) {
    FragmentBuffer fragment("<repl>");
    EXPECT_EQ(fragment.addLine("let xs = ["), FragmentBuffer::State::Open);
    for (int index = 0; index < 5000; ++index) {
        ASSERT_EQ(fragment.addLine(std::to_string(index) + ","), FragmentBuffer::State::Open);
    }
    EXPECT_EQ(fragment.addLine("]"), FragmentBuffer::State::Complete);
    EXPECT_EQ(fragment.takeStatements().size(), 1u);

    // An error inside the open block is reported only when the block closes,
    // with the whole fragment as the excerpt's source.
    EXPECT_EQ(fragment.addLine("if x then"), FragmentBuffer::State::Open);
    EXPECT_EQ(fragment.addLine("let = 3"), FragmentBuffer::State::Open);
    EXPECT_EQ(fragment.addLine("end"), FragmentBuffer::State::Failed);
    EXPECT_NE(fragment.report().find("<repl>:2:5"), std::string::npos) << fragment.report();
    EXPECT_TRUE(fragment.empty());
}

TEST(FragmentBuffer, ClearDropsTheOpenFragment) {
    FragmentBuffer fragment("<repl>");
    EXPECT_EQ(fragment.addLine("while true do"), FragmentBuffer::State::Open);
    fragment.clear();
    EXPECT_TRUE(fragment.empty());
    EXPECT_EQ(fragment.addLine("1 + 1"), FragmentBuffer::State::Complete);
}

}  // namespace
}  // namespace velmor
