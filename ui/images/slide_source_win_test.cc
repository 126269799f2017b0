#include "ui/images/slide_source_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/base64.h"
#include "base/file_util_win.h"
#include "logging/logger.h"
#include "tests/cdn/test_cdn_win.h"
#include "ui/images/gdiplus_win.h"
#include "ui/images/slide_picture_check.h"
#include "ui/images/slideshow_win.h"

namespace lite {
namespace {

// PNG pictures 20 x 10 and 40 x 10: the slides are told apart by width.
const char kSlide20[] =
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x14\x00\x00"
    "\x00\x0a\x08\x02\x00\x00\x00\x3b\x37\xe9\xb1\x00\x00\x00\x15\x49\x44\x41\x54\x78\xda\x63"
    "\x38\x21\x27\x47\x36\x62\x18\xd5\x3c\xaa\x99\x10\x02\x00\x96\x80\xcb\x21\x22\xe9\xc7\xa6"
    "\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";
const char kSlide40[] =
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x28\x00\x00"
    "\x00\x0a\x08\x02\x00\x00\x00\x49\xf8\x8b\x07\x00\x00\x00\x1a\x49\x44\x41\x54\x78\xda\x63"
    "\x38\x21\x27\x37\x20\x88\x61\xd4\xe2\x51\x8b\x47\x2d\x1e\xb5\x98\x5c\x04\x00\x5b\xe9\x96"
    "\x50\x46\xdc\xeb\x1e\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";

// The download thread and its transfer thread log at the same time.
class LockedRecordingLogger : public Logger {
 public:
  void Emit(const LogRecord& record) override {
    std::lock_guard<std::mutex> hold(lock_);
    messages_.push_back(record.message);
  }
  bool Logged(const std::string& start) { return Count(start) != 0; }
  size_t Count(const std::string& start) {
    std::lock_guard<std::mutex> hold(lock_);
    size_t count = 0;
    for (const std::string& m : messages_) count += m.rfind(start, 0) == 0 ? 1 : 0;
    return count;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> messages_;
};

// Short pauses between tries, so that ten failures take well under a second.
constexpr SlideRetryPacing kQuickPacing = {10, 20};

class SlideSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto logger = std::make_shared<LockedRecordingLogger>();
    logger_ = logger.get();
    SetGlobalLogger(std::make_unique<ForwardingLogger>(logger));
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    std::optional<FilePath> root = CreateUniqueTempDir(u"slides");
    ASSERT_TRUE(root);
    root_ = *root;
    const FilePath dir = root_.Append(u"s").Append(u"x2");
    ASSERT_TRUE(CreateDirectoryWithParents(dir));
    ASSERT_TRUE(WriteWholeFile(dir.Append(u"02.jpg"), std::string(kSlide20, sizeof(kSlide20) - 1)));
    ASSERT_TRUE(WriteWholeFile(dir.Append(u"03.jpg"), std::string(kSlide40, sizeof(kSlide40) - 1)));
    ASSERT_TRUE(cdn_.Start(root_));
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    cdn_.Stop();
    DeletePathRecursively(root_);
    Gdiplus::GdiplusShutdown(token_);
  }

  // A start picture 8 x 6.
  static ResourceBitmap StartPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 6);
    ReleaseDC(nullptr, screen);
    ResourceBitmap picture = ResourceBitmap::FromHBITMAP(bitmap);
    DeleteObject(bitmap);
    return picture;
  }

  // Waits until the downloads have ended by themselves.
  static bool WaitForEnd(SlideSource& source) {
    for (int i = 0; i < 300 && source.is_downloading(); ++i) Sleep(50);
    return !source.is_downloading();
  }

  size_t RequestCount(const std::string& path) {
    std::optional<Value> requests = cdn_.Requests(path);
    const Value::List* list = requests ? requests->GetIfList() : nullptr;
    return list ? list->size() : 0;
  }

  // Hands the records to a logger the test keeps.
  class ForwardingLogger : public Logger {
   public:
    explicit ForwardingLogger(std::shared_ptr<LockedRecordingLogger> to) : to_(std::move(to)) {}
    void Emit(const LogRecord& record) override { to_->Emit(record); }

   private:
    std::shared_ptr<LockedRecordingLogger> to_;
  };

  LockedRecordingLogger* logger_ = nullptr;
  ULONG_PTR token_ = 0;
  FilePath root_;
  testing::TestCdn cdn_;
};

