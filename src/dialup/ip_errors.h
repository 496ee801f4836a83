#pragma once

#include "base/exception.h"

// Errors of the system bindings (RAS and IP Helper).
class EIpBaseException : public Exception {
 public:
  using Exception::Exception;
};

// A RAS entry point the loaded library does not have.
class EIpAccessException : public EIpBaseException {
 public:
  using EIpBaseException::EIpBaseException;
};
