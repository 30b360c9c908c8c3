#include "native_stack.h"

#if !defined(_MSC_VER) && (defined(__unix__) || defined(__APPLE__))
#include <sys/resource.h>
#endif

namespace velmor {

namespace {

constexpr std::size_t kMaxStackBudget = std::size_t{4} << 20;

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

#if !defined(_MSC_VER) && !defined(__x86_64__) && !defined(__aarch64__)
void* nativeFrameAddress() { return __builtin_frame_address(0); }
#endif

}  // namespace velmor
