// The real main window under Wine: the native view, the Win32 message loop,
// the real clipboard, message boxes and files, with the handlers of the
// counters, the copy buttons, the plan and the settings. Only the process
// exit is recorded instead of done, and drive D: is a folder of the test.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "plan/plan.h"
#include "platform/fake/recorders.h"
#include "platform/win32/dpi.h"
#include "platform/win32/services.h"
#include "platform/win32/ui_thread.h"
#include "platform/win32/view_form.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_system.h"
#include "shell/app.h"
#include "shell/counters.h"
#include "shell/settings.h"
#include "tests/support/settings_layout.h"
#include "text/dates.h"
#include "text/gbk.h"
#include "web/fake_transport.h"
#include "wine/message_pump.h"

namespace zr::platform::win32 {
namespace {

using wine_test::pumpUntil;

// The program declares per-monitor awareness before its first window; so
// does this test program, before any test makes one.
const bool kAware = (dpi::enableAwareness(), true);

// The program's "D:\..." paths in a fresh folder, through the real file service.
class DriveFolder final : public FileSystem {
 public:
  DriveFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    dir_ = std::wstring(base) + L"zrtk-d-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir_.c_str(), nullptr);
  }
  ~DriveFolder() override {
    for (const wchar_t* name : {L"计划区.txt", L"保存配置ZRTK.ini"}) {
      DeleteFileW((dir_ + L"\\" + name).c_str());
      RemoveDirectoryW((dir_ + L"\\" + name).c_str());
    }
    RemoveDirectoryW(dir_.c_str());
  }
  std::optional<std::string> readFile(const std::string& path) override { return real_.readFile(map(path)); }
  bool writeFileAtomic(const std::string& path, std::string_view bytes) override {
    return real_.writeFileAtomic(map(path), bytes);
  }
  bool exists(const std::string& path) override { return real_.exists(map(path)); }
  std::optional<std::string> read(const wchar_t* name) { return real_.readFile(text::wideToGbk(dir_ + L"\\" + name)); }
  // A folder where a file of the program belongs: it can be neither read nor replaced.
  void block(const wchar_t* name) { CreateDirectoryW((dir_ + L"\\" + name).c_str(), nullptr); }

 private:
  std::string map(const std::string& path) const {
    if (path.size() >= 3 && (path[0] == 'D' || path[0] == 'd') && path[1] == ':' && path[2] == '\\') {
      return text::wideToGbk(dir_) + path.substr(2);
    }
    return path;
  }
  std::wstring dir_;
  Win32FileSystem real_;
};

// What the clipboard holds, read back as another program would.
struct ClipboardContent {
  std::optional<std::wstring> unicode;
  std::optional<std::string> ansi;  // the CF_TEXT bytes
};

ClipboardContent readClipboard() {
  ClipboardContent out;
  bool opened = false;
  for (int i = 0; i < 50 && !(opened = OpenClipboard(nullptr)); ++i) Sleep(10);
  if (!opened) return out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    out.unicode = static_cast<const wchar_t*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    out.ansi = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

void putSentinelOnClipboard() {
  static const wchar_t kSentinel[] = L"sentinel";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof kSentinel);
  std::memcpy(GlobalLock(mem), kSentinel, sizeof kSentinel);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
}

// Answers the message boxes of this process with OK, keeping their texts.
class MessageBoxAnswerer {
 public:
  struct Box {
    std::wstring title, text;
  };
  MessageBoxAnswerer() : thread_([this] { run(); }) {}
  ~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  std::vector<Box> boxes() {
    std::lock_guard lock(mutex_);
    return boxes_;
  }

