#pragma once
// The transport that carries out one composed HTTP request: WinInet on
// Windows, libcurl elsewhere, and a scripted double for tests. The request's
// composition (address parsing, headers, flags) and the cookie list are
// shared code in fetch.cpp; a transport only performs what it is given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "web/cancel.h"

namespace zr::web {

// Limits on what a server may send.
inline constexpr std::size_t kBodyLimit = 16u << 20;     // body bytes kept; the read stops there
inline constexpr std::size_t kHeaderLimit = 2048;        // a longer header block counts as none
inline constexpr std::size_t kReadChunk = 2048;          // body read size

// Request flags, with the WinInet values.
inline constexpr std::uint32_t kFlagReload = 0x80000000;            // INTERNET_FLAG_RELOAD
inline constexpr std::uint32_t kFlagNoCacheWrite = 0x04000000;      // INTERNET_FLAG_NO_CACHE_WRITE
inline constexpr std::uint32_t kFlagSecure = 0x00800000;            // INTERNET_FLAG_SECURE
inline constexpr std::uint32_t kFlagIgnoreCertCn = 0x00001000;      // INTERNET_FLAG_IGNORE_CERT_CN_INVALID
inline constexpr std::uint32_t kFlagIgnoreCertDate = 0x00002000;    // INTERNET_FLAG_IGNORE_CERT_DATE_INVALID
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;         // INTERNET_FLAG_NO_COOKIES
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;    // INTERNET_FLAG_NO_AUTO_REDIRECT

struct HttpRequest {
  std::string address;  // the completed address ("http://..." or "https://...")
  bool secure = false;
  std::string host;
  int port = 80;
  std::string path;    // with the query
  std::string method;  // "GET" or "POST"
  std::string agent;
  std::string proxy;         // empty: direct connection
  std::uint32_t flags = 0;   // request flags, with the WinInet values
  std::string headers;       // the completed header text
  std::string body;          // sent with POST only
};

struct HttpResult {
  bool opened = false;     // the session, connection and request could be opened
  std::string body;        // as read, at most the body limit
  std::string rawHeaders;  // raw header block, lines ended by "\r\n"; empty when over 2048 bytes
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

}  // namespace zr::web
