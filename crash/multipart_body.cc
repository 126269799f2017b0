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

std::string EncodeMultipartName(std::string_view name) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (char c : name) {
    if (c == '\r' || c == '\n' || c == '"' || c == '%') {
      out.push_back('%');
      out.push_back(kHex[(static_cast<unsigned char>(c) >> 4) & 0xF]);
      out.push_back(kHex[c & 0xF]);
    } else {
      out.push_back(c);
    }
  }
  return out;
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
  const auto open_part = [&](const std::string& name) {
    body += "--" + boundary_ + kCrlf;
    body += "Content-Disposition: form-data; name=\"" + EncodeMultipartName(name) + "\"";
  };
  for (const auto& [name, value] : fields_) {
    open_part(name);
    body += std::string(kCrlf) + kCrlf + value + kCrlf;
  }
  for (const auto& [name, part] : files_) {
    open_part(name);
    body += "; filename=\"" + EncodeMultipartName(part.file_name) + "\"" + kCrlf;
    body += "Content-Type: " + part.content_type + kCrlf + kCrlf;
    body += part.content;
    body += kCrlf;
  }
  body += "--" + boundary_ + "--" + kCrlf;
  return body;
}

}  // namespace lite
