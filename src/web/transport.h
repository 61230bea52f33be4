#pragma once
// The transport that carries out one composed HTTP request: WinInet on
// Windows, libcurl elsewhere, and a scripted double for tests. The request's
// composition (address parsing, headers, flags) and the cookie list are
// shared code in fetch.cpp; a transport only performs what it is given.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "web/cancel.h"

namespace zr::web {

// Limits on what a server may send.
inline constexpr std::size_t kBodyLimit = std::size_t{16} << 20;  // body bytes kept; the read stops there
inline constexpr std::size_t kHeaderBuffer = 2048;                // a header block must fit with its terminating zero
inline constexpr std::size_t kReadChunk = 2048;                   // body read size

// Request flags, with the WinInet values.
inline constexpr std::uint32_t kFlagReload = 0x80000000;                 // INTERNET_FLAG_RELOAD
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010;               // INTERNET_FLAG_NEED_FILE
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;              // INTERNET_FLAG_NO_COOKIES
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;         // INTERNET_FLAG_NO_AUTO_REDIRECT
inline constexpr std::uint32_t kFlagSecure = 0x00800000;                 // INTERNET_FLAG_SECURE
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;  // INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS

struct HttpRequest {
  std::string address;  // the completed address ("http://..." or "https://...")
  bool secure = false;
  std::string host;
  int port = 80;
  std::string path;    // with the query
  std::string method;  // "GET" or "POST"
  std::string agent;
  std::string proxy;        // empty: direct connection
  std::uint32_t flags = 0;  // request flags, with the WinInet values
  std::string headers;      // the completed header text
  std::string body;         // sent with POST only
};

struct HttpResult {
  bool opened = false;     // the session, connection and request could be opened
  std::string body;        // as read, at most the body limit
  std::string rawHeaders;  // raw header block, lines ended by "\r\n"; empty when it does not fit kHeaderBuffer
};

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  // Performs the request on the calling thread and returns what was received.
  // Once cancel is signalled it stops as soon as it can (its network handles
  // are closed or aborted, never its thread killed).
  virtual HttpResult perform(const HttpRequest& request, CancelToken& cancel) = 0;
  // The process-wide cookie store, which later requests to the same host send
  // unless INTERNET_FLAG_NO_COOKIES is set.
  virtual void storeCookie(const std::string& address, const std::string& name, const std::string& data) = 0;
};

// The system's transport: WinInet on Windows, libcurl elsewhere. One per
// process, since it holds the process-wide cookie store.
std::unique_ptr<HttpTransport> makeSystemTransport();

}  // namespace zr::web
