#pragma once
// What each attempt of a search reads from the main window: the limits, the
// set-size bounds and the draw window. They are read again only when the form
// has changed since the last read, so an edit takes effect from the next
// candidate without every attempt reading some thirty controls.
#include <cstdint>
#include <string>
#include <vector>

#include "search/base_set.h"
#include "search/evaluation.h"

namespace zr::search {

class AttemptInputs {
 public:
  explicit AttemptInputs(Mode mode);

  // Re-reads everything when the form's revision differs from the one read.
  void refresh(const ui::FormModel& form);
  // The caller wrote one change of its own (a status message, which is no
  // input) between the revisions before and after: the inputs read still hold
  // when nothing else changed in between.
  void ownWrite(std::uint64_t before, std::uint64_t after);

  const Limits& limits() const { return limits_; }
  const PairLimit& sizeBounds() const { return size_; }
  std::size_t windowSize() const { return window_.size(); }

  // The verdict evaluateCandidate gives for the set's text. Draw texts of the
  // mode's width are judged by membership; any other draw text by a search in
  // the set's text, built once when the first such draw needs it.
  Verdict evaluate(const BaseSet& set);

 private:
  const ModeSettings& settings_;
  bool read_ = false;
  std::uint64_t revision_ = 0;
  Limits limits_;
  PairLimit size_;
  std::vector<std::string> window_;
  std::vector<int> windowIndex_;  // universe index of each draw text, or -1
  std::vector<std::uint8_t> marks_;
  std::string setText_;
};

}  // namespace zr::search
