#include "platform/win32/skin_paint.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/dpi.h"
#include "shell/skin.h"

namespace zr::platform::win32::skin {

namespace {

using shell::Palette;
using shell::Rgb;
using shell::SkinRole;

// What the look does with a control.
enum class Part { Other, GroupBox, Label, Edit, ResultEdit, PlanEdit, Button, AccentButton, Choice, List, StatusBar };

// The result boxes show their numbers in columns; the search button is the
// one button in the accent colour.
constexpr const char* kResultBoxes[] = {"编辑框2", "编辑框3", "编辑框_结果"};
constexpr const char* kAccentButton = "按钮_搜索";

Part partOf(const ui::ControlDef& c) {
  using ui::Kind;
  switch (c.kind) {
    case Kind::GroupBox:
      return Part::GroupBox;
    case Kind::Label:
      return Part::Label;
    case Kind::Edit:
      for (const char* name : kResultBoxes) {
        if (std::strcmp(c.name, name) == 0) return Part::ResultEdit;
      }
      return (c.flags & ui::BlueText) ? Part::PlanEdit : Part::Edit;
    case Kind::Button:
      return std::strcmp(c.name, kAccentButton) == 0 ? Part::AccentButton : Part::Button;
    case Kind::Radio:
    case Kind::Check:
      return Part::Choice;
    case Kind::List:
      return Part::List;
    case Kind::StatusBar:
      return Part::StatusBar;
    default:
      return Part::Other;
  }
}

COLORREF ref(Rgb c) { return RGB(c.r, c.g, c.b); }

// c moved toward target by amount (0..1).
Rgb mix(Rgb c, Rgb target, double amount) {
  auto m = [amount](int a, int b) { return static_cast<std::uint8_t>(a + (b - a) * amount + 0.5); };
  return {m(c.r, target.r), m(c.g, target.g), m(c.b, target.b)};
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// --- state shared with the engine's threads ---------------------------------

struct Request {
  std::mutex mutex;
  std::optional<Palette> wanted;
  std::vector<HWND> forms;
};

Request& request() {
  static Request r;
  return r;
}

class Painter final : public shell::SkinPainter {
 public:
  void apply(const Palette& palette) override {
    if (systemLookRequested()) return;
    set(palette);
  }
  void remove() override { set(std::nullopt); }

 private:
  static void set(std::optional<Palette> palette) {
    Request& r = request();
    std::lock_guard lock(r.mutex);
    r.wanted = std::move(palette);
    for (HWND form : r.forms) PostMessageW(form, kSkinMessage, 0, 0);
  }
};

// --- UI thread state --------------------------------------------------------

struct Control {
  HWND hwnd;
  Part part;
};

struct Form {
  HWND hwnd;
  std::vector<Control> controls;
  std::map<HWND, HFONT> systemFonts;  // the result boxes' own fonts while they show the monospaced one
};

struct Look {
  std::optional<Palette> palette;
  HBRUSH window = nullptr, edit = nullptr;
  std::map<LONG, HFONT> monoFonts;  // by height, kept for the process
};

Look& look() {
  static Look l;
  return l;
}

std::vector<Form>& forms() {
  static std::vector<Form> f;
  return f;
}

Form* formOf(HWND hwnd) {
  for (Form& f : forms()) {
    if (f.hwnd == hwnd) return &f;
  }
  return nullptr;
}

const Control* controlOf(const Form& form, HWND hwnd) {
  for (const Control& c : form.controls) {
    if (c.hwnd == hwnd) return &c;
  }
  return nullptr;
}

const Palette* palette() { return look().palette ? &*look().palette : nullptr; }

void rebuildLook(const std::optional<Palette>& wanted) {
  Look& l = look();
  if (l.window) DeleteObject(l.window);
  if (l.edit) DeleteObject(l.edit);
  l.window = l.edit = nullptr;
  l.palette = wanted;
  if (!wanted) return;
  l.window = CreateSolidBrush(ref((*wanted)[SkinRole::WindowBackground]));
  l.edit = CreateSolidBrush(ref((*wanted)[SkinRole::EditBackground]));
}

// The first monospaced face the system has; the font mapper's fixed-pitch
// choice otherwise.
const std::wstring& monoFace() {
  static const std::wstring face = [] {
    for (const wchar_t* candidate :
         {L"Consolas", L"Courier New", L"Lucida Console", L"Liberation Mono", L"DejaVu Sans Mono"}) {
      if (dpi::faceExists(candidate)) return std::wstring(candidate);
    }
    return std::wstring();
  }();
  return face;
}

// The monospaced font as tall as the given one.
HFONT monoFontLike(HFONT like) {
  LOGFONTW base{};
  if (!like || !GetObjectW(like, sizeof(base), &base)) base.lfHeight = -12;
  auto& fonts = look().monoFonts;
  auto found = fonts.find(base.lfHeight);
  if (found != fonts.end()) return found->second;
  LOGFONTW font{};
  font.lfHeight = base.lfHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcsncpy(font.lfFaceName, monoFace().c_str(), LF_FACESIZE - 1);
  HFONT made = CreateFontIndirectW(&font);
  fonts.emplace(base.lfHeight, made);
  return made;
}

// The result boxes: the monospaced font with a palette, their own without.
void applyFonts(Form& form) {
  for (const Control& c : form.controls) {
    if (c.part != Part::ResultEdit) continue;
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(c.hwnd, WM_GETFONT, 0, 0));
    bool showsMono = false;
    for (const auto& [height, font] : look().monoFonts) showsMono |= font == current;
    if (!showsMono) form.systemFonts[c.hwnd] = current;
    HFONT own = form.systemFonts[c.hwnd];
    HFONT want = palette() ? monoFontLike(own) : own;
    if (want && want != current) SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(want), TRUE);
  }
}

void applyToForm(Form& form) {
  const Palette* p = palette();
  applyFonts(form);
  for (const Control& c : form.controls) {
    if (c.part != Part::List) continue;
    if (p) {
      SendMessageW(c.hwnd, LVM_SETBKCOLOR, 0, ref((*p)[SkinRole::EditBackground]));
      SendMessageW(c.hwnd, LVM_SETTEXTBKCOLOR, 0, ref((*p)[SkinRole::EditBackground]));
      SendMessageW(c.hwnd, LVM_SETTEXTCOLOR, 0, ref((*p)[SkinRole::EditText]));
    } else {
      SendMessageW(c.hwnd, LVM_SETBKCOLOR, 0, GetSysColor(COLOR_WINDOW));
      SendMessageW(c.hwnd, LVM_SETTEXTBKCOLOR, 0, CLR_DEFAULT);
      SendMessageW(c.hwnd, LVM_SETTEXTCOLOR, 0, GetSysColor(COLOR_WINDOWTEXT));
    }
  }
  RedrawWindow(form.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// Takes the palette the engine asked for last and shows it in the form.
void sync(Form& form) {
  std::optional<Palette> wanted;
  {
    Request& r = request();
    std::lock_guard lock(r.mutex);
    wanted = r.wanted;
  }
  if (look().palette != wanted) rebuildLook(wanted);
  applyToForm(form);
}

// --- drawing ----------------------------------------------------------------

int scaled(HWND hwnd, int v) { return dpi::scale(v, dpi::forWindow(hwnd)); }

void fill(HDC dc, const RECT& rc, Rgb colour) {
  SetDCBrushColor(dc, ref(colour));
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A frame of one pixel, its corners rounded by radius, filled with face
// (or hollow without one).
void roundFrame(HDC dc, const RECT& rc, Rgb line, const Rgb* face, int radius) {
  HPEN pen = CreatePen(PS_SOLID, 1, ref(line));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(face ? DC_BRUSH : NULL_BRUSH));
  if (face) SetDCBrushColor(dc, ref(*face));
  RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, radius * 2, radius * 2);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

std::wstring textOf(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(n, 0)));
  return text;
}

// Text centred in rc, wrapped onto several lines when one is too narrow.
void centredText(HDC dc, const std::wstring& text, RECT rc) {
  RECT measure = rc;
  DrawTextW(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  int h = measure.bottom - measure.top;
  rc.top += std::max(0L, (rc.bottom - rc.top - h) / 2);
  DrawTextW(dc, text.c_str(), -1, &rc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

void drawButton(const Control& c, const NMCUSTOMDRAW& cd) {
  const Palette& p = *palette();
  HDC dc = cd.hdc;
  RECT rc = cd.rc;
  const bool pressed = cd.uItemState & CDIS_SELECTED;
  const bool hot = cd.uItemState & CDIS_HOT;
  const bool focused = cd.uItemState & CDIS_FOCUS;
  const bool disabled = (cd.uItemState & CDIS_DISABLED) || !IsWindowEnabled(c.hwnd);
  const Rgb back = p[SkinRole::WindowBackground];
  const Rgb accent = p[SkinRole::Accent];

  Rgb face, line, text;
  if (c.part == Part::AccentButton) {
    face = pressed ? mix(accent, kBlack, 0.2) : hot ? mix(accent, kBlack, 0.1) : accent;
    line = face;
    const Rgb onAccent = p[SkinRole::EditBackground];
    text = shell::contrastRatio(onAccent, accent) >= 4.5 ? onAccent : p[SkinRole::ButtonText];
  } else {
    face = pressed ? mix(p[SkinRole::ButtonFace], kBlack, 0.08)
           : hot   ? mix(p[SkinRole::ButtonFace], kWhite, 0.4)
                   : p[SkinRole::ButtonFace];
    line = hot || focused ? accent : p[SkinRole::ButtonBorder];
    text = p[SkinRole::ButtonText];
  }
  if (disabled) {
    face = mix(p[SkinRole::ButtonFace], back, 0.5);
    line = mix(p[SkinRole::ButtonBorder], back, 0.4);
    text = mix(p[SkinRole::ButtonText], back, 0.45);
  }

  fill(dc, rc, back);
  roundFrame(dc, rc, line, &face, scaled(c.hwnd, 3));
  if (focused && !disabled) {
    // The focus shows as a second ring inside the frame.
    RECT ring = rc;
    InflateRect(&ring, -scaled(c.hwnd, 2), -scaled(c.hwnd, 2));
    roundFrame(dc, ring, c.part == Part::AccentButton ? p[SkinRole::EditBackground] : accent, nullptr,
               scaled(c.hwnd, 2));
  }

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(c.hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ref(text));
  RECT inner = rc;
  InflateRect(&inner, -scaled(c.hwnd, 3), -scaled(c.hwnd, 2));
  if (pressed) OffsetRect(&inner, 0, 1);
  centredText(dc, textOf(c.hwnd), inner);
  if (oldFont) SelectObject(dc, oldFont);
}

LRESULT buttonCustomDraw(const Control& c, const NMCUSTOMDRAW& cd) {
  // Painted whole at the first stage the control offers (Wine sends a
  // pre-erase stage, Windows may not); the control draws nothing of its own.
  if (cd.dwDrawStage == CDDS_PREERASE || cd.dwDrawStage == CDDS_PREPAINT) {
    drawButton(c, cd);
    return CDRF_SKIPDEFAULT;
  }
  return CDRF_DODEFAULT;
}

// The subclassed controls keep their own window procedure in a property.
constexpr wchar_t kOwnProc[] = L"zrtk.skin.proc";

WNDPROC ownProc(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOwnProc)); }

LRESULT callOwn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC own = ownProc(hwnd);
  LRESULT result = own ? CallWindowProcW(own, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kOwnProc);
  return result;
}

void paintGroupBox(HWND hwnd, HDC dc) {
  const Palette& p = *palette();
  RECT rc;
  GetClientRect(hwnd, &rc);
  fill(dc, rc, p[SkinRole::WindowBackground]);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const std::wstring caption = textOf(hwnd);
  RECT frame = rc;
  frame.top += tm.tmHeight / 2;
  roundFrame(dc, frame, p[SkinRole::GroupFrame], nullptr, scaled(hwnd, 4));
  if (!caption.empty()) {
    RECT text{rc.left + scaled(hwnd, 8), rc.top, rc.right - scaled(hwnd, 8), rc.top + tm.tmHeight};
    RECT measure = text;
    DrawTextW(dc, caption.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    measure.left -= scaled(hwnd, 3);
    measure.right = std::min(measure.right + scaled(hwnd, 3), text.right);
    fill(dc, measure, p[SkinRole::WindowBackground]);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ref(p[SkinRole::GroupCaption]));
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (oldFont) SelectObject(dc, oldFont);
}

// The window procedure of a control that we paint ourselves while a skin is
// attached; without one it is the control's own.
template <void (*paint)(HWND, HDC)>
LRESULT CALLBACK ownPaintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (palette()) {
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
      case WM_PRINTCLIENT: {
        PAINTSTRUCT ps;
        HDC dc = msg == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wp);
        paint(hwnd, dc);
        if (msg == WM_PAINT) EndPaint(hwnd, &ps);
        return 0;
      }
      default:
        break;
    }
  }
  return callOwn(hwnd, msg, wp, lp);
}

