#include "driver/reporting.h"

#include <iostream>
#include <new>

#include "driver/output.h"
#include "value.h"

namespace velmor {

namespace {

// Standard output first, so that the streams keep their order on a terminal.
void flushOutput() { std::cout.flush(); }

}  // namespace

void reportError(const VelmorError& error, std::string_view source, std::string_view sourceName) {
    reportText(formatReport(error, source, sourceName));
}

void reportText(std::string_view report) {
    const OutputFailureDeferred deferred;
    flushOutput();
    std::cerr << report << "\n";
}

void reportProblem(std::string_view message) {
    const OutputFailureDeferred deferred;
    flushOutput();
    std::cerr << "velmor: " << message << "\n";
}

void reportCannotOpen(std::string_view path) {
    const OutputFailureDeferred deferred;
    flushOutput();
    std::cerr << "velmor: cannot open " << path << "\n";
}

void reportThrownValue(const ThrownValue& thrown) {
    const OutputFailureDeferred deferred;
    flushOutput();
    std::cerr << "Error: " << toText(thrown.value) << "\n";
}

void reportSystemFailure(const std::exception& failure) {
    const OutputFailureDeferred deferred;
    flushOutput();
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
        std::cerr << "RuntimeError: out of memory\n";
    } else {
        std::cerr << "RuntimeError: internal error (" << failure.what() << ")\n";
    }
}

void reportUnknownFailure() {
    const OutputFailureDeferred deferred;
    flushOutput();
    std::cerr << "RuntimeError: internal error (unknown exception)\n";
}

void reportCurrentException(std::string_view source, std::string_view sourceName) {
    try {
        throw;
    } catch (const VelmorError& error) {
        reportError(error, source, sourceName);
    } catch (const ThrownValue& thrown) {
        reportThrownValue(thrown);
    } catch (const std::exception& failure) {
        reportSystemFailure(failure);
    } catch (...) {
        reportUnknownFailure();
    }
}

}  // namespace velmor
