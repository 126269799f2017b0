#ifndef NET_STRING_SINK_H_
#define NET_STRING_SINK_H_

#include <cstdint>
#include <string>

#include "net/download_sink.h"

namespace lite {

// No document, picture or report the installer keeps in memory comes near
// this; a server that sends more is refused rather than fed from memory.
inline constexpr uint32_t kMaxInMemoryDownloadBytes = 16 * 1024 * 1024;

// Keeps the body in memory (documents, seeds, pictures).
class StringSink : public DownloadSink {
 public:
  // Refuses the whole block, and sets full(), when it would take the body
  // past kMaxInMemoryDownloadBytes.
  bool Write(const char* data, uint32_t count) override;
  bool Reset() override;

  const std::string& data() const { return data_; }
  // Hands the body over; the sink is left empty.
  std::string TakeString();

 private:
  std::string data_;
};

}  // namespace lite

#endif  // NET_STRING_SINK_H_
