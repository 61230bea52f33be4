#pragma once
// The page fetcher: one blocking HTTP(S) request, with the composed request
// handed to a transport (WinInet on Windows, libcurl elsewhere).
#include <optional>
#include <string>

namespace zr::web {

class HttpTransport;

struct FetchOptions {
  std::optional<int> method;               // 1: POST; anything else: GET
  std::optional<std::string> proxy;
  std::optional<std::string> extraHeaders;
  std::optional<std::string> body;
  std::optional<std::string> cookies;
  std::optional<int> timeoutSeconds;       // absent: 60
  std::string* responseHeaders = nullptr;  // output, when asked for
  std::optional<int> bodyConversion;       // 1 UTF-8, 2 Big5
  std::string* responseCookies = nullptr;  // output, when asked for
  std::optional<bool> followRedirects;     // absent: true
};

// Returns the body, the time-out message (GBK) or empty bytes.
std::string fetchPage(HttpTransport& transport, const std::string& address, const FetchOptions& options = {});

}  // namespace zr::web
