#pragma once
// The search of one mode: K base sets found at random, joined, combined by
// the tolerance step into result numbers; and the joint search, which runs
// both modes and keeps the numbers both accept.
#include <atomic>
#include <optional>
#include <string>

#include "search/attempt_inputs.h"
#include "search/random.h"
#include "shell/app.h"

namespace zr::search {

// How a search ended.
enum class SearchEnd { Finished, Stopped, Refused };

// One running search: its thread's generator and the flag that asks it to
// stop at its next attempt.
struct SearchContext {
  shell::App& app;
  SeedOffset& seedOffset;
  const std::atomic<bool>& stop;
  Random random;

  void reseed() { search::reseed(random, app.svc.clock.tickCount(), seedOffset); }
};

// The mode's shared state (found-set list, joined text, attempt counter).
std::vector<std::string>& foundSets(shell::SharedState& state, Mode mode);
std::string& joinedText(shell::SharedState& state, Mode mode);
long long& attemptCount(shell::SharedState& state, Mode mode);

// Why a search of the mode with the boxes as they are could never finish, as
// the search part's message; none when it can. K = 0 can always finish.
std::optional<std::string> refusal(const ui::FormModel& form, Mode mode);
// The same for limits and bounds already read (during a search).
std::optional<std::string> refusal(const AttemptInputs& inputs, Mode mode);

enum class AttemptsEnd { Found, NoLimits, Stopped, Refused };

// One base-set search (findOneBaseSet): attempts until a candidate is
// accepted (appended to the mode's found-set list), the limits are all unset,
// or the search is stopped or can no longer finish (an edit made while it
// runs put a group in conflict or a size bound above the universe; the
// search part then says why). One object serves the K base-set searches of a
// search, so the attempt message and the inputs read carry over.
class BaseSetSearch {
 public:
  BaseSetSearch(SearchContext& context, Mode mode);
  AttemptsEnd findOne();

 private:
  SearchContext& context_;
  Mode mode_;
  const ModeSettings& settings_;
  AttemptInputs inputs_;
  BaseSet set_;
  std::string message_;
  std::size_t prefixSize_;
  const std::string& suffix_;
};

// runSearch: the whole search of a mode on the calling thread.
SearchEnd runSearch(SearchContext& context, Mode mode);
// The joint search: last-three, then last-two, then the joint numbers.
SearchEnd runJointSearch(SearchContext& context);

}  // namespace zr::search
