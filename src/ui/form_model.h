#pragma once
// The model of one open form: the single source of truth for every control's
// text, checked and enabled state, timer period, the draw list's rows and the
// status bar parts. Any thread may read and write it at any time without
// waiting for the UI thread. Every change fires its event (text changed also
// when the new text equals the old one); handlers run on the UI thread, one at
// a time, in the order of the changes that caused them. The native window is
// a view that observes the model.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/form_def.h"
#include "ui/ui_thread.h"

namespace zr::ui {

enum class Event { Created, Destroying, Click, TextChanged, TimerTick };

// What changed, for the view.
enum class Change { Text, Checked, Enabled, Timer, Rows, Cell, Scroll, Status, Opened, Moved, Closed };

class ModelObserver {
 public:
  virtual ~ModelObserver() = default;
  // Called on the thread that made the change, after it has been made and
  // without any lock of the model held. ctl is kForm for form-wide changes;
  // for Status it is the part index.
  virtual void modelChanged(int ctl, Change what) = 0;
};

struct Point {
  int x = 0, y = 0;
};

class FormModel {
 public:
  FormModel(const FormDef& def, UiThread& ui);
  ~FormModel();
  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;

  const FormDef& def() const;
  UiThread& uiThread() const;

  // Handlers. ctl is kForm for Created and Destroying. Register before open().
  void on(int ctl, Event event, std::function<void()> handler);

  // Text of an edit box or caption of any other control (GBK).
  std::string text(int ctl) const;
  void setText(int ctl, std::string text);
  bool checked(int ctl) const;
  // Checking a radio button unchecks the other radio buttons of its parent.
  void setChecked(int ctl, bool checked);
  bool enabled(int ctl) const;
  void setEnabled(int ctl, bool enabled);
  int timerPeriod(int timer) const;
  // 0 or less stops the timer.
  void setTimerPeriod(int timer, int periodMs);

  // The report list.
  int rowCount(int list) const;
  int appendRow(int list);  // returns the new row's index
  void setCell(int list, int row, int col, std::string text);
  std::string cell(int list, int row, int col) const;          // empty when out of range
  std::vector<std::vector<std::string>> rows(int list) const;  // a copy of every row, for the view
  void deleteAllRows(int list);
  void ensureVisible(int list, int row);
  int visibleRow(int list) const;  // the row last scrolled into view, -1 if none

  // The status bar parts (0 notice, 1 search).
  std::string status(int part) const;
  void setStatus(int part, std::string text);

  // Form life: open() fires Created; close() fires Destroying, stops the
  // form's timers and tells the view to destroy the window.
  void open();
  void close();
  bool isOpen() const;
  Point position() const;
  void move(int x, int y);

  // Raised by every change; lets readers cache what they derive from it.
  std::uint64_t revision() const;

  // The view's side: user input, applied without echo to the observer.
  void userSetText(int ctl, std::string text);  // typing; fires TextChanged
  void userClick(int ctl);                      // a click; radio and check boxes change state first

  void setObserver(ModelObserver* observer);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zr::ui
