#include "lsp/lint.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "builtins/native.h"
#include "native_stack.h"

namespace velmor::lsp {

bool LintSettings::allows(std::string_view code) const {
    return enabled && std::find(disabled.begin(), disabled.end(), code) == disabled.end();
}

bool marksUnnecessaryCode(std::string_view code) { return code == "unused-local" || code == "unreachable-code"; }

namespace {

// The leftmost node of an expression: chain links (operators, calls, indexes,
// fields) record the position of their operator, not of their first operand.
const Expr& leftmost(const Expr& expression) {
    const Expr* at = &expression;
    while (const Expr* first = firstOperand(*at)) at = first;
    return *at;
}

struct Call {
    uint32_t calleeOffset = 0;
    size_t argumentCount = 0;
};

// A `let` inside a function or block, for the fix that removes it.
struct LocalLet {
    size_t begin = 0;
    size_t end = 0;
    bool initializerCalls = false;
};

// A warning and what fixes it.
struct Finding {
    Diagnostic diagnostic;
    std::vector<Replacement> fix;
    std::string fixTitle;
};

class Linter {
public:
    explicit Linter(const Analysis& analysis)
        : analysis_(analysis), resolution_(analysis.resolution()), index_(analysis.index()), text_(analysis.text()) {}

    std::vector<Finding> run() {
        if (!analysis_.syntaxErrors().empty() || resolution_.tooDeepLine != 0) return {};
        walkBlock(analysis_.program());
        if (tooDeep_) return {};
        summariseSymbols();
        names();
        arity();
        unused();
        std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
            return a.diagnostic.span.begin < b.diagnostic.span.begin;
        });
        return std::move(findings_);
    }

private:
    const Analysis& analysis_;
    const Resolution& resolution_;
    const TextIndex& index_;
    std::string_view text_;
    std::vector<Finding> findings_;
    std::vector<Call> calls_;
    std::unordered_map<uint32_t, LocalLet> localLets_;  // by the offset of the declared name
    std::unordered_set<uint32_t> plainAssignments_;     // names assigned with a plain "="
    std::vector<bool> read_;                            // per symbol
    std::vector<bool> written_;                         // per symbol, declarations left out
    std::vector<uint32_t> uses_;                        // per symbol: occurrences that are not its declarations
    const std::uintptr_t stackFloor_ = nativeStackFloor();
    bool tooDeep_ = false;
    int32_t functionDepth_ = 0;
    int32_t blockDepth_ = 0;

    void warn(Span span, const char* code, std::string message) {
        findings_.push_back(Finding{Diagnostic{span, Severity::Warning, std::move(message), code}, {}, {}});
    }

    size_t offsetOf(const Expr& expression) const {
        const Expr& first = leftmost(expression);
        return index_.offsetOfSource(first.line, first.column);
    }

    size_t statementBegin(const Stmt& statement) const {
        switch (statement.kind) {
        case StmtKind::Expr: return offsetOf(*static_cast<const ExprStmt&>(statement).expr);
        case StmtKind::Assign: return offsetOf(*static_cast<const AssignStmt&>(statement).target);
        default: return index_.offsetOfSource(statement.line, statement.column);
        }
    }

    // ---- the walk over the tree: blocks, calls and the `let`s a fix may remove

    void walkBlock(const StmtList& statements) {
        if (currentStackAddress() < stackFloor_) {
            tooDeep_ = true;
            return;
        }
        ++blockDepth_;
        bool reachable = true;
        for (size_t i = 0; i < statements.size(); ++i) {
            const Stmt& statement = *statements[i];
            walkStatement(statement);
            if (reachable && i + 1 < statements.size() && endsFlow(statement.kind)) {
                reachable = false;
                size_t begin = statementBegin(*statements[i + 1]);
                size_t end = statementEnd(analysis_.tokens(), static_cast<uint32_t>(begin));
                warn(Span{begin, std::max(begin, end)}, "unreachable-code",
                     std::string("unreachable code after '") + exitKeyword(statement.kind) + "'");
                // The rest of the block is walked for its names and calls all the same.
            }
        }
        --blockDepth_;
    }

