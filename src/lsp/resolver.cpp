#include "lsp/resolver.h"

#include <algorithm>
#include <cstdint>

#include "native_stack.h"

namespace velmor::lsp {

namespace {

struct LocalEntry {
    int32_t symbol;
    int32_t depth;
};

struct FunctionFrame {
    FunctionFrame* enclosing = nullptr;
    std::vector<LocalEntry> locals;
    int32_t scopeDepth = 0;
    int32_t loops = 0;
};

uint32_t tokenEnd(const Token& token) { return token.offset + token.length; }

class Resolver {
public:
    Resolver(const TextIndex& index, const std::vector<Token>& tokens) : index_(index), tokens_(tokens) {}

    Resolution run(const StmtList& program) {
        FunctionFrame script;
        current_ = &script;
        resolveStatements(program, UINT32_MAX);
        current_ = nullptr;
        std::stable_sort(result_.occurrences.begin(), result_.occurrences.end(),
                         [](const Occurrence& a, const Occurrence& b) { return a.offset < b.offset; });
        return std::move(result_);
    }

private:
    const TextIndex& index_;
    const std::vector<Token>& tokens_;
    Resolution result_;
    FunctionFrame* current_ = nullptr;
    // Blocks and functions nest as deeply as the parser let them, each a
    // level of recursion here.
    const std::uintptr_t stackFloor_ = nativeStackFloor();

    // Whether the walk may enter the construct at `line` and `column`;
    // records the first one it may not.
    bool mayEnter(int32_t line, int32_t column) {
        if (currentStackAddress() >= stackFloor_) [[likely]]
            return true;
        if (result_.tooDeepLine == 0) {
            result_.tooDeepLine = line;
            result_.tooDeepColumn = column;
        }
        return false;
    }

    uint32_t offsetOf(int32_t line, int32_t column) const {
        return static_cast<uint32_t>(index_.offsetOfSource(line, column));
    }

    int32_t newSymbol(std::string_view name, SymbolKind kind) {
        Symbol& symbol = result_.symbols.emplace_back();
        symbol.name = std::string(name);
        symbol.kind = kind;
        return static_cast<int32_t>(result_.symbols.size() - 1);
    }

    int32_t globalSymbol(std::string_view name) {
        auto found = result_.globals.find(std::string(name));
        if (found != result_.globals.end()) return found->second;
        int32_t symbol = newSymbol(name, SymbolKind::Global);
        result_.globals.emplace(std::string(name), symbol);
        return symbol;
    }

    void addOccurrence(int32_t symbol, Binding binding, uint32_t offset, size_t length, int32_t line, bool declaration,
                       bool read, bool write) {
        Occurrence& occurrence = result_.occurrences.emplace_back();
        occurrence.offset = offset;
        occurrence.length = static_cast<uint32_t>(length);
        occurrence.symbol = symbol;
        occurrence.line = line;
        occurrence.binding = binding;
        occurrence.declaration = declaration;
        occurrence.read = read;
        occurrence.write = write;
        std::string_view text = index_.text();
        const std::string& name = result_.symbols[static_cast<size_t>(symbol)].name;
        occurrence.synthetic = offset > text.size() || text.substr(offset, name.size()) != name;
    }

    // Declares a local of the current function at the current depth.
    int32_t declareLocal(std::string_view name, SymbolKind kind, uint32_t nameOffset, int32_t line,
                         uint32_t visibleFrom, uint32_t visibleTo) {
        int32_t symbol = newSymbol(name, kind);
        Symbol& entry = result_.symbols[static_cast<size_t>(symbol)];
        entry.declarationLine = line;
        entry.visibleFrom = visibleFrom;
        entry.visibleTo = visibleTo;
        if (nameOffset != kNoOffset) {
            entry.declarations.push_back(nameOffset);
            addOccurrence(symbol, Binding::Local, nameOffset, name.size(), line, true, false, true);
        }
        current_->locals.push_back(LocalEntry{symbol, current_->scopeDepth});
        return symbol;
    }

    void declareGlobal(std::string_view name, uint32_t nameOffset, int32_t line) {
        int32_t symbol = globalSymbol(name);
        Symbol& entry = result_.symbols[static_cast<size_t>(symbol)];
        if (entry.declarations.empty()) entry.declarationLine = line;
        if (nameOffset != kNoOffset) {
            entry.declarations.push_back(nameOffset);
            addOccurrence(symbol, Binding::Global, nameOffset, name.size(), line, true, false, true);
        }
    }

