#include "per_thread.h"

#if defined(_WIN32)

#include <windows.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace velmor::per_thread {

unsigned allocateSlot() {
    const DWORD slot = TlsAlloc();
    // Without a slot nothing could run; this happens only when a process has
    // used up all of Windows' 1,088.
    if (slot == TLS_OUT_OF_INDEXES) std::abort();
    return slot;
}

void freeSlot(unsigned slot) { TlsFree(slot); }
void* loadSlot(unsigned slot) { return TlsGetValue(slot); }
void storeSlot(unsigned slot, void* value) { TlsSetValue(slot, value); }

namespace {

thread_local bool threadEnded = false;

// What runs when the thread ends. Registering from a release finds
// threadEnded set, which outlives this object.
class Releases {
public:
    Releases() = default;
    Releases(const Releases&) = delete;
    Releases& operator=(const Releases&) = delete;
    ~Releases() {
        threadEnded = true;
        while (!entries.empty()) {
            const auto [release, object] = entries.back();
            entries.pop_back();
            release(object);
        }
    }

    std::vector<std::pair<void (*)(void*), void*>> entries;
};

}  // namespace

bool atThreadEnd(void (*release)(void*), void* object) {
    if (threadEnded) return false;
    thread_local Releases releases;
    releases.entries.emplace_back(release, object);
    return true;
}

}  // namespace velmor::per_thread

#endif
