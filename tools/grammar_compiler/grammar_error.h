// Errors of the grammar compiler. Every error names the grammar file line it
// comes from, so that the build prints it as "file:line: message".
#pragma once

#include <stdexcept>
#include <string>

namespace tessel::grammar {

class GrammarError : public std::runtime_error {
  public:
    GrammarError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

}  // namespace tessel::grammar
