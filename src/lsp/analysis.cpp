#include "lsp/analysis.h"

#include <algorithm>
#include <unordered_set>

#include "builtins/native.h"
#include "compiler.h"
#include "lexer/lexer.h"
#include "lsp/builtin_docs.h"
#include "native_stack.h"
#include "parser.h"
#include "pragmas/pragmas.h"

namespace velmor::lsp {

namespace {

const Token* tokenStartingAt(const std::vector<Token>& tokens, size_t offset) {
    auto found = std::lower_bound(tokens.begin(), tokens.end(), offset,
                                  [](const Token& token, size_t at) { return token.offset < at; });
    if (found == tokens.end() || found->offset != offset) return nullptr;
    return &*found;
}

// The last token that starts before `offset`, or nullptr.
const Token* tokenBefore(const std::vector<Token>& tokens, size_t offset, size_t* indexOut = nullptr) {
    auto found = std::lower_bound(tokens.begin(), tokens.end(), offset,
                                  [](const Token& token, size_t at) { return token.offset < at; });
    if (found == tokens.begin()) return nullptr;
    --found;
    if (indexOut != nullptr) *indexOut = static_cast<size_t>(found - tokens.begin());
    return &*found;
}

const char* kindText(SymbolKind kind) {
    switch (kind) {
    case SymbolKind::Global: return "global variable";
    case SymbolKind::Local: return "local variable";
    case SymbolKind::Parameter: return "parameter";
    case SymbolKind::LoopVariable: return "loop variable";
    case SymbolKind::CatchVariable: return "catch variable";
    case SymbolKind::LocalFunction: return "local function";
    }
    return "variable";
}

std::string functionHeader(const std::string& name, const std::vector<std::string>& params) {
    std::string header = "function " + name + "(";
    for (size_t i = 0; i < params.size(); ++i) {
        if (i > 0) header += ", ";
        header += params[i];
    }
    return header + ")";
}

}  // namespace

Analysis::Analysis(std::string text) : text_(std::move(text)), index_(text_) {
    TolerantParse parse = parseTolerant(text_);
    tokens_ = std::move(parse.tokens);
    program_ = std::move(parse.program);
    syntaxErrors_ = std::move(parse.errors);
    comments_ = std::move(parse.comments);
    codeSpans_ = std::move(parse.codeSpans);
    codeTokens_ = std::move(parse.codeTokens);
    resolution_ = resolveProgram(program_, index_, tokens_);
    addDiagnostics();
}

Span Analysis::tokenSpanAt(size_t offset) const {
    if (const Token* token = tokenStartingAt(tokens_, offset);
        token != nullptr && token->kind != TokenKind::Newline && token->kind != TokenKind::Eof) {
        return Span{offset, offset + token->length};
    }
    // Code inside "${...}" has no tokens here: take the name or the character at the offset.
    size_t end = offset;
    while (end < text_.size() && isNameByte(text_[end])) ++end;
    if (end == offset && offset < text_.size() && text_[offset] != '\n' && text_[offset] != '\r') {
        int units = 1;
        end = offset + utf8SequenceLength(text_, offset, units);
    }
    return Span{offset, end};
}

Span Analysis::errorSpan(const VelmorError& error) const {
    if (error.line < 1) return Span{0, 0};
    size_t offset = index_.offsetOfSource(error.line, error.column);
    if (error.column < 1) {
        size_t end = text_.find('\n', offset);
        return Span{offset, end == std::string::npos ? text_.size() : end};
    }
    const std::string& message = error.message;
    if (message.starts_with("unterminated ")) {
        size_t end = offset;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
        return Span{offset, end};
    }
    if (message.starts_with("unknown escape sequence")) return Span{offset >= 2 ? offset - 2 : 0, offset};
    return tokenSpanAt(offset);
}

size_t Analysis::statementStart(const Stmt& statement) const {
    return index_.offsetOfSource(statement.line, statement.column);
}

void Analysis::addDiagnostics() {
    for (const VelmorError& error : syntaxErrors_) {
        diagnostics_.push_back(Diagnostic{errorSpan(error), Severity::Error, error.message, error.label});
    }
    for (const MisplacedExit& exit : resolution_.misplacedExits) {
        VelmorError error =
            compileError(exit.isBreak ? "'break' outside a loop" : "'continue' outside a loop", exit.line, exit.column);
        diagnostics_.push_back(Diagnostic{errorSpan(error), Severity::Error, error.message, error.label});
    }
    // The compiler would stop there too.
    if (resolution_.tooDeepLine != 0) {
        VelmorError error = compileError(kNestedTooDeeply, resolution_.tooDeepLine, resolution_.tooDeepColumn);
        diagnostics_.push_back(Diagnostic{errorSpan(error), Severity::Error, error.message, error.label});
    }
    // The compiler's other errors are limits; it stops at the first, and only
    // a whole program is worth compiling.
    if (syntaxErrors_.empty() && resolution_.misplacedExits.empty() && resolution_.tooDeepLine == 0) {
        try {
            compileProgram(program_);
        } catch (const VelmorError& error) {
            diagnostics_.push_back(Diagnostic{errorSpan(error), Severity::Error, error.message, error.label});
        }
    }
    // The warnings that the program gives before it runs the file, each on its pragma's line.
    const PragmaInfo pragmas = scanPragmas(text_);
    auto pragmaSpan = [&](int32_t line, int32_t column) {
        size_t begin = index_.offsetOfSource(line, column);
        size_t end = begin;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
        return Span{begin, end};
    };
    for (const PragmaEntry& entry : pragmas.unknown) {
        diagnostics_.push_back(
            Diagnostic{pragmaSpan(entry.line, entry.column), Severity::Warning, unknownPragmaText(entry), "pragma"});
    }
    if (!versionSatisfied(pragmas)) {
        diagnostics_.push_back(Diagnostic{pragmaSpan(pragmas.versionLine, pragmas.versionColumn), Severity::Warning,
                                          unmetVersionText(pragmas), "pragma"});
    }
}

std::string Analysis::functionHover(const Symbol& symbol) const {
    std::string markdown = "```velmor\n" + functionHeader(symbol.name, *symbol.params) + "\n```";
    // The comment lines right above the declaration.
    std::vector<std::string> comments;
    for (int32_t line = symbol.declarationLine - 1; line >= 1; --line) {
        size_t begin = index_.offsetOfSource(line, 1);
        size_t end = text_.find('\n', begin);
        std::string_view content(text_.data() + begin, (end == std::string::npos ? text_.size() : end) - begin);
        while (!content.empty() && (content.front() == ' ' || content.front() == '\t')) content.remove_prefix(1);
        while (!content.empty() && (content.back() == '\r' || content.back() == ' ')) content.remove_suffix(1);
        if (!content.starts_with("#") || content.starts_with("#pragma")) break;
        content.remove_prefix(1);
        if (content.starts_with(" ")) content.remove_prefix(1);
        comments.emplace_back(content);
    }
    if (!comments.empty()) {
        markdown += "\n\n";
        for (size_t i = comments.size(); i > 0; --i) {
            markdown += comments[i - 1];
            if (i > 1) markdown += "\n";
        }
    }
    return markdown;
}

int32_t Analysis::symbolIndexNamed(std::string_view name, size_t offset) const {
    for (int32_t local : resolution_.localsVisibleAt(static_cast<uint32_t>(offset))) {
        if (resolution_.symbols[static_cast<size_t>(local)].name == name) return local;
    }
    auto global = resolution_.globals.find(std::string(name));
    return global == resolution_.globals.end() ? -1 : global->second;
}

const Symbol* Analysis::symbolNamed(std::string_view name, size_t offset) const {
    int32_t symbol = symbolIndexNamed(name, offset);
    return symbol < 0 ? nullptr : &resolution_.symbols[static_cast<size_t>(symbol)];
}

int32_t Analysis::symbolAt(uint32_t offset) const {
    int32_t found = resolution_.occurrenceAt(offset);
    if (found < 0 || resolution_.occurrences[static_cast<size_t>(found)].offset != offset) return -1;
    return resolution_.occurrences[static_cast<size_t>(found)].symbol;
}

bool Analysis::unparsedName(const std::vector<Token>& tokens, size_t at) const {
    const Token& token = tokens[at];
    if (token.kind != TokenKind::Name) return false;
    if (symbolAt(token.offset) >= 0) return false;
    if (at > 0) {
        switch (tokens[at - 1].kind) {
        case TokenKind::Dot:
        case TokenKind::Let:
        case TokenKind::Function:
        case TokenKind::For:
        case TokenKind::Catch: return false;
        default: break;
        }
    }
    return at + 1 >= tokens.size() || tokens[at + 1].kind != TokenKind::Colon;
}

std::optional<Occurrence> Analysis::nameAt(size_t offset) const {
    offset = std::min(offset, text_.size());
    if (int32_t found = resolution_.occurrenceAt(static_cast<uint32_t>(offset)); found >= 0) {
        return resolution_.occurrences[static_cast<size_t>(found)];
    }
    // A statement that did not parse has no occurrences: take the name token
    // under the cursor and look it up where it stands.
    size_t at = 0;
    const Token* token = tokenBefore(tokens_, offset + 1, &at);
    if (token == nullptr || offset > token->offset + token->length || !unparsedName(tokens_, at)) return std::nullopt;
    std::string_view name(text_.data() + token->offset, token->length);
    Occurrence occurrence;
    occurrence.offset = token->offset;
    occurrence.length = token->length;
    occurrence.line = token->line;
    occurrence.read = true;
    occurrence.symbol = symbolIndexNamed(name, token->offset);
    if (occurrence.symbol < 0 && !isBuiltinName(name)) return std::nullopt;
    occurrence.binding =
        occurrence.symbol >= 0 && resolution_.symbols[static_cast<size_t>(occurrence.symbol)].kind != SymbolKind::Global
            ? Binding::Local
            : Binding::Global;
    return occurrence;
}

std::optional<Analysis::Hover> Analysis::hover(size_t offset) const {
    std::optional<Occurrence> found = nameAt(offset);
    if (!found) return std::nullopt;
    const Occurrence& occurrence = *found;
    Hover result;
    result.span = Span{occurrence.offset, occurrence.offset + occurrence.length};
    // A builtin that nothing parsed names has no symbol.
    const Symbol* known =
        occurrence.symbol >= 0 ? &resolution_.symbols[static_cast<size_t>(occurrence.symbol)] : nullptr;
    if (known == nullptr || (known->kind == SymbolKind::Global && known->declarations.empty())) {
        std::string name = known != nullptr ? known->name : text_.substr(occurrence.offset, occurrence.length);
        if (const BuiltinDoc* doc = findBuiltinDoc(name)) {
            result.markdown = "```velmor\n";
            for (const std::string& signature : doc->signatures) result.markdown += signature + "\n";
            result.markdown += "```\n\n" + doc->text;
        } else {
            result.markdown = "global `" + name + "`: not defined in this file";
        }
        return result;
    }
    const Symbol& symbol = *known;
    if (symbol.isFunction && symbol.params != nullptr) {
        result.markdown = functionHover(symbol);
        return result;
    }
    result.markdown = "```velmor\n(" + std::string(kindText(symbol.kind)) + ") " + symbol.name +
                      "\n```\n\ndeclared on line " + std::to_string(symbol.declarationLine);
    if (occurrence.binding == Binding::Upvalue) result.markdown += ", captured from an enclosing function";
    return result;
}

void Analysis::collectMapKeys(const StmtList& statements, int32_t symbol, std::vector<std::string>& keys) const {
    if (currentStackAddress() < nativeStackFloor()) return;
    const Symbol& map = resolution_.symbols[static_cast<size_t>(symbol)];
    auto addKey = [&](const Expr& key) {
        if (key.kind != ExprKind::Literal) return;
        const Value& value = static_cast<const LiteralExpr&>(key).value;
        if (value.isString() && isIdentifier(value.asString())) keys.emplace_back(value.asString());
    };
    auto names = [&](const Expr& object) {
        if (object.kind != ExprKind::Name) return false;
        const auto& name = static_cast<const NameExpr&>(object);
        return symbolAt(static_cast<uint32_t>(index_.offsetOfSource(name.line, name.column))) == symbol;
    };
    bool declaredHere = false;
    for (const StmtPtr& pointer : statements) {
        const Stmt& statement = *pointer;
        switch (statement.kind) {
        case StmtKind::Let: {
            const auto& let = static_cast<const LetStmt&>(statement);
            if (!let.init) break;
            if (let.init->kind == ExprKind::MapLit &&
                std::find(map.declarations.begin(), map.declarations.end(), let.nameOffset) != map.declarations.end()) {
                declaredHere = true;
                for (const MapEntryExpr& entry : static_cast<const MapLitExpr&>(*let.init).entries) addKey(*entry.key);
            } else if (let.init->kind == ExprKind::Function) {
                collectMapKeys(static_cast<const FunctionExpr&>(*let.init).body, symbol, keys);
            }
            break;
        }
        case StmtKind::FunctionDecl:
            collectMapKeys(static_cast<const FunctionDeclStmt&>(statement).body, symbol, keys);
            break;
        case StmtKind::If:
            for (const IfBranch& branch : static_cast<const IfStmt&>(statement).branches) {
                collectMapKeys(branch.body, symbol, keys);
            }
            break;
        case StmtKind::While: collectMapKeys(static_cast<const WhileStmt&>(statement).body, symbol, keys); break;
        case StmtKind::NumericFor:
            collectMapKeys(static_cast<const NumericForStmt&>(statement).body, symbol, keys);
            break;
        case StmtKind::ForIn: collectMapKeys(static_cast<const ForInStmt&>(statement).body, symbol, keys); break;
        case StmtKind::Try: {
            const auto& attempt = static_cast<const TryStmt&>(statement);
            collectMapKeys(attempt.body, symbol, keys);
            collectMapKeys(attempt.handler, symbol, keys);
            break;
        }
        default: break;
        }
    }
    if (!declaredHere) return;
    // The fields the same block assigns: "m.k = ..." and "m["k"] = ...".
    for (const StmtPtr& pointer : statements) {
        if (pointer->kind != StmtKind::Assign) continue;
        const Expr& target = *static_cast<const AssignStmt&>(*pointer).target;
        if (target.kind == ExprKind::Get) {
            const auto& get = static_cast<const GetExpr&>(target);
            if (names(*get.object)) keys.push_back(get.name);
        } else if (target.kind == ExprKind::Index) {
            const auto& index = static_cast<const IndexExpr&>(target);
            if (names(*index.object)) addKey(*index.index);
        }
    }
}

std::vector<std::string> Analysis::mapKeys(int32_t symbol) const {
    std::vector<std::string> keys;
    if (symbol >= 0) collectMapKeys(program_, symbol, keys);
    return keys;
}

std::vector<Analysis::CompletionItem> Analysis::completion(size_t offset) const {
    std::vector<CompletionItem> items;
    std::unordered_set<std::string> seen;
    auto add = [&](const std::string& label, CompletionKind kind, std::string detail) {
        if (seen.insert(label).second) items.push_back(CompletionItem{label, kind, std::move(detail)});
    };
    offset = std::min(offset, text_.size());
    // The tokens around the cursor: the file's, or those of the "${...}" it stands in.
    const std::vector<Token>* tokens = &tokens_;
    std::vector<Token> code;
    size_t previousIndex = 0;
    const Token* previous = tokenBefore(tokens_, offset, &previousIndex);
    if (previous != nullptr && (previous->kind == TokenKind::String || previous->kind == TokenKind::InterpString) &&
        offset < previous->offset + previous->length) {
        const StringPart* part = nullptr;
        for (const StringPart& candidate : previous->parts) {
            if (candidate.isCode && candidate.offset <= offset && offset <= candidate.offset + candidate.text.size())
                part = &candidate;
        }
        // Plain text of a string: nothing to offer.
        if (part == nullptr) return items;
        LexErrorList errors;
        code = tokenizeCodeTolerant(part->text, part->line, part->column, part->offset, errors);
        tokens = &code;
        previous = tokenBefore(code, offset, &previousIndex);
    }
    if (previous != nullptr) {
        size_t end = previous->offset + previous->length;
        // After a comment sign on this line: nothing either.
        std::string_view between(text_.data() + std::min(end, offset), offset - std::min(end, offset));
        if (between.find('#') != std::string_view::npos && between.find('\n') == std::string_view::npos) return items;
        // After "." a field name: the keys of the map before it, when the analysis sees them.
        size_t dot = previousIndex;
        if (previous->kind == TokenKind::Name && offset <= end && previousIndex > 0) dot = previousIndex - 1;
        if ((*tokens)[dot].kind == TokenKind::Dot) {
            // Only a variable names a map here: not a field ("a.b.") nor a call or an index.
            if (dot > 0 && (*tokens)[dot - 1].kind == TokenKind::Name &&
                (dot < 2 || (*tokens)[dot - 2].kind != TokenKind::Dot)) {
                const Token& object = (*tokens)[dot - 1];
                int32_t symbol = symbolAt(object.offset);
                if (symbol < 0) {
                    symbol =
                        symbolIndexNamed(std::string_view(text_.data() + object.offset, object.length), object.offset);
                }
                for (const std::string& key : mapKeys(symbol)) add(key, CompletionKind::Field, "field");
            }
            return items;
        }
    }
    for (int32_t symbol : resolution_.localsVisibleAt(static_cast<uint32_t>(offset))) {
        const Symbol& local = resolution_.symbols[static_cast<size_t>(symbol)];
        if (local.name.empty()) continue;
        add(local.name, local.isFunction ? CompletionKind::Function : CompletionKind::Variable,
            local.isFunction && local.params != nullptr ? functionHeader(local.name, *local.params)
                                                        : kindText(local.kind));
    }
    for (const Symbol& symbol : resolution_.symbols) {
        if (symbol.kind != SymbolKind::Global || symbol.declarations.empty()) continue;
        add(symbol.name, symbol.isFunction ? CompletionKind::Function : CompletionKind::Variable,
            symbol.isFunction && symbol.params != nullptr ? functionHeader(symbol.name, *symbol.params)
                                                          : "global variable");
    }
    // A block left open takes in the declarations below it as its own locals;
    // those that start a line unindented are the program's, as once it parses.
    if (!syntaxErrors_.empty()) {
        for (size_t at = 0; at + 1 < tokens_.size(); ++at) {
            const Token& keyword = tokens_[at];
            const Token& name = tokens_[at + 1];
            if ((keyword.kind != TokenKind::Let && keyword.kind != TokenKind::Function) || keyword.column != 1 ||
                name.kind != TokenKind::Name) {
                continue;
            }
            std::string label = text_.substr(name.offset, name.length);
            int32_t symbol = symbolAt(name.offset);
            const Symbol* declared = symbol >= 0 ? &resolution_.symbols[static_cast<size_t>(symbol)] : nullptr;
            bool isFunction = declared != nullptr && declared->isFunction && declared->params != nullptr;
            add(label, isFunction ? CompletionKind::Function : CompletionKind::Variable,
                isFunction ? functionHeader(label, *declared->params) : "global variable");
        }
    }
    for (int kind = kFirstKeyword; kind <= kLastKeyword; ++kind) {
        add(tokenKindSpelling(static_cast<TokenKind>(kind)), CompletionKind::Keyword, "keyword");
    }
    for (const BuiltinInfo& builtin : builtinTable()) {
        const BuiltinDoc* doc = findBuiltinDoc(builtin.name);
        add(builtin.name, CompletionKind::Function, doc != nullptr ? doc->signatures.front() : "builtin");
    }
    for (const char* constant : {"PI", "E"}) add(constant, CompletionKind::Constant, "constant");
    return items;
}

std::optional<Analysis::SignatureHelp> Analysis::signatureHelp(size_t offset) const {
    size_t at = 0;
    if (tokenBefore(tokens_, std::min(offset, text_.size()), &at) == nullptr) return std::nullopt;
    // Back to the "(" that the cursor is inside, counting the commas between.
    // A call never spans lines; a list or map inside it is one argument.
    size_t commas = 0;
    int depth = 0;
    for (;; --at) {
        const Token& token = tokens_[at];
        bool open = false;
        switch (token.kind) {
        case TokenKind::Newline: return std::nullopt;
        case TokenKind::RightParen:
        case TokenKind::RightBracket:
        case TokenKind::RightBrace: ++depth; break;
        case TokenKind::LeftBracket:
        case TokenKind::LeftBrace:
            if (depth == 0)
                commas = 0;
            else
                --depth;
            break;
        case TokenKind::LeftParen:
            if (depth == 0)
                open = true;
            else
                --depth;
            break;
        case TokenKind::Comma:
            if (depth == 0) ++commas;
            break;
        default: break;
        }
        if (open) break;
        if (at == 0) return std::nullopt;
    }
    if (at == 0 || tokens_[at - 1].kind != TokenKind::Name) return std::nullopt;
    const Token& callee = tokens_[at - 1];
    SignatureHelp help;
    std::string name(text_.substr(callee.offset, callee.length));
    int32_t found = resolution_.occurrenceAt(callee.offset);
    const Symbol* symbol =
        found >= 0
            ? &resolution_.symbols[static_cast<size_t>(resolution_.occurrences[static_cast<size_t>(found)].symbol)]
            : nullptr;
    // A call in a statement that does not parse yet: look the name up where it stands.
    if (symbol == nullptr) symbol = symbolNamed(name, callee.offset);
    if (symbol != nullptr && symbol->isFunction && symbol->params != nullptr &&
        !(symbol->kind == SymbolKind::Global && symbol->declarations.empty())) {
        Signature signature;
        signature.label = symbol->name + "(";
        for (size_t i = 0; i < symbol->params->size(); ++i) {
            if (i > 0) signature.label += ", ";
            size_t begin = signature.label.size();
            signature.label += (*symbol->params)[i];
            signature.parameters.emplace_back(begin, signature.label.size());
        }
        signature.label += ")";
        help.signatures.push_back(std::move(signature));
    } else {
        if (symbol != nullptr && !(symbol->kind == SymbolKind::Global && symbol->declarations.empty())) {
            return std::nullopt;
        }
        const BuiltinDoc* doc = findBuiltinDoc(name);
        if (doc == nullptr) return std::nullopt;
        for (const std::string& label : doc->signatures) {
            if (label.find('(') == std::string::npos) continue;
            help.signatures.push_back(Signature{label, signatureParameters(label), doc->text});
        }
        if (help.signatures.empty()) return std::nullopt;
    }
    // The first signature with room for the argument under the cursor.
    help.activeSignature = 0;
    for (size_t i = 0; i < help.signatures.size(); ++i) {
        const auto& params = help.signatures[i].parameters;
        bool variadic = !params.empty() && help.signatures[i].label.substr(params.back().first, 3) == "...";
        if (commas < params.size() || variadic) {
            help.activeSignature = i;
            break;
        }
    }
    const auto& params = help.signatures[help.activeSignature].parameters;
    help.activeParameter = params.empty() ? 0 : std::min(commas, params.size() - 1);
    return help;
}

std::vector<Span> Analysis::definition(size_t offset) const {
    std::vector<Span> spans;
    std::optional<Occurrence> found = nameAt(offset);
    if (!found || found->symbol < 0) return spans;
    const Symbol& symbol = resolution_.symbols[static_cast<size_t>(found->symbol)];
    for (uint32_t declaration : symbol.declarations)
        spans.push_back(Span{declaration, declaration + symbol.name.size()});
    return spans;
}

std::vector<Span> Analysis::references(size_t offset, bool includeDeclaration) const {
    std::vector<Span> spans;
    std::optional<Occurrence> found = nameAt(offset);
    if (!found || found->symbol < 0) return spans;
    int32_t symbol = found->symbol;
    for (const Occurrence& occurrence : resolution_.occurrences) {
        if (occurrence.symbol != symbol || occurrence.synthetic) continue;
        if (occurrence.declaration && !includeDeclaration) continue;
        spans.push_back(Span{occurrence.offset, occurrence.offset + occurrence.length});
    }
    // And the uses in statements that do not parse yet.
    bool unparsed = false;
    for (size_t at = 0; at < tokens_.size(); ++at) {
        const Token& token = tokens_[at];
        if (!unparsedName(tokens_, at) ||
            symbolIndexNamed(std::string_view(text_.data() + token.offset, token.length), token.offset) != symbol) {
            continue;
        }
        spans.push_back(Span{token.offset, token.offset + token.length});
        unparsed = true;
    }
    if (unparsed) std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.begin < b.begin; });
    return spans;
}

