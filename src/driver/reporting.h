#pragma once

// How the driver's run modes print what escapes a run. Standard output is
// flushed first so that a terminal showing both streams keeps them in order.

#include <exception>
#include <string_view>

#include "error.h"

namespace velmor {

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