    void beginScope() { ++current_->scopeDepth; }

    void endScope() {
        --current_->scopeDepth;
        std::vector<LocalEntry>& locals = current_->locals;
        while (!locals.empty() && locals.back().depth > current_->scopeDepth) locals.pop_back();
    }

    int32_t findLocal(const FunctionFrame& frame, std::string_view name) const {
        for (size_t i = frame.locals.size(); i > 0; --i) {
            int32_t symbol = frame.locals[i - 1].symbol;
            if (result_.symbols[static_cast<size_t>(symbol)].name == name) return symbol;
        }
        return -1;
    }

    // A use of a name, as the compiler resolves it: own locals, then the
    // enclosing functions' locals (captured), then a global.
    void use(std::string_view name, int32_t line, int32_t column, bool read, bool write) {
        uint32_t offset = offsetOf(line, column);
        int32_t symbol = findLocal(*current_, name);
        Binding binding = Binding::Local;
        if (symbol < 0) {
            binding = Binding::Upvalue;
            for (FunctionFrame* frame = current_->enclosing; frame != nullptr && symbol < 0; frame = frame->enclosing) {
                symbol = findLocal(*frame, name);
            }
        }
        if (symbol < 0) {
            binding = Binding::Global;
            symbol = globalSymbol(name);
        }
        addOccurrence(symbol, binding, offset, name.size(), line, false, read, write);
    }

    uint32_t statementStart(const Stmt& statement) const { return offsetOf(statement.line, statement.column); }

    // ---- statements

    void resolveStatements(const StmtList& statements, uint32_t blockEnd) {
        for (const StmtPtr& statement : statements) resolveStatement(*statement, blockEnd);
    }

    void resolveBlock(const StmtList& statements, uint32_t blockEnd) {
        beginScope();
        resolveStatements(statements, blockEnd);
        endScope();
    }

    void markFunction(int32_t symbol, const std::vector<std::string>& params) {
        Symbol& entry = result_.symbols[static_cast<size_t>(symbol)];
        entry.isFunction = true;
        entry.params = &params;
    }

