#include "ui/form_model.h"

#include <array>
#include <atomic>
#include <map>
#include <utility>

#include "text/gbk.h"

namespace zr::ui {
namespace {

constexpr int kEventCount = 5;

using HandlerList = std::vector<std::function<void()>>;
using Handlers = std::shared_ptr<const HandlerList>;

// The GBK form of a form's UTF-8 texts, converted once per form.
struct GbkTexts {
  std::string caption;
  std::vector<std::string> controls;
  std::vector<std::string> parts;
};

const GbkTexts& gbkTexts(const FormDef& def) {
  static std::mutex mutex;
  static std::map<const FormDef*, GbkTexts> cache;
  std::lock_guard lock(mutex);
  auto [it, added] = cache.try_emplace(&def);
  if (added) {
    it->second.caption = text::utf8ToGbk(def.caption);
    for (const ControlDef& c : def.controls) it->second.controls.push_back(text::utf8ToGbk(c.text));
    for (const PartDef& p : def.parts) it->second.parts.push_back(text::utf8ToGbk(p.text));
  }
  return it->second;
}

void runAll(const Handlers& handlers) {
  for (const auto& handler : *handlers) handler();
}

}  // namespace

struct ControlState {
  std::string text;
  bool checked = false;
  bool enabled = true;
  int timerPeriod = 0;
  // Lists only.
  std::vector<std::vector<std::string>> rows;
  int columns = 0;
  int visibleRow = -1;
};

// Everything the model holds. Timer ticks reach it through a weak pointer, so
// a tick that arrives as the model goes away does nothing.
struct State {
  const FormDef& def;
  UiThread& ui;

  // Serialises the changes that post to the UI thread, so that their handlers
  // are queued in the order the changes were applied. Taken before `mutex`.
  std::mutex postOrder;
  mutable std::mutex mutex;
  std::string caption;
  std::vector<ControlState> controls;
  std::vector<std::string> parts;
  // Handlers by control (the form's own after the controls) and event.
  std::vector<std::array<Handlers, kEventCount>> handlers;
  bool open = false;
  Point position;

  std::atomic<std::uint64_t> revision{0};
  std::atomic<ModelObserver*> observer{nullptr};

  State(const FormDef& s, UiThread& u) : def(s), ui(u) {}

  int count() const { return static_cast<int>(controls.size()); }
  bool valid(int ctl) const { return ctl >= 0 && ctl < count(); }
  int slot(int ctl) const { return ctl == kForm ? count() : ctl; }

  // Under `mutex`: the handlers of (ctl, event), or null when there are none.
  const Handlers& handlersFor(int ctl, Event event) const { return handlers[slot(ctl)][static_cast<int>(event)]; }

  void notify(int ctl, Change what) const {
    if (ModelObserver* o = observer.load(std::memory_order_acquire)) o->modelChanged(ctl, what);
  }

  // Called with `postOrder` held and `mutex` released.
  void post(Handlers handlers) {
    if (handlers) ui.post([h = std::move(handlers)] { runAll(h); });
  }

  const void* timerKey(int ctl) const { return &controls[ctl]; }

  // Under `postOrder`.
  void armTimer(const std::shared_ptr<State>& self, int ctl, int periodMs) {
    if (periodMs <= 0) {
      ui.setTimer(timerKey(ctl), 0, {});
      return;
    }
    std::weak_ptr<State> weak = self;
    ui.setTimer(timerKey(ctl), periodMs, [weak, ctl] {
      auto s = weak.lock();
      if (!s) return;
      Handlers h;
      {
        std::lock_guard lock(s->mutex);
        if (!s->open || s->controls[ctl].timerPeriod <= 0) return;
        h = s->handlersFor(ctl, Event::TimerTick);
      }
      if (h) runAll(h);
    });
  }
};

struct FormModel::Impl {
  std::shared_ptr<State> s;
};

FormModel::FormModel(const FormDef& def, UiThread& ui) : impl_(std::make_unique<Impl>()) {
  impl_->s = std::make_shared<State>(def, ui);
  State& s = *impl_->s;
  const GbkTexts& texts = gbkTexts(def);
  s.caption = texts.caption;
  s.controls.resize(def.controls.size());
  for (std::size_t i = 0; i < def.controls.size(); ++i) {
    const ControlDef& c = def.controls[i];
    ControlState& st = s.controls[i];
    st.text = texts.controls[i];
    st.checked = (c.flags & Checked) != 0;
    st.timerPeriod = c.kind == Kind::Timer ? c.timerPeriodMs : 0;
  }
  for (const ColumnDef& col : def.columns) {
    if (s.valid(col.list)) ++s.controls[col.list].columns;
  }
  s.parts = texts.parts;
  s.handlers.resize(def.controls.size() + 1);
  s.position = {def.x, def.y};
}

FormModel::~FormModel() {
  State& s = *impl_->s;
  std::lock_guard order(s.postOrder);
  bool open;
  {
    std::lock_guard lock(s.mutex);
    open = s.open;
    s.open = false;
  }
  if (!open) return;
  for (int i = 0; i < s.count(); ++i) {
    if (s.def.controls[i].kind == Kind::Timer) s.ui.setTimer(s.timerKey(i), 0, {});
  }
}

const FormDef& FormModel::def() const { return impl_->s->def; }
UiThread& FormModel::uiThread() const { return impl_->s->ui; }

void FormModel::on(int ctl, Event event, std::function<void()> handler) {
  State& s = *impl_->s;
  if (ctl != kForm && !s.valid(ctl)) return;
  std::lock_guard lock(s.mutex);
  Handlers& slot = s.handlers[s.slot(ctl)][static_cast<int>(event)];
  auto list = slot ? std::make_shared<HandlerList>(*slot) : std::make_shared<HandlerList>();
  list->push_back(std::move(handler));
  slot = std::move(list);
}

std::string FormModel::text(int ctl) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  if (ctl == kForm) return s.caption;
  return s.valid(ctl) ? s.controls[ctl].text : std::string();
}

