#include "shell/settings.h"

#include <span>
#include <string>

#include "shell/ini_file.h"
#include "text/gbk.h"

namespace zr::shell {
namespace {

struct Binding {
  const char* key;  // UTF-8
  int box;
  bool loaded;  // the advert is saved but never loaded back
};

// Section "数据": the last-three limits and the plan settings, in save order.
constexpr Binding kLastThree[] = {
    {"取开奖期", mf::编辑框_取开奖期, true},
    {"取中奖期左", mf::编辑框_取中奖期_左, true},
    {"取中奖期右", mf::编辑框_取中奖期_右, true},
    {"取不中期左", mf::编辑框_取不中期_左, true},
    {"取不中期右", mf::编辑框_取不中期_右, true},
    {"当前连挂左", mf::编辑框_当前连挂_左, true},
    {"当前连挂右", mf::编辑框_当前连挂_右, true},
    {"当前连中左", mf::编辑框_当前连中_左, true},
    {"当前连中右", mf::编辑框_当前连中_右, true},
    {"范围最大连中左", mf::编辑框_范围最大连中_左, true},
    {"范围最大连中右", mf::编辑框_范围最大连中_右, true},
    {"范围最大连挂左", mf::编辑框_范围最大连挂_左, true},
    {"范围最大连挂右", mf::编辑框_范围最大连挂_右, true},
    {"注数左", mf::编辑框_注数_左, true},
    {"注数右", mf::编辑框_注数_右, true},
    {"大底个数", mf::编辑框_大底个数, true},
    {"容错左", mf::编辑框_容错_左, true},
    {"容错右", mf::编辑框_容错_右, true},
    {"容对左", mf::编辑框_容对_左, true},
    {"容对右", mf::编辑框_容对_右, true},
    {"外号", mf::编辑框_外号, true},
    {"分隔符", mf::编辑框_分隔符, true},
    {"中奖符号", mf::编辑框_中奖符号, true},
    {"挂奖符号", mf::编辑框_挂奖符号, true},
    {"广告", mf::编辑框_广告, false},
};

// Section "数据1": the last-two twins of the first 20 keys.
constexpr Binding kLastTwo[] = {
    {"取开奖期", mf::编辑框_取开奖期1, true},
    {"取中奖期左", mf::编辑框_取中奖期_左1, true},
    {"取中奖期右", mf::编辑框_取中奖期_右1, true},
    {"取不中期左", mf::编辑框_取不中期_左1, true},
    {"取不中期右", mf::编辑框_取不中期_右1, true},
    {"当前连挂左", mf::编辑框_当前连挂_左1, true},
    {"当前连挂右", mf::编辑框_当前连挂_右1, true},
    {"当前连中左", mf::编辑框_当前连中_左1, true},
    {"当前连中右", mf::编辑框_当前连中_右1, true},
    {"范围最大连中左", mf::编辑框_范围最大连中_左1, true},
    {"范围最大连中右", mf::编辑框_范围最大连中_右1, true},
    {"范围最大连挂左", mf::编辑框_范围最大连挂_左1, true},
    {"范围最大连挂右", mf::编辑框_范围最大连挂_右1, true},
    {"注数左", mf::编辑框_注数_左1, true},
    {"注数右", mf::编辑框_注数_右1, true},
    {"大底个数", mf::编辑框_大底个数1, true},
    {"容错左", mf::编辑框_容错_左1, true},
    {"容错右", mf::编辑框_容错_右1, true},
    {"容对左", mf::编辑框_容对_左1, true},
    {"容对右", mf::编辑框_容对_右1, true},
};

struct Section {
  const char* name;  // UTF-8
  std::span<const Binding> bindings;
};

const Section kSections[] = {{"数据", kLastThree}, {"数据1", kLastTwo}};

const std::string& settingsPath() { return GBK("D:\\保存配置ZRTK.ini"); }

}  // namespace

void saveSettings(App& app) {
  // Keys of an existing file keep their places, and keys or sections the
  // program does not know stay as they are.
  const auto bytes = app.svc.files.readFile(settingsPath());
  // A file that is there but cannot be read (another program holds it) is
  // not replaced: the sections and keys it holds would be lost.
  if (!bytes && app.svc.files.exists(settingsPath())) {
    app.svc.dialogs.messageBox(GBK("保存数据失败!"), GBK("错误"), platform::MessageIcon::Error);
    return;
  }
  IniFile ini = IniFile::parse(bytes.value_or(""));
  for (const Section& section : kSections) {
    const std::string name = text::utf8ToGbk(section.name);
    for (const Binding& b : section.bindings) ini.set(name, text::utf8ToGbk(b.key), app.main().text(b.box));
  }
  // The whole file is written at once, so a failed save never leaves it
  // half written, and the user is told when it failed.
  if (app.svc.files.writeFileAtomic(settingsPath(), ini.serialize())) {
    app.svc.dialogs.messageBox(GBK("保存数据成功!"), "OK!", platform::MessageIcon::Information);
  } else {
    app.svc.dialogs.messageBox(GBK("保存数据失败!"), GBK("错误"), platform::MessageIcon::Error);
  }
}

void loadSettings(App& app) {
  const IniFile ini = IniFile::parse(app.svc.files.readFile(settingsPath()).value_or(""));
  for (const Section& section : kSections) {
    const std::string name = text::utf8ToGbk(section.name);
    for (const Binding& b : section.bindings) {
      if (b.loaded) app.main().setText(b.box, ini.get(name, text::utf8ToGbk(b.key)).value_or(""));
    }
  }
}

void installSettings(App& app) {
  app.main().on(mf::按钮_保存配置, ui::Event::Click, [&app] { saveSettings(app); });
  app.main().on(mf::按钮_提取设置, ui::Event::Click, [&app] { loadSettings(app); });
}

}  // namespace zr::shell
