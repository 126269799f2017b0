#include "net/file_sink_win.h"

namespace lite {

bool FileSink::Write(const char* data, uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(file_, data, count, &written, nullptr) || written != count) return false;
  bytes_written_ += count;
  return true;
}

bool FileSink::Reset() {
  bytes_written_ = 0;
  SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
  return SetEndOfFile(file_) != FALSE;
}

}  // namespace lite
