// The settings file over arbitrary bytes: reading any file never fails, and
// the boxes' texts survive a save and a load whatever the file held before,
// both through the file format alone and through the two buttons' routines.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/memory_file_system.h"
#include "platform/fake/recorders.h"
#include "platform/fake/test_ui_thread.h"
#include "shell/app.h"
#include "shell/ini_file.h"
#include "shell/settings.h"
#include "tests/support/settings_layout.h"
#include "text/gbk.h"
#include "web/fake_transport.h"

namespace {

using zr::shell::IniFile;
namespace mf = zr::mf;

constexpr std::size_t kMaxValue = 10239;

using zr::testing::kSettingsData;
using zr::testing::kSettingsData1;

// The bound boxes in file order: the last-three section, then the last-two one.
const std::vector<int> kBoxes = [] {
  std::vector<int> boxes;
  for (const auto& k : kSettingsData) boxes.push_back(k.box);
  for (const auto& k : kSettingsData1) boxes.push_back(k.box);
  return boxes;
}();
const std::size_t kAdvert = kSettingsData.size() - 1;

struct Slot {
  std::string section, key;
};

const std::vector<Slot>& slots() {
  static const std::vector<Slot> all = [] {
    std::vector<Slot> out;
    for (const auto& k : kSettingsData) out.push_back({zr::text::utf8ToGbk("数据"), zr::text::utf8ToGbk(k.name)});
    for (const auto& k : kSettingsData1) out.push_back({zr::text::utf8ToGbk("数据1"), zr::text::utf8ToGbk(k.name)});
    return out;
  }();
  return all;
}

// Keys the program never writes: a save must leave them as they were.
const std::vector<Slot>& foreignSlots() {
  static const std::vector<Slot> all = {
      {zr::text::utf8ToGbk("网络"), zr::text::utf8ToGbk("开奖网站")},
      {zr::text::utf8ToGbk("数据"), zr::text::utf8ToGbk("其他")},
      {zr::text::utf8ToGbk("数据1"), zr::text::utf8ToGbk("外号")},
      {"x", "y"},
  };
  return all;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Texts that come back byte for byte: one line, no blanks at either end and
// no enclosing quotes (the reader takes those off), within the read limit.
bool survivesExactly(std::string_view v) {
  if (v.size() > kMaxValue || v.find_first_of("\r\n") != std::string_view::npos) return false;
  if (!v.empty() && (isBlank(v.front()) || isBlank(v.back()))) return false;
  return !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
}

// What a load may give for a saved text: the text itself when it survives,
// otherwise nothing longer than it and never a line break.
void checkLoaded(const std::string& saved, const std::optional<std::string>& loaded) {
  FUZZ_CHECK(loaded.has_value());
  if (survivesExactly(saved)) {
    FUZZ_CHECK(*loaded == saved);
  } else {
    FUZZ_CHECK(loaded->size() <= saved.size());
    FUZZ_CHECK(loaded->find_first_of("\r\n") == std::string::npos);
    if (saved.size() > kMaxValue && survivesExactly(saved.substr(0, kMaxValue))) {
      FUZZ_CHECK(loaded->size() + 1 >= kMaxValue && saved.starts_with(*loaded));
    }
  }
}

// A text around the read limit, made of a short one repeated.
std::string nearLimit(const std::string& piece, std::size_t size) {
  std::string out;
  while (out.size() < size) out += piece.empty() ? "0" : piece;
  out.resize(size);
  out.back() = 'x';
  return out;
}

void checkFileFormat(const std::string& existing, const std::vector<std::string>& values) {
  const IniFile before = IniFile::parse(existing);
  std::vector<std::optional<std::string>> foreign;
  for (const Slot& s : foreignSlots()) foreign.push_back(before.get(s.section, s.key));

  IniFile file = IniFile::parse(existing);
  for (std::size_t i = 0; i < values.size(); ++i) file.set(slots()[i].section, slots()[i].key, values[i]);
  const std::string written = file.serialize();
  FUZZ_CHECK(IniFile::parse(written).serialize() == written);

  const IniFile after = IniFile::parse(written);
  for (std::size_t i = 0; i < values.size(); ++i) checkLoaded(values[i], after.get(slots()[i].section, slots()[i].key));
  for (std::size_t i = 0; i < foreignSlots().size(); ++i) {
    const Slot& s = foreignSlots()[i];
    FUZZ_CHECK(after.get(s.section, s.key) == foreign[i]);
  }
}

// Remembers only the last message box, so that a long run does not pile them up.
class LastMessage : public zr::platform::Dialogs {
 public:
  void messageBox(const std::string& text, const std::string&, zr::platform::MessageIcon) override { last = text; }
  std::string last;
};

struct Program {
  Program() { clock.link(&ui); }
  zr::fake::TestUiThread ui;
  zr::fake::FakeClock clock;
  zr::fake::MemoryFileSystem files;
  zr::fake::FakeClipboard clipboard;
  zr::fake::FakeSound sound;
  LastMessage dialogs;
  zr::fake::FakeWindowSystem windows;
  zr::fake::FakeProcess process;
  zr::web::FakeTransport http;
  zr::platform::Services services{clock, ui, files, clipboard, sound, dialogs, windows, process, http};
  zr::shell::App app{services};
};

// The settings file before a save: none, one that reads, or one that is
// there but cannot be read (another program holds it).
enum class Before { Absent, Readable, Locked };

void checkButtons(const std::string& existing, Before before, const std::vector<std::string>& values) {
  static Program* program = new Program();  // lives for the whole run
  auto& form = program->app.main();
  const std::string& path = GBK("D:\\保存配置ZRTK.ini");
  if (before == Before::Absent) {
    program->files.remove(path);
  } else {
    program->files.put(path, existing);
  }
  program->files.setReadable(before != Before::Locked);
  for (std::size_t i = 0; i < kBoxes.size(); ++i) form.setText(kBoxes[i], values[i]);

  zr::shell::saveSettings(program->app);
  if (before == Before::Locked) {
    // A locked file is not replaced; once free, the save goes over it.
    FUZZ_CHECK(program->dialogs.last == GBK("保存数据失败!"));
    FUZZ_CHECK(program->files.get(path) == existing);
    program->files.setReadable(true);
    zr::shell::saveSettings(program->app);
  }
  FUZZ_CHECK(program->dialogs.last == GBK("保存数据成功!"));
  program->files.setReadable(true);
  for (int box : kBoxes) form.setText(box, "");
  zr::shell::loadSettings(program->app);

  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    const std::string loaded = form.text(kBoxes[i]);
    if (i == kAdvert) {
      FUZZ_CHECK(loaded.empty());
    } else {
      checkLoaded(values[i], loaded);
    }
  }
  // Frees what this input allocated, so that libFuzzer's leak check, which
  // runs whenever allocations and frees differ, stays quiet and fast.
  for (int box : kBoxes) form.setText(box, "");
  program->files.put(path, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto before = static_cast<Before>(input.ConsumeIntegralInRange<int>(0, 2));
  const std::string existing = input.ConsumeRandomLengthString(8192);
  std::vector<std::string> values;
  for (std::size_t i = 0; i < kBoxes.size(); ++i) values.push_back(input.ConsumeRandomLengthString(48));
  // Now and then one box holds a text around the read limit.
  if (input.ConsumeIntegralInRange<int>(0, 7) == 0) {
    const std::size_t box = input.ConsumeIntegralInRange<std::size_t>(0, kBoxes.size() - 1);
    values[box] = nearLimit(values[box], kMaxValue - 2 + input.ConsumeIntegralInRange<std::size_t>(0, 4));
  }

  // Reading any bytes works and asks nothing of the content.
  const IniFile parsed = IniFile::parse(existing);
  FUZZ_CHECK(parsed.serialize() == existing);
  for (const Slot& s : slots()) {
    const auto value = parsed.get(s.section, s.key);
    FUZZ_CHECK(!value || value->size() <= kMaxValue);
  }

  checkFileFormat(before == Before::Absent ? std::string() : existing, values);
  checkButtons(existing, before, values);
  return 0;
}
