#pragma once

#include <string>
#include <string_view>

namespace velmor {

inline constexpr const char* kVersion = "6";

// The process entry: dispatches the command line; the exit status.
int runMain(int argc, char** argv);

}  // namespace velmor
