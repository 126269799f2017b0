// Helpers for the statistics tests: a URL sender routed to the test CDN and
// a way to wait for what the CDN recorded.
#ifndef STATS_STATS_TEST_SUPPORT_WIN_H_
#define STATS_STATS_TEST_SUPPORT_WIN_H_

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/endpoints.h"
#include "base/json/json_value.h"
#include "base/utf.h"
#include "logging/logger.h"
#include "stats/async_url_sender_win.h"
#include "tests/cdn/test_cdn_win.h"

namespace lite {
namespace testing {

// Sends requests for the compiled-in hosts to |base| instead, keeping path
// and query, as the end-to-end build does; |before_send| runs on the request
// thread ahead of every request.
class RoutedUrlSender : public AsyncUrlSender {
 public:
  explicit RoutedUrlSender(std::string base, std::function<void()> before_send = nullptr)
      : base_(std::move(base)), before_send_(std::move(before_send)) {}
  ~RoutedUrlSender() override { StopThread(); }

  void SendUrl(const std::u16string& url) override {
    if (before_send_) before_send_();
    AsyncUrlSender::SendUrl(
        WidenBytes(endpoints::RewriteCompiledInHost(NarrowLowBytes(url), base_)));
  }

 private:
  const std::string base_;
  const std::function<void()> before_send_;
};

// The raw request targets the CDN recorded under |prefix|, once there are at
// least |count| of them or |timeout_ms| has passed.
inline std::vector<std::string> WaitForTargets(TestCdn& cdn, const std::string& prefix,
                                               size_t count, DWORD timeout_ms = 10000) {
  std::vector<std::string> targets;
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  do {
    targets.clear();
    if (std::optional<Value> records = cdn.Requests(prefix); records && records->is_list()) {
      for (const Value& record : *records->GetIfList()) {
        const Value* target = record.FindPath("target");
        targets.push_back(target && target->is_string() ? *target->GetIfString() : "");
      }
    }
    if (targets.size() >= count) break;
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return targets;
}

// Log records gathered from every thread; read them through Snapshot while
// the request thread may still be logging.
class ThreadSafeRecords {
 public:
  class Recorder : public Logger {
   public:
    explicit Recorder(ThreadSafeRecords* owner) : owner_(owner) {}
    void Emit(const LogRecord& record) override {
      std::lock_guard<std::mutex> hold(owner_->lock_);
      owner_->records_.push_back(record);
    }

   private:
    ThreadSafeRecords* owner_;
  };

  std::unique_ptr<Logger> MakeLogger() { return std::make_unique<Recorder>(this); }
  std::vector<LogRecord> Snapshot() {
    std::lock_guard<std::mutex> hold(lock_);
    return records_;
  }
  // Records from |function| that start with |prefix|.
  size_t Count(const std::string& prefix, const std::string& function) {
    size_t count = 0;
    for (const LogRecord& r : Snapshot()) {
      if (r.function == function && r.message.rfind(prefix, 0) == 0) ++count;
    }
    return count;
  }

 private:
  std::mutex lock_;
  std::vector<LogRecord> records_;
};

inline constexpr char kStatsPath[] = "/installstats/send/";

}  // namespace testing
}  // namespace lite

#endif  // STATS_STATS_TEST_SUPPORT_WIN_H_
