#include "native_stack.h"

#include <algorithm>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__unix__) || defined(__APPLE__)
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace velmor {

namespace {

constexpr std::size_t kMaxStackBudget = std::size_t{4} << 20;

#if defined(__linux__)
constexpr rlim_t kArgumentsQuarterFrom = rlim_t{512} << 10;
#endif

// The running thread's stack as [low, high), or {0, 0} where the system does
// not tell it.
struct StackBounds {
    std::uintptr_t low = 0;
    std::uintptr_t high = 0;
};

StackBounds threadStackBounds() {
    StackBounds bounds;
#if defined(_WIN32)
    // The stack's whole reservation starts at the allocation base, and its
    // committed part runs from the page being used to the top.
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(reinterpret_cast<void*>(currentStackAddress()), &region, sizeof region) != 0) {
        bounds.low = reinterpret_cast<std::uintptr_t>(region.AllocationBase);
        bounds.high = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
#elif defined(__linux__)
    // For the main thread the C library takes the size from the stack's
    // resource limit and the top from the process's memory map, which takes
    // as long as a tenth of a short run's start-up. It is read only for a
    // main thread's stack below 512 KiB: from there on Linux holds the
    // arguments and the environment above main's frame to a quarter of the
    // limit (below, it allows them 128 KiB), so that the half the engines
    // may use below their entry is always there.
    if (getpid() == gettid()) {
        rlimit limit{};
        if (getrlimit(RLIMIT_STACK, &limit) == 0 &&
            (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= kArgumentsQuarterFrom))
            return bounds;
    }
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        void* low = nullptr;
        std::size_t size = 0;
        if (pthread_attr_getstack(&attributes, &low, &size) == 0) {
            bounds.low = reinterpret_cast<std::uintptr_t>(low);
            bounds.high = bounds.low + size;
        }
        pthread_attr_destroy(&attributes);
    }
#elif defined(__APPLE__)
    bounds.high = reinterpret_cast<std::uintptr_t>(pthread_get_stackaddr_np(pthread_self()));
    bounds.low = bounds.high - pthread_get_stacksize_np(pthread_self());
#endif
    if (bounds.low >= bounds.high || currentStackAddress() < bounds.low || currentStackAddress() >= bounds.high)
        return StackBounds{};
    return bounds;
}

// What the running thread knows of its stack, measured on first use.
struct ThreadStack {
    std::uintptr_t bottomLimit = 0;  // the bottom plus kNativeStackHeadroom; 0 where unknown
    std::uintptr_t base = 0;         // see markNativeStackBase; 0 until known
    std::uintptr_t floor = 0;        // see nativeStackFloor; 0 until computed
};

ThreadStack& threadStack() {
    thread_local ThreadStack stack = [] {
        ThreadStack measured;
        const StackBounds bounds = threadStackBounds();
        if (bounds.high != 0) {
            measured.bottomLimit =
                bounds.high - bounds.low > kNativeStackHeadroom ? bounds.low + kNativeStackHeadroom : bounds.high;
        }
        return measured;
    }();
    return stack;
}

}  // namespace

std::size_t nativeStackBudget() {
    std::size_t budget = kMaxStackBudget;
#if !defined(_MSC_VER) && (defined(__unix__) || defined(__APPLE__))
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const auto half = static_cast<std::size_t>(limit.rlim_cur / 2);
        if (half < budget) budget = half;
    }
#endif
    return budget;
}

std::uintptr_t nativeStackLimit(std::uintptr_t base, std::size_t budget) {
    const std::uintptr_t limit = base > budget ? base - budget : 1;
    return std::max(limit, threadStack().bottomLimit);
}

void markNativeStackBase() {
    ThreadStack& stack = threadStack();
    stack.base = currentStackAddress();
    stack.floor = 0;
}

std::uintptr_t nativeStackFloor() {
    ThreadStack& stack = threadStack();
    if (stack.floor == 0) [[unlikely]] {
        if (stack.base == 0) stack.base = currentStackAddress();
        stack.floor = nativeStackLimit(stack.base, nativeStackBudget());
    }
    return stack.floor;
}

#if !defined(_MSC_VER) && !defined(__x86_64__) && !defined(__aarch64__)
void* nativeFrameAddress() { return __builtin_frame_address(0); }
#endif

}  // namespace velmor
