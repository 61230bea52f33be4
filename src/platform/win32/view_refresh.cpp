#include <windows.h>

#include <commctrl.h>

#include "platform/win32/dpi.h"
#include "platform/win32/view_form.h"
#include "platform/win32/wide.h"

namespace zr::platform::win32 {

namespace {

bool has(unsigned changes, ui::Change what) { return (changes & (1u << static_cast<unsigned>(what))) != 0; }

}  // namespace

void FormView::refresh() {
  ViewLink::Dirty dirty = link_->take();
  if (!dirty.any || destroying_) return;
  for (std::size_t i = 0; i < dirty.controls.size(); ++i) {
    if (dirty.controls[i] && controls_[i]) applyControl(static_cast<int>(i), dirty.controls[i]);
  }
  for (std::size_t p = 0; p < dirty.parts.size(); ++p) {
    if (dirty.parts[p]) applyStatus(static_cast<int>(p));
  }
  if (dirty.form) applyForm(dirty.form);
}

void FormView::setTextQuietly(HWND hwnd, const std::wstring& text) {
  // Setting an edit box's text sends EN_CHANGE; that one is ours, not the user's.
  quiet_ = true;
  SetWindowTextW(hwnd, text.c_str());
  quiet_ = false;
}

void FormView::applyControl(int ctl, unsigned changes) {
  HWND hwnd = controls_[ctl];
  const ui::ControlDef& c = def_.controls[ctl];
  if (has(changes, ui::Change::Text) && c.kind != ui::Kind::List && c.kind != ui::Kind::StatusBar) {
    std::wstring text = widen(model_->text(ctl));
    // Unchanged text is left alone, so the caret and scroll position stay.
    if (text != windowText(hwnd)) setTextQuietly(hwnd, text);
  }
  if (has(changes, ui::Change::Checked)) {
    SendMessageW(hwnd, BM_SETCHECK, model_->checked(ctl) ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (has(changes, ui::Change::Enabled)) EnableWindow(hwnd, model_->enabled(ctl) ? TRUE : FALSE);
  if (c.kind == ui::Kind::List) {
    if (has(changes, ui::Change::Rows)) {
      SendMessageW(hwnd, LVM_SETITEMCOUNT, model_->rowCount(ctl), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }
    if (has(changes, ui::Change::Rows) || has(changes, ui::Change::Cell)) InvalidateRect(hwnd, nullptr, FALSE);
    if (has(changes, ui::Change::Scroll)) {
      int row = model_->visibleRow(ctl);
      if (row >= 0) SendMessageW(hwnd, LVM_ENSUREVISIBLE, row, FALSE);
    }
  }
}

void FormView::applyStatus(int part) {
  if (!statusBar_) return;
  std::wstring text = widen(model_->status(part));
  SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void FormView::moveToModelPosition() {
  const ui::Point at = model_->position();
  const UINT screenDpi = dpi::forSystem();
  SetWindowPos(hwnd_, nullptr, dpi::scale(at.x, screenDpi), dpi::scale(at.y, screenDpi), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormView::applyForm(unsigned changes) {
  if (has(changes, ui::Change::Text)) SetWindowTextW(hwnd_, widen(model_->text(ui::kForm)).c_str());
  if (has(changes, ui::Change::Moved)) moveToModelPosition();
  if (has(changes, ui::Change::Closed)) {
    // Destroyed from a message of its own, once this refresh has returned.
    destroying_ = true;
    PostMessageW(hwnd_, kDestroyMessage, 0, 0);
  }
}

}  // namespace zr::platform::win32
