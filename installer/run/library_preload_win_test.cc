#include "installer/run/library_preload_win.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

// A library this test program never loads itself, and one that does not
// exist: the first is held while the preload lives, the second is skipped.
TEST(LibraryPreloadTest, HoldsWhatLoadedUntilDestroyedAndSkipsTheRest) {
  ASSERT_EQ(GetModuleHandleW(L"oleacc.dll"), nullptr);
  {
    LibraryPreload preload({L"no_such_library.dll", L"oleacc.dll"});
    EXPECT_EQ(preload.Wait(), 1u);
    EXPECT_NE(GetModuleHandleW(L"oleacc.dll"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleW(L"oleacc.dll"), nullptr);
}

}  // namespace
}  // namespace lite
