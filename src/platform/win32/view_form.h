#pragma once
// The native window of one form: built from the form's table, it shows the
// model and hands the user's input to it. Changes to the model, made on any
// thread, mark controls dirty and reach the screen in one refresh per frame.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "ui/form_model.h"

namespace zr::platform::win32 {

struct ViewOptions {
  // The notification window's manner: above other windows, never taking the focus.
  bool topmostNoActivate = false;
  // Runs on the UI thread when the window has been destroyed.
  std::function<void()> onDestroyed;
};

// Collects the model's changes from any thread and asks the window for one
// refresh; the window takes the collected changes on the UI thread.
class ViewLink final : public ui::ModelObserver {
 public:
  struct Dirty {
    std::vector<unsigned> controls;  // bits of ui::Change, by control
    std::vector<bool> parts;         // status bar parts
    unsigned form = 0;
    bool any = false;
  };

  ViewLink(std::size_t controls, std::size_t parts);
  void modelChanged(int ctl, ui::Change what) override;

  // UI thread. attach() starts the posting (of changes made before it too);
  // detach() ends it for good.
  void attach(HWND hwnd);
  void detach();
  // Takes what changed since the last call; the window refreshes at most
  // once per frame while changes keep coming.
  Dirty take();
  // Whether the frame timer may stop: nothing came in since the last take().
  bool settle();

 private:
  void postLocked();

  std::mutex mutex_;
  HWND hwnd_ = nullptr;
  bool detached_ = false;
  bool posted_ = false;   // a refresh message is on its way
  bool cooling_ = false;  // the frame timer runs; it picks up new changes
  Dirty dirty_;
};

class FormView {
 public:
  // Creates and shows the window on the UI thread; the window owns the view.
  static HWND create(std::shared_ptr<ui::FormModel> model, ViewOptions options);

  // The native control of a form's control, or null (for tests and tools).
  static HWND controlWindow(HWND form, int ctl);

  static constexpr UINT kRefreshMessage = WM_APP + 1;
  static constexpr UINT kDestroyMessage = WM_APP + 2;

 private:
  FormView(std::shared_ptr<ui::FormModel> model, ViewOptions options);
  ~FormView();

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

  // view_controls.cpp
  void createControls();
  void layout(UINT dpi);
  POINT placeOf(int ctl) const;  // at 96 DPI, relative to the window's client area
  int controlAt(HWND child) const;

  // view_refresh.cpp
  void refresh();
  void applyControl(int ctl, unsigned changes);
  void applyForm(unsigned changes);
  void applyStatus(int part);
  void setTextQuietly(HWND hwnd, const std::wstring& text);
  void moveToModelPosition();

  void onCommand(int ctl, int code);
  LRESULT onNotify(const NMHDR* header);

  std::shared_ptr<ui::FormModel> model_;
  const ui::FormDef& def_;
  ViewOptions options_;
  std::shared_ptr<ViewLink> link_;
  HWND hwnd_ = nullptr;
  std::vector<HWND> controls_;
  HWND statusBar_ = nullptr;
  int statusCtl_ = -1;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  bool quiet_ = false;  // our own text changes are not the user's
  bool destroying_ = false;
};

}  // namespace zr::platform::win32
