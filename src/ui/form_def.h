#pragma once
// The two window forms as data. Each form is an X-macro table in
// resources/forms/<form>.inc that both the form model and the Win32 view read:
//
//   ZR_FORM(caption, x, y, w, h)
//   ZR_CONTROL(name, kind, parent, text, x, y, w, h, flags)
//   ZR_TIMER(name, parent, periodMs)
//   ZR_COLUMN(list, header, width)
//   ZR_PART(bar, width, text)
//
// name and parent are C++ identifiers (the control names of the form; parent
// is `form` for a direct child of the window), kind is a Kind enumerator
// without its prefix, text a UTF-8 literal, flags an expression of Flag bits.
// Places are in pixels at 96 DPI; a child of a group box is placed relative to
// that group box. Timers take part in the table as controls without a place.
#include <span>

namespace zr::ui {

enum class Kind { GroupBox, Label, Edit, Button, Radio, Check, List, StatusBar, Timer, FileDialog };

enum Flag : unsigned {
  NoFlags = 0,
  Multiline = 1u << 0,
  VScroll = 1u << 1,
  HScroll = 1u << 2,
  Checked = 1u << 3,
  BlueText = 1u << 4,
};

// The form itself, as a parent.
inline constexpr int kForm = -1;

struct ControlDef {
  const char* name;  // UTF-8
  Kind kind;
  int parent;        // index of the parent control, or kForm
  const char* text;  // UTF-8 default text or caption
  int x, y, w, h;
  unsigned flags;
  int timerPeriodMs;  // timers only
};

struct ColumnDef {
  int list;
  const char* header;  // UTF-8
  int width;
};

struct PartDef {
  int bar;
  int width;
  const char* text;  // UTF-8
};

struct FormDef {
  const char* caption;  // UTF-8
  int x, y, w, h;
  std::span<const ControlDef> controls;
  std::span<const ColumnDef> columns;
  std::span<const PartDef> parts;
};

}  // namespace zr::ui
