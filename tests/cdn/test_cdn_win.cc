#include "tests/cdn/test_cdn_win.h"

#include "base/json/json_reader.h"
#include "base/json/json_writer.h"
#include "base/utf.h"

namespace lite {
namespace testing {
namespace {

constexpr uint64_t kGeneratedBlockSize = 65521;

}  // namespace

bool TestCdn::Start(const FilePath& root) {
  std::u16string arguments;
  if (!root.empty()) {
    std::optional<std::string> unix_root = UnixPathOf(root);
    if (!unix_root) return false;
    arguments += u" --root " + QuotedWord(*unix_root);
  }
  if (!only_from_.empty()) arguments += u" --only-from " + QuotedWord(only_from_);
  return StartScript(TL_TEST_CDN_SCRIPT, arguments);
}

std::string TestCdn::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port()) + path;
}

bool TestCdn::ServeProxyScript(const std::string& path, const std::string& script) {
  Value::Dict headers;
  headers["Content-Type"] = Value("application/x-ns-proxy-autoconfig");
  Value::Dict rule;
  rule["headers"] = Value(std::move(headers));
  rule["body"] = Value(script);
  return SetRule(path, WriteJson(Value(std::move(rule))));
}

int TestCdn::MostRequestsAnsweredAtOnce() {
  const std::optional<std::string> body = Control("answering", std::string(), nullptr);
  const std::optional<Value> value = body ? ReadJson(*body, nullptr) : std::nullopt;
  const Value* most = value ? value->FindPath("most") : nullptr;
  const int* count = most ? most->GetIfInt() : nullptr;
  return count ? *count : -1;
}

std::optional<std::string> RequestHeader(const Value& request, const std::string& name) {
  const Value* headers = request.FindPath("headers");
  if (!headers || !headers->GetIfDict()) return std::nullopt;
  for (const auto& [key, value] : *headers->GetIfDict()) {
    if (ToLowerASCII(key) == ToLowerASCII(name) && value.GetIfString()) return *value.GetIfString();
  }
  return std::nullopt;
}

std::string GeneratedContent(uint64_t start, uint64_t length) {
  std::string out;
  out.reserve(length);
  for (uint64_t i = start; i < start + length; ++i) {
    const uint64_t k = i % kGeneratedBlockSize;
    out.push_back(static_cast<char>((k * 7 + k / 251) & 0xFF));
  }
  return out;
}

}  // namespace testing
}  // namespace lite
