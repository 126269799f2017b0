#include "stats/url_escape_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "stats/url_escape.h"

namespace lite {
namespace {

// The platform-free escaping stands in for UrlEscapeW where there is none;
// both must give the same path.
TEST(UrlEscapeWinTest, SegmentEscapingAgreesWithUrlEscapeW) {
  std::vector<std::u16string> inputs = {u"100%", u"a%2Fb c", u"~!*'();:@&=+$,/?#[]",
                                        u"\u0100\u4e2d", u"plain.text_1"};
  for (char16_t c = 1; c <= 0xFF; ++c) inputs.push_back(std::u16string(1, c) + u"x");
  for (const std::u16string& input : inputs) {
    EXPECT_EQ(EscapeUrlSegmentWithShell(input), EscapeUrlSegment(input))
        << "unit " << static_cast<int>(input[0]);
  }
  // Longer than the 2084-unit buffer: the escaping fails and leaves nothing.
  EXPECT_EQ(EscapeUrlSegmentWithShell(std::u16string(3000, u' ')), u"");
}

}  // namespace
}  // namespace lite
