// Where report bytes go. The crash report is built inside a crashed process
// whose heap may be unusable, so its writers append to sinks over memory
// reserved in advance; a sink that is full fails the append and every one
// after it, and the writer gives up.
#ifndef CRASH_BYTE_SINK_H_
#define CRASH_BYTE_SINK_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lite {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // All of |bytes| or nothing; false once the sink is full.
  virtual bool Append(std::string_view bytes) = 0;
};

// Appends |value| as four little-endian bytes.
bool AppendU32(ByteSink* out, uint32_t value);

// A sink over a fixed buffer it does not own.
class FixedWriter : public ByteSink {
 public:
  FixedWriter(char* data, size_t capacity) : data_(data), capacity_(capacity) {}

  bool Append(std::string_view bytes) override;

  const char* data() const { return data_; }
  size_t size() const { return size_; }
  std::string_view view() const { return std::string_view(data_, size_); }
  // False once an append did not fit.
  bool ok() const { return !overflowed_; }

  // The unused rest of the buffer, for producers that write in place
  // (zlib); Commit counts |bytes| of it as written.
  char* free_space() { return data_ + size_; }
  size_t free_size() const { return capacity_ - size_; }
  void Commit(size_t bytes) { size_ += bytes <= free_size() ? bytes : free_size(); }
  void MarkOverflowed() { overflowed_ = true; }

 private:
  char* data_;
  size_t capacity_;
  size_t size_ = 0;
  bool overflowed_ = false;
};

// A sink that grows a string on the heap, for callers outside the crash
// path.
class StringByteSink : public ByteSink {
 public:
  explicit StringByteSink(std::string* out) : out_(out) {}
  bool Append(std::string_view bytes) override {
    out_->append(bytes);
    return true;
  }

 private:
  std::string* out_;
};

}  // namespace lite

#endif  // CRASH_BYTE_SINK_H_
