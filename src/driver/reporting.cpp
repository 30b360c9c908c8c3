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

std::string cannotOpenReport(std::string_view path) { return "velmor: cannot open " + std::string(path); }

std::string thrownValueReport(const ThrownValue& thrown) { return "Error: " + toText(thrown.value); }

std::string systemFailureReport(const std::exception& failure) {
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) return "RuntimeError: out of memory";
    return "RuntimeError: internal error (" + std::string(failure.what()) + ")";
}

std::string unknownFailureReport() { return "RuntimeError: internal error (unknown exception)"; }

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

void reportCannotOpen(std::string_view path) { reportText(cannotOpenReport(path)); }

void reportThrownValue(const ThrownValue& thrown) { reportText(thrownValueReport(thrown)); }

void reportSystemFailure(const std::exception& failure) { reportText(systemFailureReport(failure)); }

void reportUnknownFailure() { reportText(unknownFailureReport()); }

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
