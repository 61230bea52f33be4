#pragma once
// The page fetcher: one blocking HTTP(S) request, with the composed request
// handed to a transport (WinInet on Windows, libcurl elsewhere).
#include <optional>
#include <string>

namespace zr::web {

class HttpTransport;

struct FetchOptions {
  std::optional<int> method;  // 1: POST; anything else: GET
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

// Returns the body, the time-out message (GBK) or empty bytes. The request
// runs on a thread of its own; at the time-out the call returns at once and
// the request is cancelled, so the transport must outlive every request
// (the system's transport lives as long as the process).
std::string fetchPage(HttpTransport& transport, const std::string& address, const FetchOptions& options = {});

// The text returned in place of a page when the time-out passes.
const std::string& timeoutMessage();

// Address parsers of the request: lower-cased host, path with its query
// ("/" when none), and the port an http address names (80 when none).
std::string hostOf(const std::string& address);
std::string pathOf(const std::string& address);
int portOf(const std::string& address);

// The body conversions; each result ends at its first zero byte.
std::string utf8ToGbk(const std::string& text);
std::string big5ToGbkSimplified(const std::string& text);

}  // namespace zr::web