    static bool endsFlow(StmtKind kind) {
        return kind == StmtKind::Return || kind == StmtKind::Break || kind == StmtKind::Continue;
    }

    static const char* exitKeyword(StmtKind kind) {
        return kind == StmtKind::Return ? "return" : kind == StmtKind::Break ? "break" : "continue";
    }

    void walkFunction(const StmtList& body) {
        ++functionDepth_;
        walkBlock(body);
        --functionDepth_;
    }

    void walkStatement(const Stmt& statement) {
        switch (statement.kind) {
        case StmtKind::Let: {
            const auto& let = static_cast<const LetStmt&>(statement);
            bool calls = false;
            if (let.init) calls = walkExpression(*let.init);
            // The top level declares globals, which other documents may read.
            if ((functionDepth_ > 0 || blockDepth_ > 1) && let.nameOffset != kNoOffset) {
                size_t begin = statementBegin(statement);
                localLets_[let.nameOffset] =
                    LocalLet{begin, statementEnd(analysis_.tokens(), static_cast<uint32_t>(begin)), calls};
            }
            return;
        }
        case StmtKind::Assign: {
            const auto& assign = static_cast<const AssignStmt&>(statement);
            if (assign.target->kind == ExprKind::Name && assign.op.empty()) {
                plainAssignments_.insert(static_cast<uint32_t>(offsetOf(*assign.target)));
            }
            if (assign.target->kind != ExprKind::Name) walkExpression(*assign.target);
            walkExpression(*assign.value);
            return;
        }
        case StmtKind::Expr: walkExpression(*static_cast<const ExprStmt&>(statement).expr); return;
        case StmtKind::If:
            for (const IfBranch& branch : static_cast<const IfStmt&>(statement).branches) {
                if (branch.cond) walkExpression(*branch.cond);
                walkBlock(branch.body);
            }
            return;
        case StmtKind::While: {
            const auto& loop = static_cast<const WhileStmt&>(statement);
            walkExpression(*loop.cond);
            walkBlock(loop.body);
            return;
        }
        case StmtKind::NumericFor: {
            const auto& loop = static_cast<const NumericForStmt&>(statement);
            walkExpression(*loop.start);
            walkExpression(*loop.end);
            if (loop.step) walkExpression(*loop.step);
            walkBlock(loop.body);
            return;
        }
        case StmtKind::ForIn: {
            const auto& loop = static_cast<const ForInStmt&>(statement);
            walkExpression(*loop.iterable);
            walkBlock(loop.body);
            return;
        }
        case StmtKind::FunctionDecl: walkFunction(static_cast<const FunctionDeclStmt&>(statement).body); return;
        case StmtKind::Return: {
            const auto& ret = static_cast<const ReturnStmt&>(statement);
            if (ret.value) walkExpression(*ret.value);
            return;
        }
        case StmtKind::Break:
        case StmtKind::Continue: return;
        case StmtKind::Try: {
            const auto& attempt = static_cast<const TryStmt&>(statement);
            walkBlock(attempt.body);
            walkBlock(attempt.handler);
            return;
        }
        }
    }

