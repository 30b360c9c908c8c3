#pragma once

// One object of type T per thread, for the state that the engines touch at
// every allocation, free or step: PerThread<T>::get().
//
// On most targets this is a thread_local, which costs a load. The Windows
// cross compiler emulates thread-local storage, and there every use of a
// thread_local is a call into its runtime; so there each object lives in a
// block of its own, whose address sits in one of the slots that the
// thread's environment block holds (TlsSlots, at gs:0x1480 on x64), and a
// use costs a few instructions. A thread's objects are value-initialised on
// its first use and freed when it ends (see atThreadEnd).

#include <atomic>
#include <cstdint>

namespace velmor {

#if defined(_WIN32)
#define VELMOR_SLOT_THREAD_STATE 1

namespace per_thread {
inline constexpr unsigned kNoSlot = ~0u;
// The slots of the environment block; later ones are reached by a call.
inline constexpr unsigned kDirectSlots = 64;
unsigned allocateSlot();
void freeSlot(unsigned slot);
void* loadSlot(unsigned slot);
void storeSlot(unsigned slot, void* value);
// Runs `release(object)` when the calling thread ends, in the reverse
// order of registration; false once the thread's ending has begun.
bool atThreadEnd(void (*release)(void*), void* object);
}  // namespace per_thread

template <class T>
class PerThread {
public:
    static T& get() {
        const unsigned slot = slot_.load(std::memory_order_relaxed);
        if (slot < per_thread::kDirectSlots) [[likely]] {
            void* object;
            __asm__("movq %%gs:0x1480(,%1,8), %0" : "=r"(object) : "r"(static_cast<uintptr_t>(slot)));
            if (object) [[likely]]
                return *static_cast<T*>(object);
        }
        return make();
    }

private:
    static inline std::atomic<unsigned> slot_{per_thread::kNoSlot};

    [[gnu::noinline]] static T& make() {
        unsigned slot = slot_.load(std::memory_order_acquire);
        if (slot == per_thread::kNoSlot) {
            const unsigned fresh = per_thread::allocateSlot();
            if (slot_.compare_exchange_strong(slot, fresh, std::memory_order_acq_rel)) {
                slot = fresh;
            } else {
                per_thread::freeSlot(fresh);
            }
        }
        if (void* object = per_thread::loadSlot(slot)) return *static_cast<T*>(object);
        T* created = new T();
        per_thread::storeSlot(slot, created);
        // An object made while its thread ends (a static value freed at exit)
        // is left to the end of the process.
        per_thread::atThreadEnd(
            [](void* object) {
                per_thread::storeSlot(slot_.load(std::memory_order_relaxed), nullptr);
                delete static_cast<T*>(object);
            },
            created);
        return *created;
    }
};

#else

template <class T>
class PerThread {
public:
    static T& get() { return object_; }

private:
    // Constant-initialised and trivially destroyed, so a use needs no guard.
    static inline thread_local T object_{};
};

#endif

}  // namespace velmor