// The outline ends where the native stack would (the resolver reports it).
void Analysis::collectSymbols(const StmtList& statements, bool topLevel, std::vector<DocumentSymbol>& out) const {
    if (currentStackAddress() < nativeStackFloor()) return;
    auto closeOf = [&](uint32_t endOffset, size_t fallback) -> size_t {
        if (endOffset == kNoOffset) return fallback;
        return text_.compare(endOffset, 3, "end") == 0 ? endOffset + 3 : endOffset;
    };
    for (const StmtPtr& pointer : statements) {
        const Stmt& statement = *pointer;
        switch (statement.kind) {
        case StmtKind::FunctionDecl: {
            const auto& function = static_cast<const FunctionDeclStmt&>(statement);
            if (function.nameOffset == kNoOffset) break;
            DocumentSymbol symbol{function.name, OutlineKind::Function, {}, {}, {}};
            symbol.range = Span{statementStart(statement), closeOf(function.endOffset, text_.size())};
            symbol.selection = Span{function.nameOffset, function.nameOffset + function.name.size()};
            collectSymbols(function.body, false, symbol.children);
            out.push_back(std::move(symbol));
            break;
        }
        case StmtKind::Let: {
            const auto& let = static_cast<const LetStmt&>(statement);
            bool isFunction = let.init && let.init->kind == ExprKind::Function;
            if ((!topLevel && !isFunction) || let.nameOffset == kNoOffset) break;
            DocumentSymbol symbol{let.name, isFunction ? OutlineKind::Function : OutlineKind::Variable, {}, {}, {}};
            size_t start = statementStart(statement);
            symbol.range = Span{start, statementEnd(tokens_, static_cast<uint32_t>(start))};
            symbol.selection = Span{let.nameOffset, let.nameOffset + let.name.size()};
            if (isFunction) {
                const auto& function = static_cast<const FunctionExpr&>(*let.init);
                symbol.range.end = std::max(symbol.range.end, closeOf(function.endOffset, symbol.range.end));
                collectSymbols(function.body, false, symbol.children);
            }
            out.push_back(std::move(symbol));
            break;
        }
        case StmtKind::If:
            for (const IfBranch& branch : static_cast<const IfStmt&>(statement).branches) {
                collectSymbols(branch.body, false, out);
            }
            break;
        case StmtKind::While: collectSymbols(static_cast<const WhileStmt&>(statement).body, false, out); break;
        case StmtKind::NumericFor:
            collectSymbols(static_cast<const NumericForStmt&>(statement).body, false, out);
            break;
        case StmtKind::ForIn: collectSymbols(static_cast<const ForInStmt&>(statement).body, false, out); break;
        case StmtKind::Try: {
            const auto& attempt = static_cast<const TryStmt&>(statement);
            collectSymbols(attempt.body, false, out);
            collectSymbols(attempt.handler, false, out);
            break;
        }
        default: break;
        }
    }
}

std::vector<Analysis::DocumentSymbol> Analysis::documentSymbols() const {
    std::vector<DocumentSymbol> symbols;
    collectSymbols(program_, true, symbols);
    return symbols;
}

}  // namespace velmor::lsp
