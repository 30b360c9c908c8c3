#pragma once

// Shared by the language-server tests: the repository's Velmor files and
// seeded mutants of them, for the differential checks against the strict
// front end and the compiler.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "lexer/lexer.h"

namespace velmor::lsptest {

inline std::vector<std::string> repositoryScripts() {
    std::vector<std::string> texts;
    std::vector<std::filesystem::path> paths;
    for (const char* folder : {"tests", "examples", "bench"}) {
        std::filesystem::path root = std::filesystem::path(VELMOR_SOURCE_DIR) / folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (entry.is_regular_file() && entry.path().extension() == ".vlm") paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return texts;
}

// The repository's files that lex, each with its tokens.
struct LexedScript {
    std::string text;
    std::vector<Token> tokens;
};

inline std::vector<LexedScript> lexedRepositoryScripts() {
    std::vector<LexedScript> lexed;
    for (std::string& text : repositoryScripts()) {
        try {
            std::vector<Token> tokens = tokenize(text);
            lexed.push_back({std::move(text), std::move(tokens)});
        } catch (const LexError&) {
        }
    }
    return lexed;
}

// Mutants of the files that lex: a token deleted, doubled, swapped with the
// next, replaced by a likely typo, or the rest of its line cut off.
inline std::vector<std::string> mutants(const std::vector<std::string>& texts, size_t count, unsigned seed) {
    static const char* const kReplacements[] = {
        "end", "(", ")", "=", ",", "then", "do", "let",  "function", "if",    "\n",       "\"",     "${", "}", "]",
        "[",   "{", "#", "!", ";", "1e",   "'",  "else", "catch",    "break", "continue", "return", "+",  ".", "é"};
    std::vector<std::vector<Token>> lexed(texts.size());
    std::vector<size_t> usable;
    for (size_t i = 0; i < texts.size(); ++i) {
        try {
            lexed[i] = tokenize(texts[i]);
            if (lexed[i].size() > 2) usable.push_back(i);
        } catch (const VelmorError&) {
        }
    }
    std::mt19937 random(seed);
    std::vector<std::string> result;
    while (result.size() < count && !usable.empty()) {
        size_t file = usable[random() % usable.size()];
        const std::string& text = texts[file];
        const std::vector<Token>& tokens = lexed[file];
        size_t at = random() % (tokens.size() - 1);
        const Token& token = tokens[at];
        std::string mutant = text;
        switch (random() % 5) {
        case 0: mutant.erase(token.offset, token.length); break;
        case 1: mutant.insert(token.offset, text.substr(token.offset, token.length) + " "); break;
        case 2: {
            const Token& next = tokens[at + 1];
            std::string first = text.substr(token.offset, token.length);
            std::string second = text.substr(next.offset, next.length);
            mutant.replace(next.offset, next.length, first);
            mutant.replace(token.offset, token.length, second);
            break;
        }
        case 3: mutant.replace(token.offset, token.length, kReplacements[random() % std::size(kReplacements)]); break;
        default: {
            size_t end = mutant.find('\n', token.offset);
            mutant.erase(token.offset, end == std::string::npos ? std::string::npos : end - token.offset);
            break;
        }
        }
        result.push_back(std::move(mutant));
    }
    return result;
}

}  // namespace velmor::lsptest
