#include "platform/fake/memory_file_system.h"

namespace zr::fake {

std::optional<std::string> MemoryFileSystem::readFile(const std::string& path) {
  std::lock_guard lock(mutex_);
  auto it = files_.find(path);
  if (!readable_ || it == files_.end()) return std::nullopt;
  return it->second;
}

bool MemoryFileSystem::exists(const std::string& path) {
  std::lock_guard lock(mutex_);
  return files_.count(path) != 0;
}

bool MemoryFileSystem::writeFileAtomic(const std::string& path, std::string_view bytes) {
  std::lock_guard lock(mutex_);
  ++writes_;
  if (!writable_) return false;
  files_[path].assign(bytes);
  return true;
}

void MemoryFileSystem::put(const std::string& path, std::string bytes) {
  std::lock_guard lock(mutex_);
  files_[path] = std::move(bytes);
}

void MemoryFileSystem::remove(const std::string& path) {
  std::lock_guard lock(mutex_);
  files_.erase(path);
}

std::optional<std::string> MemoryFileSystem::get(const std::string& path) const {
  std::lock_guard lock(mutex_);
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

std::map<std::string, std::string> MemoryFileSystem::files() const {
  std::lock_guard lock(mutex_);
  return files_;
}

void MemoryFileSystem::setWritable(bool writable) {
  std::lock_guard lock(mutex_);
  writable_ = writable;
}

void MemoryFileSystem::setReadable(bool readable) {
  std::lock_guard lock(mutex_);
  readable_ = readable;
}

int MemoryFileSystem::writeCount() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

}  // namespace zr::fake
