// The body of a crash upload: multipart/form-data with the crash keys as
// form fields and the dump as a file part, as Crashpad-compatible collectors
// read it.
#ifndef CRASH_MULTIPART_BODY_H_
#define CRASH_MULTIPART_BODY_H_

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "crash/byte_sink.h"

namespace lite {

// A uniformly drawn integer in [0, |bound|) from a cryptographic source.
using RandomBelow = std::function<uint32_t(uint32_t bound)>;

// "---MultipartBoundary-", 32 letters and digits, "---": 56 characters.
std::string MakeMultipartBoundary(const RandomBelow& random_below);

// CR, LF, '"' and '%' as "%" and two lower-case hexadecimal digits, so that
// a name cannot end its quoted header value.
std::string EncodeMultipartName(std::string_view name);

// The pieces of a body, appended to a sink without an allocation; each
// false when the sink is full. A body is its fields, then for each file
// its head, its content and WriteMultipartFileEnd, then the close.
bool WriteMultipartName(std::string_view name, ByteSink* out);
bool WriteMultipartField(std::string_view boundary, std::string_view name,
                         std::string_view value, ByteSink* out);
bool WriteMultipartFileHead(std::string_view boundary, std::string_view name,
                            std::string_view file_name, std::string_view content_type,
                            ByteSink* out);
bool WriteMultipartFileEnd(ByteSink* out);
bool WriteMultipartClose(std::string_view boundary, ByteSink* out);

class MultipartBody {
 public:
  explicit MultipartBody(std::string boundary) : boundary_(std::move(boundary)) {}

  // A later field or file part of the same name replaces the earlier one.
  void SetField(const std::string& name, const std::string& value);
  // |content_type| may hold only letters, digits and . / + - _ (false, and
  // nothing added, otherwise); empty means "application/octet-stream".
  bool SetFile(const std::string& name, const std::string& file_name,
               const std::string& content_type, std::string content);

  // "multipart/form-data; boundary=" + the boundary.
  std::string ContentType() const;
  // The fields in name order, then the file parts in name order, then the
  // closing boundary.
  std::string Render() const;

 private:
  struct FilePart {
    std::string file_name;
    std::string content_type;
    std::string content;
  };

  std::string boundary_;
  std::map<std::string, std::string> fields_;
  std::map<std::string, FilePart> files_;
};

}  // namespace lite

#endif  // CRASH_MULTIPART_BODY_H_
