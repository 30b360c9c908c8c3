#pragma once

// The error family. Every failure the language reports to its user is a
// VelmorError carrying a label, a message and a source position; one routine,
// formatReport, turns it into the printed report. A value raised by the
// program with `error` travels separately as a ThrownValue, which is
// deliberately not a std::exception so that handlers for errors never see it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "value.h"

namespace velmor {

class VelmorError : public std::runtime_error {
public:
    VelmorError(std::string label_, std::string message_, int32_t line_, int32_t column_)
        : std::runtime_error(message_), label(std::move(label_)), message(std::move(message_)), line(line_),
          column(column_) {}

    std::string label;
    std::string message;
    int32_t line;    // 1-based; 0 or less means no position
    int32_t column;  // 1-based; 0 when unknown
};

class LexError : public VelmorError {
public:
    LexError(std::string message_, int32_t line_, int32_t column_)
        : VelmorError("SyntaxError (lexing)", std::move(message_), line_, column_) {}
};

class ParseError : public VelmorError {
public:
    ParseError(std::string message_, int32_t line_, int32_t column_)
        : VelmorError("SyntaxError", std::move(message_), line_, column_) {}
};

class RuntimeError : public VelmorError {
public:
    RuntimeError(std::string message_, int32_t line_ = 0, int32_t column_ = 0)
        : VelmorError("RuntimeError", std::move(message_), line_, column_) {}
};

// Compile errors use the base class with this label.
inline constexpr const char* kCompileErrorLabel = "CompileError";

inline VelmorError compileError(std::string message, int32_t line = 0, int32_t column = 0) {
    return VelmorError(kCompileErrorLabel, std::move(message), line, column);
}

// A value raised by the builtin `error`. Derives from nothing on purpose.
struct ThrownValue {
    Value value;
};

// The printed report: label, message, location line and source excerpt with
// a caret. No final line feed; callers add one.
std::string formatReport(const VelmorError& error, std::string_view source, std::string_view sourceName);

}  // namespace velmor
