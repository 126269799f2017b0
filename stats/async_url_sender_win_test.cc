#include "stats/async_url_sender_win.h"

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "logging/logger.h"
#include "stats/install_statistics_win.h"
#include "stats/stats_test_support_win.h"

namespace lite {
namespace {

using testing::RoutedUrlSender;
using testing::WaitForTargets;

class AsyncUrlSenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(records_.MakeLogger());
    ASSERT_TRUE(cdn_.Start());
  }
  void TearDown() override { SetGlobalLogger(nullptr); }
  std::u16string Url(const std::string& path) { return WidenBytes(cdn_.Url(path)); }

  testing::ThreadSafeRecords records_;
  testing::TestCdn cdn_;
};

// A sender whose every request first takes |delay_ms| on the request thread,
// and which counts requests in flight at once.
class SlowSender : public AsyncUrlSender {
 public:
  explicit SlowSender(DWORD delay_ms) : delay_ms_(delay_ms) {}
  ~SlowSender() override { StopThread(); }
  void SendUrl(const std::u16string& url) override {
    if (++in_flight_ > 1) overlapped_ = true;
    started_++;
    Sleep(delay_ms_);
    AsyncUrlSender::SendUrl(url);
    --in_flight_;
  }
  int started() const { return started_; }
  bool overlapped() const { return overlapped_; }

 private:
  const DWORD delay_ms_;
  std::atomic<int> in_flight_{0};
  std::atomic<int> started_{0};
  std::atomic<bool> overlapped_{false};
};

TEST_F(AsyncUrlSenderTest, SendsOneAtATimeInQueueOrderAndDropsTheRestOnDestruction) {
  {
    SlowSender sender(100);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(sender.Send(Url("/q/" + std::to_string(i))));
    const std::vector<std::string> targets = WaitForTargets(cdn_, "/q/", 5);
    EXPECT_EQ(targets, (std::vector<std::string>{"/q/0", "/q/1", "/q/2", "/q/3", "/q/4"}));
    EXPECT_FALSE(sender.overlapped());
  }
  ASSERT_TRUE(cdn_.Clear());
  {
    SlowSender sender(400);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(sender.Send(Url("/d/" + std::to_string(i))));
    while (sender.started() == 0) Sleep(10);
    // The first request is under way; destruction lets it finish only.
  }
  EXPECT_EQ(WaitForTargets(cdn_, "/d/", 2, 1500), std::vector<std::string>{"/d/0"});
}

TEST_F(AsyncUrlSenderTest, UnansweredRequestsAreAbandonedOnceSent) {
  ASSERT_TRUE(cdn_.SetRule("/hang*", R"({"hang": true})"));
  AsyncUrlSender sender;
  const ULONGLONG start = GetTickCount64();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(sender.Send(Url("/hang/" + std::to_string(i))));
  EXPECT_EQ(WaitForTargets(cdn_, "/hang/", 3).size(), 3u);
  // Three requests the server never answers, within one connect time-out.
  EXPECT_LT(GetTickCount64() - start, 2000u);
  EXPECT_EQ(records_.Count("Failed to open ", "SendUrl"), 0u);
}

TEST_F(AsyncUrlSenderTest, FailuresAreLoggedOneByOne) {
  // A port nobody listens on: each request fails at once.
  AsyncUrlSender sender;
  ASSERT_TRUE(sender.Send(u"http://127.0.0.1:1/a"));
  ASSERT_TRUE(sender.Send(u"http://127.0.0.1:1/b"));
  const ULONGLONG start = GetTickCount64();
  while (records_.Count("Failed to open ", "SendUrl") < 2 && GetTickCount64() < start + 10000) {
    Sleep(20);
  }
  std::printf("two refused requests were logged after %llu ms\n", GetTickCount64() - start);
  EXPECT_EQ(records_.Count("Failed to open http://127.0.0.1:1/a - 12029, ", "SendUrl"), 1u);
  EXPECT_EQ(records_.Count("Failed to open http://127.0.0.1:1/b - 12029, ", "SendUrl"), 1u);
}

