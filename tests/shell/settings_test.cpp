#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/counters.h"
#include "shell/settings.h"
#include "support/headless.h"
#include "tests/support/settings_layout.h"
#include "text/gbk.h"

namespace zr::shell {
namespace {

using Key = testing::SettingsKey;
const std::vector<Key>& kData = testing::kSettingsData;
const std::vector<Key>& kData1 = testing::kSettingsData1;

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    installCounters(h.app);
    installSettings(h.app);
    for (int i = 0; i < 20; ++i) h.main().appendRow(mf::超级列表框1);
    h.main().open();
  }

  // A distinct value per box; 取开奖期 stays within the 20 rows.
  static std::string valueFor(int section, std::size_t i) {
    return i == 0 ? std::to_string(5 + section) : std::to_string(section) + "v" + std::to_string(i);
  }
  void fillBoxes() {
    for (std::size_t i = 0; i < kData.size(); ++i) h.main().setText(kData[i].box, valueFor(0, i));
    for (std::size_t i = 0; i < kData1.size(); ++i) h.main().setText(kData1[i].box, valueFor(1, i));
  }
  void clearBoxes() {
    for (const Key& k : kData) h.main().setText(k.box, "");
    for (const Key& k : kData1) h.main().setText(k.box, "");
  }
  void click(int button) {
    h.main().userClick(button);
    h.runUntilIdle();
  }
  std::optional<std::string> file() { return h.files.get(GBK("D:\\保存配置ZRTK.ini")); }
  void putFile(const std::string& bytes) { h.files.put(GBK("D:\\保存配置ZRTK.ini"), bytes); }

  testing::Headless h;
};

TEST_F(SettingsTest, FirstSaveWritesBothSectionsInOrder) {
  fillBoxes();
  click(mf::按钮_保存配置);
  std::string want = GBK("[数据]") + "\r\n";
  for (std::size_t i = 0; i < kData.size(); ++i) want += text::utf8ToGbk(kData[i].name) + "=" + valueFor(0, i) + "\r\n";
  want += GBK("[数据1]") + "\r\n";
  for (std::size_t i = 0; i < kData1.size(); ++i)
    want += text::utf8ToGbk(kData1[i].name) + "=" + valueFor(1, i) + "\r\n";
  EXPECT_EQ(file(), want);
  ASSERT_EQ(h.dialogs.messages().size(), 1u);
  EXPECT_EQ(h.dialogs.messages()[0].text, GBK("保存数据成功!"));
  EXPECT_EQ(h.dialogs.messages()[0].title, "OK!");
  EXPECT_EQ(h.dialogs.messages()[0].icon, platform::MessageIcon::Information);
}

TEST_F(SettingsTest, LoadRestoresEveryBoxButTheAdvert) {
  fillBoxes();
  h.main().setText(mf::编辑框_外号, GBK("值=a b  c"));  // "=" and inner blanks stay
  click(mf::按钮_保存配置);
  clearBoxes();
  h.main().setText(mf::编辑框_广告, "changed after the save");
  click(mf::按钮_提取设置);
  for (std::size_t i = 0; i + 1 < kData.size(); ++i) {
    if (kData[i].box == mf::编辑框_外号) continue;
    EXPECT_EQ(h.main().text(kData[i].box), valueFor(0, i)) << kData[i].name;
  }
  for (std::size_t i = 0; i < kData1.size(); ++i)
    EXPECT_EQ(h.main().text(kData1[i].box), valueFor(1, i)) << kData1[i].name;
  EXPECT_EQ(h.main().text(mf::编辑框_外号), GBK("值=a b  c"));
  EXPECT_EQ(h.main().text(mf::编辑框_广告), "changed after the save");
  EXPECT_EQ(h.dialogs.messages().size(), 1u);  // loading shows nothing
}

TEST_F(SettingsTest, LoadWithoutAFileEmptiesTheBoxesSilently) {
  const std::string advert = h.main().text(mf::编辑框_广告);
  const std::string nickname = h.main().text(mf::编辑框_外号);
  ASSERT_FALSE(nickname.empty());
  h.main().setText(mf::编辑框_日期_左, "2014-03-12");
  click(mf::按钮_提取设置);
  for (std::size_t i = 0; i + 1 < kData.size(); ++i) EXPECT_EQ(h.main().text(kData[i].box), "") << kData[i].name;
  for (const Key& k : kData1) EXPECT_EQ(h.main().text(k.box), "") << k.name;
  EXPECT_EQ(h.main().text(mf::编辑框_广告), advert);
  EXPECT_EQ(h.main().text(mf::编辑框_日期_左), "2014-03-12");
  EXPECT_TRUE(h.dialogs.messages().empty());
  EXPECT_FALSE(file());
}

TEST_F(SettingsTest, LoadedDrawWindowLargerThanTheListIsRefused) {
  putFile(GBK("[数据]\r\n取开奖期=30\r\n[数据1]\r\n取开奖期=30\r\n"));
  click(mf::按钮_提取设置);
  EXPECT_EQ(h.main().text(mf::编辑框_取开奖期), "");
  EXPECT_EQ(h.main().text(mf::编辑框_取开奖期1), "30");
  EXPECT_EQ(h.main().status(kNoticePart),
            GBK("温馨提示：开奖期数不够,请获取更多开奖![目前共：") + "20" + GBK("期奖号]"));
}

TEST_F(SettingsTest, SaveKeepsWhatItDoesNotKnow) {
  const std::string before = GBK("; 注释\r\n[网络]\r\n开奖网站=example.org\r\n\r\n[数据]\r\n其他=1\r\n外号=old\r\n");
  putFile(before);
  h.main().setText(mf::编辑框_外号, "new");
  click(mf::按钮_保存配置);
  const std::string saved = *file();
  EXPECT_EQ(saved.rfind(GBK("; 注释\r\n[网络]\r\n开奖网站=example.org\r\n\r\n[数据]\r\n其他=1\r\n外号=new\r\n"), 0), 0u)
      << text::gbkToUtf8(saved);
  EXPECT_NE(saved.find(GBK("[数据1]")), std::string::npos);
}

TEST_F(SettingsTest, MultiLineAdvertIsSavedOnOneLine) {
  h.main().setText(mf::编辑框_广告, GBK("第一行\r\n第二行"));
  click(mf::按钮_保存配置);
  EXPECT_NE(file()->find(GBK("广告=第一行 第二行\r\n[数据1]\r\n")), std::string::npos);
}

TEST_F(SettingsTest, FailedSaveSaysSo) {
  putFile("[x]\r\nkept=1\r\n");
  h.files.setWritable(false);
  click(mf::按钮_保存配置);
  ASSERT_EQ(h.dialogs.messages().size(), 1u);
  EXPECT_EQ(h.dialogs.messages()[0].text, GBK("保存数据失败!"));
  EXPECT_EQ(h.dialogs.messages()[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(file(), "[x]\r\nkept=1\r\n");
}

TEST_F(SettingsTest, JunkFileLoadsWhatItCan) {
  std::string junk;
  for (int i = 0; i < 50000; ++i) junk += static_cast<char>((i * 131) & 0xFF);
  junk += GBK("\n[数据1]\n大底个数 = 4 \n") + std::string(200000, 'z');
  putFile(junk);
  click(mf::按钮_提取设置);
  EXPECT_EQ(h.main().text(mf::编辑框_大底个数1), "4");
  EXPECT_EQ(h.main().text(mf::编辑框_大底个数), "");
}

}  // namespace
}  // namespace zr::shell
