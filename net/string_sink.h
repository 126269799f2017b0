#ifndef NET_STRING_SINK_H_
#define NET_STRING_SINK_H_

#include <string>

#include "net/download_sink.h"

namespace lite {

// Keeps the body in memory (documents, seeds, pictures).
class StringSink : public DownloadSink {
 public:
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
