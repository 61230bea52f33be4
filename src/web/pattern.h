#pragma once
// Runs one regular expression over one text and hands out the matches and
// their groups as text. The engine is std::regex (ECMAScript) over the text
// converted from GBK to wide characters, so "." never splits a two-byte
// character, and every result is the exact bytes of the subject.
#include <memory>
#include <optional>
#include <string>

namespace zr::web {

class PatternExtractor {
 public:
  // Compiles the pattern and finds its matches in subject. Absent options:
  // case ignored, "^" and "$" at every line, every match. False when the
  // pattern is rejected; the count is then 0. Each call replaces the
  // matches and the subject of the one before.
  bool create(const std::string& pattern, const std::string& subject, std::optional<bool> caseSensitive = {},
              std::optional<bool> multiline = {}, std::optional<bool> global = {});

  // The pattern of the last create; empty before the first.
  std::string pattern() const;
  // The subject with the matches replaced ($1, $& and the like refer to the
  // groups); empty when there is no usable pattern.
  std::string replace(const std::string& replacement) const;

  int matchCount() const;
  // The k-th match (from 1); position receives its 0-based byte offset in the
  // subject. Out of range: empty text and position -1.
  std::string matchText(int k, int* position = nullptr) const;
  // Group j (from 1) of match k (from 1); an unmatched group is empty text.
  std::string subMatchText(int k, int j, int* position = nullptr) const;
  // The number of groups of the first match (0 when there is no match).
  int subMatchCount() const;

 private:
  struct State;
  std::string partText(int k, int j, int* position) const;  // j 0: the whole match
  std::shared_ptr<const State> state_;                      // copies share one immutable result
};

}  // namespace zr::web
