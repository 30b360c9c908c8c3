#pragma once

// Lint warnings for a document that parses, and the quick fixes for what can
// be fixed mechanically. Every warning carries one of the codes below, which
// the editor's settings name to turn it off. The warnings read the name
// resolution and never run the program; a document with syntax errors gets
// none, since a statement the parser skipped would make its names look unused
// or undefined.
//
//   undefined-name         a read of a name that nothing in the file defines
//                          and that is no builtin
//   builtin-arity          a builtin called with a number of arguments outside
//                          its bounds, where the name is still the builtin's
//   unused-local           a `let` local or a parameter that is never read
//                          (`_` is exempt; so are loop and catch variables,
//                          which the syntax demands)
//   unreachable-code       the first statement after a `return`, `break` or
//                          `continue` in the same block
//   undeclared-assignment  an assignment to a name that nothing declares,
//                          which fails when it runs

#include <string>
#include <string_view>
#include <vector>

#include "lsp/analysis.h"

namespace velmor::lsp {

inline constexpr const char* kLintCodes[] = {"undefined-name", "builtin-arity", "unused-local", "unreachable-code",
                                             "undeclared-assignment"};

// Whether the warnings of `code` mark code that does nothing (editors fade it).
bool marksUnnecessaryCode(std::string_view code);

struct LintSettings {
    bool enabled = true;
    std::vector<std::string> disabled;  // codes turned off one by one

    bool allows(std::string_view code) const;
};

// The warnings of `analysis` that `settings` let through, in source order.
std::vector<Diagnostic> lintWarnings(const Analysis& analysis, const LintSettings& settings);

struct Replacement {
    Span span;
    std::string text;
};

// A quick fix: the diagnostic it answers and the edits that fix it.
struct CodeAction {
    std::string title;
    Diagnostic diagnostic;
    std::vector<Replacement> edits;
};

// The fixes for the diagnostics (errors and the warnings `settings` let
// through) whose spans touch [range.begin, range.end].
std::vector<CodeAction> codeActions(const Analysis& analysis, const LintSettings& settings, Span range);

}  // namespace velmor::lsp
