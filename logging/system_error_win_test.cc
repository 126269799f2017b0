#include "logging/system_error_win.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(SystemErrorTextTest, CodeCommaAndTheSystemsEnglishText) {
  const std::string text = SystemErrorText(ERROR_ACCESS_DENIED);
  ASSERT_EQ(text.rfind("5, ", 0), 0u) << text;
  EXPECT_GT(text.size(), 5u);
  // The system's text is kept with its line break.
  EXPECT_EQ(text.back(), '\n') << text;
  EXPECT_NE(text.find("ccess"), std::string::npos) << text;
}

TEST(SystemErrorTextTest, UnknownCodesAreSpelledInHex) {
  // Customer-defined codes (bit 29) are in no message table.
  EXPECT_EQ(SystemErrorText(0x2000ABCD), "536914893, unknown error 0x2000abcd\n");
}

}  // namespace
}  // namespace lite
