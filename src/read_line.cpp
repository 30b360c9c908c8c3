#include "read_line.h"

namespace velmor {

bool readLine(std::istream& in, std::string& line) {
    // With badbit among the stream's exceptions, std::getline rethrows what
    // the string or the stream buffer threw (std::bad_alloc above all)
    // instead of only setting badbit. The prompt's program input already
    // runs that way; elsewhere the mask is widened for the one read.
    const std::ios::iostate saved = in.exceptions();
    if (saved & std::ios::badbit) return static_cast<bool>(std::getline(in, line));
    if (in.bad()) return false;
    in.exceptions(saved | std::ios::badbit);
    try {
        const bool read = static_cast<bool>(std::getline(in, line));
        in.exceptions(saved);
        return read;
    } catch (const std::ios_base::failure&) {
        in.exceptions(saved);  // the stream buffer's own report of a failed read
        return false;
    } catch (...) {
        in.exceptions(saved);
        throw;
    }
}

}  // namespace velmor
