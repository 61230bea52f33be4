#include "web/pattern.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <string_view>
#include <vector>

#include "text/gbk.h"

namespace zr::web {
namespace {

// Byte length of the GBK character starting at p (the same rule the code-page
// conversion uses for a character it cannot map).
std::size_t unitLength(const std::string& s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead >= 0x81 && lead <= 0xFE && i + 1 < s.size()) {
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return 2;
  }
  return 1;
}

// The subject as wide text, with the byte offset of every wide character
// (and one past the end), so that matches map back to exact bytes.
struct WideSubject {
  std::wstring text;
  std::vector<std::size_t> offsets;
};

WideSubject widen(const std::string& subject) {
  WideSubject wide;
  for (std::size_t i = 0; i < subject.size(); i += unitLength(subject, i)) wide.offsets.push_back(i);
  wide.text = text::gbkToWide(subject);
  if (wide.text.size() != wide.offsets.size()) {
    wide.text.clear();
    for (std::size_t i : wide.offsets) {
      const std::wstring one = text::gbkToWide(std::string_view(subject).substr(i, unitLength(subject, i)));
      wide.text.push_back(one.size() == 1 ? one[0] : L'\uFFFD');
    }
  }
  wide.offsets.push_back(subject.size());
  return wide;
}

struct Span {
  std::size_t begin = 0, end = 0;  // wide indices
  bool matched = false;
};

// The depth-first engine (exact ECMAScript semantics, and fast) recurses once
// or more per character of a match attempt, so a long attempt can overflow
// the thread's stack (about 250 bytes a character). An attempt that starts at
// a required prefix sees at most kMaxMatch characters from its start: the
// depth-first engine always runs there, and a match that would need more is
// not found. Without a prefix the whole text is searched; the breadth-first
// engine (its stack does not grow with the text, but it does not keep the
// order of lazy repeats) runs there unless every line is short and the
// pattern cannot run past a line end ("." does not).
constexpr std::size_t kMaxMatch = 2048;
constexpr std::size_t kShortLine = 2048;

bool staysOnOneLine(const std::wstring& pattern) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    if (c == L'[' || c == L'\n' || c == L'\r') return false;
    if (c == L'\\') {
      if (i + 1 >= pattern.size()) return false;
      const wchar_t e = pattern[++i];
      if (std::wstring_view(L"sSWDnruxc0123456789").find(e) != std::wstring_view::npos) return false;
    }
  }
  return true;
}

std::size_t longestLine(const std::wstring& text) {
  std::size_t longest = 0, run = 0;
  for (wchar_t c : text) {
    run = (c == L'\n' || c == L'\r') ? 0 : run + 1;
    if (run > longest) longest = run;
  }
  return longest;
}

std::regex_constants::syntax_option_type optionsFor(bool ignoreCase, bool multiline, bool breadthFirst) {
  auto options = std::regex_constants::ECMAScript;
  if (ignoreCase) options |= std::regex_constants::icase;
  if (multiline) options |= std::regex_constants::multiline;
#ifdef __GLIBCXX__
  if (breadthFirst) options |= std::regex_constants::__polynomial;
#else
  (void)breadthFirst;
#endif
  return options;
}

// The literal texts every match holds, in order and without overlap: the
// pattern's plain characters outside groups, cut where something else stands
// (a character followed by a quantifier is not one of them). The first is the
// text every match begins with, empty when the pattern starts otherwise. The
// walk stops where it cannot tell (a class, an escaped letter or digit, a
// counted repeat); none when the pattern has an alternation.
std::vector<std::wstring> requiredLiterals(const std::wstring& pattern) {
  std::vector<std::wstring> runs(1);
  if (pattern.find(L'|') != std::wstring::npos) return runs;
  const std::size_t n = pattern.size();
  const auto quantifier = [&](std::size_t i) {
    return i < n && std::wstring_view(L"?*+{").find(pattern[i]) != std::wstring_view::npos;
  };
  // Past a quantifier at i (and its lazy mark); false at a counted repeat.
  const auto skipQuantifier = [&](std::size_t& i) {
    if (!quantifier(i)) return true;
    if (pattern[i] == L'{') return false;
    ++i;
    if (i < n && pattern[i] == L'?') ++i;
    return true;
  };
  std::size_t i = 0;
  while (i < n) {
    const wchar_t c = pattern[i];
    if (c == L'(') {
      int depth = 0;
      for (; i < n; ++i) {
        if (pattern[i] == L'\\') {
          ++i;
        } else if (pattern[i] == L'[') {
          i = n;  // a class may hold a bracket
        } else if (pattern[i] == L'(') {
          ++depth;
        } else if (pattern[i] == L')' && --depth == 0) {
          break;
        }
      }
      if (i >= n) break;
      runs.emplace_back();
      if (!skipQuantifier(++i)) break;
      continue;
    }
    if (c == L'.' || c == L'^' || c == L'$') {
      runs.emplace_back();
      if (!skipQuantifier(++i)) break;
      continue;
    }
    wchar_t literal = c;
    std::size_t next = i + 1;
    if (c == L'\\') {
      // A letter or digit makes an escape of its own kind (\d, \1, \x41).
      if (next >= n || pattern[next] > 0x7F || std::isalnum(static_cast<int>(pattern[next]))) break;
      literal = pattern[next++];
    } else if (std::wstring_view(L"[])}?*+{").find(c) != std::wstring_view::npos) {
      break;
    }
    if (quantifier(next)) {
      runs.emplace_back();
      i = next;
      if (!skipQuantifier(i)) break;
      continue;
    }
    runs.back().push_back(literal);
    i = next;
  }
  std::vector<std::wstring> kept{runs.front()};
  for (std::size_t r = 1; r < runs.size(); ++r) {
    if (!runs[r].empty()) kept.push_back(runs[r]);
  }
  return kept;
}

