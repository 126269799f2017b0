#include "crash/multipart_body.h"

#include <utility>

namespace lite {
namespace {

constexpr char kBoundaryAlphabet[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr size_t kBoundaryRandomLength = 32;
constexpr char kCrlf[] = "\r\n";

bool IsContentTypeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '.' || c == '/' || c == '+' || c == '-' || c == '_';
}

}  // namespace

std::string MakeMultipartBoundary(const RandomBelow& random_below) {
  constexpr uint32_t kAlphabetSize = sizeof(kBoundaryAlphabet) - 1;
  std::string boundary = "---MultipartBoundary-";
  for (size_t i = 0; i < kBoundaryRandomLength; ++i) {
    boundary.push_back(kBoundaryAlphabet[random_below(kAlphabetSize) % kAlphabetSize]);
  }
  boundary += "---";
  return boundary;
}

bool WriteMultipartName(std::string_view name, ByteSink* out) {
  static constexpr char kHex[] = "0123456789abcdef";
  size_t plain = 0;  // bytes since the last escape, appended as one piece
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c != '\r' && c != '\n' && c != '"' && c != '%') continue;
    const char escape[3] = {'%', kHex[(static_cast<unsigned char>(c) >> 4) & 0xF], kHex[c & 0xF]};
    if (!out->Append(name.substr(plain, i - plain)) ||
        !out->Append(std::string_view(escape, sizeof(escape)))) {
      return false;
    }
    plain = i + 1;
  }
  return out->Append(name.substr(plain));
}

std::string EncodeMultipartName(std::string_view name) {
  std::string out;
  StringByteSink sink(&out);
  WriteMultipartName(name, &sink);
  return out;
}

namespace {

bool OpenPart(std::string_view boundary, std::string_view name, ByteSink* out) {
  return out->Append("--") && out->Append(boundary) && out->Append(kCrlf) &&
         out->Append("Content-Disposition: form-data; name=\"") &&
         WriteMultipartName(name, out) && out->Append("\"");
}

}  // namespace

bool WriteMultipartField(std::string_view boundary, std::string_view name,
                         std::string_view value, ByteSink* out) {
  return OpenPart(boundary, name, out) && out->Append(kCrlf) && out->Append(kCrlf) &&
         out->Append(value) && out->Append(kCrlf);
}

bool WriteMultipartFileHead(std::string_view boundary, std::string_view name,
                            std::string_view file_name, std::string_view content_type,
                            ByteSink* out) {
  return OpenPart(boundary, name, out) && out->Append("; filename=\"") &&
         WriteMultipartName(file_name, out) && out->Append("\"") && out->Append(kCrlf) &&
         out->Append("Content-Type: ") && out->Append(content_type) && out->Append(kCrlf) &&
         out->Append(kCrlf);
}

bool WriteMultipartFileEnd(ByteSink* out) { return out->Append(kCrlf); }

bool WriteMultipartClose(std::string_view boundary, ByteSink* out) {
  return out->Append("--") && out->Append(boundary) && out->Append("--") && out->Append(kCrlf);
}

void MultipartBody::SetField(const std::string& name, const std::string& value) {
  fields_[name] = value;
}

bool MultipartBody::SetFile(const std::string& name, const std::string& file_name,
                            const std::string& content_type, std::string content) {
  for (char c : content_type) {
    if (!IsContentTypeChar(c)) return false;
  }
  files_[name] = FilePart{file_name,
                          content_type.empty() ? "application/octet-stream" : content_type,
                          std::move(content)};
  return true;
}

std::string MultipartBody::ContentType() const {
  return "multipart/form-data; boundary=" + boundary_;
}

std::string MultipartBody::Render() const {
  std::string body;
  StringByteSink sink(&body);
  for (const auto& [name, value] : fields_) WriteMultipartField(boundary_, name, value, &sink);
  for (const auto& [name, part] : files_) {
    WriteMultipartFileHead(boundary_, name, part.file_name, part.content_type, &sink);
    sink.Append(part.content);
    WriteMultipartFileEnd(&sink);
  }
  WriteMultipartClose(boundary_, &sink);
  return body;
}

}  // namespace lite
