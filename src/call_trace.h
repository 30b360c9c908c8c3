#pragma once

// A call trace: the calls that an uncaught error unwound, innermost first.
// Nothing is recorded unless an engine is given a trace to fill, and then
// only while an error unwinds: an engine adds the frames it leaves, and
// forgets them all when a handler catches the error.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmor {

// What names the program's own top level in a trace.
inline constexpr const char* kTopLevelFrameName = "<main>";

struct TraceFrame {
    std::string function;  // a function's name, a builtin's, or kTopLevelFrameName
    int32_t line = 0;      // the line the frame was running; 0 when unknown
    int32_t column = 0;    // 0 when not known (the VM keeps lines only)
};

class CallTrace {
public:
    void add(std::string_view function, int32_t line, int32_t column) {
        frames_.push_back(TraceFrame{std::string(function), line, column});
    }
    // The error was caught: nothing that it unwound is a trace.
    void clear() {
        frames_.clear();
        callerPosition_ = Position{};
    }
    bool empty() const { return frames_.empty(); }
    const std::vector<TraceFrame>& frames() const { return frames_; }

    // The tree-walker learns where a frame was from the call that failed in
    // it: the position of that call, kept until the frame itself is left.
    struct Position {
        int32_t line = 0;
        int32_t column = 0;
        bool known = false;
    };
    void setCallerPosition(int32_t line, int32_t column) { callerPosition_ = Position{line, column, true}; }
    Position takeCallerPosition() { return std::exchange(callerPosition_, Position{}); }

private:
    std::vector<TraceFrame> frames_;
    Position callerPosition_;
};

// How many frames a long trace shows at each end.
inline constexpr std::size_t kTraceInnermostShown = 20;
inline constexpr std::size_t kTraceOutermostShown = 5;

// The printed trace: a header line, then one line per frame, "  at NAME
// (SOURCE:LINE[:COLUMN])"; a long trace keeps its innermost and outermost
// frames and counts the rest. No final line feed. Empty for an empty trace.
std::string formatTrace(const CallTrace& trace, std::string_view sourceName);

}  // namespace velmor
