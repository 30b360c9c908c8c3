// Standard output of the `velmor` program goes through one check. A write
// that fails (a full disk, a closed pipe, a closed stream) ends the run at
// once with status 1 and one line on standard error: a program that keeps
// printing into a stream that takes nothing must neither run on for nothing
// nor end as if it had succeeded. What was written before stays written.
//
// Where a broken pipe raises SIGPIPE (POSIX, unless the caller ignores it),
// the system ends the process quietly before any write can fail, as it does
// for other command-line tools; the check covers the rest, Windows included.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>

#include "driver/output.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace velmor {

namespace {

// The reporters that are writing an error report when output fails.
int deferringReports = 0;
bool failurePending = false;
int pendingError = 0;

[[noreturn]] void endRunForOutputFailure(int error) {
    std::string line = "velmor: cannot write to standard output";
    if (error != 0) {
        line += ": ";
        line += std::strerror(error);
    }
    line += '\n';
    std::cerr.tie(nullptr);  // writing to it would flush standard output first
    std::cerr.write(line.data(), static_cast<std::streamsize>(line.size()));
    std::cerr.flush();
    // No exit handlers: they would flush standard output, and fail, again.
    std::_Exit(1);
}

void clearWriteError() {
    errno = 0;
#if defined(_WIN32)
    SetLastError(ERROR_SUCCESS);
#endif
}

// The reason a write failed, read at once. The C library of Windows reports
// a pipe whose reader has gone as EINVAL; the system's own error tells.
int writeError() {
    int error = errno;
#if defined(_WIN32)
    const DWORD systemError = GetLastError();
    if (systemError == ERROR_NO_DATA || systemError == ERROR_BROKEN_PIPE || systemError == ERROR_PIPE_NOT_CONNECTED) {
        error = EPIPE;
    }
#endif
    return error;
}

void outputFailed(int error) {
    if (deferringReports > 0) {
        if (!failurePending) pendingError = error;
        failurePending = true;
        return;
    }
    endRunForOutputFailure(error);
}

// Passes everything to the stream buffer it wraps and checks that it took it.
class CheckedOutputBuffer final : public std::streambuf {
public:
    explicit CheckedOutputBuffer(std::streambuf* target) : target_(target) {}

protected:
    int_type overflow(int_type character) override {
        if (traits_type::eq_int_type(character, traits_type::eof())) return traits_type::not_eof(character);
        clearWriteError();
        if (traits_type::eq_int_type(target_->sputc(traits_type::to_char_type(character)), traits_type::eof())) {
            outputFailed(writeError());
            return traits_type::eof();
        }
        return character;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        clearWriteError();
        const std::streamsize written = target_->sputn(text, count);
        if (written != count) outputFailed(writeError());
        return written;
    }

    int sync() override {
        clearWriteError();
        if (target_->pubsync() == -1) {
            outputFailed(writeError());
            return -1;
        }
        return 0;
    }

private:
    std::streambuf* target_;
};

}  // namespace

CheckedStandardOutput::CheckedStandardOutput()
    : buffer_(std::make_unique<CheckedOutputBuffer>(std::cout.rdbuf())), previous_(std::cout.rdbuf(buffer_.get())) {}

CheckedStandardOutput::~CheckedStandardOutput() { std::cout.rdbuf(previous_); }

OutputFailureDeferred::OutputFailureDeferred() { ++deferringReports; }

OutputFailureDeferred::~OutputFailureDeferred() {
    if (--deferringReports == 0 && failurePending) endRunForOutputFailure(pendingError);
}

}  // namespace velmor
