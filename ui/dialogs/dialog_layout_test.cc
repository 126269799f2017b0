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

}  // namespace
}  // namespace lite
