#pragma once

// The check on standard output (output.cpp): a write that fails ends the run.

#include <memory>
#include <streambuf>

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

}  // namespace velmor
