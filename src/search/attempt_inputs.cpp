#include "search/attempt_inputs.h"

#include "search/universe.h"
#include "text/bytes.h"

namespace zr::search {

AttemptInputs::AttemptInputs(Mode mode) : settings_(settingsOf(mode)) {}

void AttemptInputs::refresh(const ui::FormModel& form) {
  const std::uint64_t revision = form.revision();
  if (read_ && revision == revision_) return;
  // The revision is taken before the reads: a change made while they run
  // moves it on, and the next attempt reads again.
  read_ = true;
  revision_ = revision;
  limits_ = readLimits(form, settings_.mode);
  size_ = readPair(form, settings_.sizeBoxes);
  window_ = drawWindow(form, settings_.mode);
  windowIndex_.clear();
  for (const std::string& draw : window_) windowIndex_.push_back(entryIndex(draw, settings_.width));
  marks_.assign(window_.size(), 0);
}

void AttemptInputs::ownWrite(std::uint64_t before, std::uint64_t after) {
  if (read_ && before == revision_ && after == before + 1) revision_ = after;
}

Verdict AttemptInputs::evaluate(const BaseSet& set) {
  bool textBuilt = false;
  for (std::size_t i = 0; i < window_.size(); ++i) {
    const int index = windowIndex_[i];
    if (index >= 0) {
      marks_[i] = set.contains(index);
      continue;
    }
    if (!textBuilt) {
      setText_.clear();
      set.appendText(setText_);
      textBuilt = true;
    }
    marks_[i] = text::findText(setText_, window_[i], 1, false) != -1;
  }
  return judge(limits_, measure(marks_.data(), marks_.size()));
}

}  // namespace zr::search
