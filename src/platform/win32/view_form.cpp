#include "platform/win32/view_form.h"

#include <windows.h>

#include <commctrl.h>

#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/skin_paint.h"
#include "platform/win32/ui_thread.h"
#include "platform/win32/wide.h"

namespace zr::platform::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"zrtk.Form";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMs = 16;

void registerClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

// A model may still call its observer for a moment after the view let go of
// it, so a link lives on until its model is gone.
void retire(std::shared_ptr<ui::FormModel> model, std::shared_ptr<ViewLink> link) {
  static std::vector<std::pair<std::weak_ptr<ui::FormModel>, std::shared_ptr<ViewLink>>> retired;
  std::erase_if(retired, [](const auto& entry) { return entry.first.expired(); });
  retired.emplace_back(model, std::move(link));
}

}  // namespace

FormView::FormView(std::shared_ptr<ui::FormModel> model, ViewOptions options)
    : model_(std::move(model)),
      def_(model_->def()),
      options_(std::move(options)),
      link_(std::make_shared<ViewLink>(def_.controls.size(), def_.parts.size())),
      controls_(def_.controls.size(), nullptr) {}

FormView::~FormView() {
  if (font_) DeleteObject(font_);
}

HWND FormView::create(std::shared_ptr<ui::FormModel> model, ViewOptions options) {
  registerClass();
  auto* view = new FormView(std::move(model), std::move(options));
  // Observed before the window reads the model, so no change falls between.
  view->model_->setObserver(view->link_.get());

  view->dpi_ = dpi::forSystem();
  const ui::Point at = view->model_->position();
  const UINT screenDpi = dpi::forSystem();
  DWORD style, exStyle;
  if (view->options_.topmostNoActivate) {
    style = WS_POPUP | WS_CAPTION;
    exStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  } else {
    style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    exStyle = WS_EX_CONTROLPARENT;
  }
  HWND hwnd =
      CreateWindowExW(exStyle, kFormClass, widen(view->model_->text(ui::kForm)).c_str(), style,
                      dpi::scale(at.x, screenDpi), dpi::scale(at.y, screenDpi), dpi::scale(view->def_.w, view->dpi_),
                      dpi::scale(view->def_.h, view->dpi_), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) {
    view->model_->setObserver(nullptr);
    retire(view->model_, view->link_);
    delete view;
    return nullptr;
  }
  view->hwnd_ = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));

  view->createControls();
  // The window takes the DPI of the monitor it was placed on.
  view->layout(dpi::forWindow(hwnd));
  // Placed on a monitor of another DPI than the primary one, it takes that monitor's size.
  if (view->dpi_ != screenDpi) {
    SetWindowPos(hwnd, nullptr, 0, 0, dpi::scale(view->def_.w, view->dpi_), dpi::scale(view->def_.h, view->dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The window takes the skin's look, if one is attached, before it shows.
  skin::install();
  skin::formCreated(hwnd, view->def_, view->controls_);
  Win32UiThread::markNavigable(hwnd);
  view->link_->attach(hwnd);

  ShowWindow(hwnd, view->options_.topmostNoActivate ? SW_SHOWNOACTIVATE : SW_SHOW);
  UpdateWindow(hwnd);
  return hwnd;
}

LRESULT CALLBACK FormView::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* view = reinterpret_cast<FormView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!view) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
    auto onDestroyed = std::move(view->options_.onDestroyed);
    delete view;
    if (onDestroyed) onDestroyed();
    return result;
  }
  return view->handle(msg, wp, lp);
}

LRESULT FormView::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT painted; skin::handle(hwnd_, msg, wp, lp, painted)) return painted;
  switch (msg) {
    case kDestroyMessage:
      // The view goes with the window: nothing of it may be touched after this.
      DestroyWindow(hwnd_);
      return 0;
    case kRefreshMessage:
      refresh();
      SetTimer(hwnd_, kFrameTimer, kFrameMs, nullptr);
      return 0;
    case WM_TIMER:
      if (wp == kFrameTimer) {
        if (link_->settle()) {
          KillTimer(hwnd_, kFrameTimer);
        } else {
          refresh();
        }
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lp) {
        int ctl = controlAt(reinterpret_cast<HWND>(lp));
        if (ctl >= 0) onCommand(ctl, HIWORD(wp));
        return 0;
      }
      // Escape and Enter in the window's dialog navigation close nothing.
      return 0;
    case WM_NOTIFY:
      return onNotify(reinterpret_cast<const NMHDR*>(lp));
    case WM_CTLCOLOREDIT: {
      int ctl = controlAt(reinterpret_cast<HWND>(lp));
      if (ctl >= 0 && (def_.controls[ctl].flags & ui::BlueText)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    }
    case WM_SIZE:
      if (statusBar_) SendMessageW(statusBar_, WM_SIZE, 0, 0);
      break;
    case WM_MOUSEACTIVATE:
      if (options_.topmostNoActivate) return MA_NOACTIVATE;
      break;
    case WM_DPICHANGED: {
      layout(HIWORD(wp));
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      // Closing goes through the model, so that its Destroying handlers run;
      // the model then tells the view to destroy the window.
      if (model_->isOpen()) {
        model_->close();
      } else {
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_DESTROY:
      destroying_ = true;
      skin::formDestroyed(hwnd_);
      KillTimer(hwnd_, kFrameTimer);
      link_->detach();
      model_->setObserver(nullptr);
      if (model_->isOpen()) model_->close();
      retire(model_, link_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void FormView::onCommand(int ctl, int code) {
  const ui::ControlDef& c = def_.controls[ctl];
  switch (c.kind) {
    case ui::Kind::Edit:
      if (code == EN_CHANGE && !quiet_) model_->userSetText(ctl, narrow(windowText(controls_[ctl])));
      break;
    case ui::Kind::Button:
    case ui::Kind::Radio:
    case ui::Kind::Check:
      if (code == BN_CLICKED) {
        model_->userClick(ctl);
        // The button shows its own new state; the next refresh confirms the model's.
        if (c.kind != ui::Kind::Button) link_->modelChanged(ctl, ui::Change::Checked);
      }
      break;
    default:
      break;
  }
}

LRESULT FormView::onNotify(const NMHDR* header) {
  int ctl = controlAt(header->hwndFrom);
  if (ctl < 0 || def_.controls[ctl].kind != ui::Kind::List) return 0;
  if (header->code == LVN_GETDISPINFOW) {
    // The draw list is virtual: its rows are read from the model as they are drawn.
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
      std::wstring text = widen(model_->cell(ctl, item.iItem, item.iSubItem));
      std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
      text.copy(item.pszText, n);
      item.pszText[n] = L'\0';
    }
  }
  return 0;
}

}  // namespace zr::platform::win32
