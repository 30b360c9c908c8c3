#pragma once

// How the driver's run modes print what escapes a run. Every report goes to
// standard error after standard output is flushed, so that a terminal showing
// both streams keeps them in order; a failure of standard output that the
// flush finds ends the run only after the report (output.h).

#include <exception>
#include <string>
#include <string_view>

#include "error.h"

namespace velmor {

// The texts of the reports below, without their final line feed (the
// embedding API hands them to its host as they are).
std::string cannotOpenReport(std::string_view path);
std::string thrownValueReport(const ThrownValue& thrown);
std::string systemFailureReport(const std::exception& failure);
std::string unknownFailureReport();

// The report of the error for this source text and name, and a line feed.
void reportError(const VelmorError& error, std::string_view source, std::string_view sourceName);

// A report already formatted, and a line feed.
void reportText(std::string_view report);

// "velmor: " and a complaint about the command line or a file, and a line feed.
void reportProblem(std::string_view message);

// "velmor: cannot open " and the path.
void reportCannotOpen(std::string_view path);

// "Error: " and the plain form of a value raised by `error` and not caught.
void reportThrownValue(const ThrownValue& thrown);

// A failure of the implementation itself (out of memory, a library error),
// reported instead of aborting the process.
void reportSystemFailure(const std::exception& failure);
// The same for an exception of no known type.
void reportUnknownFailure();

// Reports the exception being handled, whatever it is: a Velmor error for
// this source text and name, a raised value, or a failure of the
// implementation. Called only from a catch clause.
void reportCurrentException(std::string_view source, std::string_view sourceName);

// Runs `work`, reporting whatever escapes it; whether it ran to its end.
template <class Work>
bool runReported(std::string_view source, std::string_view sourceName, Work&& work) {
    try {
        work();
        return true;
    } catch (...) {
        reportCurrentException(source, sourceName);
        return false;
    }
}

}  // namespace velmor