void paintStatusBar(HWND hwnd, HDC dc) {
  const Palette& p = *palette();
  RECT rc;
  GetClientRect(hwnd, &rc);
  fill(dc, rc, p[SkinRole::StatusBackground]);
  RECT top{rc.left, rc.top, rc.right, rc.top + 1};
  fill(dc, top, p[SkinRole::GroupFrame]);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ref(p[SkinRole::StatusText]));
  const int parts = static_cast<int>(SendMessageW(hwnd, SB_GETPARTS, 0, 0));
  for (int i = 0; i < parts; ++i) {
    RECT part{};
    SendMessageW(hwnd, SB_GETRECT, i, reinterpret_cast<LPARAM>(&part));
    const int length = LOWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, i, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    RECT inner = part;
    inner.left += scaled(hwnd, 6);
    inner.right -= scaled(hwnd, 4);
    DrawTextW(dc, text.c_str(), -1, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (i + 1 < parts) {
      RECT edge{part.right - 1, part.top + scaled(hwnd, 3), part.right, part.bottom - scaled(hwnd, 3)};
      fill(dc, edge, p[SkinRole::GroupFrame]);
    }
  }
  if (oldFont) SelectObject(dc, oldFont);
}

LRESULT headerCustomDraw(HWND header, NMCUSTOMDRAW& cd) {
  const Palette& p = *palette();
  switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT: {
      const int item = static_cast<int>(cd.dwItemSpec);
      Rgb back = p[SkinRole::ListHeaderBackground];
      if (cd.uItemState & CDIS_SELECTED) back = mix(back, kBlack, 0.08);
      fill(cd.hdc, cd.rc, back);
      RECT edge{cd.rc.right - 1, cd.rc.top + scaled(header, 3), cd.rc.right, cd.rc.bottom - scaled(header, 3)};
      fill(cd.hdc, edge, p[SkinRole::GroupFrame]);
      RECT bottom{cd.rc.left, cd.rc.bottom - 1, cd.rc.right, cd.rc.bottom};
      fill(cd.hdc, bottom, p[SkinRole::GroupFrame]);

      wchar_t text[128] = {};
      HDITEMW hd{};
      hd.mask = HDI_TEXT;
      hd.pszText = text;
      hd.cchTextMax = 127;
      SendMessageW(header, HDM_GETITEMW, item, reinterpret_cast<LPARAM>(&hd));
      RECT inner = cd.rc;
      inner.left += scaled(header, 6);
      inner.right -= scaled(header, 4);
      SetBkMode(cd.hdc, TRANSPARENT);
      SetTextColor(cd.hdc, ref(p[SkinRole::ListHeaderText]));
      DrawTextW(cd.hdc, text, -1, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      return CDRF_SKIPDEFAULT;
    }
    case CDDS_POSTPAINT: {
      // The strip right of the last column.
      const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
      RECT rest;
      GetClientRect(header, &rest);
      if (count > 0) {
        RECT last{};
        SendMessageW(header, HDM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
        rest.left = last.right;
      }
      if (rest.left < rest.right) {
        fill(cd.hdc, rest, p[SkinRole::ListHeaderBackground]);
        RECT bottom{rest.left, rest.bottom - 1, rest.right, rest.bottom};
        fill(cd.hdc, bottom, p[SkinRole::GroupFrame]);
      }
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

// The edit boxes' and the list's borders in the frame colour instead of the
// system's dark line (the list's sunken edge is two pixels wide).
void paintBorder(HWND hwnd, bool twoPixels) {
  const Palette& p = *palette();
  HDC dc = GetWindowDC(hwnd);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  OffsetRect(&rc, -rc.left, -rc.top);
  SetDCBrushColor(dc, ref(p[SkinRole::ButtonBorder]));
  FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  if (twoPixels) {
    InflateRect(&rc, -1, -1);
    SetDCBrushColor(dc, ref(p[SkinRole::EditBackground]));
    FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  ReleaseDC(hwnd, dc);
}

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = callOwn(hwnd, msg, wp, lp);
  if (msg == WM_NCPAINT && palette()) paintBorder(hwnd, false);
  return result;
}

// The draw list's header tells the list, not the form, how it draws.
LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY && palette()) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->code == NM_CUSTOMDRAW &&
        header->hwndFrom == reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0))) {
      return headerCustomDraw(header->hwndFrom, *reinterpret_cast<NMCUSTOMDRAW*>(lp));
    }
  }
  LRESULT result = callOwn(hwnd, msg, wp, lp);
  if (msg == WM_NCPAINT && palette()) paintBorder(hwnd, true);
  return result;
}

