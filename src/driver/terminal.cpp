#include "driver/terminal.h"

#include <atomic>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "execution_limits.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace velmor {

namespace {

constexpr int kFallbackColumns = 80;

// The request of the thread that made the catcher: the signal handler and,
// on Windows, the console's control thread run on threads of their own,
// whose requests no engine reads.
std::atomic<std::atomic<bool>*> interruptTarget{nullptr};
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

void requestInterrupt() {
    if (std::atomic<bool>* target = interruptTarget.load(std::memory_order_relaxed))
        target->store(true, std::memory_order_relaxed);
}

}  // namespace

#ifdef _WIN32

std::unique_ptr<EditingTerminal> openEditingTerminal() { return nullptr; }

bool standardStreamsAreTerminals() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
           GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
}

namespace {

BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT) return FALSE;  // Ctrl-Break and closing still end the process
    requestInterrupt();
    return TRUE;
}

}  // namespace

struct InterruptCatcher::Saved {};

InterruptCatcher::InterruptCatcher() {
    interruptTarget.store(&interruptRequested());
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

InterruptCatcher::~InterruptCatcher() { SetConsoleCtrlHandler(onConsoleControl, FALSE); }

bool readEndedByInterrupt() {
    constexpr int kWaits = 20;
    constexpr DWORD kWaitMs = 10;
    for (int wait = 0; wait < kWaits && !interruptRequested().load(); ++wait) Sleep(kWaitMs);
    return interruptRequested().exchange(false);
}

namespace {

// The modes as the prompt found them, for the handler below, which runs on a
// thread of its own; written before it is installed.
struct SavedConsoleModes {
    HANDLE handle = nullptr;
    DWORD mode = 0;
    bool saved = false;
};
SavedConsoleModes savedConsoleModes[2];

void restoreConsoleModes() {
    for (const SavedConsoleModes& saved : savedConsoleModes) {
        if (saved.saved) SetConsoleMode(saved.handle, saved.mode);
    }
}

BOOL WINAPI onConsoleEnding(DWORD event) {
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) restoreConsoleModes();
    return FALSE;  // the next handler, in the end the system's, ends the process
}

}  // namespace

ConsoleModeGuard::ConsoleModeGuard() {
    const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE};
    for (int i = 0; i < 2; ++i) {
        SavedConsoleModes& saved = savedConsoleModes[i];
        saved.handle = GetStdHandle(streams[i]);
        saved.saved = GetConsoleMode(saved.handle, &saved.mode) != 0;
    }
    SetConsoleCtrlHandler(onConsoleEnding, TRUE);
}

ConsoleModeGuard::~ConsoleModeGuard() {
    SetConsoleCtrlHandler(onConsoleEnding, FALSE);
    restoreConsoleModes();
    for (SavedConsoleModes& saved : savedConsoleModes) saved.saved = false;
}

#else

namespace {

extern "C" void onInterruptSignal(int) { requestInterrupt(); }

// The terminal's own modes while the line editor holds it raw, kept where a
// signal handler can reach them. They are written only while terminalIsRaw
// is false, and the flag's stores order them.
termios terminalOwnModes{};
std::atomic<bool> terminalIsRaw{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is read in a signal handler");

// The signals whose default action ends the process. Ctrl-C is not among
// them: at the prompt it interrupts (InterruptCatcher).
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGQUIT};

// Gives the terminal its modes back, then lets the signal end the process as
// it would have: the default action, taken once the handler returns and the
// signal is no longer blocked, so the exit status still names the signal.
// Only async-signal-safe calls.
extern "C" void onEndingSignal(int number) {
    if (terminalIsRaw.load()) tcsetattr(STDIN_FILENO, TCSANOW, &terminalOwnModes);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(number, &defaultAction, nullptr);
    raise(number);
}

// While alive, the ending signals restore the terminal before they end the
// process (those the process was started with ignored stay ignored).
class EndingSignalGuard {
public:
    EndingSignalGuard() {
        struct sigaction action {};
        action.sa_handler = onEndingSignal;
        sigemptyset(&action.sa_mask);
        // The others wait while one of them restores the terminal.
        for (int number : kEndingSignals) sigaddset(&action.sa_mask, number);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            Slot& slot = slots_[i];
            if (sigaction(kEndingSignals[i], nullptr, &slot.previous) != 0 || slot.previous.sa_handler != SIG_DFL)
                continue;
            slot.installed = sigaction(kEndingSignals[i], &action, nullptr) == 0;
        }
    }
    ~EndingSignalGuard() {
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            if (slots_[i].installed) sigaction(kEndingSignals[i], &slots_[i].previous, nullptr);
        }
    }
    EndingSignalGuard(const EndingSignalGuard&) = delete;
    EndingSignalGuard& operator=(const EndingSignalGuard&) = delete;

