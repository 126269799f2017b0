#include "stats/stat_query_url.h"

#include <gtest/gtest.h>

#include "base/utf.h"
#include "stats/stat_params.h"
#include "stats/url_escape.h"

namespace lite {
namespace {

std::string Url(StatCounter counter, const StatParams& persistent, const StatParams& event) {
  return NarrowLowBytes(BuildStatQueryUrl("https://stat.example", counter,
                                          MergeStatParams(persistent, event), &EscapeUrlSegment));
}

TEST(StatQueryUrlTest, EntriesInKeyOrderWithOldStyleAndPersistentValuesWinning) {
  const StatParams persistent = {{"ui", u"6F9619FF-8B86-D011"}, {"brand_id", u"tolvar"},
                                 {"installer_type", u"lite"}};
  const StatParams event = {{"action", u"download"}, {"brand_id", u"from-event"},
                            {"old_style", u"7"}};
  EXPECT_EQ(Url(StatCounter::kExtendedStat, persistent, event),
            "https://stat.example/installstats/send/dtype=stred/pid=457/cid=72992/"
            "path=extended_stat/vars=-action=download,-brand_id=tolvar,-installer_type=lite,"
            "-old_style=0,-ui=6F9619FF_8B86_D011/*");
}

TEST(StatQueryUrlTest, WithoutParametersBrandIsUnknownAndCounterChoosesThePath) {
  EXPECT_EQ(Url(StatCounter::kReinstallDialog, {}, {}),
            "https://stat.example/installstats/send/dtype=stred/pid=457/cid=72696/"
            "path=tlbrowser_reinstall_dialog/vars=-brand_id=unknown,-old_style=0/*");
  EXPECT_EQ(GetStatCounterInfo(StatCounter::kZomboWindow).id, 72924);
  // A list that stays empty leaves out the vars part altogether.
  EXPECT_EQ(NarrowLowBytes(BuildStatQueryUrl("https://h", StatCounter::kExtendedStat, {},
                                             &EscapeUrlSegment)),
            "https://h/installstats/send/dtype=stred/pid=457/cid=72992/path=extended_stat/*");
}

TEST(StatQueryUrlTest, SeparatorsBecomeUnderscoresAndTheRestIsEscaped) {
  const StatParams merged = {{"a-b=c,d", u"x,y-z=w"}, {"q", u"a b/c?d#e%f&g\"h~i\x7f\x00e9"}};
  EXPECT_EQ(NarrowLowBytes(BuildStatVarList(merged, &EscapeUrlSegment)),
            "-a_b_c_d=x_y_z_w,-q=a%20b%2Fc%3Fd%23e%f%26g%22h~i%7F%E9");
  // A failed escaping leaves the text empty, the entry stays.
  EXPECT_EQ(NarrowLowBytes(BuildStatVarList(
                merged, [](std::u16string_view) { return std::u16string(); })),
            "-=,-=");
}

TEST(UrlEscapeTest, DoublyEscapedUrlKeepsOnlyUnreservedCharacters) {
  EXPECT_EQ(NarrowLowBytes(DoublyEscapedUrlValue(u"https://cdn.example/a b/Setup-1.exe")),
            "https%253A%252F%252Fcdn.example%252Fa%2520b%252FSetup%252D1.exe");
  EXPECT_EQ(EscapeAllButUnreserved("!'()._~*$-\xC3\xA9"), "!'()._~%2A%24%2D%C3%A9");
  // Non-ASCII UTF-16 goes through UTF-8 before escaping.
  EXPECT_EQ(NarrowLowBytes(DoublyEscapedUrlValue(u"\u00e9")), "%25C3%25A9");
}

TEST(StatParamsTest, SavedTextRoundTripsAndSkipsBrokenPairs) {
  const StatParams params = {{"brand_id", u"tolvar"}, {"partner_id", u"p1"}, {"ui", u""}};
  const std::u16string saved = SerializeStatParams(params);
  EXPECT_EQ(saved, u"brand_id\ntolvar\npartner_id\np1\nui\n\n");
  StatParams restored = {{"brand_id", u"older"}, {"launched", u"true"}};
  RestoreStatParams(saved, &restored);
  EXPECT_EQ(restored, (StatParams{{"brand_id", u"tolvar"}, {"launched", u"true"},
                                  {"partner_id", u"p1"}, {"ui", u""}}));

  StatParams partial;
  RestoreStatParams(u"\nskipped\nkey\nvalue\ndangling", &partial);
  EXPECT_EQ(partial, (StatParams{{"key", u"value"}}));
}

}  // namespace
}  // namespace lite
