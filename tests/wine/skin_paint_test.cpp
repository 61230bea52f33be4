// The skin on the real main window under Wine: what the window answers to
// the controls' colour messages and which font the result boxes get, with
// the skin attached (from the UI thread or from a worker), detached, or
// given a damaged block.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/win32/dpi.h"
#include "platform/win32/skin_paint.h"
#include "platform/win32/ui_thread.h"
#include "platform/win32/view_form.h"
#include "resources/resources.h"
#include "shell/skin.h"
#include "ui/form_model.h"
#include "ui/forms.h"
#include "wine/message_pump.h"

namespace zr::platform::win32 {
namespace {

using shell::Palette;
using shell::SkinRole;
using wine_test::pumpUntil;

COLORREF ref(shell::Rgb c) { return RGB(c.r, c.g, c.b); }

// What the window answers to one control's colour message.
struct Answer {
  COLORREF brush = CLR_INVALID, text = CLR_INVALID;
};

class SkinPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = std::make_shared<ui::FormModel>(ui::mainFormDef(), ui_);
    form_ = FormView::create(model_, {});
    ASSERT_NE(form_, nullptr);
    dc_ = CreateCompatibleDC(nullptr);
    const auto skin = res::skinData();
    palette_ = *shell::parseSkin(skin);
  }
  void TearDown() override {
    shell::processSkinEngine().detach();
    DeleteDC(dc_);
    DestroyWindow(form_);
    pumpUntil([] { return false; }, 50);
  }

  HWND control(int ctl) const { return FormView::controlWindow(form_, ctl); }

  Answer ask(UINT msg, int ctl) {
    Answer a;
    SetTextColor(dc_, RGB(1, 2, 3));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form_, msg, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(control(ctl))));
    LOGBRUSH lb{};
    if (brush && GetObjectW(brush, sizeof(lb), &lb)) a.brush = lb.lbColor;
    a.text = GetTextColor(dc_);
    return a;
  }

  bool fixedPitch(int ctl) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control(ctl), WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc_, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    SelectObject(dc_, old);
    return (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;  // the bit means variable pitch
  }

  bool skinned() { return ask(WM_CTLCOLORSTATIC, mf::标签32).brush == ref(palette_[SkinRole::WindowBackground]); }

  Win32UiThread ui_;
  std::shared_ptr<ui::FormModel> model_;
  HWND form_ = nullptr;
  HDC dc_ = nullptr;
  Palette palette_;
};

TEST_F(SkinPaintTest, AttachedSkinAnswersEveryControlKindWithItsPalette) {
  ASSERT_FALSE(skinned());
  shell::processSkinEngine().attach(res::skinData());
  ASSERT_TRUE(pumpUntil([&] { return skinned(); }));

  struct Case {
    const char* what;
    UINT msg;
    int ctl;
    SkinRole background, text;
  };
  const Case cases[] = {
      {"label", WM_CTLCOLORSTATIC, mf::标签32, SkinRole::WindowBackground, SkinRole::LabelText},
      {"check box", WM_CTLCOLORSTATIC, mf::选择框1, SkinRole::WindowBackground, SkinRole::LabelText},
      {"group box", WM_CTLCOLORSTATIC, mf::分组框4, SkinRole::WindowBackground, SkinRole::GroupCaption},
      {"edit box", WM_CTLCOLOREDIT, mf::编辑框_取开奖期, SkinRole::EditBackground, SkinRole::EditText},
      {"result box", WM_CTLCOLOREDIT, mf::编辑框_结果, SkinRole::EditBackground, SkinRole::EditText},
      {"plan area", WM_CTLCOLOREDIT, mf::编辑框_计划区, SkinRole::EditBackground, SkinRole::Accent},
      {"button", WM_CTLCOLORBTN, mf::按钮1, SkinRole::WindowBackground, SkinRole::ButtonText},
  };
  for (const Case& c : cases) {
    Answer a = ask(c.msg, c.ctl);
    EXPECT_EQ(a.brush, ref(palette_[c.background])) << c.what;
    EXPECT_EQ(a.text, ref(palette_[c.text])) << c.what;
  }
  for (int box : {mf::编辑框2, mf::编辑框3, mf::编辑框_结果}) EXPECT_TRUE(fixedPitch(box)) << box;
  EXPECT_FALSE(fixedPitch(mf::编辑框_计划区));
}

TEST_F(SkinPaintTest, DetachGivesBackTheSystemLookAndTheBoxesTheirFont) {
  const HFONT own = reinterpret_cast<HFONT>(SendMessageW(control(mf::编辑框_结果), WM_GETFONT, 0, 0));
  const Answer system = ask(WM_CTLCOLORSTATIC, mf::标签32);
  shell::processSkinEngine().attach(res::skinData());
  ASSERT_TRUE(pumpUntil([&] { return skinned(); }));
  ASSERT_NE(reinterpret_cast<HFONT>(SendMessageW(control(mf::编辑框_结果), WM_GETFONT, 0, 0)), own);

  shell::processSkinEngine().detach();
  ASSERT_TRUE(pumpUntil([&] { return !skinned(); }));
  EXPECT_EQ(ask(WM_CTLCOLORSTATIC, mf::标签32).brush, system.brush);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control(mf::编辑框_结果), WM_GETFONT, 0, 0)), own);

  // Attached again, as each new notification window does.
  shell::processSkinEngine().attach(res::skinData());
  EXPECT_TRUE(pumpUntil([&] { return skinned(); }));
}

TEST_F(SkinPaintTest, ADamagedBlockLeavesTheSystemLook) {
  shell::processSkinEngine().attach(res::skinData());
  ASSERT_TRUE(pumpUntil([&] { return skinned(); }));
  auto bytes = std::vector<std::uint8_t>(res::skinData().begin(), res::skinData().end());
  bytes[10] ^= 0x40;
  shell::processSkinEngine().attach(bytes);
  EXPECT_TRUE(pumpUntil([&] { return !skinned(); }));
  EXPECT_FALSE(fixedPitch(mf::编辑框_结果));
}

TEST_F(SkinPaintTest, AnAttachFromAWorkerThreadReachesTheWindow) {
  std::thread([] { shell::processSkinEngine().attach(res::skinData()); }).join();
  EXPECT_TRUE(pumpUntil([&] { return skinned(); }));
}

}  // namespace
}  // namespace zr::platform::win32
