// zrtk.exe: the real services, the App with every handler, the main window,
// then the message loop until the main window is closed.
#include <windows.h>

#include "app/wiring/wiring.h"
#include "platform/win32/dpi.h"
#include "platform/win32/services.h"
#include "platform/win32/ui_thread.h"
#include "platform/win32/window_system.h"
#include "shell/app.h"
#include "web/transport.h"

using namespace zr;
using namespace zr::platform::win32;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  dpi::enableAwareness();

  Win32UiThread ui;
  Win32Clock clock;
  Win32FileSystem files;
  Win32Clipboard clipboard;
  Win32Sound sound;
  Win32Dialogs dialogs;
  Win32WindowSystem windows(ui);
  Win32ProcessControl process;
  std::unique_ptr<web::HttpTransport> http = web::makeSystemTransport();
  platform::Services services{clock, ui, files, clipboard, sound, dialogs, windows, process, *http};

  shell::App app(services);
  app::installAll(app);
  // The window shows the model's defaults at once; opening the model then runs
  // the creation steps, whose changes reach the window like any other.
  windows.showMain(app.mainForm, [&ui] { ui.quit(0); });
  app.main().open();

  // Closing the main window normally ends the process in its Destroying
  // handler. Should the loop end first, the process still ends here at once:
  // workers may be running, so nothing is torn down.
  int code = ui.run();
  process.exitNow(code);
  return code;
}
