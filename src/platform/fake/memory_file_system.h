#pragma once
// Files kept in memory by their program paths, with failures on request: a
// read-only folder or a full disk (writes fail and leave the old content).
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/services.h"

namespace zr::fake {

class MemoryFileSystem : public platform::FileSystem {
 public:
  std::optional<std::string> readFile(const std::string& path) override;
  bool exists(const std::string& path) override;  // an unreadable file is there too
  bool writeFileAtomic(const std::string& path, std::string_view bytes) override;

  void put(const std::string& path, std::string bytes);
  void remove(const std::string& path);
  std::optional<std::string> get(const std::string& path) const;
  std::map<std::string, std::string> files() const;
  void setWritable(bool writable);  // false: every write fails
  void setReadable(bool readable);  // false: every read fails as if the file were missing
  int writeCount() const;           // writes asked for, failed ones included

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::string> files_;
  bool writable_ = true;
  bool readable_ = true;
  int writes_ = 0;
};

}  // namespace zr::fake
