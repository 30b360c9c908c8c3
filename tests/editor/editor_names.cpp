// Prints the names the editor grammar has to know, one per line:
// "keyword <spelling>" for every keyword of the lexer and "builtin <name>" for
// every entry of the builtin table.

#include <iostream>

#include "builtins/native.h"
#include "lexer/token.h"

int main() {
    for (int kind = velmor::kFirstKeyword; kind <= velmor::kLastKeyword; ++kind) {
        std::cout << "keyword " << velmor::tokenKindSpelling(static_cast<velmor::TokenKind>(kind)) << '\n';
    }
    for (const velmor::BuiltinInfo& builtin : velmor::builtinTable()) {
        std::cout << "builtin " << builtin.name << '\n';
    }
    return 0;
}