    // Records the calls of a name; true when the expression calls anything.
    // An explicit stack, since chains such as "a + b + c + ..." may be far
    // longer than the native stack is deep.
    bool walkExpression(const Expr& root) {
        bool calls = false;
        std::vector<const Expr*> pending{&root};
        while (!pending.empty()) {
            const Expr& expression = *pending.back();
            pending.pop_back();
            switch (expression.kind) {
            case ExprKind::Literal:
            case ExprKind::Name: break;
            case ExprKind::ListLit:
                for (const ExprPtr& element : static_cast<const ListLitExpr&>(expression).elements)
                    pending.push_back(element.get());
                break;
            case ExprKind::MapLit:
                for (const MapEntryExpr& entry : static_cast<const MapLitExpr&>(expression).entries) {
                    pending.push_back(entry.key.get());
                    pending.push_back(entry.value.get());
                }
                break;
            case ExprKind::Unary: pending.push_back(static_cast<const UnaryExpr&>(expression).operand.get()); break;
            case ExprKind::Binary: {
                const auto& binary = static_cast<const BinaryExpr&>(expression);
                pending.push_back(binary.left.get());
                pending.push_back(binary.right.get());
                break;
            }
            case ExprKind::Call: {
                const auto& call = static_cast<const CallExpr&>(expression);
                calls = true;
                if (call.callee->kind == ExprKind::Name) {
                    calls_.push_back(Call{static_cast<uint32_t>(offsetOf(*call.callee)), call.args.size()});
                }
                pending.push_back(call.callee.get());
                for (const ExprPtr& argument : call.args) pending.push_back(argument.get());
                break;
            }
            case ExprKind::Index: {
                const auto& index = static_cast<const IndexExpr&>(expression);
                pending.push_back(index.object.get());
                pending.push_back(index.index.get());
                break;
            }
            case ExprKind::Get: pending.push_back(static_cast<const GetExpr&>(expression).object.get()); break;
            case ExprKind::Function: walkFunction(static_cast<const FunctionExpr&>(expression).body); break;
            }
        }
        return calls;
    }

    // ---- the checks on the resolution

    void summariseSymbols() {
        size_t count = resolution_.symbols.size();
        read_.assign(count, false);
        written_.assign(count, false);
        uses_.assign(count, 0);
        for (const Occurrence& occurrence : resolution_.occurrences) {
            auto symbol = static_cast<size_t>(occurrence.symbol);
            if (occurrence.read) read_[symbol] = true;
            if (occurrence.write && !occurrence.declaration) written_[symbol] = true;
            if (!occurrence.declaration) ++uses_[symbol];
        }
    }

    const Symbol& symbolOf(const Occurrence& occurrence) const {
        return resolution_.symbols[static_cast<size_t>(occurrence.symbol)];
    }

    // A global that no statement of the file declares and the builtins do not bind.
    static bool undeclared(const Symbol& symbol) {
        return symbol.kind == SymbolKind::Global && symbol.declarations.empty() && !isBuiltinName(symbol.name);
    }

    void names() {
        for (const Occurrence& occurrence : resolution_.occurrences) {
            const Symbol& symbol = symbolOf(occurrence);
            if (occurrence.synthetic || occurrence.declaration || !undeclared(symbol)) continue;
            Span span{occurrence.offset, occurrence.offset + occurrence.length};
            if (occurrence.write) {
                warn(span, "undeclared-assignment",
                     "assignment to undeclared '" + symbol.name + "' (use 'let' to declare it)");
                if (plainAssignments_.contains(occurrence.offset)) {
                    findings_.back().fix = {Replacement{Span{occurrence.offset, occurrence.offset}, "let "}};
                    findings_.back().fixTitle = "Declare '" + symbol.name + "' with 'let'";
                }
            } else {
                warn(span, "undefined-name", "'" + symbol.name + "' is not defined");
            }
        }
    }

    const Occurrence* occurrenceStartingAt(uint32_t offset) const {
        const auto& occurrences = resolution_.occurrences;
        auto found = std::lower_bound(occurrences.begin(), occurrences.end(), offset,
                                      [](const Occurrence& occurrence, uint32_t at) { return occurrence.offset < at; });
        if (found == occurrences.end() || found->offset != offset || found->synthetic) return nullptr;
        return &*found;
    }

    void arity() {
        for (const Call& call : calls_) {
            const Occurrence* occurrence = occurrenceStartingAt(call.calleeOffset);
            if (occurrence == nullptr || occurrence->binding != Binding::Global) continue;
            const Symbol& symbol = symbolOf(*occurrence);
            // A name the program declares or assigns may no longer be the builtin.
            if (!symbol.declarations.empty() || written_[static_cast<size_t>(occurrence->symbol)]) continue;
            for (const BuiltinInfo& builtin : builtinTable()) {
                if (symbol.name != builtin.name) continue;
                // The engines' own rule and message.
                const NativeObj native(builtin.name, builtin.fn, builtin.minArity, builtin.maxArity);
                if (!arityAccepts(native, call.argumentCount)) {
                    warn(Span{occurrence->offset, occurrence->offset + occurrence->length}, "builtin-arity",
                         arityMessage(native, call.argumentCount));
                }
                break;
            }
        }
    }