void FormModel::setText(int ctl, std::string text) {
  State& s = *impl_->s;
  if (ctl != kForm && !s.valid(ctl)) return;
  {
    std::lock_guard order(s.postOrder);
    Handlers h;
    {
      std::lock_guard lock(s.mutex);
      (ctl == kForm ? s.caption : s.controls[ctl].text).swap(text);
      ++s.revision;
      h = s.handlersFor(ctl, Event::TextChanged);
    }
    s.post(std::move(h));
  }
  s.notify(ctl, Change::Text);
}

bool FormModel::checked(int ctl) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.valid(ctl) && s.controls[ctl].checked;
}

namespace {
// Under the model's mutex: sets the state and, for a radio button being
// checked, clears the other radio buttons of its parent. Returns the controls
// whose state changed.
std::vector<int> applyChecked(State& s, int ctl, bool checked) {
  std::vector<int> changed;
  const ControlDef& c = s.def.controls[ctl];
  if (checked && c.kind == Kind::Radio) {
    for (int i = 0; i < s.count(); ++i) {
      const ControlDef& o = s.def.controls[i];
      if (i != ctl && o.kind == Kind::Radio && o.parent == c.parent && s.controls[i].checked) {
        s.controls[i].checked = false;
        changed.push_back(i);
      }
    }
  }
  if (s.controls[ctl].checked != checked) {
    s.controls[ctl].checked = checked;
    changed.push_back(ctl);
  }
  ++s.revision;
  return changed;
}
}  // namespace

void FormModel::setChecked(int ctl, bool checked) {
  State& s = *impl_->s;
  if (!s.valid(ctl)) return;
  std::vector<int> changed;
  {
    std::lock_guard lock(s.mutex);
    changed = applyChecked(s, ctl, checked);
  }
  for (int i : changed) s.notify(i, Change::Checked);
}

bool FormModel::enabled(int ctl) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.valid(ctl) && s.controls[ctl].enabled;
}

void FormModel::setEnabled(int ctl, bool enabled) {
  State& s = *impl_->s;
  if (!s.valid(ctl)) return;
  {
    std::lock_guard lock(s.mutex);
    s.controls[ctl].enabled = enabled;
    ++s.revision;
  }
  s.notify(ctl, Change::Enabled);
}

int FormModel::timerPeriod(int timer) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.valid(timer) ? s.controls[timer].timerPeriod : 0;
}

void FormModel::setTimerPeriod(int timer, int periodMs) {
  State& s = *impl_->s;
  if (!s.valid(timer) || s.def.controls[timer].kind != Kind::Timer) return;
  if (periodMs < 0) periodMs = 0;
  {
    std::lock_guard order(s.postOrder);
    bool open;
    {
      std::lock_guard lock(s.mutex);
      s.controls[timer].timerPeriod = periodMs;
      ++s.revision;
      open = s.open;
    }
    if (open) s.armTimer(impl_->s, timer, periodMs);
  }
  s.notify(timer, Change::Timer);
}

int FormModel::rowCount(int list) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.valid(list) ? static_cast<int>(s.controls[list].rows.size()) : 0;
}

int FormModel::appendRow(int list) {
  State& s = *impl_->s;
  if (!s.valid(list)) return -1;
  int row;
  {
    std::lock_guard lock(s.mutex);
    ControlState& c = s.controls[list];
    row = static_cast<int>(c.rows.size());
    c.rows.emplace_back(static_cast<std::size_t>(c.columns));
    ++s.revision;
  }
  s.notify(list, Change::Rows);
  return row;
}

void FormModel::setCell(int list, int row, int col, std::string text) {
  State& s = *impl_->s;
  if (!s.valid(list)) return;
  {
    std::lock_guard lock(s.mutex);
    auto& rows = s.controls[list].rows;
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    if (col < 0 || col >= static_cast<int>(rows[row].size())) return;
    rows[row][col].swap(text);
    ++s.revision;
  }
  s.notify(list, Change::Cell);
}

