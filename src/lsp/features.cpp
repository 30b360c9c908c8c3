// The editor features that read a document's names and layout as a whole:
// highlights, folding ranges, semantic tokens and the checks behind rename.

#include <algorithm>
#include <unordered_map>

#include "builtins/native.h"
#include "lsp/analysis.h"
#include "lsp/builtin_docs.h"
#include "native_stack.h"

namespace velmor::lsp {

namespace {

bool isKeyword(TokenKind kind) {
    auto number = static_cast<int>(kind);
    return number >= kFirstKeyword && number <= kLastKeyword;
}

bool isOperator(TokenKind kind) {
    auto number = static_cast<int>(kind);
    return number >= static_cast<int>(TokenKind::Plus) && number <= static_cast<int>(TokenKind::CaretAssign);
}

bool isBuiltinFunction(std::string_view name) {
    const auto table = builtinTable();
    return std::any_of(table.begin(), table.end(), [&](const BuiltinInfo& info) { return name == info.name; });
}

// Whether only blanks stand between the start of its line and `offset`.
bool firstOnLine(std::string_view text, size_t offset) {
    while (offset > 0 && (text[offset - 1] == ' ' || text[offset - 1] == '\t')) --offset;
    return offset == 0 || text[offset - 1] == '\n' || text[offset - 1] == '\r';
}

// The folds of a program: one walk over its statements (recursive, as deep
// as the native stack allows, like every other walk here) and over the
// expressions in them (by a loop), looking for function literals.
class Folds {
public:
    Folds(std::string_view text, const TextIndex& index) : text_(text), index_(index) {}

    std::vector<Analysis::FoldingRange> ranges;

    // A block from the line of `open` to the line before its closing keyword
    // at `close` (or to that line, when code stands before the keyword there).
    void add(size_t open, uint32_t close, bool comment = false) {
        if (close == kNoOffset || close > text_.size()) return;
        int64_t start = index_.toPosition(open).line;
        int64_t end = index_.toPosition(close).line;
        if (!comment && firstOnLine(text_, close)) --end;
        if (end > start) ranges.push_back(Analysis::FoldingRange{start, end, comment});
    }

    void statements(const StmtList& list) {
        if (currentStackAddress() < floor_) return;
        for (const StmtPtr& pointer : list) statement(*pointer);
    }

private:
    std::string_view text_;
    const TextIndex& index_;
    const std::uintptr_t floor_ = nativeStackFloor();

    size_t startOf(int32_t line, int32_t column) const { return index_.offsetOfSource(line, column); }

    void statement(const Stmt& statement) {
        const size_t start = startOf(statement.line, statement.column);
        switch (statement.kind) {
        case StmtKind::Let: {
            const auto& let = static_cast<const LetStmt&>(statement);
            if (let.init) expression(*let.init);
            return;
        }
        case StmtKind::Assign: {
            const auto& assign = static_cast<const AssignStmt&>(statement);
            expression(*assign.target);
            expression(*assign.value);
            return;
        }
        case StmtKind::Expr: expression(*static_cast<const ExprStmt&>(statement).expr); return;
        case StmtKind::Return: {
            const auto& ret = static_cast<const ReturnStmt&>(statement);
            if (ret.value) expression(*ret.value);
            return;
        }
        case StmtKind::If: {
            size_t arm = start;
            for (const IfBranch& branch : static_cast<const IfStmt&>(statement).branches) {
                if (branch.cond) expression(*branch.cond);
                add(arm, branch.endOffset);
                statements(branch.body);
                if (branch.endOffset == kNoOffset) break;
                arm = branch.endOffset;
            }
            return;
        }
        case StmtKind::While: {
            const auto& loop = static_cast<const WhileStmt&>(statement);
            expression(*loop.cond);
            add(start, loop.endOffset);
            statements(loop.body);
            return;
        }
        case StmtKind::NumericFor: {
            const auto& loop = static_cast<const NumericForStmt&>(statement);
            expression(*loop.start);
            expression(*loop.end);
            if (loop.step) expression(*loop.step);
            add(start, loop.endOffset);
            statements(loop.body);
            return;
        }
        case StmtKind::ForIn: {
            const auto& loop = static_cast<const ForInStmt&>(statement);
            expression(*loop.iterable);
            add(start, loop.endOffset);
            statements(loop.body);
            return;
        }
        case StmtKind::FunctionDecl: {
            const auto& function = static_cast<const FunctionDeclStmt&>(statement);
            add(start, function.endOffset);
            statements(function.body);
            return;
        }
        case StmtKind::Try: {
            const auto& attempt = static_cast<const TryStmt&>(statement);
            add(start, attempt.catchOffset);
            statements(attempt.body);
            if (attempt.catchOffset != kNoOffset) add(attempt.catchOffset, attempt.endOffset);
            statements(attempt.handler);
            return;
        }
        case StmtKind::Break:
        case StmtKind::Continue: return;
        }
    }

