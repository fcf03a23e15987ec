#pragma once

// What stops a command before it changes anything: a wrong command line, a
// file that cannot be read or written, a file that is not what it should be.
// The message names the file and, where there is one, the line.

#include <stdexcept>
#include <string>

namespace vt::dict {

class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `text` in double quotes, with quotes, backslashes and control characters
// escaped, so that a report stays on one line and shows every blank.
std::string Quoted(std::string_view text);

}  // namespace vt::dict
