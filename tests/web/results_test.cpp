// What a fetch gives back: body, header text, cookie list, stored cookies,
// conversions, failures and the time-out.
#include <gtest/gtest.h>

#include <chrono>

#include "text/gbk.h"
#include "web/fake_transport.h"
#include "web/fetch.h"
#include "web/request.h"

namespace zr::web {
namespace {

struct CookieCase {
  const char* name;
  std::string headerLines;
  std::string list;
  std::vector<std::pair<std::string, std::string>> stored;  // name, data
};

TEST(ResultsTest, CookieListAndStore) {
  const std::vector<CookieCase> cases = {
      {"two cookies with attributes",
       "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2; expires=Wed, 01 Jan 2031 00:00:00 GMT\r\n",
       "a=1;b=2;",
       {{"a", "1; path=/"}, {"b", "2; expires=Wed, 01 Jan 2031 00:00:00 GMT"}}},
      {"no cookie", "X-A: 1\r\n", "", {}},
      {"line without a semicolon adds its whole text", "Set-Cookie: solo=9\r\n", "solo=9;", {{"solo", "9"}}},
      {"name ignores case", "set-cookie: c=3;\r\n", "c=3;", {{"c", "3;"}}},
      {"no equals sign", "Set-Cookie: flag\r\n", "flag;", {{"flag", ""}}},
  };
  for (const CookieCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeTransport transport;
    const std::string raw = "HTTP/1.1 200 OK\r\n" + c.headerLines + "\r\n";
    transport.answer("/p", [&] {
      HttpResult r = FakeTransport::page("body");
      r.rawHeaders = raw;
      return r;
    }());
    std::string headers = "unchanged", cookies = "unchanged";
    FetchOptions options;
    options.responseHeaders = &headers;
    options.responseCookies = &cookies;
    EXPECT_EQ(fetchPage(transport, "Host.Example:81/p", options), "body");
    EXPECT_EQ(headers, raw);
    EXPECT_EQ(cookies, c.list);
    const auto stored = transport.cookies();
    ASSERT_EQ(stored.size(), c.stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(stored[i].address, "http://host.example");
      EXPECT_EQ(stored[i].name, c.stored[i].first);
      EXPECT_EQ(stored[i].data, c.stored[i].second);
    }
  }
}

TEST(ResultsTest, OversizedHeaderBlockGivesNoHeadersAndNoCookies) {
  for (const std::size_t size : {kHeaderBuffer - 1, kHeaderBuffer, kHeaderBuffer * 4}) {
    SCOPED_TRACE(size);
    FakeTransport transport;
    HttpResult r = FakeTransport::page("body");
    r.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Pad: ";
    r.rawHeaders += std::string(size - r.rawHeaders.size() - 4, 'p') + "\r\n\r\n";
    ASSERT_EQ(r.rawHeaders.size(), size);
    transport.setHandler([&](const HttpRequest&) { return r; });
    std::string headers, cookies;
    FetchOptions options;
    options.responseHeaders = &headers;
    options.responseCookies = &cookies;
    EXPECT_EQ(fetchPage(transport, "h/", options), "body");
    const bool fits = size < kHeaderBuffer;
    EXPECT_EQ(headers.empty(), !fits);
    EXPECT_EQ(cookies, fits ? "a=1;" : "");
    EXPECT_EQ(transport.cookies().size(), fits ? 1u : 0u);
  }
}

TEST(ResultsTest, BodyIsCutAtTheLimit) {
  FakeTransport transport;
  transport.setHandler([](const HttpRequest&) { return FakeTransport::page(std::string(kBodyLimit + 5000, 'x')); });
  EXPECT_EQ(fetchPage(transport, "h/").size(), kBodyLimit);
}

TEST(ResultsTest, UnopenedRequestGivesEmptyResults) {
  FakeTransport transport;  // no handler: every request fails to open
  std::string headers = "old", cookies = "old";
  FetchOptions options;
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  EXPECT_EQ(fetchPage(transport, "h/", options), "");
  EXPECT_EQ(headers, "");
  EXPECT_EQ(cookies, "");
}

TEST(ResultsTest, ErrorPageIsTheBody) {
  FakeTransport transport;
  HttpResult r = FakeTransport::page("<h1>404</h1>");
  r.rawHeaders = "HTTP/1.1 404 Not Found\r\n\r\n";
  transport.answer("/missing", r);
  EXPECT_EQ(fetchPage(transport, "h/missing"), "<h1>404</h1>");
}

struct ConversionCase {
  const char* name;
  std::optional<int> conversion;
  std::string received;
  std::string expected;
};

TEST(ResultsTest, BodyConversions) {
  const std::string gbk = text::utf8ToGbk("开奖号码");
  const std::vector<ConversionCase> cases = {
      {"absent: as received", std::nullopt, std::string("\xE5\xBC\x80\0tail", 8), std::string("\xE5\xBC\x80\0tail", 8)},
      {"UTF-8", 1, "开奖号码", gbk},
      {"UTF-8 ends at a zero byte", 1, std::string("开奖号码\0more", 17), gbk},
      {"Big5 to simplified GBK", 2, "\xB6\x7D\xBC\xFA", text::utf8ToGbk("开奖")},  // 開獎
      {"another value: as received", 3, "abc", "abc"},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeTransport transport;
    transport.setHandler([&](const HttpRequest&) { return FakeTransport::page(c.received); });
    FetchOptions options;
    options.bodyConversion = c.conversion;
    EXPECT_EQ(fetchPage(transport, "h/", options), c.expected);
  }
}

TEST(TimeoutTest, ZeroReturnsTheMessageAtOnce) {
  FakeTransport transport;
  transport.setSlow(true);
  FetchOptions options;
  options.timeoutSeconds = 0;
  EXPECT_EQ(fetchPage(transport, "h/", options), timeoutMessage());
  EXPECT_EQ(timeoutMessage(),
            text::utf8ToGbk(
                "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。"));
}

TEST(TimeoutTest, SlowServerIsAbandonedAtTheLimit) {
  FakeTransport transport;
  transport.setSlow(true);
  std::string headers = "old", cookies = "old";
  FetchOptions options;
  options.timeoutSeconds = 1;
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fetchPage(transport, "h/", options), timeoutMessage());
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1000));
  EXPECT_LT(waited, std::chrono::milliseconds(5000));
  EXPECT_EQ(headers, "old");
  EXPECT_EQ(cookies, "old");
  // The abandoned request was cancelled, not left running.
  EXPECT_TRUE(transport.waitForFinished(1));
}

}  // namespace
}  // namespace zr::web
