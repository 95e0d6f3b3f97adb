#include "platform/OSError.h"

#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"

std::string SysErrorMessage(int ErrorCode) {
  // strerror_r (GNU form) may return a static string instead of filling the buffer.
  char buffer[256] = {};
  return strerror_r(ErrorCode, buffer, sizeof buffer);
}

int GetLastError() {
  return errno;
}

void RaiseLastOSError() {
  RaiseLastOSError(errno);
}

void RaiseLastOSError(int ErrorCode) {
  throw EOSError("System Error.  Code: " + std::to_string(ErrorCode) + ".\r\n" + SysErrorMessage(ErrorCode),
                 ErrorCode);
}
