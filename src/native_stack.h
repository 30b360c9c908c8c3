#pragma once

// The native stack, as both engines and the passes over a syntax tree see
// it. Nesting that runs on it (the tree-walker's calls and expressions, the
// VM's run loops nested inside builtins that call back) is bounded by the
// stack used since the engine's outermost entry, so that both engines stop
// with "call stack overflow" at about the same depth instead of exhausting
// the stack. The parser, the compiler and the editor tooling's walks recurse
// on how deeply the source nests; they are bounded by the stack their thread
// has left (nativeStackFloor), whatever its size, and stop with
// kNestedTooDeeply.

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

// What every limit leaves free at the bottom of the running thread's stack:
// room for the deepest stretch of frames between two checks, and for
// raising the error from there (its message, the exception, the unwinding)
// and handling it.
inline constexpr std::size_t kNativeStackHeadroom = std::size_t{32} << 10;

// The address below which the stack must not grow for an entry at `base`:
// `budget` below it, but never within kNativeStackHeadroom of the bottom of
// the running thread's stack, where the system tells it. (Arguments and
// environment lie above main's frame and count towards the stack's size, so
// half the stack below an entry need not be there.)
std::uintptr_t nativeStackLimit(std::uintptr_t base, std::size_t budget);

// The recursive passes over a syntax tree (the parser, the compiler, the
// editor tooling's walks) stop with this error when a construct nests past
// the parser's fixed limit or past the native stack they may use.
inline constexpr const char* kNestedTooDeeply = "expression or block nested too deeply";

// Records where the running thread starts using its stack, for
// nativeStackFloor. The program's entry calls it for the main thread, and a
// thread would call it first thing; a thread that did not is measured where
// it first asks for its floor.
void markNativeStackBase();

// The address below which a pass over a syntax tree stops on the running
// thread: nativeStackLimit(the thread's base, nativeStackBudget()). Passes
// run before and after each other, never inside an engine, so each may use
// the engines' whole budget.
std::uintptr_t nativeStackFloor();

}  // namespace velmor
