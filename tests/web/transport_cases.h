#pragma once
// The fetcher over the system's transport against a loopback server: what
// goes on the wire and what comes back. Included by one test program per
// platform (libcurl here, WinInet under Wine).
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "web/fetch.h"
#include "web/loopback_server.h"
#include "web/request.h"
#include "web/transport.h"

namespace zr::web {
namespace {

using zr::testing::LoopbackServer;

// Wine's WinInet does not abort a blocked call when its handle is closed.
bool runningUnderWine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

HttpTransport& systemTransport() {
  static std::unique_ptr<HttpTransport> transport = makeSystemTransport();
  return *transport;
}

// The request's header lines, without the request line.
std::vector<std::string> headerLines(const std::string& request) {
  std::vector<std::string> lines;
  const std::size_t end = request.find("\r\n\r\n");
  std::size_t at = request.find("\r\n") + 2;
  while (at < end) {
    const std::size_t next = request.find("\r\n", at);
    lines.push_back(request.substr(at, next - at));
    at = next + 2;
  }
  return lines;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string lineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const auto& l : lines) {
    if (l.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), l.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        })) {
      return l;
    }
  }
  return {};
}

TEST(TransportTest, GetOnTheWire) {
  LoopbackServer server([](const std::string&) { return LoopbackServer::response("200 OK", "page"); });
  const std::string address = server.url("/kaijiang/kaijiang?lotId=255401&spanType=2&span=2014-03-13_2014-03-13");
  EXPECT_EQ(fetchPage(systemTransport(), address), "page");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")),
            "GET /kaijiang/kaijiang?lotId=255401&spanType=2&span=2014-03-13_2014-03-13 HTTP/1.1");
  const auto lines = headerLines(requests[0]);
  EXPECT_EQ(lineStarting(lines, "User-Agent:"), std::string("User-Agent: ") + kDefaultAgent);
  // The composed lines go out in their order.
  const std::string accept = std::string(kAcceptLine).substr(0, std::string(kAcceptLine).size() - 2);
  const auto at = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l) - lines.begin(); };
  ASSERT_TRUE(hasLine(lines, accept));
  ASSERT_TRUE(hasLine(lines, "Referer: " + address));
  ASSERT_TRUE(hasLine(lines, "Accept-Language: zh-cn"));
  EXPECT_LT(at(accept), at("Referer: " + address));
  EXPECT_LT(at("Referer: " + address), at("Accept-Language: zh-cn"));
  EXPECT_EQ(lineStarting(lines, "Cookie:"), "");
}

TEST(TransportTest, PostCarriesItsBody) {
  LoopbackServer server([](const std::string&) { return LoopbackServer::response("200 OK", "done"); });
  FetchOptions options;
  options.method = 1;
  options.body = "a=1&b=2&c=333";
  options.extraHeaders = "User-Agent: Probe/2.0\r\n";
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/form"), options), "done");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].substr(0, 16), "POST /form HTTP/");
  const auto lines = headerLines(requests[0]);
  EXPECT_EQ(lineStarting(lines, "User-Agent:"), "User-Agent: Probe/2.0");
  EXPECT_TRUE(hasLine(lines, "Content-Type: application/x-www-form-urlencoded"));
  EXPECT_EQ(lineStarting(lines, "Content-Length:"), "Content-Length: 13");
  EXPECT_EQ(requests[0].substr(requests[0].size() - 13), "a=1&b=2&c=333");
}

TEST(TransportTest, ErrorPageAndHeaders) {
  LoopbackServer server([](const std::string&) {
    return LoopbackServer::response("404 Not Found", "<h1>missing</h1>", "Set-Cookie: t=1; path=/\r\n");
  });
  std::string headers, cookies;
  FetchOptions options;
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/nothing"), options), "<h1>missing</h1>");
  EXPECT_EQ(headers.substr(0, 22), "HTTP/1.1 404 Not Found");
  EXPECT_EQ(headers.substr(headers.size() - 4), "\r\n\r\n");
  EXPECT_EQ(cookies, "t=1;");
}

TEST(TransportTest, StoredCookiesGoToLaterRequestsOfTheHost) {
  LoopbackServer server([](const std::string& request) {
    if (request.starts_with("GET /login")) {
      return LoopbackServer::response("200 OK", "in", "Set-Cookie: sid=abc123; path=/\r\n");
    }
    return LoopbackServer::response("200 OK", "page");
  });
  fetchPage(systemTransport(), server.url("/login"));
  fetchPage(systemTransport(), server.url("/after"));
  FetchOptions own;
  own.cookies = "x=1";
  fetchPage(systemTransport(), server.url("/own"), own);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  // The store is the process's, so cookies of earlier tests may come along.
  EXPECT_NE(lineStarting(headerLines(requests[1]), "Cookie:").find("sid=abc123"), std::string::npos);
  // A request with its own cookie text sends only that.
  EXPECT_EQ(lineStarting(headerLines(requests[2]), "Cookie:"), "Cookie: x=1");
}

TEST(TransportTest, RedirectsFollowedUnlessSwitchedOff) {
  LoopbackServer server([](const std::string& request) {
    if (request.starts_with("GET /old")) {
      return LoopbackServer::response("302 Found", "moved", "Location: /new\r\n");
    }
    return LoopbackServer::response("200 OK", "new page");
  });
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/old")), "new page");
  FetchOptions stay;
  stay.followRedirects = false;
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/old"), stay), "moved");
}

TEST(TransportTest, HugeBodyStopsAtTheLimit) {
  const std::string body(kBodyLimit + (std::size_t{1} << 20), 'x');
  LoopbackServer server([&](const std::string&) { return LoopbackServer::response("200 OK", body); });
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/huge")).size(), kBodyLimit);
}

TEST(TransportTest, SlowServerTimesOutAndTheRequestIsCancelled) {
  LoopbackServer server([&](const std::string&) {
    server.holdUntilReleased();
    return std::string();
  });
  FetchOptions options;
  options.timeoutSeconds = 1;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/slow"), options), timeoutMessage());
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1000));
  EXPECT_LT(waited, std::chrono::milliseconds(5000));
  server.release();
  // The abandoned request's connection was closed by the cancellation.
  if (!runningUnderWine()) {
    EXPECT_TRUE(server.waitForClientGone(std::chrono::seconds(5)));
  }
}

TEST(TransportTest, NoServerGivesEmptyBytes) {
  int port;
  {
    LoopbackServer gone([](const std::string&) { return std::string(); });
    port = gone.port();
  }
  EXPECT_EQ(fetchPage(systemTransport(), "127.0.0.1:" + std::to_string(port) + "/"), "");
}

}  // namespace
}  // namespace zr::web