std::string FormModel::cell(int list, int row, int col) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  if (!s.valid(list)) return {};
  const auto& rows = s.controls[list].rows;
  if (row < 0 || row >= static_cast<int>(rows.size())) return {};
  if (col < 0 || col >= static_cast<int>(rows[row].size())) return {};
  return rows[row][col];
}

std::vector<std::vector<std::string>> FormModel::rows(int list) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.valid(list) ? s.controls[list].rows : std::vector<std::vector<std::string>>{};
}

void FormModel::deleteAllRows(int list) {
  State& s = *impl_->s;
  if (!s.valid(list)) return;
  std::vector<std::vector<std::string>> old;
  {
    std::lock_guard lock(s.mutex);
    old.swap(s.controls[list].rows);
    s.controls[list].visibleRow = -1;
    ++s.revision;
  }
  s.notify(list, Change::Rows);
}

void FormModel::ensureVisible(int list, int row) {
  State& s = *impl_->s;
  if (!s.valid(list)) return;
  {
    std::lock_guard lock(s.mutex);
    ControlState& c = s.controls[list];
    if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
    c.visibleRow = row;
    ++s.revision;
  }
  s.notify(list, Change::Scroll);
}

int FormModel::visibleRow(int list) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.valid(list) ? s.controls[list].visibleRow : -1;
}

std::string FormModel::status(int part) const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return part >= 0 && part < static_cast<int>(s.parts.size()) ? s.parts[part] : std::string();
}

void FormModel::setStatus(int part, std::string text) {
  State& s = *impl_->s;
  {
    std::lock_guard lock(s.mutex);
    if (part < 0 || part >= static_cast<int>(s.parts.size())) return;
    s.parts[part].swap(text);
    ++s.revision;
  }
  // The old text is freed here, outside the lock.
  s.notify(part, Change::Status);
}

void FormModel::open() {
  State& s = *impl_->s;
  {
    std::lock_guard order(s.postOrder);
    Handlers h;
    std::vector<std::pair<int, int>> timers;
    {
      std::lock_guard lock(s.mutex);
      if (s.open) return;
      s.open = true;
      ++s.revision;
      h = s.handlersFor(kForm, Event::Created);
      for (int i = 0; i < s.count(); ++i) {
        if (s.def.controls[i].kind == Kind::Timer && s.controls[i].timerPeriod > 0)
          timers.emplace_back(i, s.controls[i].timerPeriod);
      }
    }
    s.post(std::move(h));
    for (auto [ctl, period] : timers) s.armTimer(impl_->s, ctl, period);
  }
  s.notify(kForm, Change::Opened);
}

void FormModel::close() {
  State& s = *impl_->s;
  {
    std::lock_guard order(s.postOrder);
    Handlers h;
    {
      std::lock_guard lock(s.mutex);
      if (!s.open) return;
      h = s.handlersFor(kForm, Event::Destroying);
    }
    s.post(std::move(h));
    {
      std::lock_guard lock(s.mutex);
      s.open = false;
      ++s.revision;
    }
    for (int i = 0; i < s.count(); ++i) {
      if (s.def.controls[i].kind == Kind::Timer) s.ui.setTimer(s.timerKey(i), 0, {});
    }
  }
  s.notify(kForm, Change::Closed);
}

bool FormModel::isOpen() const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.open;
}

Point FormModel::position() const {
  const State& s = *impl_->s;
  std::lock_guard lock(s.mutex);
  return s.position;
}

void FormModel::move(int x, int y) {
  State& s = *impl_->s;
  {
    std::lock_guard lock(s.mutex);
    s.position = {x, y};
    ++s.revision;
  }
  s.notify(kForm, Change::Moved);
}

std::uint64_t FormModel::revision() const { return impl_->s->revision.load(); }

void FormModel::userSetText(int ctl, std::string text) {
  State& s = *impl_->s;
  if (!s.valid(ctl)) return;
  std::lock_guard order(s.postOrder);
  Handlers h;
  {
    std::lock_guard lock(s.mutex);
    s.controls[ctl].text.swap(text);
    ++s.revision;
    h = s.handlersFor(ctl, Event::TextChanged);
  }
  s.post(std::move(h));
}

void FormModel::userClick(int ctl) {
  State& s = *impl_->s;
  if (!s.valid(ctl)) return;
  std::vector<int> changed;
  {
    std::lock_guard order(s.postOrder);
    Handlers h;
    {
      std::lock_guard lock(s.mutex);
      switch (s.def.controls[ctl].kind) {
        case Kind::Radio:
          changed = applyChecked(s, ctl, true);
          break;
        case Kind::Check:
          changed = applyChecked(s, ctl, !s.controls[ctl].checked);
          break;
        default:
          ++s.revision;
          break;
      }
      h = s.handlersFor(ctl, Event::Click);
    }
    s.post(std::move(h));
  }
  // The clicked control already shows its new state; the radio buttons it
  // cleared may not.
  for (int i : changed) {
    if (i != ctl) s.notify(i, Change::Checked);
  }
}

void FormModel::setObserver(ModelObserver* observer) { impl_->s->observer.store(observer, std::memory_order_release); }

}  // namespace zr::ui