    void expression(const Expr& root) {
        std::vector<const Expr*> pending{&root};
        while (!pending.empty()) {
            const Expr& expr = *pending.back();
            pending.pop_back();
            switch (expr.kind) {
            case ExprKind::Literal:
            case ExprKind::Name: break;
            case ExprKind::ListLit:
                for (const ExprPtr& element : static_cast<const ListLitExpr&>(expr).elements)
                    pending.push_back(element.get());
                break;
            case ExprKind::MapLit:
                for (const MapEntryExpr& entry : static_cast<const MapLitExpr&>(expr).entries) {
                    pending.push_back(entry.key.get());
                    pending.push_back(entry.value.get());
                }
                break;
            case ExprKind::Unary: pending.push_back(static_cast<const UnaryExpr&>(expr).operand.get()); break;
            case ExprKind::Binary:
                pending.push_back(static_cast<const BinaryExpr&>(expr).left.get());
                pending.push_back(static_cast<const BinaryExpr&>(expr).right.get());
                break;
            case ExprKind::Call:
                pending.push_back(static_cast<const CallExpr&>(expr).callee.get());
                for (const ExprPtr& argument : static_cast<const CallExpr&>(expr).args)
                    pending.push_back(argument.get());
                break;
            case ExprKind::Index:
                pending.push_back(static_cast<const IndexExpr&>(expr).object.get());
                pending.push_back(static_cast<const IndexExpr&>(expr).index.get());
                break;
            case ExprKind::Get: pending.push_back(static_cast<const GetExpr&>(expr).object.get()); break;
            case ExprKind::Function: {
                const auto& function = static_cast<const FunctionExpr&>(expr);
                add(startOf(function.line, function.column), function.endOffset);
                statements(function.body);
                break;
            }
            }
        }
    }
};

struct RawToken {
    size_t begin;
    size_t end;
    uint32_t type;
    uint32_t modifiers;
};

// Positions in kSemanticTokenTypes, and bits for kSemanticTokenModifiers.
constexpr uint32_t kFunction = 0, kParameter = 1, kVariable = 2, kKeyword = 3, kString = 4, kNumber = 5, kComment = 6,
                   kOperator = 7, kProperty = 8;
constexpr uint32_t kDeclaration = 1, kDefaultLibrary = 2, kReadonly = 4, kGlobal = 8, kUpvalue = 16;
static_assert(std::size(kSemanticTokenTypes) == kProperty + 1 && std::size(kSemanticTokenModifiers) == 5);

}  // namespace

bool isBuiltinName(std::string_view name) { return findBuiltinDoc(name) != nullptr; }

bool isIdentifier(std::string_view name) {
    if (name.empty()) return false;
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!letter(name.front())) return false;
    for (char c : name) {
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    }
    for (int kind = kFirstKeyword; kind <= kLastKeyword; ++kind) {
        if (name == tokenKindSpelling(static_cast<TokenKind>(kind))) return false;
    }
    return true;
}

std::vector<Analysis::Highlight> Analysis::highlights(size_t offset) const {
    std::vector<Highlight> result;
    int32_t found = resolution_.occurrenceAt(static_cast<uint32_t>(std::min(offset, text_.size())));
    if (found < 0) return result;
    int32_t symbol = resolution_.occurrences[static_cast<size_t>(found)].symbol;
    for (const Occurrence& occurrence : resolution_.occurrences) {
        if (occurrence.symbol != symbol || occurrence.synthetic) continue;
        result.push_back(Highlight{Span{occurrence.offset, occurrence.offset + occurrence.length},
                                   occurrence.declaration || occurrence.write});
    }
    return result;
}

