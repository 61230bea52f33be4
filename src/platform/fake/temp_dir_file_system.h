#pragma once
// Files of the program's fixed paths in a fresh temporary folder of the test:
// "D:\计划区.txt" lands in <root>/计划区.txt (names converted from GBK to
// UTF-8). The folder and everything in it goes with the object.
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "platform/services.h"

namespace zr::fake {

class TempDirFileSystem : public platform::FileSystem {
 public:
  TempDirFileSystem();
  ~TempDirFileSystem() override;
  TempDirFileSystem(const TempDirFileSystem&) = delete;
  TempDirFileSystem& operator=(const TempDirFileSystem&) = delete;

  std::optional<std::string> readFile(const std::string& path) override;
  bool exists(const std::string& path) override;
  // A temporary file beside the target, then renamed over it.
  bool writeFileAtomic(const std::string& path, std::string_view bytes) override;

  const std::filesystem::path& root() const { return root_; }
  // Where a program path lands.
  std::filesystem::path localPath(const std::string& path) const;
  void setWritable(bool writable);  // false: every write fails, as on a read-only folder

 private:
  std::filesystem::path root_;
  std::mutex mutex_;
  bool writable_ = true;
  unsigned nextTemp_ = 0;
};

}  // namespace zr::fake
