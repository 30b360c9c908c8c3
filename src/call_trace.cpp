#include "call_trace.h"

namespace velmor {

namespace {

void appendFrame(std::string& out, const TraceFrame& frame, std::string_view sourceName) {
    out.append("\n  at ").append(frame.function).append(" (").append(sourceName);
    if (frame.line > 0) {
        out.append(":").append(std::to_string(frame.line));
        if (frame.column > 0) out.append(":").append(std::to_string(frame.column));
    }
    out += ")";
}

}  // namespace

std::string formatTrace(const CallTrace& trace, std::string_view sourceName) {
    const std::vector<TraceFrame>& frames = trace.frames();
    if (frames.empty()) return {};
    std::string out = "Traceback (innermost first):";
    const std::size_t count = frames.size();
    // Eliding a single frame would save nothing.
    if (count <= kTraceInnermostShown + kTraceOutermostShown + 1) {
        for (const TraceFrame& frame : frames) appendFrame(out, frame, sourceName);
        return out;
    }
    for (std::size_t i = 0; i < kTraceInnermostShown; ++i) appendFrame(out, frames[i], sourceName);
    const std::size_t omitted = count - kTraceInnermostShown - kTraceOutermostShown;
    out.append("\n  ... ").append(std::to_string(omitted)).append(" more frames ...");
    for (std::size_t i = count - kTraceOutermostShown; i < count; ++i) appendFrame(out, frames[i], sourceName);
    return out;
}

}  // namespace velmor
