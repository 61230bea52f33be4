#include <chrono>
#include <ctime>

#include "platform/posix/services.h"

namespace zr::platform::posix {

text::Date PosixClock::today() const {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::uint32_t PosixClock::tickCount() const {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

}  // namespace zr::platform::posix