// The statistics host accepts the connection and never answers: the
// request under way when destruction begins is abandoned once sent, and the
// rest of the queue is dropped.
TEST_F(AsyncUrlSenderTest, UnansweringHostDoesNotHoldUpDestruction) {
  ASSERT_TRUE(cdn_.SetRule("/installstats/*", R"({"hang": true})"));
  WaitableEvent request_started(WaitableEvent::Reset::kManual);
  ULONGLONG destroy_started = 0;
  ULONGLONG destroyed_at = 0;
  {
    auto statistics = std::make_unique<InstallStatistics>(
        kInstallerKindLite, u"",
        std::make_unique<RoutedUrlSender>(cdn_.Url(""), [&] { request_started.Signal(); }));
    for (int i = 0; i < 20; ++i) {
      ASSERT_TRUE(statistics->Send({{"action", u"event"}, {"n", WidenBytes(std::to_string(i))}}));
    }
    ASSERT_TRUE(request_started.Wait(5000));
    destroy_started = GetTickCount64();
    statistics.reset();
    destroyed_at = GetTickCount64();
  }
  const ULONGLONG took = destroyed_at - destroy_started;
  std::printf("destroying the statistics with 20 events queued took %llu ms\n", took);
  EXPECT_LE(took, 2500u);
  const std::vector<std::string> sent = WaitForTargets(cdn_, "/installstats/", 2, 1000);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find(",-n=0,"), std::string::npos) << sent[0];
  EXPECT_EQ(records_.Count("Failed to open ", "SendUrl"), 0u);
}

// A loopback port whose listener accepts nothing and whose backlog is full:
// connection attempts go unanswered, as with a host that drops them.
class BlackHole {
 public:
  BlackHole() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 0) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    for (SOCKET& filler : fillers_) {
      filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      u_long non_blocking = 1;
      ioctlsocket(filler, FIONBIO, &non_blocking);
      connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    }
    Sleep(300);
  }
  ~BlackHole() {
    for (SOCKET filler : fillers_) closesocket(filler);
    closesocket(listener_);
    if (started_) WSACleanup();
  }
  int port() const { return port_; }

 private:
  bool started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  SOCKET fillers_[3] = {INVALID_SOCKET, INVALID_SOCKET, INVALID_SOCKET};
  int port_ = 0;
};

// Wine ignores the connect time-out: without the destroying thread closing
// the request, its destruction would wait for the system to give up on the
// connection (minutes).
TEST_F(AsyncUrlSenderTest, RequestToAHostThatDropsConnectionsIsClosedAfterItsTimeOut) {
  BlackHole hole;
  ASSERT_NE(hole.port(), 0);
  WaitableEvent request_started(WaitableEvent::Reset::kManual);
  ULONGLONG sent_at = 0;
  ULONGLONG destroyed_at = 0;
  {
    auto statistics = std::make_unique<InstallStatistics>(
        kInstallerKindLite, u"",
        std::make_unique<RoutedUrlSender>("http://127.0.0.1:" + std::to_string(hole.port()),
                                          [&] { request_started.Signal(); }));
    ASSERT_TRUE(statistics->Send({{"action", u"event"}}));
    ASSERT_TRUE(statistics->Send({{"action", u"queued"}}));
    ASSERT_TRUE(request_started.Wait(5000));
    sent_at = GetTickCount64();
    statistics.reset();
    destroyed_at = GetTickCount64();
  }
  const ULONGLONG took = destroyed_at - sent_at;
  std::printf("destroyed %llu ms after the request to the black hole began\n", took);
  // The time-out plus the closed request's grace and some slack for Wine.
  EXPECT_LT(took, 2000u + 200u + 800u);
  EXPECT_EQ(records_.Count("Closing a statistics request still open after ", "CloseOverdueRequest") +
                records_.Count("Failed to open ", "SendUrl"),
            1u);
}

}  // namespace
}  // namespace lite