std::vector<Analysis::FoldingRange> Analysis::foldingRanges() const {
    Folds folds(text_, index_);
    folds.statements(program_);
    // Brackets: multi-line lists, maps, calls and parameter lists.
    std::vector<uint32_t> open;
    for (const Token& token : tokens_) {
        switch (token.kind) {
        case TokenKind::LeftParen:
        case TokenKind::LeftBracket:
        case TokenKind::LeftBrace: open.push_back(token.offset); break;
        case TokenKind::RightParen:
        case TokenKind::RightBracket:
        case TokenKind::RightBrace:
            if (!open.empty()) {
                folds.add(open.back(), token.offset);
                open.pop_back();
            }
            break;
        default: break;
        }
    }
    // Runs of comment lines: a comment that a line holds alone, then the
    // ones on the lines right after it.
    int64_t runStart = -1;
    int64_t runEnd = -1;
    auto closeRun = [&] {
        if (runStart >= 0 && runEnd > runStart) folds.ranges.push_back(FoldingRange{runStart, runEnd, true});
        runStart = runEnd = -1;
    };
    for (const Comment& comment : comments_) {
        if (!firstOnLine(text_, comment.offset)) {
            closeRun();
            continue;
        }
        int64_t line = index_.toPosition(comment.offset).line;
        if (runEnd >= 0 && line == runEnd + 1) {
            runEnd = line;
        } else {
            closeRun();
            runStart = runEnd = line;
        }
    }
    closeRun();
    std::vector<FoldingRange>& ranges = folds.ranges;
    std::sort(ranges.begin(), ranges.end(), [](const FoldingRange& a, const FoldingRange& b) {
        return a.startLine != b.startLine ? a.startLine < b.startLine : a.endLine > b.endLine;
    });
    ranges.erase(std::unique(ranges.begin(), ranges.end()), ranges.end());
    return ranges;
}

std::vector<uint32_t> Analysis::semanticTokens() const {
    std::vector<RawToken> raw;
    const auto& occurrences = resolution_.occurrences;
    auto nameToken = [&](const Token& token, bool afterDot) {
        auto at =
            std::lower_bound(occurrences.begin(), occurrences.end(), token.offset,
                             [](const Occurrence& occurrence, uint32_t offset) { return occurrence.offset < offset; });
        for (; at != occurrences.end() && at->offset == token.offset; ++at) {
            if (at->synthetic) continue;
            const Symbol& symbol = resolution_.symbols[static_cast<size_t>(at->symbol)];
            uint32_t type = kVariable;
            uint32_t modifiers = at->declaration ? kDeclaration : 0;
            if (symbol.kind == SymbolKind::Global) {
                if (symbol.declarations.empty() && isBuiltinName(symbol.name)) {
                    bool function = isBuiltinFunction(symbol.name);
                    type = function ? kFunction : kVariable;
                    modifiers |= kDefaultLibrary | (function ? 0 : kReadonly);
                } else {
                    type = symbol.isFunction ? kFunction : kVariable;
                    modifiers |= kGlobal;
                }
            } else {
                type = symbol.kind == SymbolKind::Parameter ? kParameter : symbol.isFunction ? kFunction : kVariable;
                if (at->binding == Binding::Upvalue) modifiers |= kUpvalue;
            }
            raw.push_back(RawToken{token.offset, size_t{token.offset} + token.length, type, modifiers});
            return;
        }
        if (afterDot) raw.push_back(RawToken{token.offset, size_t{token.offset} + token.length, kProperty, 0});
    };
    // A string loses the code of its interpolations, which is given token by token.
    auto stringToken = [&](size_t begin, size_t end) {
        auto span =
            std::lower_bound(codeSpans_.begin(), codeSpans_.end(), begin,
                             [](const TolerantParse::CodeSpan& code, size_t offset) { return code.offset < offset; });
        for (; span != codeSpans_.end() && span->offset < end; ++span) {
            if (span->offset > begin) raw.push_back(RawToken{begin, span->offset, kString, 0});
            begin = std::max(begin, size_t{span->offset} + span->length);
        }
        if (end > begin) raw.push_back(RawToken{begin, end, kString, 0});
    };
    auto classify = [&](const std::vector<Token>& tokens) {
        for (size_t i = 0; i < tokens.size(); ++i) {
            const Token& token = tokens[i];
            const size_t end = size_t{token.offset} + token.length;
            if (token.kind == TokenKind::Name) {
                nameToken(token, i > 0 && tokens[i - 1].kind == TokenKind::Dot);
            } else if (token.kind == TokenKind::String || token.kind == TokenKind::InterpString) {
                stringToken(token.offset, end);
            } else if (token.kind == TokenKind::Number) {
                raw.push_back(RawToken{token.offset, end, kNumber, 0});
            } else if (isKeyword(token.kind)) {
                raw.push_back(RawToken{token.offset, end, kKeyword, 0});
            } else if (isOperator(token.kind)) {
                raw.push_back(RawToken{token.offset, end, kOperator, 0});
            }
        }
    };
    classify(tokens_);
    classify(codeTokens_);
    for (const Comment& comment : comments_)
        raw.push_back(RawToken{comment.offset, size_t{comment.offset} + comment.length, kComment, 0});
    std::stable_sort(raw.begin(), raw.end(), [](const RawToken& a, const RawToken& b) { return a.begin < b.begin; });

    std::vector<uint32_t> data;
    data.reserve(raw.size() * 5);
    Position previous;
    size_t covered = 0;
    auto emit = [&](size_t begin, size_t end, const RawToken& token) {
        Position start = index_.toPosition(begin);
        Position stop = index_.toPosition(end);
        if (stop.line != start.line || stop.character <= start.character) return;
        data.push_back(static_cast<uint32_t>(start.line - previous.line));
        data.push_back(static_cast<uint32_t>(start.line == previous.line ? start.character - previous.character
                                                                         : start.character));
        data.push_back(static_cast<uint32_t>(stop.character - start.character));
        data.push_back(token.type);
        data.push_back(token.modifiers);
        previous = start;
    };
    for (const RawToken& token : raw) {
        size_t begin = std::max(token.begin, covered);
        const size_t end = std::min(token.end, text_.size());
        if (begin >= end) continue;
        covered = end;
        // One token per line: a token never runs over a line break.
        for (size_t at = begin; at < end; ++at) {
            if (text_[at] == '\n' || text_[at] == '\r') {
                emit(begin, at, token);
                begin = at + 1;
            }
        }
        emit(begin, end, token);
    }
    return data;
}