// What the engine's starts are chosen by: the required literals (the first
// one the prefix) and whether a match stays on one line.
struct Anchors {
  std::vector<std::wstring> literals{std::wstring()};
  bool oneLine = false;
};

// Calls found for each match in order (only the first unless global). With a
// required prefix the engine starts only where it occurs, on at most
// kMaxMatch characters, and only where the later required texts follow it
// inside that span and, when oneLine, before the line ends.
template <class Found>
void eachMatch(const std::wregex& engine, const std::wstring& text, const Anchors& anchors, bool ignoreCase,
               bool global, Found&& found) {
  const std::vector<std::wstring>& literals = anchors.literals;
  const std::wstring& prefix = literals.front();
  if (prefix.empty()) {
    for (std::wsregex_iterator it(text.begin(), text.end(), engine), end; it != end; ++it) {
      found(*it);
      if (!global) return;
    }
    return;
  }
  using Iterator = std::wstring::const_iterator;
  const std::regex_traits<wchar_t> traits;
  const auto same = [&](wchar_t a, wchar_t b) {
    return ignoreCase ? traits.translate_nocase(a) == traits.translate_nocase(b) : a == b;
  };
  // The next place of each later literal from where it was last looked for:
  // the places looked from only grow, so the text is scanned about once.
  struct Next {
    Iterator from, at;
  };
  std::vector<Next> next(literals.size(), Next{text.begin(), text.begin()});
  bool looked = false;
  Iterator lineEnd = text.begin();
  const auto isLineEnd = [](wchar_t c) { return c == L'\n' || c == L'\r'; };

  auto from = text.begin();
  while (true) {
    const auto at = std::search(from, text.end(), prefix.begin(), prefix.end(), same);
    if (at == text.end()) return;
    const auto stop = text.end() - at > static_cast<std::ptrdiff_t>(kMaxMatch) ? at + kMaxMatch : text.end();
    auto bound = stop;
    if (anchors.oneLine) {
      if (lineEnd < at || !looked) lineEnd = std::find_if(at, text.end(), isLineEnd);
      looked = true;
      if (lineEnd < bound) bound = lineEnd;
    }
    bool possible = true;
    auto after = at + static_cast<std::ptrdiff_t>(prefix.size());
    for (std::size_t r = 1; r < literals.size() && possible; ++r) {
      Next& n = next[r];
      const std::wstring& literal = literals[r];
      if (after < n.from || (n.at != text.end() && after > n.at)) {
        n.from = after;
        n.at = std::search(after, text.end(), literal.begin(), literal.end(), same);
      }
      possible = n.at != text.end() && bound - n.at >= static_cast<std::ptrdiff_t>(literal.size());
      if (possible) after = n.at + static_cast<std::ptrdiff_t>(literal.size());
    }
    std::wsmatch match;
    auto flags = std::regex_constants::match_continuous;
    if (at != text.begin()) flags |= std::regex_constants::match_prev_avail;
    // The cut is no end of the text: "$" and "\b" do not match there.
    if (stop != text.end()) flags |= std::regex_constants::match_not_eol | std::regex_constants::match_not_eow;
    if (possible && std::regex_search(at, stop, match, engine, flags)) {
      found(match);
      if (!global) return;
      from = match[0].second;  // never empty: it holds the prefix
    } else {
      from = at + 1;
    }
  }
}

}  // namespace

