// The answers of the analysis that need no protocol: the builtin reference,
// hover, completion, outline and signatures. The protocol sessions in
// tests/lsp cover the same features end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "builtins/native.h"
#include "lsp/analysis.h"
#include "lsp/builtin_docs.h"

using namespace velmor;
using namespace velmor::lsp;

TEST(LspBuiltinDocs, EveryBuiltinAndConstantIsDocumented) {
    std::vector<std::string> missing;
    for (const BuiltinInfo& builtin : builtinTable()) {
        const BuiltinDoc* doc = findBuiltinDoc(builtin.name);
        if (doc == nullptr || doc->text.empty() || doc->signatures.empty()) missing.push_back(builtin.name);
    }
    for (const char* constant : {"PI", "E"}) {
        if (findBuiltinDoc(constant) == nullptr) missing.push_back(constant);
    }
    EXPECT_EQ(missing, std::vector<std::string>{});
    EXPECT_EQ(builtinTable().size(), 78u);
    const BuiltinDoc* range = findBuiltinDoc("range");
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->signatures, (std::vector<std::string>{"range(stop)", "range(start, stop [, step])"}));
    EXPECT_EQ(findBuiltinDoc("is_nil")->signatures, std::vector<std::string>{"is_nil(value)"});
    EXPECT_NE(findBuiltinDoc("PI")->text.find("3.141592653589793"), std::string::npos);
}

TEST(LspBuiltinDocs, SignatureParameters) {
    std::string signature = "log(x [, base])";
    auto params = signatureParameters(signature);
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(signature.substr(params[1].first, params[1].second - params[1].first), "base");
    EXPECT_EQ(signatureParameters("print(value, ...)").size(), 2u);
    EXPECT_EQ(signatureParameters("random()").size(), 0u);
}

TEST(LspFeatures, CompletionOffersWhatIsInScopeOnly) {
    std::string text =
        "let top = 1\nfunction other(hidden)\n  let inner = 2\nend\nfunction f(param)\n  let before = 1\n"
        "  x = \n  let after = 2\nend\n";
    Analysis analysis(text);
    size_t cursor = text.find("x = ") + 4;
    std::vector<std::string> labels;
    for (const auto& item : analysis.completion(cursor)) labels.push_back(item.label);
    auto has = [&](const char* name) { return std::find(labels.begin(), labels.end(), name) != labels.end(); };
    EXPECT_TRUE(has("param"));
    EXPECT_TRUE(has("before"));
    EXPECT_TRUE(has("top"));
    EXPECT_TRUE(has("other"));
    EXPECT_TRUE(has("while"));
    EXPECT_TRUE(has("starts_with"));
    EXPECT_TRUE(has("PI"));
    EXPECT_FALSE(has("after"));
    EXPECT_FALSE(has("hidden"));
    EXPECT_FALSE(has("inner"));
    // Nothing inside a string or a comment, and no variables after a ".".
    std::string quiet = "let s = \"abc\" # note\nlet t = s.\n";
    Analysis other(quiet);
    EXPECT_TRUE(other.completion(quiet.find("bc")).empty());
    EXPECT_TRUE(other.completion(quiet.find("ote")).empty());
    EXPECT_TRUE(other.completion(quiet.find("s.") + 2).empty());
}

TEST(LspFeatures, HoverShowsDocsHeadersAndDeclarations) {
    std::string text = "# Adds two numbers.\n# Carefully.\nfunction add(a, b)\n  return a + b\nend\nprint(add(1, 2))\n"
                       "let n = len([])\n";
    Analysis analysis(text);
    auto call = analysis.hover(text.find("add(1"));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->markdown, "```velmor\nfunction add(a, b)\n```\n\nAdds two numbers.\nCarefully.");
    auto builtin = analysis.hover(text.find("len"));
    ASSERT_TRUE(builtin);
    EXPECT_NE(builtin->markdown.find("len(value)"), std::string::npos);
    auto param = analysis.hover(text.find("a + b"));
    ASSERT_TRUE(param);
    EXPECT_NE(param->markdown.find("(parameter) a"), std::string::npos);
    EXPECT_NE(param->markdown.find("line 3"), std::string::npos);
}

TEST(LspFeatures, SignatureHelpFollowsTheCommas) {
    std::string text = "function area(width, height) return width * height end\narea(1, [2, 3], \nrange(1, \n";
    Analysis analysis(text);
    auto user = analysis.signatureHelp(text.find("[2, 3], ") + 8);
    ASSERT_TRUE(user);
    EXPECT_EQ(user->signatures[0].label, "area(width, height)");
    EXPECT_EQ(user->activeParameter, 1u);
    auto builtin = analysis.signatureHelp(text.find("range(1, ") + 9);
    ASSERT_TRUE(builtin);
    EXPECT_EQ(builtin->signatures[builtin->activeSignature].label, "range(start, stop [, step])");
    EXPECT_EQ(builtin->activeParameter, 1u);
}

