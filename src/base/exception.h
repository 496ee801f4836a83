#pragma once

#include <stdexcept>
#include <string>

// Base of every error the storage and binding classes raise. The message is
// the text the user sees when a window handler shows it.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};
