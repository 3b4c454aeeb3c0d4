#pragma once
// The program's error base and the list errors, shared by the core and the window framework.
// Each error carries the exact message the error box shows (the box adds the final full stop).
#include <exception>
#include <string>

namespace setupcore {

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }

private:
  std::string message_;
};

class EListError : public Exception {
  using Exception::Exception;
};

// The list errors' texts; the framework's numbered table refers to these, so each is written once.
extern const char kListIndexError[];   // "List index out of bounds"
extern const char kInsertLineError[];  // "Unable to insert a line"

}  // namespace setupcore
