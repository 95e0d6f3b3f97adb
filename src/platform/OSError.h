#pragma once
// Operating-system error codes (errno) as messages and exceptions.
#include <string>

// The system's message for an errno value ("No such file or directory").
std::string SysErrorMessage(int ErrorCode);
// The errno of the last failed system call.
int GetLastError();
// Raises EOSError "System Error.  Code: <n>.\r\n<message>" for the last failed call.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(int ErrorCode);
