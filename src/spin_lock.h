#pragma once

// A lock for a few instructions' worth of work, from any thread. The Windows
// cross build's thread model has no std::mutex.

#include <atomic>

namespace velmor {

class SpinLock {
public:
    void lock() noexcept {
        while (flag_.test_and_set(std::memory_order_acquire)) {
        }
    }
    void unlock() noexcept { flag_.clear(std::memory_order_release); }

    // Holds the lock for its scope.
    class Guard {
    public:
        explicit Guard(SpinLock& lock) noexcept : lock_(lock) { lock_.lock(); }
        ~Guard() { lock_.unlock(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        SpinLock& lock_;
    };

private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

}  // namespace velmor
