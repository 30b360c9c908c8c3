// Interpreters on Windows threads, where each thread's engine state is
// reached through the thread's environment block: two interpreters at work
// at once, an interrupt from another thread, a use from the wrong thread,
// and a hundred threads one after another whose memory does not pile up.
// Prints one line per check and exits 1 if any failed.

#include <velmor/velmor.h>

#include <windows.h>
// psapi.h needs windows.h before it.
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace vm = velmor::embed;

namespace {

int failures = 0;

void check(const char* what, bool ok, const std::string& detail = "") {
    const bool shown = !ok && !detail.empty();
    std::printf("%s %s%s%s\n", ok ? "ok" : "FAIL", what, shown ? ": " : "", shown ? detail.c_str() : "");
    if (!ok) ++failures;
}

// Runs `work` on a new Windows thread; join() waits for it.
class Thread {
public:
    explicit Thread(std::function<void()> work) : work_(std::move(work)) {
        handle_ = CreateThread(nullptr, 0, &Thread::start, this, 0, nullptr);
    }
    ~Thread() { join(); }
    void join() {
        if (!handle_) return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    static DWORD WINAPI start(void* self) {
        static_cast<Thread*>(self)->work_();
        return 0;
    }
    std::function<void()> work_;
    HANDLE handle_ = nullptr;
};

const char* kProgram = "let words = []\n"
                       "for i = 1, 3000 do push(words, str(i) + chars(\"ab\")[i % 2]) end\n"
                       "let counts = {}\n"
                       "for w in words do counts[w] = len(w) end\n"
                       "print(len(keys(counts)), join(slice(words, 0, 3), \",\"), type(counts))\n";
const char* kExpected = "3000 1b,2a,3b map\n";

std::string runOnce(vm::Engine engine) {
    vm::Options options;
    options.engine = engine;
    vm::Interpreter interpreter(options);
    std::string output;
    interpreter.setOutput([&](std::string_view text) { output.append(text); });
    const vm::Result result = interpreter.run(kProgram);
    return result ? output : result.report;
}

std::size_t privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

}  // namespace

int main() {
    {
        std::string outputs[2];
        Thread vmThread([&] {
            for (int round = 0; round < 5; ++round) outputs[0] += runOnce(vm::Engine::Vm);
        });
        Thread treeThread([&] {
            for (int round = 0; round < 5; ++round) outputs[1] += runOnce(vm::Engine::TreeWalker);
        });
        vmThread.join();
        treeThread.join();
        std::string expected;
        for (int round = 0; round < 5; ++round) expected += kExpected;
        check("two interpreters at once: vm", outputs[0] == expected, outputs[0].substr(0, 200));
        check("two interpreters at once: tree", outputs[1] == expected, outputs[1].substr(0, 200));
    }
    {
        std::atomic<vm::Interpreter*> running{nullptr};
        vm::Result spun;
        Thread spinner([&] {
            vm::Interpreter interpreter;
            interpreter.defineFunction("started", 0, 0, [&](vm::Interpreter& self, auto) {
                running = &self;
                return vm::Value();
            });
            spun = interpreter.run("started()\nwhile true do end");
        });
        vm::Interpreter* target = nullptr;
        while (!(target = running.load())) Sleep(1);
        target->interrupt();
        spinner.join();
        check("an interrupt from another thread", spun.status == vm::Status::Interrupted, spun.report);
    }
    {
        vm::Interpreter interpreter;
        bool refused = false;
        Thread other([&] {
            try {
                interpreter.run("let x = 1");
            } catch (const std::logic_error&) {
                refused = true;
            }
        });
        other.join();
        check("a use from another thread is refused", refused);
    }
    {
        for (int thread = 0; thread < 5; ++thread) Thread([] { runOnce(vm::Engine::Vm); }).join();
        const std::size_t before = privateBytes();
        bool allRan = true;
        for (int thread = 0; thread < 100; ++thread) {
            Thread([&] { allRan = allRan && runOnce(vm::Engine::Vm) == kExpected; }).join();
        }
        const std::size_t grown = privateBytes() > before ? privateBytes() - before : 0;
        check("a hundred threads one after another", allRan);
        std::printf("memory: %zu KB more after a hundred threads\n", grown >> 10);
        check("their memory does not pile up", grown < (std::size_t{8} << 20));
    }
    return failures == 0 ? 0 : 1;
}