TEST_F(SlideSourceTest, DownloadsInOrderUntilTenFailuresThenCycles) {
  auto source = std::make_unique<SlideSource>(std::vector<ResourceBitmap>{StartPicture()},
                                              cdn_.Url("/s/"), ".jpg", 1.0, kQuickPacing);
  SlideSource* slides = source.get();
  ASSERT_TRUE(WaitForEnd(*slides));
  EXPECT_EQ(slides->picture_count(), 3u);
  EXPECT_EQ(RequestCount("/s/x2/02.jpg"), 1u);
  EXPECT_EQ(RequestCount("/s/x2/03.jpg"), 1u);
  // Slide 04 answers 404: ten attempts, then no more.
  EXPECT_EQ(RequestCount("/s/x2/04.jpg"), 10u);
  EXPECT_EQ(RequestCount("/s/x2/05.jpg"), 0u);

  // 10 s each: the start picture, the slides in order, the start picture.
  uint64_t now = 1000;
  Slideshow show({100, 50}, std::move(source), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                 kSlideDisplayMs, 1, [&now] { return now; });
  const int expected_widths[] = {8, 10, 20, 8, 10};  // 2x slides at scale 0.5
  EXPECT_FALSE(show.HasMoved());
  EXPECT_TRUE(show.Tick());  // the first slide is painted once
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(show.CurrentPicture().Width(), expected_widths[i]) << i;
    const RECT& rect = show.CurrentRect();
    EXPECT_EQ(rect.bottom, 50);  // bottom-left aligned
    EXPECT_EQ(rect.left, 0);
    now += kSlideDisplayMs - 1;
    EXPECT_FALSE(show.Tick());
    now += 1;
    EXPECT_TRUE(show.Tick());
    EXPECT_TRUE(show.HasMoved());
  }
}

TEST_F(SlideSourceTest, DestructionStopsADownloadInProgress) {
  // Slide 02 never finishes arriving.
  ASSERT_TRUE(cdn_.SetRule("/slow/x2/02.jpg", R"({"delay": 30})"));
  const DWORD start = GetTickCount();
  {
    SlideSource source({StartPicture()}, cdn_.Url("/slow/"), ".jpg", 1.0);
    Sleep(300);
    EXPECT_TRUE(source.is_downloading());
  }
  EXPECT_LT(GetTickCount() - start, 3000u);
}