 private:
  void run() {
    while (!stop_) {
      EnumWindows(
          [](HWND hwnd, LPARAM self) -> BOOL {
            reinterpret_cast<MessageBoxAnswerer*>(self)->answer(hwnd);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }
  void answer(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return;
    if (answered_ == hwnd) return;
    Box box{windowText(hwnd), {}};
    EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM out) -> BOOL {
          wchar_t c[32] = {};
          GetClassNameW(child, c, 32);
          std::wstring text = windowText(child);
          if (_wcsicmp(c, L"Static") == 0 && !text.empty()) *reinterpret_cast<std::wstring*>(out) += text;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&box.text));
    {
      std::lock_guard lock(mutex_);
      boxes_.push_back(box);
    }
    answered_ = hwnd;
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Box> boxes_;
  HWND answered_ = nullptr;
  std::thread thread_;
};

// The status bar's own messages, counted on their way in: how often the view
// refreshed a part and how often the bar painted.
struct StatusBarCounts {
  static inline WNDPROC original = nullptr;
  static inline std::atomic<int> setTexts[2] = {0, 0};
  static inline std::atomic<int> paints{0};
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == SB_SETTEXTW && (wp & 0xFF) < 2) ++setTexts[wp & 0xFF];
    if (msg == WM_PAINT) ++paints;
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::installShell(app);
    shell::installCounters(app);
    shell::installSettings(app);
    plan::installPlan(app);
    // Handlers are registered before the form opens.
    for (int box : {mf::编辑框_结果, mf::编辑框_外号}) {
      app.main().on(box, ui::Event::TextChanged, [this, box] {
        std::lock_guard lock(seenMutex);
        seen[box].push_back(app.main().text(box));
      });
    }
    form = windows.showMain(app.mainForm, [this] { destroyed = true; });
    ASSERT_NE(form, nullptr);
    app.main().open();
    // Created has run once today's date is on the screen.
    const std::wstring today = text::gbkToWide(text::normaliseDate(text::todayText(clock.today())));
    ASSERT_TRUE(pumpUntil([&] { return shown(mf::编辑框_日期_右) == today; }));
  }

  void TearDown() override {
    if (form && IsWindow(form)) {
      PostMessageW(form, WM_CLOSE, 0, 0);
      EXPECT_TRUE(pumpUntil([&] { return destroyed.load(); }));
      EXPECT_EQ(process.exitCode(), 0);  // closing the window ends the program with 0
    }
  }

  HWND control(int ctl) const { return FormView::controlWindow(form, ctl); }
  std::wstring shown(int ctl) const { return windowText(control(ctl)); }
  // As the user pastes over the whole text of a box: the edit box's own
  // change (setting a multi-line box's text would notify nothing).
  void typeInto(int ctl, const std::wstring& text) {
    SendMessageW(control(ctl), EM_SETSEL, 0, -1);
    SendMessageW(control(ctl), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void click(int ctl) { SendMessageW(control(ctl), BM_CLICK, 0, 0); }
  // Waits until every box shows the model's text for it.
  bool shownAsModel(std::initializer_list<int> ctls) {
    return pumpUntil([&] {
      for (int c : ctls)
        if (shown(c) != text::gbkToWide(app.main().text(c))) return false;
      return true;
    });
  }
  // Clicks and waits until the clipboard holds something new.
  ClipboardContent clickAndReadClipboard(int button) {
    putSentinelOnClipboard();
    click(button);
    ClipboardContent got;
    pumpUntil([&] {
      got = readClipboard();
      return got.unicode != L"sentinel";
    });
    return got;
  }
  std::vector<std::string> seenTexts(int box) {
    std::lock_guard lock(seenMutex);
    return seen[box];
  }

  Win32UiThread ui;  // this thread runs the loop
  Win32Clock clock;
  DriveFolder files;
  Win32Clipboard clipboard;
  Win32Sound sound;
  Win32Dialogs dialogs;
  Win32WindowSystem windows{ui};
  fake::FakeProcess process;
  web::FakeTransport http;
  Services services{clock, ui, files, clipboard, sound, dialogs, windows, process, http};
  shell::App app{services};
  HWND form = nullptr;
  std::atomic<bool> destroyed{false};
  std::mutex seenMutex;
  std::map<int, std::vector<std::string>> seen;
};

TEST_F(MainWindowTest, ChineseTextsAreRightWhateverTheAnsiCodePage) {
  // Under Wine here the ANSI code page is 1252: nothing may go through it.
  std::printf("GetACP() = %u\n", GetACP());
  EXPECT_NE(windowText(form).find(L"内置独特随机种子算法"), std::wstring::npos);
  EXPECT_EQ(shown(mf::按钮3), L"一键复制号码+计划");
  EXPECT_EQ(shown(mf::按钮_保存配置), L"保存设置");
  wchar_t part[64] = {};
  SendMessageW(control(mf::状态条1), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(part));
  EXPECT_STREQ(part, L"温馨提示：");
  // The bytes of the model are GBK, not the ANSI code page's.
  EXPECT_EQ(GBK("中期"), "\xD6\xD0\xC6\xDA");

  // Every control with a caption or text shows the model's, converted from GBK.
  for (int ctl = 0; ctl < mf::kCount; ++ctl) {
    const ui::Kind kind = app.main().def().controls[ctl].kind;
    if (!control(ctl) || kind == ui::Kind::List || kind == ui::Kind::StatusBar) continue;
    EXPECT_EQ(shown(ctl), text::gbkToWide(app.main().text(ctl))) << "control " << ctl;
  }
}

TEST_F(MainWindowTest, TheProcessAndItsWindowArePerMonitorDpiAware) {
  using GetContextFn = HANDLE(WINAPI*)(HWND);
  using AwarenessFn = int(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto windowContext =
      reinterpret_cast<GetContextFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  auto awareness = reinterpret_cast<AwarenessFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  ASSERT_TRUE(kAware);
  ASSERT_TRUE(windowContext && awareness) << "this Wine has no per-monitor DPI functions";
  EXPECT_EQ(awareness(windowContext(form)), 2);  // DPI_AWARENESS_PER_MONITOR_AWARE

  // The window is the form's size at the monitor's DPI.
  const UINT dpi = dpi::forWindow(form);
  RECT r;
  GetWindowRect(form, &r);
  EXPECT_EQ(r.right - r.left, dpi::scale(979, dpi));
  EXPECT_EQ(r.bottom - r.top, dpi::scale(593, dpi));

  // zrtk.exe declares the same in its manifest, before any code of it runs.
  wchar_t exe[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"ZRTK_EXE", exe, MAX_PATH)) GTEST_SKIP() << "ZRTK_EXE not set";
  HMODULE image = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr) << "cannot open zrtk.exe";
  HRSRC res = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(res, nullptr);
  std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, res))), SizeofResource(image, res));
  FreeLibrary(image);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("true/pm"), std::string::npos) << manifest;
}

