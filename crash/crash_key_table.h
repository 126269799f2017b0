// The crash keys in fixed storage. The table is made when crash capture
// starts, in memory reserved then, and read by the report of a crash
// without a single allocation: a crash after the heap was corrupted or
// exhausted still reports its keys.
//
// One thread writes (the main thread sets keys), any thread may read: a
// new key is written whole before the count that publishes it, so a reader
// sees each key either complete or not at all. A value replaced while a
// crash on another thread reads it may be read half old, half new, never
// beyond its slot.
#ifndef CRASH_CRASH_KEY_TABLE_H_
#define CRASH_CRASH_KEY_TABLE_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace lite {

// Crash keys, kept in the byte order of their names.
using CrashAnnotations = std::map<std::string, std::string>;

inline constexpr size_t kMaxCrashKeys = 64;
inline constexpr size_t kMaxCrashKeyNameLength = 255;
inline constexpr size_t kMaxCrashKeyValueLength = 1023;

struct CrashKey {
  std::string_view name;
  std::string_view value;
};

// Keys in the byte order of their names, viewing storage owned elsewhere.
class CrashKeyList {
 public:
  CrashKeyList() = default;
  // Views the entries of |annotations| (the first kMaxCrashKeys of them).
  explicit CrashKeyList(const CrashAnnotations& annotations);

  const CrashKey* begin() const { return keys_; }
  const CrashKey* end() const { return keys_ + size_; }
  size_t size() const { return size_; }
  // The value of |name|, or null.
  const std::string_view* Find(std::string_view name) const;

  // Keeps the list sorted; false when it is full.
  bool Insert(const CrashKey& key);

 private:
  CrashKey keys_[kMaxCrashKeys];
  size_t size_ = 0;
};

class CrashKeyTable {
 public:
  enum class SetResult {
    kStored,
    kValueCut,     // stored, cut to kMaxCrashKeyValueLength bytes
    kNameTooLong,  // not stored
    kFull,         // not stored: kMaxCrashKeys other keys are set
  };

  // Stores |value| under |name|, replacing an earlier value.
  SetResult Set(std::string_view name, std::string_view value);

  CrashKeyList Sorted() const;
  CrashAnnotations ToAnnotations() const;

 private:
  struct Slot {
    std::atomic<uint32_t> value_length{0};
    uint32_t name_length = 0;
    char name[kMaxCrashKeyNameLength];
    char value[kMaxCrashKeyValueLength];
  };

  std::atomic<uint32_t> count_{0};
  Slot slots_[kMaxCrashKeys];
};

}  // namespace lite

#endif  // CRASH_CRASH_KEY_TABLE_H_
