// Lexes each line of standard input on its own (a token never spans lines) and
// prints one line per input line: its tokens, space-separated, as the keyword or
// operator spelling, or the printed name for numbers, strings and names; or
// "error" when the line does not lex. The editor's indentation test compares
// its patterns with the block structure read from these tokens.

#include <iostream>
#include <string>

#include "error.h"
#include "lexer/lexer.h"

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        try {
            std::string out;
            for (const velmor::Token& token : velmor::tokenize(line)) {
                if (token.kind == velmor::TokenKind::Newline || token.kind == velmor::TokenKind::Eof) {
                    continue;
                }
                const char* spelling = velmor::tokenKindSpelling(token.kind);
                out += out.empty() ? "" : " ";
                out += *spelling != '\0' ? spelling : velmor::tokenKindName(token.kind);
            }
            std::cout << out << '\n';
        } catch (const velmor::LexError&) {
            std::cout << "error\n";
        }
    }
    return 0;
}
