// Lint warnings and their fixes on the analysis alone; the protocol session
// (tests/lsp) drives them end to end on a fixture.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lsp/analysis.h"
#include "lsp/lint.h"
#include "lsp_support.h"

using namespace velmor;
using namespace velmor::lsp;

namespace {

// The Velmor files under the given folders of the repository, but for the
// embedding example's script, which calls its host's own functions.
std::vector<std::string> programsIn(std::initializer_list<const char*> folders) {
    const std::filesystem::path hostScripts = std::filesystem::path(VELMOR_SOURCE_DIR) / "examples" / "embed";
    std::vector<std::filesystem::path> paths;
    for (const char* folder : folders) {
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(std::filesystem::path(VELMOR_SOURCE_DIR) / folder)) {
            if (entry.is_regular_file() && entry.path().extension() == ".vlm" &&
                entry.path().parent_path() != hostScripts)
                paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> texts;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return texts;
}

std::vector<std::string> warningsOf(const Analysis& analysis, std::initializer_list<std::string_view> codes) {
    std::vector<std::string> found;
    for (const Diagnostic& warning : lintWarnings(analysis, LintSettings{})) {
        for (std::string_view code : codes) {
            if (warning.code == code)
                found.push_back(std::to_string(analysis.index().sourceLineOf(warning.span.begin)) + " " + warning.code +
                                " " + warning.message);
        }
    }
    return found;
}

std::vector<size_t> undefinedNames(const Analysis& analysis) {
    std::vector<size_t> offsets;
    for (const Diagnostic& warning : lintWarnings(analysis, LintSettings{})) {
        if (warning.code == "undefined-name") offsets.push_back(warning.span.begin);
    }
    return offsets;
}

}  // namespace

// The examples and benchmarks run cleanly: they read no undefined name,
// assign no undeclared one and call their builtins with counts they take.
TEST(LspLint, ExamplesHaveNoNameOrArityWarnings) {
    std::vector<std::string> programs = programsIn({"examples", "bench"});
    ASSERT_GE(programs.size(), 10u);
    for (const std::string& text : programs) {
        Analysis analysis(text);
        ASSERT_TRUE(analysis.syntaxErrors().empty());
        EXPECT_EQ(warningsOf(analysis, {"undefined-name", "undeclared-assignment", "builtin-arity"}),
                  std::vector<std::string>{})
            << text.substr(0, 200);
    }
}

// Renaming a read of a global in a file that parses to an unknown name
// adds exactly one undefined-name, there, to those the file had.
TEST(LspLint, EveryGlobalReadRenamedIsUndefined) {
    size_t mutants = 0;
    for (const std::string& text : lsptest::repositoryScripts()) {
        Analysis analysis(text);
        if (!analysis.syntaxErrors().empty()) continue;
        const std::vector<size_t> before = undefinedNames(analysis);
        std::vector<const Occurrence*> reads;
        for (const Occurrence& occurrence : analysis.resolution().occurrences) {
            if (!occurrence.synthetic && !occurrence.write && occurrence.binding == Binding::Global)
                reads.push_back(&occurrence);
        }
        // A dozen spread over each file keep the sweep quick.
        const size_t stride = std::max<size_t>(1, reads.size() / 12);
        for (size_t i = 0; i < reads.size(); i += stride) {
            const Occurrence& occurrence = *reads[i];
            const std::string unknown = "q_unknown";
            std::string mutant = text;
            mutant.replace(occurrence.offset, occurrence.length, unknown);
            std::vector<size_t> expected{occurrence.offset};
            for (size_t offset : before) {
                if (offset != occurrence.offset)
                    expected.push_back(offset < occurrence.offset ? offset
                                                                  : offset + unknown.size() - occurrence.length);
            }
            std::sort(expected.begin(), expected.end());
            size_t from = occurrence.offset > 60 ? occurrence.offset - 60 : 0;
            EXPECT_EQ(undefinedNames(Analysis(mutant)), expected) << mutant.substr(from, 120);
            ++mutants;
        }
    }
    EXPECT_GT(mutants, 1000u);  // about 12 in each of the files that parse
}

// The settings turn every code off, or one by one.
TEST(LspLint, Settings) {
    // One unreachable-code for the block, on the first statement after the first exit.
    Analysis analysis("function f(a)\n  return b\n  return len()\n  let c = 1\nend\nd = 1\n");
    std::vector<std::string> all;
    for (const Diagnostic& warning : lintWarnings(analysis, LintSettings{})) all.push_back(warning.code);
    EXPECT_EQ(all, (std::vector<std::string>{"unused-local", "undefined-name", "unreachable-code", "builtin-arity",
                                             "unused-local", "undeclared-assignment"}));
    EXPECT_TRUE(lintWarnings(analysis, LintSettings{false, {}}).empty());
    LintSettings some{true, {"unused-local", "builtin-arity"}};
    std::vector<std::string> left;
    for (const Diagnostic& warning : lintWarnings(analysis, some)) left.push_back(warning.code);
    EXPECT_EQ(left, (std::vector<std::string>{"undefined-name", "unreachable-code", "undeclared-assignment"}));
}

// The codes the extension's setting offers and the guide lists are the server's.
TEST(LspLint, CodesAreOfferedAndDocumented) {
    auto read = [](const char* file) {
        std::ifstream in(std::string(VELMOR_SOURCE_DIR) + "/" + file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string package = read("editor/package.json");
    const size_t setting = package.find("\"velmor.lint.disabled\"");
    ASSERT_NE(setting, std::string::npos);
    const size_t open = package.find("\"enum\": [", setting);
    ASSERT_NE(open, std::string::npos);
    const std::string choices = package.substr(open, package.find(']', open) - open);
    std::vector<std::string> offered;
    for (size_t at = choices.find('"', 8); at != std::string::npos; at = choices.find('"', at)) {
        size_t end = choices.find('"', at + 1);
        offered.push_back(choices.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    EXPECT_EQ(offered, std::vector<std::string>(std::begin(kLintCodes), std::end(kLintCodes)));
    const std::string guide = read("docs/cli.md");
    for (const char* code : kLintCodes)
        EXPECT_NE(guide.find(std::string("| `") + code + "` |"), std::string::npos) << code;
}
