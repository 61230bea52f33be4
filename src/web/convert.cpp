#include <string>

#include "text/gbk.h"
#include "web/fetch.h"

namespace zr::web {
namespace {

std::string untilZero(std::string text) {
  const std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

}  // namespace

std::string utf8ToGbk(const std::string& text) { return untilZero(text::utf8ToGbk(untilZero(text))); }

std::string big5ToGbkSimplified(const std::string& text) {
  return untilZero(text::big5ToGbkSimplified(untilZero(text)));
}

}  // namespace zr::web
