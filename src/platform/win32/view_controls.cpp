#include <windows.h>

#include <commctrl.h>

#include "platform/win32/dpi.h"
#include "platform/win32/skin_paint.h"
#include "platform/win32/view_form.h"
#include "platform/win32/wide.h"

namespace zr::platform::win32 {

namespace {

constexpr int kIdBase = 1000;

void initCommonControls() {
  // comctl32 is looked up at run time; the manifest picks its version 6.
  static const bool done = [] {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    auto init = comctl
                    ? reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")))
                    : nullptr;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return init && init(&icc);
  }();
  (void)done;
}

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

WindowKind kindOf(const ui::ControlDef& c) {
  using ui::Kind;
  switch (c.kind) {
    case Kind::GroupBox:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::Label:
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case Kind::Edit: {
      DWORD style = WS_TABSTOP;
      if (c.flags & ui::Multiline) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (c.flags & ui::VScroll) style |= WS_VSCROLL;
        if (c.flags & ui::HScroll) style |= WS_HSCROLL | ES_AUTOHSCROLL;
      } else {
        style |= ES_AUTOHSCROLL;
      }
      // A thin border leaves the narrow boxes of the forms room for their text.
      return {L"EDIT", style | WS_BORDER, 0};
    }
    case Kind::Button:
      return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case Kind::Radio:
      return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case Kind::Check:
      return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case Kind::List:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case Kind::StatusBar:
      return {STATUSCLASSNAMEW, 0, 0};
    case Kind::Timer:
    case Kind::FileDialog:
      break;
  }
  return {nullptr, 0, 0};
}

// Creation order: the table's, except that the radio buttons of one parent
// follow each other, so that each choice is one dialog group.
std::vector<int> creationOrder(const ui::FormDef& def) {
  const int n = static_cast<int>(def.controls.size());
  std::vector<int> order;
  std::vector<bool> taken(n, false);
  for (int i = 0; i < n; ++i) {
    if (taken[i]) continue;
    const ui::ControlDef& c = def.controls[i];
    if (c.kind != ui::Kind::Radio) {
      order.push_back(i);
      continue;
    }
    for (int j = i; j < n; ++j) {
      if (def.controls[j].kind == ui::Kind::Radio && def.controls[j].parent == c.parent) {
        order.push_back(j);
        taken[j] = true;
      }
    }
  }
  return order;
}

}  // namespace

POINT FormView::placeOf(int ctl) const {
  POINT at{0, 0};
  for (int i = ctl; i != ui::kForm; i = def_.controls[i].parent) {
    at.x += def_.controls[i].x;
    at.y += def_.controls[i].y;
  }
  return at;
}

HWND FormView::controlWindow(HWND form, int ctl) { return ctl < 0 ? nullptr : GetDlgItem(form, kIdBase + ctl); }

int FormView::controlAt(HWND child) const {
  int ctl = GetDlgCtrlID(child) - kIdBase;
  if (ctl < 0 || ctl >= static_cast<int>(controls_.size()) || controls_[ctl] != child) return -1;
  return ctl;
}

void FormView::createControls() {
  initCommonControls();
  quiet_ = true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  bool previousWasRadio = false;
  int previousParent = ui::kForm - 1;
  for (int ctl : creationOrder(def_)) {
    const ui::ControlDef& c = def_.controls[ctl];
    WindowKind kind = kindOf(c);
    if (!kind.className) continue;
    // Each control starts a dialog group, except the radio buttons after the
    // first of a choice.
    bool continuesChoice = c.kind == ui::Kind::Radio && previousWasRadio && previousParent == c.parent;
    previousWasRadio = c.kind == ui::Kind::Radio;
    previousParent = c.parent;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | (continuesChoice ? 0 : WS_GROUP);
    std::wstring text = c.kind == ui::Kind::StatusBar ? std::wstring() : widen(model_->text(ctl));
    HWND hwnd = CreateWindowExW(kind.exStyle, kind.className, text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBase + ctl)), instance, nullptr);
    if (!hwnd) continue;
    controls_[ctl] = hwnd;
    switch (c.kind) {
      case ui::Kind::Edit:
        SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
        break;
      case ui::Kind::Radio:
      case ui::Kind::Check:
        SendMessageW(hwnd, BM_SETCHECK, model_->checked(ctl) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case ui::Kind::List: {
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        int column = 0;
        for (const ui::ColumnDef& col : def_.columns) {
          if (col.list != ctl) continue;
          std::wstring header = widenUtf8(col.header);
          LVCOLUMNW lvc{};
          lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
          lvc.pszText = header.data();
          lvc.cx = col.width;
          lvc.iSubItem = column;
          SendMessageW(hwnd, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
          ++column;
        }
        SendMessageW(hwnd, LVM_SETITEMCOUNT, model_->rowCount(ctl), LVSICF_NOSCROLL);
        break;
      }
      case ui::Kind::StatusBar:
        statusBar_ = hwnd;
        statusCtl_ = ctl;
        break;
      default:
        break;
    }
    if (!model_->enabled(ctl)) EnableWindow(hwnd, FALSE);
  }
  // Group boxes go below every other control, so that they never paint over
  // what they frame, and an outer one below the ones inside it: a parent
  // comes before its children in the table, so the last one sent down is
  // the outermost.
  for (std::size_t i = controls_.size(); i-- > 0;) {
    if (controls_[i] && def_.controls[i].kind == ui::Kind::GroupBox) {
      SetWindowPos(controls_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  quiet_ = false;
}

void FormView::layout(UINT dpi) {
  dpi_ = dpi;
  HFONT font = dpi::createUiFont(dpi);
  auto s = [dpi](int v) { return dpi::scale(v, dpi); };
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    HWND hwnd = controls_[i];
    if (!hwnd) continue;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (hwnd == statusBar_) continue;
    const ui::ControlDef& c = def_.controls[i];
    POINT at = placeOf(static_cast<int>(i));
    SetWindowPos(hwnd, nullptr, s(at.x), s(at.y), s(c.w), s(c.h), SWP_NOZORDER | SWP_NOACTIVATE);
    // The forms' boxes are narrow (a date in 67 pixels): no inner margins.
    if (c.kind == ui::Kind::Edit) {
      SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    }
    if (c.kind == ui::Kind::List) {
      int column = 0;
      for (const ui::ColumnDef& col : def_.columns) {
        if (col.list == static_cast<int>(i)) SendMessageW(hwnd, LVM_SETCOLUMNWIDTH, column++, s(col.width));
      }
    }
  }
  if (statusBar_) {
    std::vector<int> edges;
    int right = 0;
    for (const ui::PartDef& part : def_.parts) {
      if (part.bar != statusCtl_) continue;
      right += s(part.width);
      edges.push_back(right);
    }
    SendMessageW(statusBar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (std::size_t p = 0; p < edges.size(); ++p) applyStatus(static_cast<int>(p));
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
  }
  if (font_) DeleteObject(font_);
  font_ = font;
  // The result boxes keep the skin's monospaced font at the new size.
  skin::fontsChanged(hwnd_);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace zr::platform::win32
