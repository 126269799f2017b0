// Reads arbitrary bytes as a dump: the reader and the offset fix-up must
// stay inside them, and a fixed-up stream must read back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "crash/crashpad_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string dump(reinterpret_cast<const char*>(data), size);
  lite::ReadCrashpadInfo(dump);
  uint32_t count = 0;
  if (size >= 4) count = (data[0] | (data[1] << 8)) & 0x3FF;
  lite::MemoryDumpBytes bytes(&dump);
  lite::FixUpCrashpadInfoOffsets(bytes, count);
  lite::ReadCrashpadInfo(dump);
  return 0;
}
