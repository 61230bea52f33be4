#include <gtest/gtest.h>

#include <string>

#include "shell/ini_file.h"
#include "text/gbk.h"

namespace zr::shell {
namespace {

TEST(IniFileTest, NewFileGetsSectionsAndKeysInWriteOrder) {
  IniFile ini = IniFile::parse("");
  ini.set("a", "k1", "1");
  ini.set("a", "k2", "");
  ini.set("b", "k1", "x");
  ini.set("a", "k3", "3");
  EXPECT_EQ(ini.serialize(), "[a]\r\nk1=1\r\nk2=\r\nk3=3\r\n[b]\r\nk1=x\r\n");
}

TEST(IniFileTest, ExistingKeyKeepsItsPlaceAndOtherLinesStay) {
  const std::string before =
      "; kept comment\r\n[net]\r\nsite = example.org\r\n\r\n[a]\r\nunknown=u\r\nK1 = old\r\nlast=z\r\n\r\n[b]\r\nq=1";
  IniFile ini = IniFile::parse(before);
  ini.set("A", "k1", "new");
  ini.set("a", "added", "v");
  ini.set("b", "r", "2");
  EXPECT_EQ(ini.serialize(),
            "; kept comment\r\n[net]\r\nsite = example.org\r\n\r\n[a]\r\nunknown=u\r\nK1=new\r\nlast=z\r\nadded=v\r\n"
            "\r\n[b]\r\nq=1\r\nr=2\r\n");
}

TEST(IniFileTest, ReadingTrimsStripsOneQuotePairAndIgnoresCase) {
  IniFile ini = IniFile::parse(
      "[Sec]\n"
      "plain=  a b  \n"
      "dq=\"  quoted  \"\n"
      "sq='x'\n"
      "twice=\"\"y\"\"\n"
      "lone=\"z\n"
      "eq=a=b=c\n"
      "novalue\n"
      ";c=commented\n");
  struct Case {
    const char* key;
    std::optional<std::string> want;
  } cases[] = {
      {"PLAIN", "a b"}, {"dq", "  quoted  "},      {"sq", "x"},          {"twice", "\"y\""},        {"lone", "\"z"},
      {"eq", "a=b=c"},  {"novalue", std::nullopt}, {";c", std::nullopt}, {"missing", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ini.get("sec", c.key), c.want) << c.key;
  EXPECT_EQ(ini.get("other", "plain"), std::nullopt);
}

TEST(IniFileTest, GbkNamesFoldOnlyAsciiLetters) {
  // 0xB0 0x41 and 0xB0 0x61 are two different characters whose trail bytes
  // look like 'A' and 'a'.
  const std::string upper = "\xB0\x41", lower = "\xB0\x61";
  IniFile ini = IniFile::parse("[" + GBK("数据") + "]\r\n" + upper + "=1\r\n" + lower + "=2\r\n");
  EXPECT_EQ(ini.get(GBK("数据"), upper), "1");
  EXPECT_EQ(ini.get(GBK("数据"), lower), "2");
  // A "]" trail byte does not end a section name.
  const std::string name = "\x81\x5D";
  IniFile odd = IniFile::parse("[" + name + "]\r\nk=v\r\n");
  EXPECT_EQ(odd.get(name, "k"), "v");
}

TEST(IniFileTest, ValueReadsAtMost10239BytesWithoutSplittingACharacter) {
  std::string ascii(20000, 'x');
  std::string gbk;
  for (int i = 0; i < 6000; ++i) gbk += GBK("中");
  IniFile ini = IniFile::parse("[s]\r\na=" + ascii + "\r\nb=" + gbk + "\r\n");
  EXPECT_EQ(ini.get("s", "a")->size(), 10239u);
  EXPECT_EQ(ini.get("s", "b")->size(), 10238u);
}

TEST(IniFileTest, ValuesStayOnOneLine) {
  IniFile ini = IniFile::parse("");
  ini.set("s", "ad", "line1\r\nline2\nline3\rend");
  ini.set("s", "next", "n");
  EXPECT_EQ(ini.serialize(), "[s]\r\nad=line1 line2 line3 end\r\nnext=n\r\n");
  EXPECT_EQ(IniFile::parse(ini.serialize()).get("s", "next"), "n");
}

TEST(IniFileTest, JunkParsesWithoutHarm) {
  std::string junk;
  for (int i = 0; i < 70000; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  junk += std::string(1 << 20, 'y');
  IniFile ini = IniFile::parse(junk);
  ini.set("s", "k", "v");
  EXPECT_EQ(IniFile::parse(ini.serialize()).get("s", "k"), "v");
  EXPECT_EQ(IniFile::parse("[").get("", "k"), std::nullopt);
  EXPECT_EQ(IniFile::parse("\xFF").get("s", "k"), std::nullopt);
}

}  // namespace
}  // namespace zr::shell