// What a slide server outside the program may send: the downloads stay
// bounded in count, bytes and pixels, and only PNG and JPEG pictures reach
// the decoder, whatever their name says.
TEST_F(SlideSourceTest, HostileSlideServersAreBounded) {
  const std::string png(kSlide20, sizeof(kSlide20) - 1);
  // The same PNG claiming 40000 x 40000 pixels (6.4 GB decoded).
  std::string huge = png;
  huge.replace(16, 8, std::string("\x00\x00\x9c\x40\x00\x00\x9c\x40", 8));
  // A placeable metafile (GDI+ would play it) under a .png name: its header,
  // then a metafile header and the end-of-file record.
  const std::string wmf = std::string("\xD7\xCD\xC6\x9A", 4) + std::string(18, '\0') +
                          std::string("\x01\x00\x09\x00\x00\x03\x0C\x00\x00\x00\x00\x00"
                                      "\x03\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00",
                                      24);
  struct Case {
    const char* what;
    const char* base;
    std::string rule;
    size_t downloaded;
    size_t requests;
    std::string logged;
  };
  const Case cases[] = {
      {"a CDN that serves 1000 slides", "/many/",
       R"({"times": 1000, "body_base64": ")" + Base64Encode(png) + R"("})", kMaxDownloadedSlides,
       kMaxDownloadedSlides, "Slide downloads end with the 16 slides"},
      {"a 40000 x 40000 PNG", "/huge/", R"({"body_base64": ")" + Base64Encode(huge) + R"("})", 0,
       kSlideFailureLimit,
       "Refused a background slide downloaded from " + cdn_.Url("/huge/x2/02.png") +
           ": more pixels than the slide limit (40000 x 40000)"},
      {"a WMF with a PNG name", "/wmf/", R"({"body_base64": ")" + Base64Encode(wmf) + R"("})", 0,
       kSlideFailureLimit,
       "Refused a background slide downloaded from " + cdn_.Url("/wmf/x2/02.png") +
           ": not a PNG or JPEG picture"},
      {"an oversized body", "/big/",
       R"({"body_base64": ")" + Base64Encode(png) + R"(", "pad_to": )" +
           std::to_string(kMaxSlideBytes + 1) + "}",
       0, kSlideFailureLimit,
       "A slide larger than 4194304 bytes was refused: " + cdn_.Url("/big/x2/02.png")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(cdn_.SetRule(std::string(c.base) + "x2/*", c.rule));
    {
      SlideSource source({StartPicture()}, cdn_.Url(c.base), ".png", 1.0, kQuickPacing);
      ASSERT_TRUE(WaitForEnd(source));
      EXPECT_EQ(source.picture_count(), 1 + c.downloaded);
      // Every slide the source holds is drawable at once, at its 2x scale.
      for (int i = 1; i <= static_cast<int>(c.downloaded); ++i) {
        EXPECT_EQ(source.Next(i).Width(), 10) << i;
      }
    }
    EXPECT_EQ(RequestCount(std::string(c.base) + "x2/"), c.requests);
    EXPECT_TRUE(logger_->Logged(c.logged)) << c.logged;
  }
}

// A failed try is followed by a pause that grows with the failures, not by
// the next request at once.
TEST_F(SlideSourceTest, RetriesPauseBetweenTries) {
  const SlideRetryPacing pacing = {150, 600};
  {
    SlideSource source({StartPicture()}, cdn_.Url("/none/"), ".jpg", 1.0, pacing);
    ASSERT_TRUE(WaitForEnd(source));
  }
  std::optional<Value> requests = cdn_.Requests("/none/x2/02.jpg");
  ASSERT_TRUE(requests && requests->GetIfList());
  const Value::List& list = *requests->GetIfList();
  ASSERT_EQ(list.size(), static_cast<size_t>(kSlideFailureLimit));
  for (size_t i = 1; i < list.size(); ++i) {
    const double* before = list[i - 1].FindPath("time")->GetIfDouble();
    const double* after = list[i].FindPath("time")->GetIfDouble();
    ASSERT_TRUE(before && after);
    // The pause after failure i; the clocks of the two sides differ by
    // little, so a tenth of it is allowed.
    const double pause_s = SlideRetryPauseMs(static_cast<int>(i), pacing) / 1000.0;
    EXPECT_GE(*after - *before, pause_s * 0.9) << "between tries " << i << " and " << i + 1;
  }
}

// A server that never answers: each try is given up after the time limit
// and closed, and no other try starts before it has ended, so the server
// never holds more than one of the installer's requests. (Wine's WinINet
// lets a closed call wait on until the server goes: there the first try is
// the only one.) Destruction does not wait for such a try.
TEST_F(SlideSourceTest, OneTransferAtATimeAgainstAServerThatNeverAnswers) {
  ASSERT_TRUE(cdn_.SetRule("/hang/x2/*", R"({"hang": true})"));
  DWORD closing = 0;
  {
    // The pause lets the server see each closed connection before the next.
    SlideSource source({StartPicture()}, cdn_.Url("/hang/"), ".jpg", 1.0, {500, 500});
    // Three time limits and a half.
    Sleep(3 * kSlideDownloadTimeoutMs + kSlideDownloadTimeoutMs / 2);
    EXPECT_TRUE(source.is_downloading());
    closing = GetTickCount();
  }
  EXPECT_LT(GetTickCount() - closing, kSlideTransferEndWaitMs + 1500);
  const size_t tries = RequestCount("/hang/x2/02.jpg");
  EXPECT_GE(tries, 1u);
  EXPECT_LE(tries, 4u);
  EXPECT_EQ(cdn_.MostRequestsAnsweredAtOnce(), 1);
  EXPECT_TRUE(logger_->Logged("A slide download took longer than 5000 ms: " +
                              cdn_.Url("/hang/x2/02.jpg")));
  EXPECT_LE(logger_->Count("A closed slide download is still under way"), 1u);
}

}  // namespace
}  // namespace lite
