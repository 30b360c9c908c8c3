#pragma once

// What the language server knows about one document, computed in one pass
// whenever its text changes: the tolerant parse, the name resolution and the
// diagnostics; and the answers to the editor's questions, as plain data
// (positions are byte offsets; the protocol layer converts them).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ast.h"
#include "error.h"
#include "lexer/token.h"
#include "lsp/resolver.h"
#include "lsp/text_index.h"

namespace velmor::lsp {

struct Span {
    size_t begin = 0;
    size_t end = 0;
};

enum class Severity { Error = 1, Warning = 2 };

struct Diagnostic {
    Span span;
    Severity severity = Severity::Error;
    std::string message;
    std::string code;  // the report's label: "SyntaxError", "CompileError", ...
};

class Analysis {
public:
    // Parses and resolves `text` at once; never runs it.
    explicit Analysis(std::string text);
    Analysis(const Analysis&) = delete;
    Analysis& operator=(const Analysis&) = delete;

    const std::string& text() const { return text_; }
    const TextIndex& index() const { return index_; }
    const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }
    // Lexical and syntax errors, the first being the one a strict parse throws.
    const std::vector<VelmorError>& syntaxErrors() const { return syntaxErrors_; }
    const StmtList& program() const { return program_; }
    const std::vector<Token>& tokens() const { return tokens_; }
    const Resolution& resolution() const { return resolution_; }

    struct Hover {
        Span span;
        std::string markdown;
    };
    std::optional<Hover> hover(size_t offset) const;

    enum class CompletionKind { Keyword = 14, Function = 3, Variable = 6, Constant = 21 };
    struct CompletionItem {
        std::string label;
        CompletionKind kind;
        std::string detail;
    };
    std::vector<CompletionItem> completion(size_t offset) const;

    struct Signature {
        std::string label;
        std::vector<std::pair<size_t, size_t>> parameters;  // ranges in the label
        std::string documentation;
    };
    struct SignatureHelp {
        std::vector<Signature> signatures;
        size_t activeSignature = 0;
        size_t activeParameter = 0;
    };
    std::optional<SignatureHelp> signatureHelp(size_t offset) const;

    std::vector<Span> definition(size_t offset) const;
    std::vector<Span> references(size_t offset, bool includeDeclaration) const;

    enum class OutlineKind { Function = 12, Variable = 13 };
    struct DocumentSymbol {
        std::string name;
        OutlineKind kind;
        Span range;
        Span selection;
        std::vector<DocumentSymbol> children;
    };
    std::vector<DocumentSymbol> documentSymbols() const;

private:
    Span errorSpan(const VelmorError& error) const;
    Span tokenSpanAt(size_t offset) const;
    size_t statementStart(const Stmt& statement) const;
    void addDiagnostics();
    std::string functionHover(const Symbol& symbol) const;
    void collectSymbols(const StmtList& statements, bool topLevel, std::vector<DocumentSymbol>& out) const;

    std::string text_;
    TextIndex index_;
    std::vector<Token> tokens_;
    StmtList program_;
    std::vector<VelmorError> syntaxErrors_;
    Resolution resolution_;
    std::vector<Diagnostic> diagnostics_;
};

}  // namespace velmor::lsp
