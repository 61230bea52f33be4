#include "text/gbk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zr::text {
namespace {

TEST(Gbk, LiteralsHaveTheirGbkBytes) {
  EXPECT_EQ(GBK("温馨提示："), "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE\xA3\xBA");
  EXPECT_EQ(GBK("中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(GBK("abc 123"), "abc 123");
  const std::string* first = nullptr;
  for (int i = 0; i < 2; ++i) {
    const std::string& converted = GBK("中");
    if (first) {
      EXPECT_EQ(&converted, first) << "a literal is converted once";
    }
    first = &converted;
  }
}

TEST(Gbk, RoundTrips) {
  const std::vector<std::string> texts = {"", "abc", "搜索提示：[全部任务搜索完毕!]", "重庆五星开 第120期 中/挂",
                                          "\xE2\x82\xAC"};  // the euro sign is byte 80 in GBK
  for (const auto& utf8 : texts) {
    const std::string gbk = utf8ToGbk(utf8);
    EXPECT_EQ(gbkToUtf8(gbk), utf8);
    EXPECT_EQ(wideToGbk(gbkToWide(gbk)), gbk);
    EXPECT_EQ(utf16ToGbk(gbkToUtf16(gbk)), gbk);
  }
  EXPECT_EQ(gbkToUtf16(GBK("温")), u"温");
  EXPECT_EQ(gbkToWide(GBK("温")), L"温");
}

TEST(Gbk, BadInputIsReplacedAndTheRestKept) {
  EXPECT_EQ(gbkToUtf8("a\xFF"
                      "b"),
            "a?b");
  EXPECT_EQ(gbkToUtf8("a\xD6"), "a?");  // cut off at the end
  EXPECT_EQ(gbkToUtf8("a\x81\x7F"
                      "b"),
            "a?\x7F"
            "b");  // lead byte without a trail byte
  EXPECT_EQ(gbkToWide("a\xFF"
                      "b"),
            L"a\uFFFDb");
  EXPECT_EQ(gbkToUtf16("a\xFF"
                       "b"),
            u"a\uFFFDb");
  EXPECT_EQ(utf8ToGbk("a\xC3(b"), "a?(b");  // invalid UTF-8
  EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b"),
            "a?b");  // no GBK form
  EXPECT_EQ(utf16ToGbk(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
  EXPECT_EQ(utf16ToGbk(u"a\U0001F600b"), "a?b");
}

TEST(Big5, ConvertsAndSimplifies) {
  // 開獎號碼 in Big5.
  EXPECT_EQ(big5ToGbkSimplified("\xB6\x7D\xBC\xFA\xB8\xB9\xBD\x58"), GBK("开奖号码"));
  // 期 is the same in both forms.
  EXPECT_EQ(big5ToGbkSimplified("abc \xB4\xC1"), GBK("abc 期"));
  // A byte that is no Big5 character ends the result.
  EXPECT_EQ(big5ToGbkSimplified("ab\xFF"
                                "cd"),
            "ab");
  EXPECT_EQ(big5ToGbkSimplified(""), "");
}

}  // namespace
}  // namespace zr::text
