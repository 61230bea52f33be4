#include "platform/fake/temp_dir_file_system.h"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "text/gbk.h"

namespace zr::fake {
namespace fs = std::filesystem;

TempDirFileSystem::TempDirFileSystem() {
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    std::ostringstream name;
    name << "zrtk-test-" << std::hex << random() << random();
    fs::path candidate = base / name.str();
    if (fs::create_directory(candidate)) {
      root_ = std::move(candidate);
      return;
    }
  }
}

TempDirFileSystem::~TempDirFileSystem() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path TempDirFileSystem::localPath(const std::string& path) const {
  std::string_view rest = path;
  // A drive ("D:") and the separators after it.
  if (rest.size() >= 2 && rest[1] == ':') rest.remove_prefix(2);
  while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/')) rest.remove_prefix(1);
  std::string utf8 = text::gbkToUtf8(rest);
  for (char& c : utf8) {
    if (c == '\\') c = '/';
  }
  return root_ / fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<std::string> TempDirFileSystem::readFile(const std::string& path) {
  std::ifstream in(localPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

bool TempDirFileSystem::exists(const std::string& path) {
  std::error_code error;
  return fs::exists(localPath(path), error);
}

bool TempDirFileSystem::writeFileAtomic(const std::string& path, std::string_view bytes) {
  unsigned serial;
  {
    std::lock_guard lock(mutex_);
    if (!writable_) return false;
    serial = nextTemp_++;
  }
  const fs::path target = localPath(path);
  // Its own temporary name per write, so that two writers never share one.
  fs::path temp = target;
  temp += ".tmp" + std::to_string(serial) + "~";
  std::error_code error;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(temp, error);
      return false;
    }
  }
  fs::rename(temp, target, error);
  if (error) {
    fs::remove(temp, error);
    return false;
  }
  return true;
}

void TempDirFileSystem::setWritable(bool writable) {
  std::lock_guard lock(mutex_);
  writable_ = writable;
}

}  // namespace zr::fake
