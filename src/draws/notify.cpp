#include "draws/notify.h"

#include <mutex>
#include <utility>

#include "text/bytes.h"
#include "text/gbk.h"
#include "ui/forms.h"

namespace zr::draws {

namespace {

constexpr int kSlideStep = 20;         // pixels per tick of 时钟1
constexpr int kRestAboveBottom = 180;  // the slide stops once the top edge is above this
constexpr int kLifeSeconds = 8;

struct NotifyState {
  std::mutex mutex;
  std::shared_ptr<ui::FormModel> window;
  int countdown = 0;
};

NotifyState& stateOf(shell::App& app) { return app.ext<NotifyState>(); }

void createWindow(shell::App& app, ui::FormModel& form) {
  if (app.hooks.attachSkin) app.hooks.attachSkin();

  form.setText(nf::标签_最新一期期号, app.main().text(mf::标签_最新一期期号));
  form.setText(nf::标签_最新一期号码, app.main().text(mf::标签_最新一期号码));

  app.svc.clipboard.setText(announcementText(form.text(nf::标签_最新一期期号), form.text(nf::标签_最新一期号码)));

  // Just below the bottom edge, right edge on the screen's right edge.
  const platform::ScreenSize screen = app.svc.windows.screenSize();
  form.move(screen.width - form.def().w, screen.height);

  auto& st = stateOf(app);
  std::lock_guard lock(st.mutex);
  st.countdown = 0;
}

void slideStep(shell::App& app, ui::FormModel& form) {
  const ui::Point at = form.position();
  form.move(at.x, at.y - kSlideStep);
  if (at.y - kSlideStep < app.svc.windows.screenSize().height - kRestAboveBottom) form.setTimerPeriod(nf::时钟1, 0);
}

void countdownStep(shell::App& app, ui::FormModel& form) {
  int count;
  {
    auto& st = stateOf(app);
    std::lock_guard lock(st.mutex);
    count = ++st.countdown;
  }
  form.setText(nf::标签2, "   " + text::formatInt(kLifeSeconds - count) + GBK("秒后自动关闭~"));
  if (count >= kLifeSeconds) form.close();
}

// On the UI thread.
void showWindow(shell::App& app) {
  auto& st = stateOf(app);
  auto form = std::make_shared<ui::FormModel>(ui::notifyFormDef(), app.svc.ui);
  std::shared_ptr<ui::FormModel> previous;
  {
    std::lock_guard lock(st.mutex);
    previous = std::exchange(st.window, form);
  }
  // A second draw replaces the window still showing instead of stacking a
  // second one on top of it and sharing its countdown.
  if (previous && previous->isOpen()) previous->close();

  // The handlers live in the form, so they hold it weakly.
  std::weak_ptr<ui::FormModel> weak = form;
  form->on(ui::kForm, ui::Event::Created, [&app, weak] {
    auto f = weak.lock();
    if (!f) return;
    createWindow(app, *f);
    // Shown only once it stands at its place below the screen.
    app.svc.windows.showForm(f, /*topmostNoActivate=*/true);
  });
  form->on(nf::时钟1, ui::Event::TimerTick, [&app, weak] {
    if (auto f = weak.lock()) slideStep(app, *f);
  });
  form->on(nf::时钟2, ui::Event::TimerTick, [&app, weak] {
    if (auto f = weak.lock()) countdownStep(app, *f);
  });
  form->open();
}

}  // namespace

void openNotification(shell::App& app) {
  app.svc.ui.post([&app] { showWindow(app); });
}

std::string announcementText(const std::string& period, const std::string& number) {
  return "[Quovix] <" + period + GBK("期>-重庆五星开-<") + number + "> [Quovix]";
}

std::shared_ptr<ui::FormModel> currentNotification(shell::App& app) {
  auto& st = stateOf(app);
  std::lock_guard lock(st.mutex);
  return st.window;
}

int notificationCountdown(shell::App& app) {
  auto& st = stateOf(app);
  std::lock_guard lock(st.mutex);
  return st.countdown;
}

}  // namespace zr::draws
