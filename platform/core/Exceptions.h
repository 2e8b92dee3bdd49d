#pragma once
// Exception classes under the names the program catches them by.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message = std::string()) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

#define DRAVOLIN_EXCEPTION(Name, Base)                                                                            \
  class Name : public Base {                                                                                      \
  public:                                                                                                         \
    explicit Name(const std::string& message = std::string()) : Base(message) {}                                  \
  }

DRAVOLIN_EXCEPTION(EConvertError, Exception);
DRAVOLIN_EXCEPTION(EStreamError, Exception);
DRAVOLIN_EXCEPTION(EFOpenError, EStreamError);
DRAVOLIN_EXCEPTION(EFCreateError, EStreamError);
DRAVOLIN_EXCEPTION(EReadError, EStreamError);
DRAVOLIN_EXCEPTION(EWriteError, EStreamError);
DRAVOLIN_EXCEPTION(EResNotFound, Exception);
DRAVOLIN_EXCEPTION(EListError, Exception);
DRAVOLIN_EXCEPTION(EInvalidOperation, Exception);
DRAVOLIN_EXCEPTION(EIntError, Exception);
DRAVOLIN_EXCEPTION(EDivByZero, EIntError);
DRAVOLIN_EXCEPTION(EMathError, Exception);
DRAVOLIN_EXCEPTION(EZeroDivide, EMathError);
DRAVOLIN_EXCEPTION(EInvalidOp, EMathError);
DRAVOLIN_EXCEPTION(EOverflow, EMathError);

#undef DRAVOLIN_EXCEPTION
