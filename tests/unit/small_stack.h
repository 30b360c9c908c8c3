#pragma once

// Runs a function on a thread of its own whose native stack has a given
// size, as a program under a small `ulimit -s` or a worker thread would
// have it; what the function throws is thrown again on the calling thread.

#include <pthread.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <stdexcept>

namespace velmor::testing {

inline void runWithStack(std::size_t bytes, const std::function<void()>& function) {
    struct Work {
        const std::function<void()>* function;
        std::exception_ptr failure;
    } work{&function, nullptr};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, bytes);
    pthread_t thread;
    const int created = pthread_create(
        &thread, &attributes,
        [](void* argument) -> void* {
            auto& running = *static_cast<Work*>(argument);
            try {
                (*running.function)();
            } catch (...) {
                running.failure = std::current_exception();
            }
            return nullptr;
        },
        &work);
    pthread_attr_destroy(&attributes);
    if (created != 0) throw std::runtime_error("cannot start a thread");
    pthread_join(thread, nullptr);
    if (work.failure) std::rethrow_exception(work.failure);
}

}  // namespace velmor::testing
