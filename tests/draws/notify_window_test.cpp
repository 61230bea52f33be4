// The new-draw notification window, headless: its opening, the slide into the
// lower right corner, the countdown and the close, the clipboard announcement.
#include <gtest/gtest.h>

#include <string>

#include "draws/notify.h"
#include "support/headless.h"
#include "text/gbk.h"
#include "ui/forms.h"

namespace zr::draws {
namespace {

class NotifyWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    h.main().setText(mf::标签_最新一期期号, "20140313-050");
    h.main().setText(mf::标签_最新一期号码, "12345");
    h.app.hooks.attachSkin = [this] { ++skinAttaches; };
  }

  // Opens a window as the monitor's worker does and lets its creation run.
  std::shared_ptr<ui::FormModel> open() {
    openNotification(h.app);
    EXPECT_TRUE(h.runUntilIdle());
    return h.windows.lastShown(ui::notifyFormDef());
  }

  static std::string countdownText(int n) { return "   " + std::to_string(n) + GBK("秒后自动关闭~"); }

  testing::Headless h;
  int skinAttaches = 0;
};

TEST_F(NotifyWindow, OpensBelowTheScreenShowingTheLatestDraw) {
  auto w = open();
  ASSERT_TRUE(w);
  ASSERT_EQ(h.windows.shown().size(), 1u);
  EXPECT_TRUE(h.windows.shown()[0].topmostNoActivate);
  EXPECT_TRUE(w->isOpen());
  EXPECT_EQ(w->text(nf::标签_最新一期期号), "20140313-050");
  EXPECT_EQ(w->text(nf::标签_最新一期号码), "12345");
  EXPECT_EQ(w->text(nf::标签2), countdownText(8));
  EXPECT_EQ(w->position().x, 1920 - 256);
  EXPECT_EQ(w->position().y, 1080);
  EXPECT_EQ(skinAttaches, 1);
  EXPECT_EQ(notificationCountdown(h.app), 0);
}

TEST_F(NotifyWindow, AnnouncementReplacesTheClipboard) {
  h.clipboard.setText("something the user copied");
  open();
  EXPECT_EQ(h.clipboard.content(), GBK("[Quovix] <20140313-050期>-重庆五星开-<12345> [Quovix]"));
}

TEST_F(NotifyWindow, ClaimsTheCopyEvenWhenTheClipboardIsHeld) {
  h.clipboard.setHeldByOther(true);
  auto w = open();
  ASSERT_TRUE(w);
  EXPECT_EQ(h.clipboard.setCount(), 1);
  EXPECT_EQ(w->text(nf::标签3), GBK("已将开奖号码复制到剪辑板!"));
  EXPECT_TRUE(w->isOpen());
}

// Ten steps of 20 pixels, one every 50 ms; the tenth brings the top edge above
// screen height - 180 and stops the slide.
TEST_F(NotifyWindow, SlidesUpTenStepsAndRests) {
  auto w = open();
  ASSERT_TRUE(w);
  for (int step = 1; step <= 10; ++step) {
    ASSERT_TRUE(h.advance(50));
    EXPECT_EQ(w->position().y, 1080 - 20 * step) << "step " << step;
    EXPECT_EQ(w->timerPeriod(nf::时钟1), step < 10 ? 50 : 0) << "step " << step;
  }
  ASSERT_TRUE(h.advance(500));
  EXPECT_EQ(w->position().x, 1664);
  EXPECT_EQ(w->position().y, 880);
}

TEST_F(NotifyWindow, FinalPlaceFollowsTheScreenSize) {
  struct Case {
    int width, height, left, top;
  } cases[] = {{1920, 1080, 1664, 880}, {1280, 800, 1024, 600}, {1366, 768, 1110, 568}, {800, 190, 544, -10}};
  for (const auto& c : cases) {
    h.windows.setScreenSize(c.width, c.height);
    auto w = open();
    ASSERT_TRUE(w);
    ASSERT_TRUE(h.advance(1000));
    EXPECT_EQ(w->position().x, c.left) << c.width << "x" << c.height;
    EXPECT_EQ(w->position().y, c.top) << c.width << "x" << c.height;
  }
}

TEST_F(NotifyWindow, CountsDownFromEightAndClosesAfterTheZero) {
  auto w = open();
  ASSERT_TRUE(w);
  for (int second = 1; second <= 8; ++second) {
    EXPECT_TRUE(w->isOpen()) << "before second " << second;
    ASSERT_TRUE(h.advance(1000));
    EXPECT_EQ(w->text(nf::标签2), countdownText(8 - second)) << "second " << second;
    EXPECT_EQ(notificationCountdown(h.app), second);
  }
  EXPECT_FALSE(w->isOpen());
  ASSERT_TRUE(h.advance(3000));
  EXPECT_EQ(w->text(nf::标签2), countdownText(0));
  EXPECT_EQ(notificationCountdown(h.app), 8);
}

TEST_F(NotifyWindow, ASecondDrawReplacesTheWindowStillShowing) {
  auto first = open();
  ASSERT_TRUE(first);
  ASSERT_TRUE(h.advance(5000));
  h.main().setText(mf::标签_最新一期期号, "20140313-051");
  h.main().setText(mf::标签_最新一期号码, "67890");
  auto second = open();
  ASSERT_TRUE(second);
  ASSERT_NE(first, second);
  EXPECT_FALSE(first->isOpen());
  EXPECT_EQ(second->text(nf::标签_最新一期期号), "20140313-051");
  EXPECT_EQ(second->text(nf::标签2), countdownText(8));
  EXPECT_EQ(notificationCountdown(h.app), 0);
  EXPECT_EQ(skinAttaches, 2);
  EXPECT_EQ(h.clipboard.content(), GBK("[Quovix] <20140313-051期>-重庆五星开-<67890> [Quovix]"));

  // The fresh window lives its own eight seconds.
  ASSERT_TRUE(h.advance(7000));
  EXPECT_TRUE(second->isOpen());
  EXPECT_EQ(second->text(nf::标签2), countdownText(1));
  ASSERT_TRUE(h.advance(1000));
  EXPECT_FALSE(second->isOpen());
  EXPECT_EQ(first->text(nf::标签2), countdownText(3));
}

}  // namespace
}  // namespace zr::draws