TEST_F(MainWindowTest, CopyButtonsPutTheirBoxOnTheClipboardAsUnicodeAndGbk) {
  struct Case {
    int button, box;
    const wchar_t* text;
  } cases[] = {
      {mf::按钮_复制号码, mf::编辑框_结果, L"003 017 245 "},
      {mf::按钮2, mf::编辑框2, L"12 34 56 "},
      {mf::按钮7, mf::编辑框3, L"中 奖 号\r\n码"},
      {mf::按钮4, mf::编辑框_计划区, L"050期:Pellor|800注|开123 中 底/错/容 3/1/0-1\r\n"},
      {mf::按钮4, mf::编辑框_计划区, L""},  // an empty box leaves the empty text
  };
  for (const Case& c : cases) {
    typeInto(c.box, c.text);
    ASSERT_TRUE(pumpUntil([&] { return app.main().text(c.box) == text::wideToGbk(c.text); })) << c.button;
    ClipboardContent got = clickAndReadClipboard(c.button);
    EXPECT_EQ(got.unicode, std::wstring(c.text)) << c.button;
    EXPECT_EQ(got.ansi, text::wideToGbk(c.text)) << c.button;
  }
}

TEST_F(MainWindowTest, CopyOfNumbersAndPlanFillsTheClipboard) {
  ui::FormModel& f = app.main();
  f.setText(mf::标签_最新一期期号, "120");
  f.setText(mf::编辑框_外号, "Pellor");
  f.setText(mf::编辑框_大底个数, "3");
  f.setText(mf::编辑框_容错_左, "0");
  f.setText(mf::编辑框_容错_右, "1");
  f.setText(mf::编辑框_分隔符, "##");
  f.setText(mf::编辑框_中奖符号, GBK("中"));
  f.setText(mf::编辑框_广告, GBK("广告"));
  ASSERT_TRUE(shownAsModel({mf::标签_最新一期期号, mf::编辑框_外号, mf::编辑框_广告}));
  typeInto(mf::编辑框_计划区, L"119期:Pellor|2注|开123 中 底/\r\n120期:Pellor|2注|开456 挂 底/\r\n");

  struct Case {
    const wchar_t* result;
    const wchar_t* clip;
  } cases[] = {
      {L"123 456 ",
       L"123 456 \r\n\r\n119期:Pellor|2注|开123 中 底/\r\n120期:Pellor|2注|开456 挂 底/\r\n"
       L"\r\n001期:Pellor|2注|未开奖...底/错/容 3/0/0-1\r\n\r\n"
       L"人工参数搜索：总共2期  中奖：1期  中奖率：50%\r\n广告"},
      {L"123 ",
       L"123 \r\n\r\n119期:Pellor|2注|开123 中 底/\r\n120期:Pellor|2注|开456 挂 底/\r\n"
       L"001期:等待开奖....\r\n\r\n"
       L"人工参数搜索：总共2期  中奖：1期  中奖率：50%\r\n广告"},
  };
  for (const Case& c : cases) {
    typeInto(mf::编辑框_结果, c.result);
    ASSERT_TRUE(pumpUntil([&] { return app.main().text(mf::编辑框_结果) == text::wideToGbk(c.result); }));
    ClipboardContent got = clickAndReadClipboard(mf::按钮3);
    EXPECT_EQ(got.unicode, std::wstring(c.clip)) << c.result;
    EXPECT_EQ(got.ansi, text::wideToGbk(c.clip)) << c.result;
  }
}

