#include <gtest/gtest.h>

#include <string>

#include "ui/layout/installation_window_layout.h"
#include "ui/main_window/install_progress.h"
#include "ui/main_window/welcome_choices.h"

namespace lite {
namespace {

TEST(InstallProgressTest, MessagesMapOntoTheOneBar) {
  struct Case {
    const char* what;
    int got;
    int expected;
  } const cases[] = {
      {"download 0", DownloadProgressPercent(0.0f), 5},
      {"download 0.5", DownloadProgressPercent(0.5f), 22},
      {"download 1", DownloadProgressPercent(1.0f), 40},
      {"stage 5", InstallStageProgressPercent(5), 75},
      {"stage 6", InstallStageProgressPercent(6), 0},
      {"stage 7", InstallStageProgressPercent(7), 79},
      {"import 0", ImportProgressPercent(0), 80},
      {"import 50", ImportProgressPercent(50), 90},
      {"import 100", ImportProgressPercent(100), 100},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(InstallProgressTest, TextNamesTheStageInTheRedesignedLooks) {
  struct Case {
    int percent;
    WindowDesign design;
    int stage_id;
    std::u16string expected;
  } const cases[] = {
      {37, WindowDesign::kFacetune, kDownloadingTextId, u"Downloading... 37%"},
      {40, WindowDesign::kNewIdentity, kDownloadingTextId, u"Downloading... 40%"},
      {41, WindowDesign::kFacetune, kInstallingTextId, u"Installing... 41%"},
      {90, WindowDesign::kFacetune, kInstallingTextId, u"Installing... 90%"},
      {91, WindowDesign::kNewIdentity, kAlmostDoneTextId, u"Almost done... 91%"},
      {40, WindowDesign::kOrigin, kDownloadingTextId, u"40%"},
  };
  const auto text_of = [](int id) -> std::u16string {
    return id == kDownloadingTextId  ? u"Downloading..."
           : id == kInstallingTextId ? u"Installing..."
                                     : u"Almost done...";
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StageTextId(c.percent), c.stage_id) << c.percent;
    EXPECT_EQ(ProgressText(c.percent, c.design, text_of(StageTextId(c.percent))), c.expected);
  }
}

TEST(WelcomeChoicesTest, FirstScreenIsSkippedOnlyWhenBothChoicesArePreset) {
  struct Case {
    bool brand_off;
    DistribParamMap params;
    bool skipped;
  } const cases[] = {
      {false, {{"def", "1"}, {"stat", "1"}, {"first", "1"}}, true},
      {false, {{"def", "2"}, {"statpromo", "x"}, {"first", "1"}}, true},
      {false, {{"def", "1"}, {"stat", "1"}}, false},                  // nobody asked
      {false, {{"def", "1"}, {"stat", "1"}, {"first", "2"}}, false},  // "first" is not 1
      {false, {{"stat", "1"}, {"first", "1"}}, false},                // "def" missing
      {false, {{"def", "1"}, {"first", "1"}}, false},                 // statistics missing
      {true, {{"def", "1"}, {"stat", "2"}}, true},
      {true, {{"def", "1"}}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShouldSkipFirstScreen(c.brand_off, c.params), c.skipped)
        << c.brand_off << " " << c.params.size();
  }
}

TEST(WelcomeChoicesTest, PinStateComesFromTheFirstSourceThatHasOne) {
  struct Case {
    PinStateSources sources;
    int state;
  } const cases[] = {
      {{WindowDesign::kFacetune, true, "2", {}, {}}, 0},  // no pin offer in this look
      {{WindowDesign::kOrigin, false, "", {}, {}}, 1},
      {{WindowDesign::kOrigin, false, "2", {}, {}}, 1},  // logged: no install.pin
      {{WindowDesign::kOrigin, true, "3", std::string("2"), {}}, 3},
      {{WindowDesign::kOrigin, true, "", std::string("2"), std::string("3")}, 2},
      {{WindowDesign::kOrigin, true, "", {}, std::string("3")}, 3},
      {{WindowDesign::kOrigin, true, "", {}, std::string("4")}, 0},
      {{WindowDesign::kOrigin, true, "", {}, std::string("2x")}, 0},
      {{WindowDesign::kOrigin, true, "", {}, {}}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(GetTlpinTrialState(c.sources), c.state);
}

TEST(WelcomeChoicesTest, PresetsWinOverTheCheckBoxes) {
  const DistribParamMap none;
  EXPECT_EQ(WelcomeCheckBoxMask(none, true, 2),
            kMakeDefaultBoxShown | kStatisticsBoxShown | kPinBoxShown);
  EXPECT_EQ(WelcomeCheckBoxMask(none, false, 1), kStatisticsBoxShown);  // mode 2, no interface
  EXPECT_EQ(WelcomeCheckBoxMask({{"def", "1"}, {"statpromo", ""}}, true, 3), kPinBoxShown);

  EXPECT_EQ(StatisticsChoice({{"stat", "1"}}, false), 1);
  EXPECT_EQ(StatisticsChoice({{"stat", "2"}}, true), 0);
  EXPECT_EQ(StatisticsChoice({{"statpromo", "true"}}, std::nullopt), 1);
  EXPECT_EQ(StatisticsChoice(none, true), 1);
  EXPECT_EQ(StatisticsChoice(none, std::nullopt), kStatisticsChoiceUnknown);
  EXPECT_TRUE(MakeDefaultChoice({{"def", "1"}}, false));
  EXPECT_FALSE(MakeDefaultChoice({{"def", "2"}}, true));
  EXPECT_FALSE(MakeDefaultChoice(none, std::nullopt));
  EXPECT_TRUE(PinChoice(0, std::nullopt));
  EXPECT_FALSE(PinChoice(3, std::nullopt));
  EXPECT_TRUE(PinChoice(2, true));
}

}  // namespace
}  // namespace lite
