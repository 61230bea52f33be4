// The form tables, built from the same .inc files as the control ids.
#include "ui/forms.h"

#include <iterator>

namespace zr::mf {
#define ZR_FORM_FILE "resources/forms/main.inc"
#include "ui/form_tables.inc"
#undef ZR_FORM_FILE
}  // namespace zr::mf

namespace zr::nf {
#define ZR_FORM_FILE "resources/forms/notify.inc"
#include "ui/form_tables.inc"
#undef ZR_FORM_FILE
}  // namespace zr::nf

namespace zr::ui {
const FormDef& mainFormDef() { return mf::kDef; }
const FormDef& notifyFormDef() { return nf::kDef; }
}  // namespace zr::ui
