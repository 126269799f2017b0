#include "ui/images/slide_source_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/file_util_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "ui/images/gdiplus_win.h"
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

class SlideSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
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

  ULONG_PTR token_ = 0;
  FilePath root_;
  testing::TestCdn cdn_;
};

TEST_F(SlideSourceTest, DownloadsInOrderUntilTenFailuresThenCycles) {
  auto source = std::make_unique<SlideSource>(std::vector<ResourceBitmap>{StartPicture()},
                                              cdn_.Url("/s/"), ".jpg", 1.0);
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

}  // namespace
}  // namespace lite
