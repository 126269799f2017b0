#include <gtest/gtest.h>

#include "ui/dialogs/classic_dialog_layout.h"
#include "ui/dialogs/redesigned_dialog_layout.h"

namespace lite {
namespace {

TEST(RedesignedDialogLayoutTest, TwoButtonsAndMessage) {
  RedesignedDialogInput in;
  in.title = {300, 22};
  in.message = {250, 32};
  in.button1_text = {60, 16};
  in.button2_text = {30, 16};
  in.close_button = {20, 20};
  const RedesignedDialogLayout out = ComputeRedesignedDialogLayout(in);
  EXPECT_EQ(out.title, (Rect{30, 30, 330, 52}));
  EXPECT_EQ(out.message, (Rect{30, 68, 280, 100}));
  // 30 + max(50 + 300, 92 + 10 + 62 + 40)
  EXPECT_EQ(out.window.width, 380);
  EXPECT_EQ(out.button2, (Rect{278, 124, 340, 160}));
  EXPECT_EQ(out.button1, (Rect{176, 124, 268, 160}));
  EXPECT_EQ(out.window.height, 190);
  EXPECT_EQ(out.close_button, (Rect{350, 10, 370, 30}));
  EXPECT_EQ(out.corner_radius, 16);
}

TEST(RedesignedDialogLayoutTest, OneButtonWithoutMessageAtOneAndAHalf) {
  RedesignedDialogInput in;
  in.scale = 1.5;
  in.title = {100, 33};
  in.button1_text = {150, 24};
  in.close_button = {30, 30};
  const RedesignedDialogLayout out = ComputeRedesignedDialogLayout(in);
  EXPECT_TRUE(out.message.empty());
  // Buttons 24 (scaled 36) below the title; the button row is the wider part.
  EXPECT_EQ(out.button1.top, 45 + 33 + 36);
  EXPECT_EQ(out.button1.width(), 150 + 48);
  EXPECT_EQ(out.window.width, 45 + 198 + 60);
  EXPECT_EQ(out.button1.right, out.window.width - 60);
  EXPECT_EQ(out.window.height, out.button1.bottom + 45);
  EXPECT_TRUE(out.button2.empty());
  EXPECT_EQ(out.close_button.right, out.window.width - 10);  // screen pixels
  EXPECT_EQ(out.corner_radius, 24);
}

TEST(ClassicDialogLayoutTest, NoticeAndResume) {
  ClassicDialogInput in;
  in.background = {410, 186};
  in.button1 = {120, 28};
  ClassicDialogLayout notice = ComputeClassicDialogLayout(in);
  EXPECT_EQ(notice.window.width, 397);
  EXPECT_EQ(notice.window.height, 174);
  EXPECT_EQ(notice.button1, (Rect{40, 126, 160, 154}));
  EXPECT_EQ(notice.message, (Rect{40, 76, 367, 126}));
  EXPECT_EQ(notice.title, (Rect{40, 30, 367, 76}));

  in.button2 = Extent{120, 28};
  notice = ComputeClassicDialogLayout(in);
  EXPECT_EQ(notice.button2, (Rect{170, 126, 290, 154}));

  in.buttons_right_aligned = true;
  const ClassicDialogLayout resume = ComputeClassicDialogLayout(in);
  EXPECT_EQ(resume.button1.left, 397 - 240 - 30 - 10);
  EXPECT_EQ(resume.button2.left, resume.button1.right + 10);
  EXPECT_EQ(resume.button2.right, 397 - 30);
}

// Texts longer than the picture's places push the message below the title
// and the buttons below the message, and the window grows by as much; texts
// that fit keep the picture's places.
TEST(ClassicDialogLayoutTest, LongTextsMakeTheWindowTaller) {
  struct Case {
    double scale;
    int title_height, message_height;
    int message_top, buttons_top, window_height;
  } const cases[] = {
      {1.0, 19, 15, 76, 126, 174},    // one line each: the picture's places
      {1.0, 37, 45, 76, 135, 183},    // two title lines, three message lines
      {1.0, 56, 60, 94, 168, 216},    // three and four
      {1.5, 28, 22, 114, 189, 261},   // one line each at 150 %
      {1.5, 56, 68, 114, 203, 275},   // two and three at 150 %
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scale << " " << c.title_height << " "
                                    << c.message_height);
    ClassicDialogInput in;
    in.scale = c.scale;
    in.background = {Scale(c.scale, 410), Scale(c.scale, 186)};
    in.button1 = {Scale(c.scale, 120), Scale(c.scale, 28)};
    in.button2 = in.button1;
    in.title_height = c.title_height;
    in.message_height = c.message_height;
    const ClassicDialogLayout out = ComputeClassicDialogLayout(in);
    EXPECT_EQ(out.message.top, c.message_top);
    EXPECT_EQ(out.button1.top, c.buttons_top);
    EXPECT_EQ(out.button2.top, c.buttons_top);
    EXPECT_EQ(out.window.height, c.window_height);
    // The gaps, and the buttons' distance from the bottom edge, hold.
    EXPECT_GE(out.message.top, out.title.top + c.title_height + Scale(c.scale, 8));
    EXPECT_GE(out.button1.top, out.message.top + c.message_height + Scale(c.scale, 14));
    EXPECT_EQ(out.window.height - out.button1.bottom, Scale(c.scale, 20));
    EXPECT_EQ(out.title.bottom, out.message.top);
    EXPECT_EQ(ClassicTextWidth(in), out.message.width());
  }
}

}  // namespace
}  // namespace lite
