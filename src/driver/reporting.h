#pragma once

// How the driver's run modes print what escapes a run. Standard output is
// flushed first so that a terminal showing both streams keeps them in order.

#include <exception>
#include <memory>
#include <streambuf>
#include <string_view>

#include "error.h"

namespace velmor {

// While it lives, standard output is checked: a write that fails ends the
// run at once with "velmor: cannot write to standard output", the reason,
// and status 1 (the program's entry installs it).
class CheckedStandardOutput {
public:
    CheckedStandardOutput();
    ~CheckedStandardOutput();
    CheckedStandardOutput(const CheckedStandardOutput&) = delete;
    CheckedStandardOutput& operator=(const CheckedStandardOutput&) = delete;

private:
    std::unique_ptr<std::streambuf> buffer_;
    std::streambuf* previous_;
};

// Held by a reporter while it writes an error report: a failure of standard
// output (found when the reporter flushes it) ends the run only after the
// report, which is worth more than the output.
class OutputFailureDeferred {
public:
    OutputFailureDeferred();
    ~OutputFailureDeferred();
    OutputFailureDeferred(const OutputFailureDeferred&) = delete;
    OutputFailureDeferred& operator=(const OutputFailureDeferred&) = delete;
};

// The report of the error for this source text and name, and a line feed.
void reportError(const VelmorError& error, std::string_view source, std::string_view sourceName);

// "velmor: cannot open " and the path.
void reportCannotOpen(std::string_view path);

// "Error: " and the plain form of a value raised by `error` and not caught.
void reportThrownValue(const ThrownValue& thrown);

// A failure of the implementation itself (out of memory, a library error),
// reported instead of aborting the process.
void reportSystemFailure(const std::exception& failure);
// The same for an exception of no known type.
void reportUnknownFailure();

}  // namespace velmor
