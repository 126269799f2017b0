// The annotation stream a crash dump carries: the report and client ids and
// the crash keys, in the layout Crashpad-compatible collectors read
// ("CrashpadInfo", stream type 0x43500001). All numbers little-endian.
//
//   0  version (1)            36 dictionary size       52 n
//   4  report id (16)         40 dictionary location   56 n pairs of offsets
//   20 client id (16)         44 module list size (0)     (key, value)
//                             48 module list location (0)
//   then for each key and value: 32-bit length L, L bytes, one 0 byte.
//
// Offsets in a finished dump are absolute file offsets. The stream is built
// before the dump exists, so it is written with the dictionary location 52
// and string offsets counted from the first string; FixUpCrashpadInfoOffsets
// makes them absolute once the dump writer has placed the stream.
#ifndef CRASH_CRASHPAD_INFO_H_
#define CRASH_CRASHPAD_INFO_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/guid.h"
#include "crash/byte_sink.h"
#include "crash/crash_key_table.h"

namespace lite {

inline constexpr uint32_t kCrashpadInfoStreamType = 0x43500001;
inline constexpr uint32_t kCrashpadInfoVersion = 1;
// Bytes before the annotation dictionary.
inline constexpr uint32_t kCrashpadInfoHeaderSize = 52;

// The number of bytes WriteCrashpadInfoStream writes for |keys|.
size_t CrashpadInfoStreamSize(const CrashKeyList& keys);

// The stream as handed to the dump writer, appended to |out| without an
// allocation; false when |out| is full.
bool WriteCrashpadInfoStream(const Guid& report_id, const Guid& client_id,
                             const CrashKeyList& keys, ByteSink* out);

// The same stream as a string.
std::string BuildCrashpadInfoStream(const Guid& report_id, const Guid& client_id,
                                    const CrashAnnotations& annotations);

// Random access to a dump being finished: a file on Windows, bytes in
// memory for tests. Each call transfers all |size| bytes or fails.
class DumpBytes {
 public:
  virtual ~DumpBytes() = default;
  virtual bool ReadAt(uint64_t offset, void* data, size_t size) = 0;
  virtual bool WriteAt(uint64_t offset, const void* data, size_t size) = 0;
};

class MemoryDumpBytes : public DumpBytes {
 public:
  explicit MemoryDumpBytes(std::string* bytes) : bytes_(bytes) {}
  bool ReadAt(uint64_t offset, void* data, size_t size) override;
  bool WriteAt(uint64_t offset, const void* data, size_t size) override;

 private:
  std::string* bytes_;
};

enum class FixUpResult {
  kFixed,
  kNoStream,      // the dump has no annotation stream
  kNotRelative,   // the stream was not written by BuildCrashpadInfoStream
  kCountMismatch, // the dictionary does not hold |annotation_count| entries
  kIoError,       // a read or write fell short, or an offset leaves 32 bits
};

// Makes the offsets of the last annotation stream in the dump absolute.
// |annotation_count| is the number of annotations the stream was built with.
FixUpResult FixUpCrashpadInfoOffsets(DumpBytes& dump, uint32_t annotation_count);

// What a finished dump's annotation stream says.
struct CrashpadInfo {
  Guid report_id;
  Guid client_id;
  CrashAnnotations annotations;
};

// Reads the last annotation stream of a finished dump, following its
// absolute offsets; nothing when the dump holds none or any offset or
// length leaves the dump or its stream's rules.
std::optional<CrashpadInfo> ReadCrashpadInfo(std::string_view dump);

}  // namespace lite

#endif  // CRASH_CRASHPAD_INFO_H_