private:
    struct Slot {
        struct sigaction previous {};
        bool installed = false;
    };
    Slot slots_[std::size(kEndingSignals)];
};

bool understandsAnsi() {
    // Terminals that draw no cursor movement (Emacs's shell buffer says "dumb").
    const char* term = std::getenv("TERM");
    if (term == nullptr) return true;
    const std::string_view name = term;
    return name != "dumb" && name != "cons25" && name != "emacs";
}

class InterruptibleInput final : public std::streambuf {
protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        for (;;) {
            const ssize_t count = ::read(STDIN_FILENO, buffer_, sizeof buffer_);
            if (count > 0) {
                setg(buffer_, buffer_, buffer_ + count);
                return traits_type::to_int_type(buffer_[0]);
            }
            // The handler is installed without SA_RESTART, so Ctrl-C ends the wait here.
            if (count < 0 && errno == EINTR) {
                if (interruptRequested().load(std::memory_order_relaxed)) throwInterrupted();
                continue;
            }
            return traits_type::eof();
        }
    }

private:
    char buffer_[4096];
};

class PosixTerminal final : public EditingTerminal {
public:
    ~PosixTerminal() override { restore(); }

    void prepareForInput() override {
        if (raw_) return;
        termios original{};
        if (tcgetattr(STDIN_FILENO, &original) != 0) return;
        terminalOwnModes = original;
        termios raw = original;
        // Keys arrive one byte at a time, unechoed, Ctrl-C and Ctrl-Z as bytes;
        // output keeps the terminal's own processing (a line feed still starts a new line).
        raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
        raw.c_cflag |= CS8;
        raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        // Raised before the switch: a signal in between restores modes the terminal still has.
        terminalIsRaw.store(true);
        // TCSANOW, not TCSAFLUSH: the rest of a paste waits in the input queue.
        raw_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
        if (!raw_) terminalIsRaw.store(false);
    }

    void restore() override {
        if (!raw_) return;
        tcsetattr(STDIN_FILENO, TCSANOW, &terminalOwnModes);
        terminalIsRaw.store(false);
        raw_ = false;
    }

    int readByte(int timeoutMs) override {
        if (timeoutMs >= 0) {
            pollfd request{STDIN_FILENO, POLLIN, 0};
            int ready;
            do {
                ready = poll(&request, 1, timeoutMs);
            } while (ready < 0 && errno == EINTR);
            if (ready == 0) return kNoByte;
            if (ready < 0) return kEndOfInput;
        }
        // One byte per read: whatever follows stays in the terminal's queue,
        // where a program's `input` finds it.
        for (;;) {
            unsigned char byte = 0;
            const ssize_t count = ::read(STDIN_FILENO, &byte, 1);
            if (count == 1) return byte;
            if (count < 0 && errno == EINTR) continue;
            return kEndOfInput;
        }
    }

    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t count = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) return;  // the terminal is gone; reading will say so
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
    }

    std::size_t bytesWaiting() override {
        int count = 0;
        return ioctl(STDIN_FILENO, FIONREAD, &count) == 0 && count > 0 ? static_cast<std::size_t>(count) : 0;
    }

    int columns() override {
        winsize size{};
        if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
        return kFallbackColumns;
    }

    void suspend() override {
        restore();
        raise(SIGTSTP);
    }

    std::streambuf& programInput() override { return programInput_; }

private:
    EndingSignalGuard endingSignals_;
    InterruptibleInput programInput_;
    bool raw_ = false;
};

}  // namespace

bool standardStreamsAreTerminals() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

std::unique_ptr<EditingTerminal> openEditingTerminal() {
    if (!standardStreamsAreTerminals() || !understandsAnsi()) return nullptr;
    return std::make_unique<PosixTerminal>();
}

struct InterruptCatcher::Saved {
    struct sigaction previous {};
    bool installed = false;
};

InterruptCatcher::InterruptCatcher() : saved_(std::make_unique<Saved>()) {
    interruptTarget.store(&interruptRequested());
    struct sigaction action {};
    action.sa_handler = onInterruptSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocking call returns to let the step check run
    if (sigaction(SIGINT, nullptr, &saved_->previous) != 0 || saved_->previous.sa_handler == SIG_IGN) return;
    saved_->installed = sigaction(SIGINT, &action, nullptr) == 0;
}

InterruptCatcher::~InterruptCatcher() {
    if (saved_->installed) sigaction(SIGINT, &saved_->previous, nullptr);
}

bool readEndedByInterrupt() { return false; }

#endif

}  // namespace velmor