Analysis::RenameTarget Analysis::renameTarget(size_t offset) const {
    RenameTarget target;
    offset = std::min(offset, text_.size());
    int32_t found = resolution_.occurrenceAt(static_cast<uint32_t>(offset));
    if (found < 0) {
        auto after = std::upper_bound(tokens_.begin(), tokens_.end(), offset,
                                      [](size_t at, const Token& token) { return at < token.offset; });
        if (after != tokens_.begin()) {
            const Token& token = *(after - 1);
            if (isKeyword(token.kind) && offset <= size_t{token.offset} + token.length) {
                target.refusal =
                    std::string("'") + tokenKindSpelling(token.kind) + "' is a keyword and cannot be renamed";
                return target;
            }
        }
        target.refusal = "there is no name here to rename";
        return target;
    }
    const Occurrence& occurrence = resolution_.occurrences[static_cast<size_t>(found)];
    target.span = Span{occurrence.offset, occurrence.offset + occurrence.length};
    target.symbol = occurrence.symbol;
    return target;
}

std::vector<Span> Analysis::occurrenceSpans(int32_t symbol) const {
    std::vector<Span> spans;
    for (const Occurrence& occurrence : resolution_.occurrences) {
        if (occurrence.symbol == symbol && !occurrence.synthetic)
            spans.push_back(Span{occurrence.offset, occurrence.offset + occurrence.length});
    }
    return spans;
}

std::vector<Span> Analysis::globalSpans(const std::string& name) const {
    auto found = resolution_.globals.find(name);
    if (found == resolution_.globals.end()) return {};
    return occurrenceSpans(found->second);
}

// Rewrites the text and resolves it again: the rename is safe when the
// names, taken in order, fall into the same bindings as before. A name
// that would join the renamed binding, or leave it, breaks that.
std::string Analysis::renameConflict(const std::vector<Span>& spans, const std::string& newName) const {
    if (spans.empty()) return {};
    const std::string oldName = text_.substr(spans.front().begin, spans.front().end - spans.front().begin);
    std::vector<Span> sorted = spans;
    std::sort(sorted.begin(), sorted.end(), [](const Span& a, const Span& b) { return a.begin > b.begin; });
    std::string text = text_;
    for (const Span& span : sorted) text.replace(span.begin, span.end - span.begin, newName);
    Analysis renamed(std::move(text));
    const auto& before = resolution_.occurrences;
    const auto& after = renamed.resolution_.occurrences;
    const std::string what = "renaming '" + oldName + "' to '" + newName + "'";
    if (before.size() != after.size()) return what + " would change how the program reads";
    std::unordered_map<int32_t, int32_t> forward;
    std::unordered_map<int32_t, int32_t> backward;
    for (size_t i = 0; i < before.size(); ++i) {
        auto [there, newThere] = forward.emplace(before[i].symbol, after[i].symbol);
        auto [back, newBack] = backward.emplace(after[i].symbol, before[i].symbol);
        if (there->second == after[i].symbol && back->second == before[i].symbol) continue;
        const std::string& name = resolution_.symbols[static_cast<size_t>(before[i].symbol)].name;
        return what + " would change the binding that '" + name + "' on line " +
               std::to_string(index_.toPosition(before[i].offset).line + 1) + " refers to";
    }
    return {};
}

}  // namespace velmor::lsp
