#pragma once

// The native stack, as both engines see it. Nesting that runs on it (the
// tree-walker's calls and expressions, the VM's run loops nested inside
// builtins that call back) is bounded by the stack used since the engine's
// outermost entry, so that both engines stop with "call stack overflow"
// at about the same depth instead of exhausting the stack.

#include <cstddef>
#include <cstdint>

#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace velmor {

// How much native stack an engine may use below its outermost entry: half
// the main thread's stack, at most 4 MiB (velmor gets 8 MiB on Linux by
// default, and velmor.exe reserves 8 MiB). The other half is left to the
// builtins, error reporting and whatever ran before the entry.
std::size_t nativeStackBudget();

#if !defined(_MSC_VER) && !defined(__x86_64__) && !defined(__aarch64__)
// Out of line, so that only this small function keeps a frame pointer.
[[gnu::noinline]] void* nativeFrameAddress();
#endif

// The stack pointer, read without the address of a local, which
// AddressSanitizer may move to its fake stack. The stack pointer itself is
// read where we can: __builtin_frame_address(0) would give every function it
// is inlined into a frame pointer, and the Windows unwinder restores the
// vector registers of a GCC frame-pointer function wrongly when an
// exception passes through it.
[[gnu::always_inline]] inline std::uintptr_t currentStackAddress() {
#if defined(_MSC_VER)
    return reinterpret_cast<std::uintptr_t>(_AddressOfReturnAddress());
#elif defined(__x86_64__)
    std::uintptr_t pointer;
    asm("mov %%rsp, %0" : "=r"(pointer));
    return pointer;
#elif defined(__aarch64__)
    std::uintptr_t pointer;
    asm("mov %0, sp" : "=r"(pointer));
    return pointer;
#else
    return reinterpret_cast<std::uintptr_t>(nativeFrameAddress());
#endif
}

// The address below which the stack must not grow for an entry at `base`.
inline std::uintptr_t nativeStackLimit(std::uintptr_t base, std::size_t budget) {
    return base > budget ? base - budget : 1;
}

}  // namespace velmor
