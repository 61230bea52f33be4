#pragma once
// Paints the forms' native windows with the palette of the attached skin,
// through the messages the controls offer: WM_CTLCOLOR* brushes and text
// colours, custom draw of push buttons and of the draw list's header, and the
// paint of group boxes and the status bar. Result boxes get a monospaced font.
// Without a palette (never attached, a refused block, detached) every window
// shows the system's look.
//
// The skin engine may attach on any thread; the painter only records the
// palette and posts kSkinMessage to every form, whose UI thread then makes
// the brushes and fonts and repaints. All GDI state lives on the UI thread.
#include <windows.h>

#include <span>

#include "ui/form_def.h"

namespace zr::platform::win32::skin {

inline constexpr UINT kSkinMessage = WM_APP + 16;

// Makes the painter the process skin engine's painter; safe to call again.
void install();

// Set ZRTK_LOOK=system in the environment to keep the system's look even
// when the skin is attached (for comparing the two looks).
bool systemLookRequested();

// UI thread. A form's window and controls exist (controls indexed as in the
// form's table, null where a control has no window); the form takes the
// current look at once.
void formCreated(HWND form, const ui::FormDef& def, std::span<const HWND> controls);
void formDestroyed(HWND form);
// The controls were given new fonts (a change of DPI).
void fontsChanged(HWND form);

// UI thread: answers the form's messages that the look decides; true when
// the message is answered and result holds the answer.
bool handle(HWND form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

}  // namespace zr::platform::win32::skin
