#include "trust/module_image_range_win.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace lite {
namespace {

// An image laid out by hand in one allocation of eight pages, whose headers
// give it six: page 3 decommitted, page 4 a guard page, page 5 no-access,
// page 6 committed and readable but past the image's end, page 7 reserved.
class HandMadeImage {
 public:
  static constexpr uintptr_t kPages = 8;
  static constexpr DWORD kImagePages = 6;

  HandMadeImage() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    page_ = system.dwPageSize;
    base_ = static_cast<char*>(VirtualAlloc(nullptr, kPages * page_, MEM_RESERVE, PAGE_NOACCESS));
    if (!base_ || !VirtualAlloc(base_, 7 * page_, MEM_COMMIT, PAGE_READWRITE)) return;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base_);
    dos->e_magic = IMAGE_DOS_SIGNATURE;
    dos->e_lfanew = 0x80;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base_ + 0x80);
    nt->Signature = IMAGE_NT_SIGNATURE;
    nt->OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR_MAGIC;
    nt->OptionalHeader.SizeOfImage = kImagePages * static_cast<DWORD>(page_);
    DWORD old = 0;
    ready_ = VirtualFree(Page(3), page_, MEM_DECOMMIT) &&
             VirtualProtect(Page(4), page_, PAGE_READONLY | PAGE_GUARD, &old) &&
             VirtualProtect(Page(5), page_, PAGE_NOACCESS, &old) &&
             VirtualProtect(Page(0), 3 * page_, PAGE_READONLY, &old);
  }
  ~HandMadeImage() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
  }
  HandMadeImage(const HandMadeImage&) = delete;
  HandMadeImage& operator=(const HandMadeImage&) = delete;

  bool ready() const { return ready_; }
  HMODULE module() const { return reinterpret_cast<HMODULE>(base_); }
  char* Page(uintptr_t n) const { return base_ + n * page_; }
  uintptr_t page() const { return page_; }

 private:
  uintptr_t page_ = 0;
  char* base_ = nullptr;
  bool ready_ = false;
};

TEST(ModuleImageRangeTest, OnlyCommittedReadablePagesInsideTheImagePass) {
  HandMadeImage image;
  ASSERT_TRUE(image.ready());
  const uintptr_t page = image.page();
  struct Case {
    const char* what;
    const char* data;
    size_t size;
    bool readable;
  };
  const Case cases[] = {
      {"inside one page", image.Page(1) + 16, 100, true},
      {"the headers and the pages after them", image.Page(0), 3 * page, true},
      {"nothing, at the image's end", image.Page(6), 0, true},
      {"past the image's end, though committed", image.Page(6), 16, false},
      {"from inside to past the end", image.Page(1), 6 * page, false},
      {"before the image", image.Page(0) - 16, 8, false},
      {"a size that wraps around the address space", image.Page(1), SIZE_MAX - 8, false},
      {"a size that wraps to exactly the start", image.Page(1),
       SIZE_MAX - reinterpret_cast<uintptr_t>(image.Page(1)) + 1, false},
      {"into a decommitted page", image.Page(3) - 8, 16, false},
      {"inside a decommitted page", image.Page(3) + 8, 8, false},
      {"inside a guard page", image.Page(4), 8, false},
      {"across a no-access page", image.Page(5), page, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsReadableImageRange(image.module(), c.data, c.size), c.readable) << c.what;
  }
  // The handle of a data-file or image-resource load carries tag bits.
  const HMODULE tagged = reinterpret_cast<HMODULE>(reinterpret_cast<uintptr_t>(image.module()) | 2);
  EXPECT_TRUE(IsReadableImageRange(tagged, image.Page(1), 8));
  // The guard page was not touched: it still guards.
  MEMORY_BASIC_INFORMATION region = {};
  ASSERT_NE(VirtualQuery(image.Page(4), &region, sizeof(region)), 0u);
  EXPECT_NE(region.Protect & PAGE_GUARD, 0u);
}

TEST(ModuleImageRangeTest, HeadersThatAreNoImageOrPointAwayRefuseEveryRange) {
  HandMadeImage image;
  ASSERT_TRUE(image.ready());
  ASSERT_EQ(image.page(), 0x1000u) << "the offsets below count in 4 KiB pages";
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(image.Page(0), image.page(), PAGE_READWRITE, &old));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image.Page(0));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(image.Page(0) + 0x80);
  struct Case {
    const char* what;
    void (*spoil)(IMAGE_DOS_HEADER*, IMAGE_NT_HEADERS*);
  };
  const Case cases[] = {
      {"no MZ", [](IMAGE_DOS_HEADER* d, IMAGE_NT_HEADERS*) { d->e_magic = 0; }},
      {"no PE signature", [](IMAGE_DOS_HEADER*, IMAGE_NT_HEADERS* n) { n->Signature = 0; }},
      {"unknown optional header",
       [](IMAGE_DOS_HEADER*, IMAGE_NT_HEADERS* n) { n->OptionalHeader.Magic = 0x107; }},
      {"negative header offset", [](IMAGE_DOS_HEADER* d, IMAGE_NT_HEADERS*) { d->e_lfanew = -4; }},
      // Into the decommitted page, then beyond the allocation.
      {"header offset into a hole",
       [](IMAGE_DOS_HEADER* d, IMAGE_NT_HEADERS*) { d->e_lfanew = 0x3000; }},
      {"header offset far away",
       [](IMAGE_DOS_HEADER* d, IMAGE_NT_HEADERS*) { d->e_lfanew = 0x7FFFFFF0; }},
      {"an empty image",
       [](IMAGE_DOS_HEADER*, IMAGE_NT_HEADERS* n) { n->OptionalHeader.SizeOfImage = 0; }},
  };
  ASSERT_TRUE(IsReadableImageRange(image.module(), image.Page(1), 8));
  for (const Case& c : cases) {
    IMAGE_DOS_HEADER saved_dos = *dos;
    IMAGE_NT_HEADERS saved_nt = *nt;
    c.spoil(dos, nt);
    EXPECT_FALSE(IsReadableImageRange(image.module(), image.Page(1), 8)) << c.what;
    *dos = saved_dos;
    *nt = saved_nt;
  }
  // Headers claiming more than the allocation holds reach no further.
  nt->OptionalHeader.SizeOfImage = 0x7FFF0000;
  EXPECT_FALSE(IsReadableImageRange(image.module(), image.Page(HandMadeImage::kPages), 8));
  EXPECT_TRUE(IsReadableImageRange(image.module(), image.Page(1), 8));
}

}  // namespace
}  // namespace lite
