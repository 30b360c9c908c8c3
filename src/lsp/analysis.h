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
#include "parser.h"

namespace velmor::lsp {

// The semantic token legend: the types and the modifier bits, by position.
inline constexpr const char* kSemanticTokenTypes[] = {"function", "parameter", "variable", "keyword", "string",
                                                      "number",   "comment",   "operator", "property"};
inline constexpr const char* kSemanticTokenModifiers[] = {"declaration", "defaultLibrary", "readonly", "global",
                                                          "upvalue"};

// A name the builtin library binds (a function or a constant).
bool isBuiltinName(std::string_view name);
// A name that a program may declare: a letter or "_", then letters, digits
// and "_", and no keyword.
bool isIdentifier(std::string_view name);

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

    enum class CompletionKind { Keyword = 14, Function = 3, Field = 5, Variable = 6, Constant = 21 };
    struct CompletionItem {
        std::string label;
        CompletionKind kind;
        std::string detail;
    };
    // The names that can stand at `offset`, inside "${...}" too; after "."
    // the keys of a map the analysis can see, and nothing else.
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

    // Hover, definition and references also answer on a name in a statement
    // that did not parse: it is looked up where it stands (see nameAt).
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

    // Every occurrence of the name at `offset` in this document; `write` for
    // a declaration or an assignment, compound ones included.
    struct Highlight {
        Span span;
        bool write = false;
    };
    std::vector<Highlight> highlights(size_t offset) const;

    // Editor lines (0-based) that fold: every block spread over lines, the
    // arms of an if one by one, brackets opened on one line and closed on a
    // later one, and runs of two or more whole-line comments.
    struct FoldingRange {
        int64_t startLine = 0;
        int64_t endLine = 0;
        bool comment = false;
        bool operator==(const FoldingRange&) const = default;
    };
    std::vector<FoldingRange> foldingRanges() const;

    // Semantic tokens in the protocol's relative encoding (five numbers per
    // token, UTF-16 lengths, none spanning lines), with the legend below.
    std::vector<uint32_t> semanticTokens() const;

    // The name a rename at `offset` would change: its span and symbol, or
    // `refusal` saying why there is none there.
    struct RenameTarget {
        Span span;
        int32_t symbol = -1;
        std::string refusal;
    };
    RenameTarget renameTarget(size_t offset) const;
    // The spans to rewrite for `symbol`: every occurrence with text of its own.
    std::vector<Span> occurrenceSpans(int32_t symbol) const;
    // The spans of the global `name` here (none when this document does not name it).
    std::vector<Span> globalSpans(const std::string& name) const;
    // Whether writing `newName` over `spans` keeps every name of the document
    // bound as before (no capture either way); empty when it does, else why not.
    std::string renameConflict(const std::vector<Span>& spans, const std::string& newName) const;

private:
    Span errorSpan(const VelmorError& error) const;
    Span tokenSpanAt(size_t offset) const;
    size_t statementStart(const Stmt& statement) const;
    void addDiagnostics();
    std::string functionHover(const Symbol& symbol) const;
    // The symbol a name spelled `name` at `offset` would denote: the innermost
    // local visible there, else the global. nullptr when there is neither.
    const Symbol* symbolNamed(std::string_view name, size_t offset) const;
    int32_t symbolIndexNamed(std::string_view name, size_t offset) const;
    // The symbol of the occurrence that starts exactly at `offset`, or -1.
    int32_t symbolAt(uint32_t offset) const;
    // The name at `offset` (its end included): the resolved occurrence, or,
    // for a name of a statement that did not parse, one made up by looking
    // its spelling up where it stands.
    std::optional<Occurrence> nameAt(size_t offset) const;
    // Whether token `at` is a name that the tolerant parse left out and that
    // reads a variable (not a field, a map key or a name being declared).
    bool unparsedName(const std::vector<Token>& tokens, size_t at) const;
    // The keys a map bound to `symbol` is seen to have: those of the map
    // literal it is declared with, and the fields assigned to it in the
    // same block, when they are names.
    std::vector<std::string> mapKeys(int32_t symbol) const;
    void collectMapKeys(const StmtList& statements, int32_t symbol, std::vector<std::string>& keys) const;
    void collectSymbols(const StmtList& statements, bool topLevel, std::vector<DocumentSymbol>& out) const;

    std::string text_;
    TextIndex index_;
    std::vector<Token> tokens_;
    StmtList program_;
    std::vector<VelmorError> syntaxErrors_;
    std::vector<Comment> comments_;
    std::vector<TolerantParse::CodeSpan> codeSpans_;
    std::vector<Token> codeTokens_;
    Resolution resolution_;
    std::vector<Diagnostic> diagnostics_;
};

}  // namespace velmor::lsp
