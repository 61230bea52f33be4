// A search over a day of draws as the demo portal publishes them.
#include <gtest/gtest.h>

#include "search/evaluation.h"
#include "search_fixture.h"
#include "text/bytes.h"

// The demo portal is a host tool, not a library: its draw book is compiled in.
#include "tools/portal/draw_book.cpp"

namespace zr::search {
namespace {

class PortalDrawsTest : public SearchFixture {
 protected:
  void setDayOfDraws() {
    std::vector<std::string> numbers;
    for (int period = 1; period <= portal::kDrawsPerDay; ++period)
      numbers.push_back(text::lastBytes(portal::drawNumber({2014, 3, 12}, period), 3));
    setDraws(numbers);
  }
};

TEST_F(PortalDrawsTest, BothModesFindTheirSetsOverADay) {
  setDayOfDraws();
  struct Case {
    int radio;
    Mode mode;
    const char* window;
  } cases[] = {{mf::单选框_后三, Mode::LastThree, "30"}, {mf::单选框_后二, Mode::LastTwo, "20"}};
  form().setText(mf::编辑框_大底个数1, "3");
  for (const Case& c : cases) {
    const ModeSettings& s = settingsOf(c.mode);
    form().setText(s.windowBox, c.window);
    setPair(s.hitTolerance, "3", "3");
    click(c.radio);
    searchToEnd();
    const auto sets = found(c.mode);
    ASSERT_EQ(sets.size(), 3u);
    for (const std::string& set : sets) EXPECT_EQ(evaluateCandidate(form(), c.mode, set), Verdict::Accepted);
    // 容对 3 to 3: the numbers in all three sets.
    for (const std::string& x : text::split(form().text(mf::编辑框_结果), " "))
      for (const std::string& set : sets) EXPECT_NE(text::findText(set, x), -1) << x;
    EXPECT_EQ(form().text(mf::编辑框_结果), form().text(s.resultBox));
  }
}

}  // namespace
}  // namespace zr::search