void subclass(HWND hwnd, WNDPROC proc) {
  if (ownProc(hwnd)) return;
  SetPropW(hwnd, kOwnProc, reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

}  // namespace

void install() {
  static Painter painter;
  static std::once_flag once;
  std::call_once(once, [] { shell::processSkinEngine().setPainter(&painter); });
}

bool systemLookRequested() {
  static const bool requested = [] {
    const char* value = std::getenv("ZRTK_LOOK");
    return value && std::strcmp(value, "system") == 0;
  }();
  return requested;
}

void formCreated(HWND hwnd, const ui::FormDef& def, std::span<const HWND> controls) {
  Form form{hwnd, {}, {}};
  for (std::size_t i = 0; i < controls.size() && i < def.controls.size(); ++i) {
    if (!controls[i]) continue;
    const Part part = partOf(def.controls[i]);
    form.controls.push_back({controls[i], part});
    if (part == Part::GroupBox) subclass(controls[i], ownPaintProc<paintGroupBox>);
    if (part == Part::StatusBar) subclass(controls[i], ownPaintProc<paintStatusBar>);
    if (part == Part::List) subclass(controls[i], listProc);
    if (part == Part::Edit || part == Part::ResultEdit || part == Part::PlanEdit) subclass(controls[i], editProc);
  }
  forms().push_back(std::move(form));
  {
    Request& r = request();
    std::lock_guard lock(r.mutex);
    r.forms.push_back(hwnd);
  }
  sync(forms().back());
}

void formDestroyed(HWND hwnd) {
  {
    Request& r = request();
    std::lock_guard lock(r.mutex);
    std::erase(r.forms, hwnd);
  }
  std::erase_if(forms(), [hwnd](const Form& f) { return f.hwnd == hwnd; });
}

void fontsChanged(HWND hwnd) {
  if (Form* form = formOf(hwnd)) applyFonts(*form);
}

bool handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  Form* form = formOf(hwnd);
  if (!form) return false;
  if (msg == kSkinMessage) {
    sync(*form);
    result = 0;
    return true;
  }
  const Palette* p = palette();
  if (!p) return false;
  const Look& l = look();
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, l.window);
      result = 1;
      return true;
    }
    case WM_CTLCOLORDLG:
      result = reinterpret_cast<LRESULT>(l.window);
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const Control* c = controlOf(*form, reinterpret_cast<HWND>(lp));
      const Part part = c ? c->part : Part::Other;
      if (part == Part::Edit || part == Part::ResultEdit || part == Part::PlanEdit) {
        SetTextColor(dc, ref((*p)[part == Part::PlanEdit ? SkinRole::Accent : SkinRole::EditText]));
        SetBkColor(dc, ref((*p)[SkinRole::EditBackground]));
        result = reinterpret_cast<LRESULT>(l.edit);
        return true;
      }
      SetTextColor(dc, ref((*p)[part == Part::GroupBox                               ? SkinRole::GroupCaption
                                : part == Part::Button || part == Part::AccentButton ? SkinRole::ButtonText
                                                                                     : SkinRole::LabelText]));
      SetBkColor(dc, ref((*p)[SkinRole::WindowBackground]));
      result = reinterpret_cast<LRESULT>(l.window);
      return true;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->code != NM_CUSTOMDRAW) return false;
      const Control* c = controlOf(*form, header->hwndFrom);
      if (!c || (c->part != Part::Button && c->part != Part::AccentButton)) return false;
      result = buttonCustomDraw(*c, *reinterpret_cast<NMCUSTOMDRAW*>(lp));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace zr::platform::win32::skin
