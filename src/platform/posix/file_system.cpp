#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/posix/services.h"
#include "text/gbk.h"

namespace zr::platform::posix {

std::filesystem::path PosixFileSystem::map(const std::string& path) const {
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    rest.remove_prefix(2);
  }
  std::filesystem::path mapped = root_;
  // Split at backslashes by whole GBK characters: a second byte may be 0x5C.
  std::string piece;
  auto flush = [&]() -> bool {
    if (piece == "..") return false;
    if (!piece.empty() && piece != ".") mapped /= text::gbkToUtf8(piece);
    piece.clear();
    return true;
  };
  for (std::size_t i = 0; i < rest.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(rest[i]);
    if (b >= 0x81 && b <= 0xFE && i + 1 < rest.size()) {
      piece += rest[i];
      piece += rest[++i];
    } else if (rest[i] == '\\' || rest[i] == '/') {
      if (!flush()) return {};
    } else {
      piece += rest[i];
    }
  }
  if (!flush() || mapped == root_) return {};
  return mapped;
}

std::optional<std::string> PosixFileSystem::readFile(const std::string& path) {
  std::filesystem::path file = map(path);
  if (file.empty()) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool PosixFileSystem::exists(const std::string& path) {
  std::filesystem::path file = map(path);
  std::error_code error;
  return !file.empty() && std::filesystem::exists(file, error);
}

bool PosixFileSystem::writeFileAtomic(const std::string& path, std::string_view bytes) {
  std::filesystem::path file = map(path);
  if (file.empty()) return false;
  std::filesystem::path temp = file;
  temp += "." + std::to_string(getpid()) + "." + std::to_string(nextTemp_++) + ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
    } else {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace zr::platform::posix
