#pragma once
// The whole program without a desktop, with the search installed, a draw list
// and a record of what the search writes, in order.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "search/mode.h"
#include "search/search.h"
#include "support/headless.h"
#include "text/gbk.h"

namespace zr::search {

// Records every status message and every text written to the result boxes
// and the search button, on the thread that writes them.
class WriteRecord : public ui::ModelObserver {
 public:
  explicit WriteRecord(ui::FormModel& form) : form_(form) {}

  struct Write {
    int ctl;  // a control, or -1 - part for a status part
    std::string text;
  };

  void modelChanged(int ctl, ui::Change what) override {
    int key;
    if (what == ui::Change::Status) {
      key = -1 - ctl;
    } else if (what == ui::Change::Text &&
               (ctl == mf::编辑框_结果 || ctl == mf::编辑框2 || ctl == mf::编辑框3 || ctl == mf::按钮_搜索)) {
      key = ctl;
    } else {
      return;
    }
    std::string text = what == ui::Change::Status ? form_.status(ctl) : form_.text(ctl);
    std::lock_guard lock(mutex_);
    writes_.push_back({key, std::move(text)});
  }

  std::vector<Write> writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  // The texts written to one control (or status part: -1 - part), in order.
  std::vector<std::string> of(int key) const {
    std::vector<std::string> texts;
    for (const Write& w : writes())
      if (w.ctl == key) texts.push_back(w.text);
    return texts;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    writes_.clear();
  }

 private:
  ui::FormModel& form_;
  mutable std::mutex mutex_;
  std::vector<Write> writes_;
};

inline constexpr int kNoticeKey = -1, kSearchKey = -2;

class SearchFixture : public ::testing::Test {
 protected:
  SearchFixture() {
    installSearch(h.app);
    h.main().setObserver(&record);
  }
  ~SearchFixture() override {
    stopSearches(h.app);
    h.runUntilIdle();
    h.main().setObserver(nullptr);
  }

  ui::FormModel& form() { return h.main(); }

  // Rows in time order, the newest last; column 1 holds the number text.
  static void fillDraws(ui::FormModel& form, const std::vector<std::string>& numbers) {
    form.deleteAllRows(mf::超级列表框1);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      const int row = form.appendRow(mf::超级列表框1);
      form.setCell(mf::超级列表框1, row, 0, std::to_string(i + 1));
      form.setCell(mf::超级列表框1, row, 1, numbers[i]);
    }
  }
  static const std::vector<std::string>& tenDraws() {
    static const std::vector<std::string> draws = {"042", "517", "930", "268", "804",
                                                   "113", "679", "355", "721", "086"};
    return draws;
  }
  void setDraws(const std::vector<std::string>& numbers) { fillDraws(form(), numbers); }
  void setTenDraws() { setDraws(tenDraws()); }

  void clearLimits(Mode mode) {
    for (const CheckGroupBoxes& g : settingsOf(mode).groups) {
      for (BoxPair p : {g.hits, g.misses}) {
        form().setText(p.left, "");
        form().setText(p.right, "");
      }
    }
  }
  void setPair(BoxPair pair, std::string left, std::string right) {
    form().setText(pair.left, std::move(left));
    form().setText(pair.right, std::move(right));
  }
  // Limits no set can meet over a window of ten draws: 11 hits.
  void setImpossible(Mode mode) {
    clearLimits(mode);
    setPair(settingsOf(mode).groups[0].hits, "11", "11");
  }

  void click(int ctl) { form().userClick(ctl); }
  // Clicks 按钮_搜索 and waits until the search has ended.
  void searchToEnd() {
    click(mf::按钮_搜索);
    h.runUntilIdle();
  }

  // Waits for a condition that a running worker brings about.
  bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  long long attempts(Mode mode) {
    std::lock_guard lock(h.app.state.mutex);
    return mode == Mode::LastThree ? h.app.state.lastThreeAttemptCount : h.app.state.lastTwoAttemptCount;
  }
  std::vector<std::string> found(Mode mode) {
    std::lock_guard lock(h.app.state.mutex);
    return mode == Mode::LastThree ? h.app.state.foundLastThreeSets : h.app.state.foundLastTwoSets;
  }
  // Waits until a search of the mode is making attempts.
  bool waitRunning(Mode mode) {
    return waitFor([&] { return attempts(mode) > 2 && form().text(mf::按钮_搜索) == GBK("停止搜索"); });
  }

  testing::Headless h{{{2014, 3, 13}, 5000}};
  WriteRecord record{h.main()};
};

}  // namespace zr::search
