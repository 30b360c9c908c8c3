// Watch mode: re-runs a file whenever its last-write time or size changes. Only the
// standard library is used (file times, local time, sleeping), so the same
// code serves every platform.

#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include "driver.h"
#include "driver/reporting.h"
#include "pragmas/pragmas.h"

namespace velmor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{200};

std::string localClockText() {
    const std::time_t now = std::time(nullptr);
    // The process is single-threaded, so the shared buffer of localtime is safe here.
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) return "??:??:??";
    std::ostringstream text;
    text << std::put_time(local, "%H:%M:%S");
    return text.str();
}

void writeSeparator() { std::cout << "\n---- run at " << localClockText() << " ----\n" << std::flush; }

}  // namespace

FileWatcher::FileWatcher(std::string path, Engine engine) : path_(std::move(path)), engine_(engine) {}

bool FileWatcher::poll() {
    std::error_code error;
    const std::filesystem::file_time_type writeTime = std::filesystem::last_write_time(path_, error);
    if (error) return false;  // missing, or being replaced: try again next poll
    std::uintmax_t size = std::filesystem::file_size(path_, error);
    if (error) size = 0;  // a directory, say: not readable either
    const Stamp stamp{writeTime, size};
    if (lastRun_ && *lastRun_ == stamp) return false;

    // Running out of memory while loading is reported as it is during a run,
    // and watching goes on.
    SourceFile file;
    try {
        file = readSourceFile(path_);
    } catch (const std::exception& failure) {
        lastRun_ = stamp;
        writeSeparator();
        reportSystemFailure(failure);
        std::cerr.flush();
        return true;
    }
    if (!file.opened) {
        if (!reportedUnreadable_) reportCannotOpen(path_);
        reportedUnreadable_ = true;
        std::cerr.flush();
        return false;
    }
    reportedUnreadable_ = false;
    lastRun_ = stamp;

    writeSeparator();
    const PragmaInfo pragmas = scanPragmas(file.text);
    if (checkPragmas(pragmas, path_, std::cerr)) runSource(file.text, path_, engine_);
    std::cout.flush();
    std::cerr.flush();
    return true;
}

void watchFile(const std::string& path, Engine engine) {
    std::cout << "velmor: watching " << path << " -- save to re-run, Ctrl-C to stop\n" << std::flush;
    FileWatcher watcher(path, engine);
    for (;;) {
        watcher.poll();
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace velmor
