#include <string>

#include "text/bytes.h"
#include "web/fetch.h"

namespace zr::web {

std::string hostOf(const std::string& address) {
  std::string host = text::replaceAll(address, "https://", "");
  host = text::replaceAll(host, "http://", "");
  host = host.substr(0, host.find('/'));
  host = host.substr(0, host.find(':'));
  for (char& c : host) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return host;
}

std::string pathOf(const std::string& address) {
  // The host is looked for after the scheme, so that a host such as "h" or
  // "tp" is not found inside "http://".
  const std::size_t scheme = address.find("://");
  const int start = scheme == std::string::npos ? 1 : static_cast<int>(scheme) + 4;
  const int hostAt = text::findText(address, hostOf(address), start, true);
  const std::size_t from = hostAt > 0 ? static_cast<std::size_t>(hostAt - 1) : 0;
  const std::size_t slash = address.find('/', from);
  if (slash == std::string::npos) return "/";
  return address.substr(slash);
}

int portOf(const std::string& address) {
  if (address.size() <= 7) return 80;
  const std::size_t slash = address.find('/', 7);
  const std::string authority = address.substr(7, slash == std::string::npos ? std::string::npos : slash - 7);
  const std::size_t colon = authority.find(':');
  if (colon == std::string::npos) return 80;
  return text::readNumber(authority.substr(colon + 1));
}

}  // namespace zr::web
