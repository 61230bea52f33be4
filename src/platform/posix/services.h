#pragma once
// Platform services for running the program's core outside Windows.
#include <atomic>
#include <filesystem>

#include "platform/services.h"

namespace zr::platform::posix {

class PosixClock final : public Clock {
 public:
  text::Date today() const override;
  std::uint32_t tickCount() const override;
};

// The program's Windows paths ("D:\计划区.txt", GBK) inside a root folder:
// the drive is dropped, backslashes become folders and names become UTF-8.
class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(std::filesystem::path root) : root_(std::move(root)) {}

  std::optional<std::string> readFile(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool writeFileAtomic(const std::string& path, std::string_view bytes) override;

  // Where a program path lands; empty when it would leave the root.
  std::filesystem::path map(const std::string& path) const;

 private:
  std::filesystem::path root_;
  std::atomic<unsigned> nextTemp_{0};
};

}  // namespace zr::platform::posix
