#pragma once
// Control identifiers of the two forms, generated from their tables, so that
// code names controls as the form does and the compiler checks every name:
//   mf::编辑框_结果  (main form)      nf::标签2  (notification form)
#include "ui/form_def.h"

namespace zr::mf {
enum Id : int {
#define ZR_FORM(...)
#define ZR_CONTROL(name, ...) name,
#define ZR_TIMER(name, ...) name,
#define ZR_COLUMN(...)
#define ZR_PART(...)
#include "resources/forms/main.inc"
#undef ZR_FORM
#undef ZR_CONTROL
#undef ZR_TIMER
#undef ZR_COLUMN
#undef ZR_PART
  kCount
};
}  // namespace zr::mf

namespace zr::nf {
enum Id : int {
#define ZR_FORM(...)
#define ZR_CONTROL(name, ...) name,
#define ZR_TIMER(name, ...) name,
#define ZR_COLUMN(...)
#define ZR_PART(...)
#include "resources/forms/notify.inc"
#undef ZR_FORM
#undef ZR_CONTROL
#undef ZR_TIMER
#undef ZR_COLUMN
#undef ZR_PART
  kCount
};
}  // namespace zr::nf

namespace zr::ui {
const FormDef& mainFormDef();
const FormDef& notifyFormDef();
}  // namespace zr::ui