    void resolveStatement(const Stmt& statement, uint32_t blockEnd) {
        if (!mayEnter(statement.line, statement.column)) return;
        switch (statement.kind) {
        case StmtKind::Let: {
            const auto& let = static_cast<const LetStmt&>(statement);
            if (let.init) resolveExpression(*let.init);
            const FunctionExpr* function = let.init && let.init->kind == ExprKind::Function
                                               ? static_cast<const FunctionExpr*>(let.init.get())
                                               : nullptr;
            if (current_->scopeDepth == 0 && current_->enclosing == nullptr) {
                declareGlobal(let.name, let.nameOffset, let.line);
                if (function) markFunction(globalSymbol(let.name), function->params);
            } else {
                uint32_t visibleFrom = statementEnd(tokens_, statementStart(statement));
                int32_t symbol =
                    declareLocal(let.name, SymbolKind::Local, let.nameOffset, let.line, visibleFrom, blockEnd);
                if (function) markFunction(symbol, function->params);
            }
            return;
        }
        case StmtKind::Assign: {
            const auto& assign = static_cast<const AssignStmt&>(statement);
            const Expr& target = *assign.target;
            if (target.kind == ExprKind::Name) {
                const auto& name = static_cast<const NameExpr&>(target);
                use(name.name, name.line, name.column, !assign.op.empty(), true);
            } else {
                resolveExpression(target);
            }
            resolveExpression(*assign.value);
            return;
        }
        case StmtKind::Expr: resolveExpression(*static_cast<const ExprStmt&>(statement).expr); return;
        case StmtKind::If: {
            for (const IfBranch& branch : static_cast<const IfStmt&>(statement).branches) {
                if (branch.cond) resolveExpression(*branch.cond);
                resolveBlock(branch.body, endOf(branch.endOffset, blockEnd));
            }
            return;
        }
        case StmtKind::While: {
            const auto& loop = static_cast<const WhileStmt&>(statement);
            resolveExpression(*loop.cond);
            ++current_->loops;
            resolveBlock(loop.body, endOf(loop.endOffset, blockEnd));
            --current_->loops;
            return;
        }
        case StmtKind::NumericFor: {
            const auto& loop = static_cast<const NumericForStmt&>(statement);
            uint32_t end = endOf(loop.endOffset, blockEnd);
            beginScope();
            resolveExpression(*loop.start);
            // Declared before the limit and step, which therefore see it.
            declareLocal(loop.var, SymbolKind::LoopVariable, loop.varOffset, loop.line, loop.varOffset, end);
            resolveExpression(*loop.end);
            if (loop.step) resolveExpression(*loop.step);
            ++current_->loops;
            resolveBlock(loop.body, end);
            --current_->loops;
            endScope();
            return;
        }
        case StmtKind::ForIn: {
            const auto& loop = static_cast<const ForInStmt&>(statement);
            uint32_t end = endOf(loop.endOffset, blockEnd);
            beginScope();
            resolveExpression(*loop.iterable);
            declareLocal(loop.var, SymbolKind::LoopVariable, loop.varOffset, loop.line, loop.varOffset, end);
            ++current_->loops;
            resolveBlock(loop.body, end);
            --current_->loops;
            endScope();
            return;
        }
        case StmtKind::FunctionDecl: {
            const auto& declaration = static_cast<const FunctionDeclStmt&>(statement);
            if (current_->scopeDepth == 0 && current_->enclosing == nullptr) {
                declareGlobal(declaration.name, declaration.nameOffset, declaration.line);
                markFunction(globalSymbol(declaration.name), declaration.params);
            } else {
                int32_t symbol = declareLocal(declaration.name, SymbolKind::LocalFunction, declaration.nameOffset,
                                              declaration.line, declaration.nameOffset, blockEnd);
                markFunction(symbol, declaration.params);
            }
            resolveFunction(declaration.params, declaration.paramOffsets, declaration.body, declaration.line,
                            endOf(declaration.endOffset, blockEnd));
            return;
        }
        case StmtKind::Return: {
            const auto& ret = static_cast<const ReturnStmt&>(statement);
            if (ret.value) resolveExpression(*ret.value);
            return;
        }
        case StmtKind::Break:
        case StmtKind::Continue:
            if (current_->loops == 0) {
                result_.misplacedExits.push_back(
                    MisplacedExit{statement.kind == StmtKind::Break, statement.line, statement.column});
            }
            return;
        case StmtKind::Try: {
            const auto& attempt = static_cast<const TryStmt&>(statement);
            uint32_t end = endOf(attempt.endOffset, blockEnd);
            resolveBlock(attempt.body, endOf(attempt.catchOffset, end));
            // The catch variable and the handler share one scope.
            beginScope();
            // Declared where its name stands, on the "catch" line, not the "try" line.
            int32_t catchLine =
                attempt.catchVarOffset == kNoOffset ? attempt.line : index_.sourceLineOf(attempt.catchVarOffset);
            declareLocal(attempt.catchVar, SymbolKind::CatchVariable, attempt.catchVarOffset, catchLine,
                         attempt.catchVarOffset, end);
            resolveStatements(attempt.handler, end);
            endScope();
            return;
        }
        }
    }

    static uint32_t endOf(uint32_t offset, uint32_t fallback) { return offset == kNoOffset ? fallback : offset; }

    // A function body runs in a frame of its own; loops outside it do not count.
    void resolveFunction(const std::vector<std::string>& params, const std::vector<uint32_t>& paramOffsets,
                         const StmtList& body, int32_t line, uint32_t end) {
        FunctionFrame function;
        function.enclosing = current_;
        current_ = &function;
        beginScope();
        for (size_t i = 0; i < params.size(); ++i) {
            uint32_t offset = i < paramOffsets.size() ? paramOffsets[i] : kNoOffset;
            declareLocal(params[i], SymbolKind::Parameter, offset, line, offset == kNoOffset ? 0 : offset, end);
        }
        resolveStatements(body, end);
        current_ = function.enclosing;
    }

    // ---- expressions, walked with an explicit stack: flat chains such as
    // "a + b + c + ..." may be far longer than the native stack is deep.

