#pragma once
// A main form model on a test UI thread, with helpers that fill the draw list
// and the limit boxes of a mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/test_ui_thread.h"
#include "search/mode.h"
#include "ui/form_model.h"

namespace zr::search {

class FormFixture : public ::testing::Test {
 protected:
  fake::TestUiThread ui;
  ui::FormModel form{ui::mainFormDef(), ui};

  // Rows in time order, the newest last; column 1 holds the number text.
  void setDraws(const std::vector<std::string>& numbers) {
    form.deleteAllRows(mf::超级列表框1);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      const int row = form.appendRow(mf::超级列表框1);
      form.setCell(mf::超级列表框1, row, 0, std::to_string(i + 1));
      form.setCell(mf::超级列表框1, row, 1, numbers[i]);
    }
  }

  // Empties the six pairs of the mode's three check groups.
  void clearLimits(Mode mode) {
    for (const CheckGroupBoxes& g : settingsOf(mode).groups) {
      for (BoxPair p : {g.hits, g.misses}) {
        form.setText(p.left, "");
        form.setText(p.right, "");
      }
    }
  }

  void setPair(BoxPair pair, std::string left, std::string right) {
    form.setText(pair.left, std::move(left));
    form.setText(pair.right, std::move(right));
  }
};

}  // namespace zr::search
