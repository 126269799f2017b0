// Entry point of every Windows test binary: a helper child when started as
// one, otherwise the GoogleTest run.
#include <gtest/gtest.h>

#include "tests/support/child_process_win.h"

int wmain(int argc, wchar_t** argv) {
  int exit_code = 0;
  if (lite::testing::MaybeRunChild(argc, argv, &exit_code)) return exit_code;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
