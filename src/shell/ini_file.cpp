#include "shell/ini_file.h"

#include <cstddef>

namespace zr::shell {
namespace {

// Reading gives at most this many bytes of a value, as a 10240-byte buffer
// with its terminating zero would.
constexpr std::size_t kMaxValueBytes = 10239;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// GBK: a byte of 0x80 or above starts a two-byte character.
bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares names folding ASCII letters only; the trail byte of a two-byte
// character is compared as it is, or different characters would match.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (isLeadByte(a[i])) {
      if (a[i] != b[i]) return false;
      if (i + 1 < a.size()) {
        ++i;
        if (a[i] != b[i]) return false;
      }
    } else if (foldAscii(a[i]) != foldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

// A line without its line end.
std::string_view content(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool hasLineEnd(std::string_view line) { return !line.empty() && line.back() == '\n'; }

// The name of a section line "[name]", or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
  std::string_view s = trimBlanks(content(line));
  if (s.empty() || s.front() != '[') return std::nullopt;
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (s[i] == ']')
      close = i;
    else if (isLeadByte(s[i]))
      ++i;
  }
  if (close == std::string_view::npos) return std::nullopt;
  return trimBlanks(s.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::optional<std::string_view> value;  // none: a line without "="
};

// A key line "key=value"; comments and blank lines give nothing.
std::optional<KeyLine> keyLine(std::string_view line) {
  std::string_view s = trimBlanks(content(line));
  if (s.empty() || s.front() == ';') return std::nullopt;
  // "=" is below 0x40, so it is never the trail byte of a character.
  std::size_t eq = s.find('=');
  if (eq == std::string_view::npos) return KeyLine{s, std::nullopt};
  return KeyLine{trimBlanks(s.substr(0, eq)), trimBlanks(s.substr(eq + 1))};
}

// One pair of matching enclosing quotes goes, as the system's reader does it.
std::string_view stripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Cuts at most max bytes, never through a two-byte character.
std::string_view cutBytes(std::string_view v, std::size_t max) {
  if (v.size() <= max) return v;
  std::size_t end = 0;
  while (end < max) {
    std::size_t step = isLeadByte(v[end]) ? 2 : 1;
    if (end + step > max) break;
    end += step;
  }
  return v.substr(0, end);
}

// A value is kept on its one line: each line break becomes a single blank.
std::string oneLine(std::string_view v) {
  std::string out;
  out.reserve(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\r') {
      if (i + 1 < v.size() && v[i + 1] == '\n') ++i;
      out += ' ';
    } else if (v[i] == '\n') {
      out += ' ';
    } else {
      out += v[i];
    }
  }
  return out;
}

}  // namespace

IniFile IniFile::parse(std::string_view bytes) {
  IniFile file;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t nl = bytes.find('\n', start);
    std::size_t end = nl == std::string_view::npos ? bytes.size() : nl + 1;
    file.lines_.emplace_back(bytes.substr(start, end - start));
    start = end;
  }
  return file;
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const {
  bool inSection = false, seen = false;
  for (const std::string& line : lines_) {
    if (auto name = sectionName(line)) {
      // Only the first section of the name is read, as the system does.
      if (seen) break;
      inSection = sameName(*name, section);
      seen = inSection;
      continue;
    }
    if (!inSection) continue;
    auto kl = keyLine(line);
    if (!kl || !sameName(kl->key, key)) continue;
    if (!kl->value) return std::nullopt;
    return std::string(cutBytes(stripQuotes(*kl->value), kMaxValueBytes));
  }
  return std::nullopt;
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string v = oneLine(value);
  std::size_t sectionLine = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    auto name = sectionName(lines_[i]);
    if (name && sameName(*name, section)) {
      sectionLine = i;
      break;
    }
  }

  if (sectionLine == lines_.size()) {
    if (!lines_.empty() && !hasLineEnd(lines_.back())) lines_.back() += "\r\n";
    lines_.push_back("[" + std::string(section) + "]\r\n");
    lines_.push_back(std::string(key) + "=" + v + "\r\n");
    return;
  }

  // The section runs to the next section line; a new key goes after its last
  // non-blank line, so that blank lines before the next section stay there.
  std::size_t insertAt = sectionLine + 1;
  for (std::size_t i = sectionLine + 1; i < lines_.size() && !sectionName(lines_[i]); ++i) {
    auto kl = keyLine(lines_[i]);
    if (kl && sameName(kl->key, key)) {
      std::string replaced = std::string(kl->key) + "=" + v;
      if (hasLineEnd(lines_[i])) replaced += lines_[i].ends_with("\r\n") ? "\r\n" : "\n";
      lines_[i] = std::move(replaced);
      return;
    }
    if (!trimBlanks(content(lines_[i])).empty()) insertAt = i + 1;
  }
  if (!hasLineEnd(lines_[insertAt - 1])) lines_[insertAt - 1] += "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::string(key) + "=" + v + "\r\n");
}

std::string IniFile::serialize() const {
  std::size_t size = 0;
  for (const std::string& line : lines_) size += line.size();
  std::string out;
  out.reserve(size);
  for (const std::string& line : lines_) out += line;
  return out;
}

}  // namespace zr::shell
