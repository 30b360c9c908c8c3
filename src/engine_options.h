#pragma once

// How the engines run. Each engine keeps fast paths that must compute
// exactly what its plain rules compute: the VM runs quickened code and
// remembers global bindings and where field accesses found their keys; the
// tree-walker remembers what names resolved to, reuses scopes that no one
// can reach any more and answers common operators inline. Plain engines do
// without all of that, so that tests can run a program both ways and
// compare. This is not a user option: the `velmor` program never changes it;
// the test-only program `velmor-plain`, the fuzzers and the tests do.

#include <cstddef>

namespace velmor {

struct EngineOptions {
    // Run without the fast paths.
    bool plain = false;
    // The most calls that may be active at once, the program's own frame
    // included ("call stack overflow" beyond); an engine takes at most its
    // own limit, 4,096. A host that embeds the language may lower it.
    std::size_t maxCallDepth = 4096;
};

// The options that an engine takes when it is given none. One per process;
// only test programs change it, before any engine is made.
inline EngineOptions& defaultEngineOptions() {
    static EngineOptions options;
    return options;
}

}  // namespace velmor
