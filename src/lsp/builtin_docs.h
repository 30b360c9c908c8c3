#pragma once

// Documentation of the builtins and the two constants, read from the builtin
// reference (docs/builtins.md), which the program carries as text: each
// "### `name(params)` ..." heading documents the names it lists, and the
// constants section lists "`PI` → `value`" lines.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::lsp {

struct BuiltinDoc {
    std::string name;
    std::vector<std::string> signatures;  // "range(stop)", "range(start, stop [, step])"
    std::string text;                     // the section's Markdown, examples included
};

std::span<const BuiltinDoc> builtinDocs();
const BuiltinDoc* findBuiltinDoc(std::string_view name);

// The parameter names of a signature, as [begin, end) byte ranges in it:
// "log(x [, base])" gives "x" and "base", "print(value, ...)" "value" and "...".
std::vector<std::pair<size_t, size_t>> signatureParameters(std::string_view signature);

// Parses the reference's Markdown; builtinDocs() is this applied to the carried copy.
std::vector<BuiltinDoc> parseBuiltinReference(std::string_view markdown);

}  // namespace velmor::lsp
