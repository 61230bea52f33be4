#pragma once
// Places and fonts for the monitor's DPI. The forms are laid out at 96 DPI;
// every place goes through scale(). The newer DPI functions are looked up at
// run time, so older Windows and Wine fall back to the system DPI.
#include <windows.h>

namespace zr::platform::win32::dpi {

// Per-monitor awareness for the process; call before any window exists.
void enableAwareness();

UINT forWindow(HWND hwnd);
// The primary monitor's DPI, for screen positions.
UINT forSystem();

inline int scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), 96); }
inline int unscale(int value, UINT dpi) { return MulDiv(value, 96, static_cast<int>(dpi)); }

// Whether the system has a font of this face name.
bool faceExists(const wchar_t* face);

// The program's UI font at the DPI: a clear Chinese face, 9 points.
HFONT createUiFont(UINT dpi);

}  // namespace zr::platform::win32::dpi
