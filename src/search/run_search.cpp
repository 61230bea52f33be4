#include "search/run_search.h"

#include <charconv>

#include "search/tolerance.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::search {

std::vector<std::string>& foundSets(shell::SharedState& state, Mode mode) {
  return mode == Mode::LastThree ? state.foundLastThreeSets : state.foundLastTwoSets;
}

std::string& joinedText(shell::SharedState& state, Mode mode) {
  return mode == Mode::LastThree ? state.lastThreeResultText : state.lastTwoResultText;
}

long long& attemptCount(shell::SharedState& state, Mode mode) {
  return mode == Mode::LastThree ? state.lastThreeAttemptCount : state.lastTwoAttemptCount;
}

namespace {

std::optional<std::string> refusalOf(const Limits& limits, const PairLimit& size, int universe) {
  if (limits.conflict()) return GBK("搜索提示：条件冲突,请只填写二选一中的一组!");
  if (size.left.number > universe || size.right.number > universe) return GBK("搜索提示：注数超出范围!");
  return std::nullopt;
}

void say(shell::App& app, int part, const std::string& text) { shell::setStatus(app, part, text); }

SearchEnd stopped(shell::App& app) {
  say(app, shell::kSearchPart, GBK("搜索提示：搜索已停止!"));
  return SearchEnd::Stopped;
}

}  // namespace

std::optional<std::string> refusal(const ui::FormModel& form, Mode mode) {
  const ModeSettings& s = settingsOf(mode);
  if (readLimitBox(form, s.setCountBox).number <= 0) return std::nullopt;
  return refusalOf(readLimits(form, mode), readPair(form, s.sizeBoxes), s.universe);
}

std::optional<std::string> refusal(const AttemptInputs& inputs, Mode mode) {
  return refusalOf(inputs.limits(), inputs.sizeBounds(), settingsOf(mode).universe);
}

BaseSetSearch::BaseSetSearch(SearchContext& context, Mode mode)
    : context_(context),
      mode_(mode),
      settings_(settingsOf(mode)),
      inputs_(mode),
      message_(GBK("温馨提示：当前搜索第：")),
      prefixSize_(message_.size()),
      suffix_(GBK("个文本.")) {}

AttemptsEnd BaseSetSearch::findOne() {
  shell::App& app = context_.app;
  ui::FormModel& form = app.main();
  auto reseed = [this](Random&) { context_.reseed(); };
  for (;;) {
    if (context_.stop.load(std::memory_order_relaxed)) return AttemptsEnd::Stopped;
    inputs_.refresh(form);
    if (auto why = refusal(inputs_, mode_)) {
      say(app, shell::kSearchPart, *why);
      return AttemptsEnd::Refused;
    }

    context_.reseed();
    long long attempt;
    {
      std::lock_guard lock(app.state.mutex);
      attempt = ++attemptCount(app.state, mode_);
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, attempt).ptr;
    message_.resize(prefixSize_);
    message_.append(digits, end);
    message_ += suffix_;
    const std::uint64_t before = form.revision();
    shell::setStatus(app, shell::kNoticePart, message_);
    inputs_.ownWrite(before, form.revision());

    const PairLimit& size = inputs_.sizeBounds();
    const std::int64_t n = randomInRange(context_.random, size.left.number, size.right.number);
    generateBaseSet(context_.random, reseed, settings_.universe, settings_.width, n, set_);

    switch (inputs_.evaluate(set_)) {
      case Verdict::NoLimits:
        return AttemptsEnd::NoLimits;
      case Verdict::Accepted: {
        std::string text = set_.text();
        std::lock_guard lock(app.state.mutex);
        foundSets(app.state, mode_).push_back(std::move(text));
        return AttemptsEnd::Found;
      }
      case Verdict::Rejected:
        break;
    }
  }
}

SearchEnd runSearch(SearchContext& context, Mode mode) {
  shell::App& app = context.app;
  ui::FormModel& form = app.main();
  const ModeSettings& s = settingsOf(mode);
  if (context.stop.load()) return stopped(app);
  if (auto why = refusal(form, mode)) {
    say(app, shell::kSearchPart, *why);
    return SearchEnd::Refused;
  }

  {
    std::lock_guard lock(app.state.mutex);
    foundSets(app.state, mode).clear();
    joinedText(app.state, mode).clear();
    attemptCount(app.state, mode) = 0;
  }
  form.setText(mf::编辑框_结果, "");

  const long long asked = readLimitBox(form, s.setCountBox).number;
  BaseSetSearch baseSets(context, mode);
  const std::string& progress = GBK("搜索提示：当前大底搜索-");
  for (long long k = 1; k <= asked; ++k) {
    const AttemptsEnd end = baseSets.findOne();
    if (end == AttemptsEnd::Refused) return SearchEnd::Refused;
    if (end == AttemptsEnd::Stopped) return stopped(app);
    std::size_t found;
    {
      std::lock_guard lock(app.state.mutex);
      found = foundSets(app.state, mode).size();
    }
    say(app, shell::kSearchPart, progress + text::formatInt(static_cast<long long>(found)) + "-个.");
  }

  // Every set found, a single one too, takes part in the tolerance step.
  std::string joined;
  std::vector<std::string> sets;
  {
    std::lock_guard lock(app.state.mutex);
    sets = foundSets(app.state, mode);
    for (const std::string& set : sets) {
      joined += "-----";
      joined += set;
    }
    joinedText(app.state, mode) = joined;
  }
  if (sets.size() == 1) form.setText(mf::编辑框_结果, sets.front());

  const std::string result = applyTolerances(form, mode, joined);
  form.setText(s.resultBox, result);
  if (form.checked(mf::单选框_拼接)) {
    std::lock_guard lock(app.state.mutex);
    app.state.jointResults.push_back(mode == Mode::LastThree ? result : expandToThreeDigits(result));
  }
  if (form.checked(s.radio)) form.setText(mf::编辑框_结果, result);
  say(app, shell::kSearchPart, GBK("搜索提示：[全部任务搜索完毕!]"));
  if (mode == Mode::LastThree && form.checked(mf::选择框2)) invertResultBox(app);
  return SearchEnd::Finished;
}

SearchEnd runJointSearch(SearchContext& context) {
  shell::App& app = context.app;
  if (context.stop.load()) return stopped(app);
  // Refused before either search writes anything.
  for (Mode mode : {Mode::LastThree, Mode::LastTwo}) {
    if (auto why = refusal(app.main(), mode)) {
      say(app, shell::kSearchPart, *why);
      return SearchEnd::Refused;
    }
  }
  {
    std::lock_guard lock(app.state.mutex);
    app.state.jointResults.clear();
  }
  for (Mode mode : {Mode::LastThree, Mode::LastTwo}) {
    const SearchEnd end = runSearch(context, mode);
    if (end != SearchEnd::Finished) return end;
  }
  std::string entry1, entry2;
  {
    std::lock_guard lock(app.state.mutex);
    if (app.state.jointResults.size() != 2) return SearchEnd::Finished;
    entry1 = app.state.jointResults[0];
    entry2 = app.state.jointResults[1];
  }
  app.main().setText(mf::编辑框_结果, jointNumbers(entry1, entry2));
  return SearchEnd::Finished;
}

}  // namespace zr::search
