#include "lsp/builtin_docs.h"

#include <algorithm>

#include "builtins/native.h"
#include "lexer/lexer.h"

namespace velmor::lsp {

namespace {

constexpr std::string_view kReference =
#include "builtin_reference.inc"
    ;

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The `...` spans of a line.
std::vector<std::string_view> codeSpans(std::string_view line) {
    std::vector<std::string_view> spans;
    for (size_t open = line.find('`'); open != std::string_view::npos; open = line.find('`', open + 1)) {
        size_t close = line.find('`', open + 1);
        if (close == std::string_view::npos) break;
        spans.push_back(line.substr(open + 1, close - open - 1));
        open = close;
    }
    return spans;
}

std::string_view leadingName(std::string_view span) {
    size_t end = 0;
    while (end < span.size() && isNameByte(span[end])) ++end;
    return span.substr(0, end);
}

// A signature for a name listed without one, from its arity: "is_nil(value)".
std::string signatureFromArity(std::string_view name) {
    for (const BuiltinInfo& info : builtinTable()) {
        if (name != info.name) continue;
        std::string signature(name);
        signature += '(';
        if (info.minArity == 1 && info.maxArity == 1)
            signature += "value";
        else if (info.maxArity < 0)
            signature += "...";
        signature += ')';
        return signature;
    }
    return std::string(name);
}

std::string joinLines(const std::vector<std::string_view>& lines, size_t begin, size_t end) {
    while (begin < end && lines[begin].empty()) ++begin;
    while (end > begin && lines[end - 1].empty()) --end;
    std::string text;
    for (size_t i = begin; i < end; ++i) {
        text += lines[i];
        if (i + 1 < end) text += '\n';
    }
    return text;
}

}  // namespace

std::vector<BuiltinDoc> parseBuiltinReference(std::string_view markdown) {
    std::vector<BuiltinDoc> docs;
    std::vector<std::string_view> lines = splitLines(markdown);
    bool inConstants = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.starts_with("## ")) {
            inConstants = line == "## Constants";
            continue;
        }
        if (inConstants && line.starts_with("- ")) {
            std::vector<std::string_view> spans = codeSpans(line);
            if (spans.size() >= 2 && !spans[0].empty() && leadingName(spans[0]) == spans[0]) {
                docs.push_back(
                    BuiltinDoc{std::string(spans[0]),
                               {std::string(spans[0])},
                               "Constant: `" + std::string(spans[0]) + "` = `" + std::string(spans[1]) + "`"});
            }
            continue;
        }
        if (!line.starts_with("### ")) continue;
        // The section runs to the next heading; "#" lines inside code blocks are Velmor comments.
        size_t end = i + 1;
        for (bool inCode = false; end < lines.size(); ++end) {
            if (lines[end].starts_with("```")) inCode = !inCode;
            if (!inCode && lines[end].starts_with("#")) break;
        }
        std::string text = joinLines(lines, i + 1, std::min(end, lines.size()));
        size_t first = docs.size();
        for (std::string_view span : codeSpans(line)) {
            std::string_view name = leadingName(span);
            if (name.empty()) continue;
            auto existing = std::find_if(docs.begin() + static_cast<std::ptrdiff_t>(first), docs.end(),
                                         [&](const BuiltinDoc& doc) { return doc.name == name; });
            std::string signature =
                span.size() > name.size() && span[name.size()] == '(' ? std::string(span) : signatureFromArity(name);
            if (existing != docs.end()) {
                existing->signatures.push_back(signature);
            } else {
                docs.push_back(BuiltinDoc{std::string(name), {signature}, text});
            }
        }
        i = end - 1;
    }
    return docs;
}

std::span<const BuiltinDoc> builtinDocs() {
    static const std::vector<BuiltinDoc> docs = parseBuiltinReference(kReference);
    return docs;
}

const BuiltinDoc* findBuiltinDoc(std::string_view name) {
    for (const BuiltinDoc& doc : builtinDocs()) {
        if (doc.name == name) return &doc;
    }
    return nullptr;
}

std::vector<std::pair<size_t, size_t>> signatureParameters(std::string_view signature) {
    std::vector<std::pair<size_t, size_t>> params;
    size_t open = signature.find('(');
    size_t close = signature.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return params;
    for (size_t at = open + 1; at < close;) {
        if (isNameByte(signature[at])) {
            size_t end = at;
            while (end < close && isNameByte(signature[end])) ++end;
            params.emplace_back(at, end);
            at = end;
        } else if (signature.substr(at, 3) == "...") {
            params.emplace_back(at, at + 3);
            at += 3;
        } else {
            ++at;
        }
    }
    return params;
}

}  // namespace velmor::lsp