    void resolveExpression(const Expr& root) {
        std::vector<const Expr*> pending{&root};
        while (!pending.empty()) {
            const Expr& expr = *pending.back();
            pending.pop_back();
            switch (expr.kind) {
            case ExprKind::Literal: break;
            case ExprKind::ListLit: {
                const auto& list = static_cast<const ListLitExpr&>(expr);
                for (size_t i = list.elements.size(); i > 0; --i) pending.push_back(list.elements[i - 1].get());
                break;
            }
            case ExprKind::MapLit: {
                const auto& map = static_cast<const MapLitExpr&>(expr);
                for (size_t i = map.entries.size(); i > 0; --i) {
                    pending.push_back(map.entries[i - 1].value.get());
                    pending.push_back(map.entries[i - 1].key.get());
                }
                break;
            }
            case ExprKind::Name: {
                const auto& name = static_cast<const NameExpr&>(expr);
                use(name.name, name.line, name.column, true, false);
                break;
            }
            case ExprKind::Unary: pending.push_back(static_cast<const UnaryExpr&>(expr).operand.get()); break;
            case ExprKind::Binary: {
                const auto& binary = static_cast<const BinaryExpr&>(expr);
                pending.push_back(binary.right.get());
                pending.push_back(binary.left.get());
                break;
            }
            case ExprKind::Call: {
                const auto& call = static_cast<const CallExpr&>(expr);
                for (size_t i = call.args.size(); i > 0; --i) pending.push_back(call.args[i - 1].get());
                pending.push_back(call.callee.get());
                break;
            }
            case ExprKind::Index: {
                const auto& index = static_cast<const IndexExpr&>(expr);
                pending.push_back(index.index.get());
                pending.push_back(index.object.get());
                break;
            }
            case ExprKind::Get: pending.push_back(static_cast<const GetExpr&>(expr).object.get()); break;
            case ExprKind::Function: {
                const auto& function = static_cast<const FunctionExpr&>(expr);
                if (!mayEnter(function.line, function.column)) break;
                resolveFunction(function.params, function.paramOffsets, function.body, function.line,
                                function.endOffset == kNoOffset ? UINT32_MAX : function.endOffset);
                break;
            }
            }
        }
    }
};

bool opensBlock(const std::vector<Token>& tokens, size_t at) {
    switch (tokens[at].kind) {
    case TokenKind::If:
    case TokenKind::While:
    case TokenKind::For:
    case TokenKind::Try: return true;
    case TokenKind::Function:
        return at + 1 < tokens.size() &&
               (tokens[at + 1].kind == TokenKind::Name || tokens[at + 1].kind == TokenKind::LeftParen);
    default: return false;
    }
}

}  // namespace

int32_t Resolution::occurrenceAt(uint32_t offset) const {
    auto after =
        std::upper_bound(occurrences.begin(), occurrences.end(), offset,
                         [](uint32_t value, const Occurrence& occurrence) { return value < occurrence.offset; });
    // Names never overlap, so only the nearest few before `offset` can cover it.
    for (auto it = after; it != occurrences.begin();) {
        --it;
        if (offset > it->offset + it->length) break;
        if (!it->synthetic) return static_cast<int32_t>(it - occurrences.begin());
    }
    return -1;
}

std::vector<int32_t> Resolution::localsVisibleAt(uint32_t offset) const {
    std::vector<int32_t> visible;
    for (size_t i = symbols.size(); i > 0; --i) {
        const Symbol& symbol = symbols[i - 1];
        if (symbol.kind == SymbolKind::Global) continue;
        if (symbol.visibleFrom <= offset && offset <= symbol.visibleTo) visible.push_back(static_cast<int32_t>(i - 1));
    }
    return visible;
}

uint32_t statementEnd(const std::vector<Token>& tokens, uint32_t startOffset) {
    auto first = std::lower_bound(tokens.begin(), tokens.end(), startOffset,
                                  [](const Token& token, uint32_t offset) { return token.offset < offset; });
    size_t at = static_cast<size_t>(first - tokens.begin());
    int brackets = 0;
    int blocks = 0;
    uint32_t end = startOffset;
    for (; at < tokens.size(); ++at) {
        const Token& token = tokens[at];
        switch (token.kind) {
        case TokenKind::Eof: return end;
        case TokenKind::Newline:
            if (brackets <= 0 && blocks <= 0) return end;
            break;
        case TokenKind::LeftParen:
        case TokenKind::LeftBracket:
        case TokenKind::LeftBrace: ++brackets; break;
        case TokenKind::RightParen:
        case TokenKind::RightBracket:
        case TokenKind::RightBrace: --brackets; break;
        case TokenKind::Elif:
        case TokenKind::Else:
        case TokenKind::Catch:
            if (blocks <= 0) return end;
            break;
        case TokenKind::End:
            if (blocks <= 0) return end;
            --blocks;
            break;
        default:
            if (opensBlock(tokens, at)) ++blocks;
            break;
        }
        end = tokenEnd(token);
    }
    return end;
}

Resolution resolveProgram(const StmtList& program, const TextIndex& index, const std::vector<Token>& tokens) {
    return Resolver(index, tokens).run(program);
}

}  // namespace velmor::lsp