TEST(LspFeatures, OutlineNestsFunctions) {
    std::string text = "let limit = 3\nfunction outer()\n  function inner() end\n  let helper = function() end\nend\n";
    Analysis analysis(text);
    auto symbols = analysis.documentSymbols();
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].name, "limit");
    EXPECT_EQ(symbols[1].name, "outer");
    ASSERT_EQ(symbols[1].children.size(), 2u);
    EXPECT_EQ(symbols[1].children[1].name, "helper");
    EXPECT_EQ(text.substr(symbols[1].range.begin, symbols[1].range.end - symbols[1].range.begin),
              text.substr(text.find("function outer"), text.rfind("end") + 3 - text.find("function outer")));
}

TEST(LspFeatures, DiagnosticsCoverTheOffendingToken) {
    std::string text = "#pragma fast\nlet a = 1 +\nbreak\nprint(a ! b)\n";
    Analysis analysis(text);
    std::vector<std::string> found;
    for (const Diagnostic& diagnostic : analysis.diagnostics()) {
        found.push_back(diagnostic.message + " [" +
                        text.substr(diagnostic.span.begin, diagnostic.span.end - diagnostic.span.begin) + "]");
    }
    EXPECT_EQ(found,
              (std::vector<std::string>{"'!' must be followed by '=' (did you mean 'not'?) [!]",
                                        "unexpected end of line in expression [+]", "'break' outside a loop [break]",
                                        "unknown pragma 'fast' [#pragma fast]"}));
}

TEST(LspFeatures, PragmaWarningsSitOnThePragmaThatDecides) {
    // The header the program itself reads: a byte-order mark is skipped, the
    // first line of code ends it, names match exactly, and the last
    // "version" pragma decides.
    struct Case {
        const char* text;
        std::vector<std::string> expected;  // "line: message [covered text]", lines 0-based
    };
    const Case cases[] = {
        {"#pragma version 99\nprint(1)\n# see #pragma version notes\n#pragma oldversion\n",
         {"0: requires Velmor >= 99 (this is 6) [#pragma version 99]"}},
        {"\xEF\xBB\xBF#pragma version 99\n# #pragma version\nprint(1)\n",
         {"0: requires Velmor >= 99 (this is 6) [#pragma version 99]"}},
        {"#pragma version 98\n\t#pragma version 99 \r\n#pragma versions 2\n",
         {"2: unknown pragma 'versions' [#pragma versions 2]",
          "1: requires Velmor >= 99 (this is 6) [#pragma version 99 ]"}},
    };
    for (const Case& test : cases) {
        std::string text = test.text;
        Analysis analysis(text);
        std::vector<std::string> found;
        for (const Diagnostic& diagnostic : analysis.diagnostics()) {
            found.push_back(std::to_string(analysis.index().toPosition(diagnostic.span.begin).line) + ": " +
                            diagnostic.message + " [" +
                            text.substr(diagnostic.span.begin, diagnostic.span.end - diagnostic.span.begin) + "]");
        }
        EXPECT_EQ(found, test.expected) << test.text;
    }
}

TEST(LspFeatures, CompilerLimitsAreDiagnosed) {
    // Only the compiler knows its limits; it reports the first on a file that parses.
    std::string text = "let f = print\nf(";
    for (int i = 0; i < 256; ++i) text += i ? ", 0" : "0";
    text += ")\n";
    Analysis analysis(text);
    ASSERT_EQ(analysis.diagnostics().size(), 1u);
    const Diagnostic& diagnostic = analysis.diagnostics()[0];
    EXPECT_EQ(diagnostic.message, "too many arguments");
    EXPECT_EQ(diagnostic.code, "CompileError");
    EXPECT_EQ(text.substr(diagnostic.span.begin, diagnostic.span.end - diagnostic.span.begin), "(");
}

TEST(LspFeatures, LongChainsAreAnalysed) {
    // Flat chains of any length parse; the analysis walks none of them recursively.
    std::string text = "let a = 1\nlet s = a";
    for (int i = 0; i < 20000; ++i) text += " + a";
    text += "\nlet t = \"";
    for (int i = 0; i < 2000; ++i) text += "${a}.";
    text += "\"\nprint(s, t, nope\n";
    Analysis analysis(text);
    ASSERT_EQ(analysis.diagnostics().size(), 1u);
    EXPECT_EQ(analysis.diagnostics()[0].message, "expected ')' after arguments, got end of line");
    auto hover = analysis.hover(text.rfind("+ a") + 2);
    ASSERT_TRUE(hover);
    EXPECT_NE(hover->markdown.find("(global variable) a"), std::string::npos);
    EXPECT_EQ(analysis.references(text.find('a', 4), true).size(),
              22002u);  // declared, "let s = a", the chain, the string
}
