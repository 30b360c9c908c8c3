// The formatter's library: the comments the lexer keeps, refusal of what does
// not parse, and line ranges laid out as the whole text is.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "error.h"
#include "format/format.h"
#include "lexer/lexer.h"
#include "lsp_support.h"
#include "parser.h"

namespace velmor {
namespace {

bool sameTokens(const std::vector<Token>& a, const std::vector<Token>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind || a[i].text != b[i].text || a[i].line != b[i].line || a[i].column != b[i].column ||
            a[i].offset != b[i].offset || a[i].length != b[i].length) {
            return false;
        }
    }
    return true;
}

// Keeping comments changes no token, and blanking the comments out of the
// text changes no token either: the comments are exactly what the lexer skips.
TEST(FormatComments, KeptBesideAnUnchangedTokenList) {
    size_t files = 0;
    size_t comments = 0;
    for (const auto& [text, plain] : lsptest::lexedRepositoryScripts()) {
        ++files;
        std::vector<Comment> kept;
        EXPECT_TRUE(sameTokens(tokenize(text, kept), plain));
        std::string blanked = text;
        for (const Comment& comment : kept) {
            ASSERT_LT(comment.offset, text.size());
            EXPECT_EQ(text[comment.offset], '#');
            EXPECT_EQ(text.substr(comment.offset, comment.length).find('\n'), std::string::npos);
            const size_t end = comment.offset + comment.length;
            EXPECT_TRUE(end == text.size() || text[end] == '\n');
            blanked.replace(comment.offset, comment.length, comment.length, ' ');
        }
        comments += kept.size();
        EXPECT_TRUE(sameTokens(tokenize(blanked), plain));
    }
    EXPECT_GT(files, 100u);
    EXPECT_GT(comments, 1000u);
}

// Broken and odd programs: what does not parse is refused with the parser's
// own error; what parses formats (never failing its own token check) and
// formats again to the same text.
TEST(FormatRefusal, MutantsFormatIdempotentlyOrAreRefused) {
    const std::vector<std::string> texts = lsptest::mutants(lsptest::repositoryScripts(), 3000, 7);
    size_t refused = 0;
    size_t formatted = 0;
    for (const std::string& text : texts) {
        bool parses = true;
        try {
            parseSource(text);
        } catch (const VelmorError&) {
            parses = false;
        }
        try {
            const std::string once = formatSource(text);
            EXPECT_TRUE(parses) << text;
            EXPECT_EQ(formatSource(once), once) << text;
            ++formatted;
        } catch (const VelmorError&) {
            EXPECT_FALSE(parses) << text;
            ++refused;
        }
    }
    EXPECT_GT(refused, 500u);
    EXPECT_GT(formatted, 500u);
}

std::string applied(std::string text, const TextEdit& edit) {
    return text.replace(edit.begin, edit.end - edit.begin, edit.text);
}

// Formatting every line, or the lines before a point and then the rest,
// gives the text that formatting the whole file gives.
TEST(FormatRanges, PiecesAddUpToTheWholeFile) {
    std::mt19937 random(3);
    size_t files = 0;
    for (const std::string& text : lsptest::repositoryScripts()) {
        std::string whole;
        try {
            whole = formatSource(text);
        } catch (const VelmorError&) {
            continue;
        }
        ++files;
        const auto lines = static_cast<int32_t>(std::count(text.begin(), text.end(), '\n') + 1);
        EXPECT_EQ(applied(text, formatLineRange(text, 1, lines)), whole);
        const auto split = static_cast<int32_t>(1 + random() % static_cast<uint32_t>(lines));
        const std::string first = applied(text, formatLineRange(text, split, lines));
        EXPECT_EQ(applied(first, formatLineRange(first, 1, split)), whole) << "split at " << split << "\n" << text;
    }
    EXPECT_GT(files, 100u);
}

}  // namespace
}  // namespace velmor
