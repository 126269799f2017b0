#ifndef LOGGING_SYSTEM_ERROR_WIN_H_
#define LOGGING_SYSTEM_ERROR_WIN_H_

#include <windows.h>

#include <string>

#include "logging/log_message.h"

namespace lite {

// "5, Access is denied.\r\n": the code, ", " and the English message from the
// system table, then wininet.dll's, then urlmon.dll's (when loaded); else
// "unknown error 0x5\n".
std::string SystemErrorText(DWORD error);

}  // namespace lite

// LOG with the last Windows error, taken before the streamed text is built.
#define PLOG(severity) TL_PLOG_IMPL(::lite::LOGSEV_##severity, __func__)
#define PLOG_FROM(severity, function) TL_PLOG_IMPL(::lite::LOGSEV_##severity, function)
#define TL_PLOG_IMPL(severity_value, function)                       \
  ::lite::SystemErrorLogMessage(severity_value, function, __LINE__,  \
                                ::lite::SystemErrorText(::GetLastError())) \
      .stream()

// The same with an explicit error code (a registry call's result, say).
#define PLOG_CODE(severity, code)                                          \
  ::lite::SystemErrorLogMessage(::lite::LOGSEV_##severity, __func__, __LINE__, \
                                ::lite::SystemErrorText(code))               \
      .stream()

#endif  // LOGGING_SYSTEM_ERROR_WIN_H_
