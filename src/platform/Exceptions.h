#pragma once
// The exception classes of the runtime. Every message is single-byte (Windows-1252) text.
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
  explicit Exception(std::string Msg) : FMessage(std::move(Msg)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(const std::string& Msg) { FMessage = Msg; }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

// The silent abort: code that shows errors never shows this one.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
  explicit EAbort(std::string Msg) : Exception(std::move(Msg)) {}
};

// Raises EAbort.
[[noreturn]] void Abort();

class EConvertError : public Exception {
  using Exception::Exception;
};
class EListError : public Exception {
  using Exception::Exception;
};
// Raised by TStringList for duplicates and operations not allowed on a sorted list.
class EStringListError : public EListError {
  using EListError::EListError;
};
class EOutOfMemory : public Exception {
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
class EInvalidGraphic : public Exception {
  using Exception::Exception;
};
class EStreamError : public Exception {
  using Exception::Exception;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
// An operating-system call failed; ErrorCode is the errno value.
class EOSError : public Exception {
public:
  EOSError(std::string Msg, int Code) : Exception(std::move(Msg)), ErrorCode(Code) {}
  int ErrorCode = 0;
};
