#include "plan/plan.h"

namespace zr::plan {

void addManualDraw(shell::App& app) {
  ui::FormModel& form = app.main();
  // The number is kept as typed: a retrieved row holds only its last three
  // digits, a typed one is not cut.
  const int row = form.appendRow(mf::超级列表框1);
  form.setCell(mf::超级列表框1, row, 0, form.text(mf::编辑框_手动期号));
  form.setCell(mf::超级列表框1, row, 1, form.text(mf::编辑框_手动奖号));

  const int last = form.rowCount(mf::超级列表框1) - 1;
  form.setText(mf::标签_最新一期期号, form.cell(mf::超级列表框1, last, 0));
  form.setText(mf::标签_最新一期号码, form.cell(mf::超级列表框1, last, 1));
  composePlanLine(app);
}

}  // namespace zr::plan