struct PatternExtractor::State {
  std::string pattern;
  std::string subject;
  WideSubject wide;
  std::optional<std::wregex> engine;
  Anchors anchors;
  bool ignoreCase = true, global = true;
  std::vector<std::vector<Span>> matches;  // per match: whole match, then each group

  std::string bytes(const Span& span) const {
    if (!span.matched) return {};
    const std::size_t from = wide.offsets[span.begin];
    return subject.substr(from, wide.offsets[span.end] - from);
  }
  const Span* find(int k, int j) const {
    if (k < 1 || static_cast<std::size_t>(k) > matches.size()) return nullptr;
    const auto& groups = matches[static_cast<std::size_t>(k - 1)];
    if (j < 0 || static_cast<std::size_t>(j) >= groups.size()) return nullptr;
    return &groups[static_cast<std::size_t>(j)];
  }
};

bool PatternExtractor::create(const std::string& pattern, const std::string& subject, std::optional<bool> caseSensitive,
                              std::optional<bool> multiline, std::optional<bool> global) {
  auto state = std::make_shared<State>();
  state->pattern = pattern;
  state->subject = subject;
  state->global = global.value_or(true);
  const bool ignoreCase = state->ignoreCase = !caseSensitive.value_or(false);
  const bool lines = multiline.value_or(true);
  const std::wstring widePattern = text::gbkToWide(pattern);
  state->wide = widen(subject);
  state->anchors.literals = requiredLiterals(widePattern);
  state->anchors.oneLine = staysOnOneLine(widePattern);
  // With a prefix every attempt is short (see kMaxMatch).
  const bool breadthFirst = state->anchors.literals.front().empty() &&
                            (!state->anchors.oneLine || longestLine(state->wide.text) > kShortLine);
  try {
    state->engine.emplace(widePattern, optionsFor(ignoreCase, lines, breadthFirst));
  } catch (const std::regex_error&) {
    // Back-references need the depth-first engine.
    try {
      state->engine.emplace(widePattern, optionsFor(ignoreCase, lines, false));
    } catch (const std::regex_error&) {
      state->engine.reset();
    }
  }
  bool ok = state->engine.has_value();
  if (ok) {
    const std::wstring& text = state->wide.text;
    try {
      eachMatch(*state->engine, text, state->anchors, ignoreCase, state->global, [&](const std::wsmatch& match) {
        std::vector<Span> spans;
        for (std::size_t g = 0; g < match.size(); ++g) {
          spans.push_back({static_cast<std::size_t>(match[g].first - text.begin()),
                           static_cast<std::size_t>(match[g].second - text.begin()), match[g].matched});
        }
        state->matches.push_back(std::move(spans));
      });
    } catch (const std::regex_error&) {
      state->matches.clear();
      ok = false;
    }
  }
  state_ = std::move(state);
  return ok;
}

std::string PatternExtractor::pattern() const { return state_ ? state_->pattern : std::string(); }

std::string PatternExtractor::replace(const std::string& replacement) const {
  if (!state_ || !state_->engine) return {};
  const State& s = *state_;
  const std::wstring format = text::gbkToWide(replacement);
  const std::wstring& text = s.wide.text;
  std::string out;
  std::size_t copied = 0;  // wide index up to which the subject is in out
  try {
    eachMatch(*s.engine, text, s.anchors, s.ignoreCase, s.global, [&](const std::wsmatch& match) {
      out += s.bytes({copied, static_cast<std::size_t>(match[0].first - text.begin()), true});
      out += text::wideToGbk(match.format(format));
      copied = static_cast<std::size_t>(match[0].second - text.begin());
    });
  } catch (const std::regex_error&) {
    return {};
  }
  out += s.bytes({copied, text.size(), true});
  return out;
}

int PatternExtractor::matchCount() const { return state_ ? static_cast<int>(state_->matches.size()) : 0; }

std::string PatternExtractor::partText(int k, int j, int* position) const {
  const Span* span = state_ ? state_->find(k, j) : nullptr;
  if (position) *position = span && span->matched ? static_cast<int>(state_->wide.offsets[span->begin]) : -1;
  return span ? state_->bytes(*span) : std::string();
}

std::string PatternExtractor::matchText(int k, int* position) const { return partText(k, 0, position); }

std::string PatternExtractor::subMatchText(int k, int j, int* position) const {
  return partText(k, j < 1 ? -1 : j, position);
}

int PatternExtractor::subMatchCount() const {
  if (!state_ || state_->matches.empty()) return 0;
  return static_cast<int>(state_->matches.front().size()) - 1;
}

}  // namespace zr::web