TEST_F(MainWindowTest, SaveThenLoadRestoresTheBoxesOfTheWindow) {
  // The boxes of the settings file: 数据 (the advert last, saved only) and 数据1.
  std::vector<int> data, data1;
  for (const auto& k : zr::testing::kSettingsData) data.push_back(k.box);
  for (const auto& k : zr::testing::kSettingsData1) data1.push_back(k.box);
  // 取开奖期 must stay within the draw list's rows to be kept.
  for (int i = 0; i < 20; ++i) app.main().appendRow(mf::超级列表框1);
  auto value = [](int section, std::size_t i) {
    return i == 0 ? std::to_wstring(5 + section) : L"值" + std::to_wstring(section) + L"-" + std::to_wstring(i);
  };
  for (std::size_t i = 0; i < data.size(); ++i) typeInto(data[i], value(0, i));
  for (std::size_t i = 0; i < data1.size(); ++i) typeInto(data1[i], value(1, i));
  ASSERT_TRUE(pumpUntil([&] { return app.main().text(mf::编辑框_容对_右1) == text::wideToGbk(value(1, 19)); }));

  {
    MessageBoxAnswerer answerer;
    click(mf::按钮_保存配置);
    ASSERT_TRUE(pumpUntil([&] { return !answerer.boxes().empty(); }));
    pumpUntil([] { return false; }, 100);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].title, L"OK!");
    EXPECT_EQ(answerer.boxes()[0].text, L"保存数据成功!");
  }
  std::optional<std::string> file = files.read(L"保存配置ZRTK.ini");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->rfind(text::wideToGbk(L"[数据]\r\n取开奖期=5\r\n取中奖期左=值0-1\r\n"), 0), 0u);

  for (int box : data) typeInto(box, L"x");
  for (int box : data1) typeInto(box, L"x");
  ASSERT_TRUE(pumpUntil([&] { return app.main().text(mf::编辑框_容对_右1) == "x"; }));

  click(mf::按钮_提取设置);
  ASSERT_TRUE(pumpUntil([&] { return shown(mf::编辑框_容对_右1) == value(1, 19); }));
  ASSERT_TRUE(pumpUntil([&] { return shown(mf::编辑框_取开奖期) == value(0, 0); }));
  for (std::size_t i = 0; i + 1 < data.size(); ++i) EXPECT_EQ(shown(data[i]), value(0, i)) << "数据 " << i;
  for (std::size_t i = 0; i < data1.size(); ++i) EXPECT_EQ(shown(data1[i]), value(1, i)) << "数据1 " << i;
  EXPECT_EQ(shown(mf::编辑框_广告), L"x");  // the advert is never loaded back
}

TEST_F(MainWindowTest, ASaveThatFailsSaysSo) {
  files.block(L"保存配置ZRTK.ini");
  MessageBoxAnswerer answerer;
  click(mf::按钮_保存配置);
  ASSERT_TRUE(pumpUntil([&] { return !answerer.boxes().empty(); }));
  pumpUntil([] { return false; }, 100);
  ASSERT_EQ(answerer.boxes().size(), 1u);
  EXPECT_EQ(answerer.boxes()[0].title, L"错误");
  EXPECT_EQ(answerer.boxes()[0].text, L"保存数据失败!");
}

TEST_F(MainWindowTest, TypingReachesTheModelAndTheModelsChangesAreNotEchoed) {
  HWND box = control(mf::编辑框_结果);
  SetFocus(box);
  const std::wstring typed = L"123 中 ";
  // One text changed per keystroke, each with the text as it then was.
  std::vector<std::string> want;
  for (std::size_t n = 1; n <= typed.size(); ++n) {
    SendMessageW(box, WM_CHAR, typed[n - 1], 1);
    want.push_back(text::wideToGbk(typed.substr(0, n)));
    ASSERT_TRUE(pumpUntil([&] { return seenTexts(mf::编辑框_结果).size() >= want.size(); }));
  }
  ASSERT_TRUE(pumpUntil([&] { return shown(mf::标签_注数) == L"注数：2注"; }));
  EXPECT_EQ(app.main().text(mf::编辑框_结果), text::wideToGbk(typed));
  EXPECT_EQ(seenTexts(mf::编辑框_结果), want);

  // A worker's change reaches the box and fires once, never again as typing;
  // setting the same text again fires again.
  for (const char* text : {"7 8 9 ", "7 8 9 "}) {
    want.push_back(text);
    std::thread([&] { app.main().setText(mf::编辑框_结果, text); }).join();
    ASSERT_TRUE(pumpUntil(
        [&] { return shown(mf::编辑框_结果) == L"7 8 9 " && seenTexts(mf::编辑框_结果).size() >= want.size(); }));
    pumpUntil([] { return false; }, 100);
    EXPECT_EQ(seenTexts(mf::编辑框_结果), want);
  }
  EXPECT_EQ(shown(mf::标签_注数), L"注数：3注");

  // A box without handlers of the program: the same.
  typeInto(mf::编辑框_外号, L"昵称");
  ASSERT_TRUE(pumpUntil([&] { return !seenTexts(mf::编辑框_外号).empty(); }));
  std::thread([&] { app.main().setText(mf::编辑框_外号, GBK("别名")); }).join();
  ASSERT_TRUE(pumpUntil([&] { return shown(mf::编辑框_外号) == L"别名"; }));
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(seenTexts(mf::编辑框_外号), (std::vector<std::string>{GBK("昵称"), GBK("别名")}));
}

