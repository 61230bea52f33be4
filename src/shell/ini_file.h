#pragma once
// The settings file's format: initialisation-file sections and key=value
// lines, GBK bytes, read and written by the program itself so that the file
// is the same whatever the system's code page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr::shell {

class IniFile {
 public:
  static IniFile parse(std::string_view bytes);
  // The value of a key (names compare without regard to ASCII case), trimmed
  // of blanks and one pair of enclosing quotes, at most 10239 bytes.
  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // Changes a key's value in place, or appends the key (and the section).
  void set(std::string_view section, std::string_view key, std::string_view value);
  std::string serialize() const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace zr::shell
