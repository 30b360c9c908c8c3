#pragma once

// One line of text from a stream, for `input` and the plain prompt.

#include <istream>
#include <string>

namespace velmor {

// Reads up to and excluding the next newline into `line`. False when nothing
// could be read: input is exhausted or the stream has failed. Running out of
// memory for the line is not an end of input: std::bad_alloc propagates
// (std::getline alone would swallow it into the stream's failure state and
// every later line would be lost).
bool readLine(std::istream& in, std::string& line);

}  // namespace velmor