TEST_F(MainWindowTest, KeysThroughTheProgramsOwnLoopTypeAndMoveTheFocus) {
  // The loop of zrtk.exe (with its dialog navigation), not the test's pump.
  HWND box = control(mf::编辑框_外号);
  typeInto(mf::编辑框_外号, L"");
  ASSERT_TRUE(pumpUntil([&] { return app.main().text(mf::编辑框_外号).empty(); }));
  SetForegroundWindow(form);
  SetFocus(box);
  ASSERT_EQ(GetFocus(), box);
  for (wchar_t ch : std::wstring(L"甲乙")) PostMessageW(box, WM_CHAR, ch, 1);
  PostMessageW(box, WM_KEYDOWN, VK_TAB, 1);
  PostMessageW(box, WM_KEYUP, VK_TAB, 0xC0000001);
  // WM_QUIT comes once nothing else is queued: the keys, their handlers.
  ui.quit(0);
  // Should anything hang, the loop still ends.
  UINT_PTR guard = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
  EXPECT_EQ(ui.run(), 0);
  KillTimer(nullptr, guard);

  EXPECT_EQ(shown(mf::编辑框_外号), L"甲乙");
  EXPECT_EQ(app.main().text(mf::编辑框_外号), GBK("甲乙"));
  ASSERT_TRUE(pumpUntil([&] { return seenTexts(mf::编辑框_外号).size() >= 3; }));
  EXPECT_EQ(seenTexts(mf::编辑框_外号).back(), GBK("甲乙"));
  // Tab went to the next control of the window.
  EXPECT_NE(GetFocus(), box);
  EXPECT_TRUE(IsChild(form, GetFocus()));
}

TEST_F(MainWindowTest, ABurstOfStatusTextsCostsAtMostAboutOneRefreshPerFrame) {
  HWND bar = control(mf::状态条1);
  StatusBarCounts::original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusBarCounts::proc)));
  StatusBarCounts::setTexts[1] = 0;
  StatusBarCounts::paints = 0;

  constexpr int kTexts = 5000;
  std::atomic<bool> finished{false};
  const auto start = std::chrono::steady_clock::now();
  std::thread worker([&] {
    for (int i = 1; i <= kTexts; ++i) {
      shell::setStatus(app, shell::kSearchPart, GBK("搜索提示：第") + std::to_string(i) + GBK("次"));
      if (i % 10 == 0) Sleep(1);  // spread over many frames
    }
    finished = true;
  });
  const std::wstring last = L"搜索提示：第" + std::to_wstring(kTexts) + L"次";
  auto shownPart = [&] {
    wchar_t text[128] = {};
    SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  ASSERT_TRUE(pumpUntil([&] { return finished && shownPart() == last; }, 30000));
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  worker.join();
  pumpUntil([] { return false; }, 100);
  SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusBarCounts::original));

  const int refreshes = StatusBarCounts::setTexts[1];
  const int frames = static_cast<int>(ms / 16.0);
  std::printf("%d status texts in %.0f ms (%d frames): %d refreshes of the part, %d paints of the bar\n", kTexts, ms,
              frames, refreshes, StatusBarCounts::paints.load());
  // About one per frame: a little room for a late timer and the first refresh.
  const int allowed = frames + frames / 10 + 3;
  EXPECT_GE(refreshes, 1);
  EXPECT_LE(refreshes, allowed);
  EXPECT_LE(StatusBarCounts::paints.load(), allowed);
  EXPECT_EQ(shownPart(), last);
  EXPECT_EQ(StatusBarCounts::setTexts[0], 0);  // the other part was left alone
}

}  // namespace
}  // namespace zr::platform::win32
