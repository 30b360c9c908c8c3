#pragma once

// Name resolution for editor tooling. It follows the compiler's scoping rules
// exactly (see compiler.cpp): a name is a local of the function being
// compiled if a declaration of it is in scope there, else a captured local of
// an enclosing function, else a global looked up at run time. Top-level `let`
// and `function` define globals; everything declared inside a block, a
// function, a loop header or a `catch` is a local whose scope ends with its
// block. A `let` declares its local after its initializer; a block-level
// `function` declares its name before its body, so the body can recurse.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ast.h"
#include "lexer/token.h"
#include "lsp/text_index.h"

namespace velmor::lsp {

enum class SymbolKind : uint8_t { Global, Local, Parameter, LoopVariable, CatchVariable, LocalFunction };

struct Symbol {
    std::string name;
    SymbolKind kind = SymbolKind::Global;
    // Offsets of the declaring names: for a global, every top-level `let` or
    // `function` of that name, in source order; empty for a builtin.
    std::vector<uint32_t> declarations;
    // For a symbol declared as a function (`function f` or `let f = function`):
    // its parameters and the offset of the declaring statement's first line.
    const std::vector<std::string>* params = nullptr;
    bool isFunction = false;
    int32_t declarationLine = 0;  // Velmor line of the declaring statement
    // Where a local can be named: [visibleFrom, visibleTo). Globals are visible everywhere.
    uint32_t visibleFrom = 0;
    uint32_t visibleTo = UINT32_MAX;
};

enum class Binding : uint8_t { Local, Upvalue, Global };

struct Occurrence {
    uint32_t offset = 0;
    uint32_t length = 0;
    int32_t symbol = -1;
    int32_t line = 0;  // Velmor line, as the compiler records it
    Binding binding = Binding::Global;
    bool declaration = false;  // the name where a variable is declared
    bool read = false;
    bool write = false;
    // A name the parser made up (the `str` of an interpolation): it is
    // resolved like any other but has no text of its own.
    bool synthetic = false;
};

// A `break` or `continue` with no loop around it in its own function.
struct MisplacedExit {
    bool isBreak = true;
    int32_t line = 0;
    int32_t column = 0;
};

struct Resolution {
    std::vector<Symbol> symbols;
    std::vector<Occurrence> occurrences;  // sorted by offset
    std::vector<MisplacedExit> misplacedExits;
    // The first statement or function that the walk did not enter for want
    // of native stack (line 0 when it entered all); what it holds is left
    // unresolved.
    int32_t tooDeepLine = 0;
    int32_t tooDeepColumn = 0;
    std::unordered_map<std::string, int32_t> globals;  // name -> symbol

    // The occurrence whose name covers `offset` (its end included), or -1.
    int32_t occurrenceAt(uint32_t offset) const;
    // The local symbols that can be named at `offset`, innermost first.
    std::vector<int32_t> localsVisibleAt(uint32_t offset) const;
};

// `tokens` is the top-level token list with offsets, used to find where a
// statement ends.
Resolution resolveProgram(const StmtList& program, const TextIndex& index, const std::vector<Token>& tokens);

// The offset just past the last token of the statement that starts with the
// token at `startOffset`: the statement runs to the first end of line or
// block terminator outside brackets and nested blocks.
uint32_t statementEnd(const std::vector<Token>& tokens, uint32_t startOffset);

}  // namespace velmor::lsp
