#include "error.h"

#include <string>

namespace velmor {

std::string formatReport(const VelmorError& error, std::string_view source, std::string_view sourceName) {
    std::string out;
    out.reserve(error.label.size() + error.message.size() + 64);
    out.append(error.label).append(": ").append(error.message);
    if (error.line < 1) return out;
    out += "\n  --> ";
    out += sourceName;
    out.append(":").append(std::to_string(error.line)).append(":").append(std::to_string(error.column));
    if (source.empty()) return out;

    // Find line `error.line`; a text with n line feeds has n + 1 lines.
    std::size_t start = 0;
    for (int32_t line = 1; line < error.line; ++line) {
        std::size_t feed = source.find('\n', start);
        if (feed == std::string_view::npos) return out;  // past the end: no excerpt
        start = feed + 1;
    }
    std::size_t end = source.find('\n', start);
    if (end == std::string_view::npos) end = source.size();
    std::string text;
    for (char c : source.substr(start, end - start)) {
        if (c != '\r') text.push_back(c);
    }

    std::string gutter = std::to_string(error.line);
    gutter.append(" | ");
    out.append("\n").append(gutter).append(text).append("\n");
    std::size_t pad = gutter.size() + (error.column < 1 ? 0 : static_cast<std::size_t>(error.column - 1));
    out.append(pad, ' ');
    out += "^";
    return out;
}

}  // namespace velmor