    void unused() {
        for (size_t i = 0; i < resolution_.symbols.size(); ++i) {
            const Symbol& symbol = resolution_.symbols[i];
            if (symbol.kind != SymbolKind::Local && symbol.kind != SymbolKind::Parameter) continue;
            if (read_[i] || symbol.name == "_" || symbol.declarations.empty()) continue;
            uint32_t at = symbol.declarations.front();
            const bool parameter = symbol.kind == SymbolKind::Parameter;
            warn(Span{at, at + symbol.name.size()}, "unused-local",
                 std::string(parameter ? "parameter '" : "local '") + symbol.name + "' is never used");
            if (parameter || uses_[i] != 0) continue;
            auto let = localLets_.find(at);
            if (let == localLets_.end() || let->second.initializerCalls) continue;
            findings_.back().fix = {Replacement{wholeLines(let->second.begin, let->second.end), ""}};
            findings_.back().fixTitle = "Remove the unused local '" + symbol.name + "'";
        }
    }

    // [begin, end) widened to its whole lines, line break included, when
    // nothing but blanks share those lines with it.
    Span wholeLines(size_t begin, size_t end) const {
        size_t lineBegin = begin;
        while (lineBegin > 0 && (text_[lineBegin - 1] == ' ' || text_[lineBegin - 1] == '\t')) --lineBegin;
        if (lineBegin > 0 && text_[lineBegin - 1] != '\n') return Span{begin, end};
        size_t lineEnd = end;
        while (lineEnd < text_.size() && (text_[lineEnd] == ' ' || text_[lineEnd] == '\t' || text_[lineEnd] == '\r'))
            ++lineEnd;
        if (lineEnd < text_.size() && text_[lineEnd] != '\n') return Span{begin, end};
        return Span{lineBegin, std::min(text_.size(), lineEnd + 1)};
    }
};

bool touches(Span span, Span range) { return span.begin <= range.end && range.begin <= span.end; }

// `elseif` is read as a name, so a statement beginning with it fails to
// parse; the error stands on its line.
void elseifFixes(const Analysis& analysis, Span range, std::vector<CodeAction>& actions) {
    std::string_view text = analysis.text();
    const TextIndex& index = analysis.index();
    for (const Token& token : analysis.tokens()) {
        if (token.kind != TokenKind::Name || text.substr(token.offset, token.length) != "elseif") continue;
        int32_t line = index.sourceLineOf(token.offset);
        for (const Diagnostic& diagnostic : analysis.diagnostics()) {
            if (diagnostic.severity != Severity::Error || index.sourceLineOf(diagnostic.span.begin) != line) continue;
            Span word{token.offset, token.offset + token.length};
            if (!touches(diagnostic.span, range) && !touches(word, range)) continue;
            actions.push_back(CodeAction{"Replace 'elseif' with 'elif'", diagnostic, {Replacement{word, "elif"}}});
            break;
        }
    }
}

}  // namespace

std::vector<Diagnostic> lintWarnings(const Analysis& analysis, const LintSettings& settings) {
    std::vector<Diagnostic> warnings;
    if (!settings.enabled) return warnings;
    for (Finding& finding : Linter(analysis).run()) {
        if (settings.allows(finding.diagnostic.code)) warnings.push_back(std::move(finding.diagnostic));
    }
    return warnings;
}

std::vector<CodeAction> codeActions(const Analysis& analysis, const LintSettings& settings, Span range) {
    std::vector<CodeAction> actions;
    elseifFixes(analysis, range, actions);
    if (!settings.enabled) return actions;
    for (Finding& finding : Linter(analysis).run()) {
        if (finding.fix.empty() || !settings.allows(finding.diagnostic.code) ||
            !touches(finding.diagnostic.span, range))
            continue;
        actions.push_back(
            CodeAction{std::move(finding.fixTitle), std::move(finding.diagnostic), std::move(finding.fix)});
    }
    return actions;
}

}  // namespace velmor::lsp
