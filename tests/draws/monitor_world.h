#pragma once
// The headless program with the draw monitor installed and the test portal
// behind the web: the main form open without start-up's own retrieval, the
// searches set to find nothing so that one started by a new draw ends at once.
#include <string>
#include <vector>

#include "draws/monitor.h"
#include "draws/notify.h"
#include "monitor_portal.h"
#include "support/headless.h"
#include "text/gbk.h"
#include "ui/forms.h"

namespace zr::testing {

struct Row {
  std::string period, number;
  friend bool operator==(const Row&, const Row&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Row& r) { return os << r.period << "/" << r.number; }

struct MonitorWorld {
  MonitorWorld() {
    draws::installMonitor(h.app);
    h.main().setText(mf::编辑框_大底个数, "0");
    h.main().setText(mf::编辑框_大底个数1, "0");
    h.main().open();
    h.runUntilIdle();
  }
  // Workers held at the portal's gate end before the portal goes.
  ~MonitorWorld() {
    EXPECT_FALSE(portal.gateTimedOut());
    portal.open();
    h.app.workers.waitIdle(10000);
  }
  MonitorWorld(const MonitorWorld&) = delete;
  MonitorWorld& operator=(const MonitorWorld&) = delete;

  ui::FormModel& form() { return h.main(); }

  // The draw list as a retrieval of these draws leaves it.
  void fillList(const std::vector<Row>& rows) {
    form().deleteAllRows(mf::超级列表框1);
    for (const Row& r : rows) {
      const int row = form().appendRow(mf::超级列表框1);
      form().setCell(mf::超级列表框1, row, 0, r.period);
      form().setCell(mf::超级列表框1, row, 1, r.number.size() > 3 ? r.number.substr(r.number.size() - 3) : r.number);
    }
  }
  std::vector<Row> listRows() {
    std::vector<Row> rows;
    for (int i = 0; i < form().rowCount(mf::超级列表框1); ++i)
      rows.push_back({form().cell(mf::超级列表框1, i, 0), form().cell(mf::超级列表框1, i, 1)});
    return rows;
  }
  void publish(const std::string& day, const std::vector<Row>& rows) {
    for (const Row& r : rows) portal.publish(day, r.period, r.number);
  }

  // Arms the poll timer as a click of automatic mode does.
  void automatic(const std::string& seconds) {
    form().setText(mf::编辑框_自动开奖时间, seconds);
    form().userClick(mf::单选框_自动开奖);
    h.ui.runUntilIdle();  // the click's handler only; a worker may be held on purpose
  }
  // One tick of a 30 s poll timer, with all it starts run to its end.
  bool pollOnce() {
    automatic("30");
    return h.advance(30000);
  }

  std::string notice() { return form().status(0); }
  shell::HandleSlot slot(shell::HandleSlot shell::SharedState::*which) {
    std::lock_guard lock(h.app.state.mutex);
    return h.app.state.*which;
  }
  int windowsShown() { return static_cast<int>(h.windows.shown().size()); }

  Headless h;
  MonitorPortal portal{h.http};
};

}  // namespace zr::testing
