// The two form tables: what the view builds and the start-up relies on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "resources/forms/contacts.h"
#include "text/gbk.h"
#include "ui/forms.h"

namespace zr::ui {
namespace {

const FormDef& formOf(int which) { return which == 0 ? mainFormDef() : notifyFormDef(); }

class BothForms : public ::testing::TestWithParam<int> {};

TEST_P(BothForms, NamesAreUniqueAndParentsAreGroupBoxesOrTheForm) {
  const FormDef& def = formOf(GetParam());
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < def.controls.size(); ++i) {
    const ControlDef& c = def.controls[i];
    EXPECT_TRUE(names.insert(c.name).second) << "duplicate " << c.name;
    if (c.parent == kForm) continue;
    ASSERT_GE(c.parent, 0) << c.name;
    ASSERT_LT(c.parent, static_cast<int>(def.controls.size())) << c.name;
    EXPECT_EQ(def.controls[c.parent].kind, Kind::GroupBox) << c.name;
    EXPECT_NE(c.parent, static_cast<int>(i)) << c.name;
  }
}

// A mistyped place shows as a control sticking out of its group box.
TEST_P(BothForms, PlacedControlsLieInsideTheirParent) {
  const FormDef& def = formOf(GetParam());
  for (const ControlDef& c : def.controls) {
    if (c.w == 0 || c.kind == Kind::StatusBar) continue;
    const int pw = c.parent == kForm ? def.w : def.controls[c.parent].w;
    const int ph = c.parent == kForm ? def.h : def.controls[c.parent].h;
    if (c.parent != kForm) {
      EXPECT_GE(c.x, 0) << c.name;
      EXPECT_GE(c.y, 0) << c.name;
    }
    EXPECT_LE(c.x + c.w, pw) << c.name;
    EXPECT_LE(c.y + c.h, ph) << c.name;
  }
}

// Every text must survive the trip to GBK: a character outside the code page
// would show as '?' in the window.
TEST_P(BothForms, TextsHaveAGbkForm) {
  const FormDef& def = formOf(GetParam());
  auto roundTrips = [](const char* utf8) { return text::gbkToUtf8(text::utf8ToGbk(utf8)) == utf8; };
  EXPECT_TRUE(roundTrips(def.caption)) << def.caption;
  for (const ControlDef& c : def.controls) {
    EXPECT_TRUE(roundTrips(c.name)) << c.name;
    EXPECT_TRUE(roundTrips(c.text)) << c.name;
  }
  for (const ColumnDef& c : def.columns) EXPECT_TRUE(roundTrips(c.header)) << c.header;
  for (const PartDef& p : def.parts) EXPECT_TRUE(roundTrips(p.text)) << p.text;
}

INSTANTIATE_TEST_SUITE_P(Forms, BothForms, ::testing::Values(0, 1));

TEST(MainForm, IdsNameTheirControls) {
  const FormDef& def = mainFormDef();
  EXPECT_EQ(def.controls.size(), static_cast<std::size_t>(mf::kCount));
  EXPECT_STREQ(def.controls[mf::编辑框_结果].name, "编辑框_结果");
  EXPECT_STREQ(def.controls[mf::状态条1].name, "状态条1");
  EXPECT_STREQ(notifyFormDef().controls[nf::标签2].name, "标签2");
}

TEST(MainForm, WindowAndCaption) {
  const FormDef& def = mainFormDef();
  EXPECT_EQ(def.x, 50);
  EXPECT_EQ(def.y, 50);
  EXPECT_EQ(def.w, 979);
  EXPECT_EQ(def.h, 593);
  const std::string caption = def.caption;
  for (const char* part : {"ZRTK 大底搜索", "内置独特随机种子算法", ZR_CONTACT_GROUP, ZR_CONTACT_AUTHOR})
    EXPECT_NE(caption.find(part), std::string::npos) << part;
  const std::string contact = def.controls[mf::编辑框_广告].text;
  EXPECT_NE(contact.find(ZR_CONTACT_GROUP), std::string::npos);
  EXPECT_NE(contact.find(ZR_CONTACT_AUTHOR), std::string::npos);
}

TEST(MainForm, DefaultsTheProgramReads) {
  struct Case {
    int ctl;
    const char* text;
  };
  const Case cases[] = {
      {mf::编辑框_自动开奖时间, "30"},
      {mf::编辑框_日期_左, "2014-03-03"},
      {mf::编辑框_日期_右, "2014-03-03"},
      {mf::编辑框_取开奖期, "10"},
      {mf::编辑框_取开奖期1, "10"},
      {mf::编辑框_当前连挂_左, "2"},
      {mf::编辑框_当前连挂_右1, "2"},
      {mf::编辑框_范围最大连挂_左, "2"},
      {mf::编辑框_范围最大连挂_右1, "2"},
      {mf::编辑框_注数_左, "800"},
      {mf::编辑框_注数_右, "800"},
      {mf::编辑框_注数_左1, "50."},
      {mf::编辑框_注数_右1, "50"},
      {mf::编辑框_大底个数, "3"},
      {mf::编辑框_大底个数1, ""},
      {mf::编辑框_取中奖期_左, ""},
      {mf::编辑框_容对_右1, ""},
      {mf::编辑框_结果, ""},
      {mf::编辑框_计划区, ""},
      {mf::编辑框_外号, "Pellor"},
      {mf::编辑框_分隔符, "|"},
      {mf::编辑框_中奖符号, "中"},
      {mf::编辑框_挂奖符号, "挂"},
      {mf::标签_注数, "注数："},
      {mf::标签52, "注数："},
      {mf::标签53, "注数："},
      {mf::标签_最新一期期号, "等待显示."},
      {mf::标签_最新一期号码, "稍等"},
      {mf::按钮_搜索, "搜索"},
      {mf::按钮_保存配置, "保存设置"},
      {mf::按钮_提取设置, "提取设置"},
      {mf::按钮3, "一键复制号码+计划"},
      {mf::单选框_拼接, "<后三后二拼接>"},
      {mf::标签25, "/秒检测一次开奖の"},
      {mf::分组框8, "后二："},
      {mf::分组框13, ""},
      {mf::通用对话框1, "文本文件（*.txt）|*.txt"},
  };
  const FormDef& def = mainFormDef();
  for (const Case& c : cases) EXPECT_STREQ(def.controls[c.ctl].text, c.text) << def.controls[c.ctl].name;
}

TEST(MainForm, FlagsAndCheckedDefaults) {
  const FormDef& def = mainFormDef();
  std::set<int> checked;
  for (int i = 0; i < mf::kCount; ++i) {
    if (def.controls[i].flags & Checked) checked.insert(i);
  }
  EXPECT_EQ(checked, (std::set<int>{mf::单选框_自动开奖, mf::选择框1, mf::选择框_声音, mf::单选框_后三}));

  const unsigned scrolled = Multiline | VScroll;
  for (int ctl : {mf::编辑框_结果, mf::编辑框2, mf::编辑框3, mf::编辑框_广告})
    EXPECT_EQ(def.controls[ctl].flags, scrolled) << def.controls[ctl].name;
  EXPECT_EQ(def.controls[mf::编辑框_计划区].flags, scrolled | HScroll | BlueText);
}

TEST(MainForm, RadioGroups) {
  const FormDef& def = mainFormDef();
  EXPECT_EQ(def.controls[mf::单选框_手动开奖].parent, mf::分组框14);
  EXPECT_EQ(def.controls[mf::单选框_自动开奖].parent, mf::分组框14);
  for (int ctl : {mf::单选框_后三, mf::单选框_后二, mf::单选框_拼接}) EXPECT_EQ(def.controls[ctl].parent, mf::分组框11);
}

TEST(MainForm, NonVisualComponentsListAndStatusBar) {
  const FormDef& def = mainFormDef();
  const ControlDef& poll = def.controls[mf::时钟_自动开奖];
  EXPECT_EQ(poll.kind, Kind::Timer);
  EXPECT_EQ(poll.parent, mf::分组框14);
  EXPECT_EQ(poll.timerPeriodMs, 0);
  EXPECT_EQ(def.controls[mf::时钟1].parent, mf::分组框7);
  EXPECT_EQ(def.controls[mf::时钟1].timerPeriodMs, 30000);
  EXPECT_EQ(def.controls[mf::通用对话框1].kind, Kind::FileDialog);
  EXPECT_EQ(def.controls[mf::通用对话框1].parent, mf::分组框2);

  EXPECT_EQ(def.controls[mf::超级列表框1].parent, kForm);
  ASSERT_EQ(def.columns.size(), 2u);
  EXPECT_EQ(def.columns[0].list, mf::超级列表框1);
  EXPECT_STREQ(def.columns[0].header, "期号");
  EXPECT_EQ(def.columns[0].width, 65);
  EXPECT_STREQ(def.columns[1].header, "号码");
  EXPECT_EQ(def.columns[1].width, 65);

  EXPECT_EQ(def.controls[mf::状态条1].parent, kForm);
  ASSERT_EQ(def.parts.size(), 2u);
  EXPECT_EQ(def.parts[0].bar, mf::状态条1);
  EXPECT_EQ(def.parts[0].width, 430);
  EXPECT_STREQ(def.parts[0].text, "温馨提示：");
  EXPECT_EQ(def.parts[1].width, 430);
  EXPECT_STREQ(def.parts[1].text, "搜索提示：");
}

// Each "-" label stands between the two boxes of its range.
TEST(MainForm, RangeSeparatorsStandBetweenTheirBoxes) {
  struct Case {
    int label, left, right;
  };
  const Case cases[] = {
      {mf::标签19, mf::编辑框_日期_左, mf::编辑框_日期_右},
      {mf::标签21, mf::编辑框_取中奖期_左, mf::编辑框_取中奖期_右},
      {mf::标签22, mf::编辑框_取不中期_左, mf::编辑框_取不中期_右},
      {mf::标签12, mf::编辑框_当前连挂_左, mf::编辑框_当前连挂_右},
      {mf::标签20, mf::编辑框_当前连中_左, mf::编辑框_当前连中_右},
      {mf::标签6, mf::编辑框_范围最大连中_左, mf::编辑框_范围最大连中_右},
      {mf::标签5, mf::编辑框_范围最大连挂_左, mf::编辑框_范围最大连挂_右},
      {mf::标签31, mf::编辑框_注数_左, mf::编辑框_注数_右},
      {mf::标签14, mf::编辑框_容错_左, mf::编辑框_容错_右},
      {mf::标签16, mf::编辑框_容对_左, mf::编辑框_容对_右},
      {mf::标签35, mf::编辑框_取中奖期_左1, mf::编辑框_取中奖期_右1},
      {mf::标签10, mf::编辑框_取不中期_左1, mf::编辑框_取不中期_右1},
      {mf::标签37, mf::编辑框_当前连挂_左1, mf::编辑框_当前连挂_右1},
      {mf::标签38, mf::编辑框_当前连中_左1, mf::编辑框_当前连中_右1},
      {mf::标签42, mf::编辑框_范围最大连中_左1, mf::编辑框_范围最大连中_右1},
      {mf::标签41, mf::编辑框_范围最大连挂_左1, mf::编辑框_范围最大连挂_右1},
      {mf::标签45, mf::编辑框_注数_左1, mf::编辑框_注数_右1},
      {mf::标签50, mf::编辑框_容错_左1, mf::编辑框_容错_右1},
      {mf::标签48, mf::编辑框_容对_左1, mf::编辑框_容对_右1},
  };
  const FormDef& def = mainFormDef();
  for (const Case& c : cases) {
    const ControlDef &label = def.controls[c.label], &left = def.controls[c.left], &right = def.controls[c.right];
    EXPECT_STREQ(label.text, "-") << label.name;
    EXPECT_EQ(label.parent, left.parent) << label.name;
    EXPECT_EQ(right.parent, left.parent) << label.name;
    EXPECT_LE(left.x + left.w, label.x) << label.name;
    EXPECT_LE(label.x + label.w, right.x) << label.name;
  }
}

bool inside(const FormDef& def, int ctl, int group) {
  for (int p = def.controls[ctl].parent; p != kForm; p = def.controls[p].parent) {
    if (p == group) return true;
  }
  return false;
}

// The last-two group repeats the last-three one: each edit box has a twin
// named with "1" appended, within five pixels of its place.
TEST(MainForm, LastTwoBoxesTwinTheLastThreeOnes) {
  const FormDef& def = mainFormDef();
  int twins = 0;
  for (int i = 0; i < mf::kCount; ++i) {
    const ControlDef& c = def.controls[i];
    if (c.kind != Kind::Edit || c.parent == mf::分组框4 || !inside(def, i, mf::分组框4)) continue;
    const std::string twinName = std::string(c.name) + "1";
    int twin = -1;
    for (int j = 0; j < mf::kCount; ++j) {
      if (twinName == def.controls[j].name) twin = j;
    }
    ASSERT_NE(twin, -1) << twinName;
    EXPECT_TRUE(inside(def, twin, mf::分组框8)) << twinName;
    EXPECT_LE(std::abs(def.controls[twin].x - c.x), 5) << twinName;
    EXPECT_LE(std::abs(def.controls[twin].y - c.y), 5) << twinName;
    ++twins;
  }
  EXPECT_EQ(twins, 20);
}

TEST(NotifyForm, WindowTimersAndLabels) {
  const FormDef& def = notifyFormDef();
  EXPECT_STREQ(def.caption, "更新开奖咯~<祝君中奖>");
  EXPECT_EQ(def.x, 50);
  EXPECT_EQ(def.y, 50);
  EXPECT_EQ(def.w, 256);
  EXPECT_EQ(def.h, 160);
  EXPECT_EQ(def.controls[nf::时钟1].timerPeriodMs, 50);
  EXPECT_EQ(def.controls[nf::时钟2].timerPeriodMs, 1000);
  EXPECT_STREQ(def.controls[nf::标签2].text, "   8秒后自动关闭~");
  EXPECT_STREQ(def.controls[nf::标签3].text, "已将开奖号码复制到剪辑板!");
  EXPECT_STREQ(def.controls[nf::标签_最新一期期号].text, "等待显示.");
  EXPECT_STREQ(def.controls[nf::标签_最新一期号码].text, "稍等");
  EXPECT_EQ(std::string(def.controls[nf::标签1].text).find('\n'), std::string::npos);
  for (int ctl :
       {nf::标签1, nf::标签2, nf::标签3, nf::标签32, nf::标签33, nf::标签_最新一期期号, nf::标签_最新一期号码})
    EXPECT_EQ(def.controls[ctl].parent, nf::分组框13);
  EXPECT_TRUE(def.columns.empty());
  EXPECT_TRUE(def.parts.empty());
}

}  // namespace
}  // namespace zr::ui
