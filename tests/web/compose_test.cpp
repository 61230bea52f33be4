// The request a fetch composes, as the transport receives it.
#include <gtest/gtest.h>

#include "web/fake_transport.h"
#include "web/fetch.h"
#include "web/request.h"

namespace zr::web {
namespace {

const std::string kAccept = kAcceptLine;
constexpr std::uint32_t kPlainFlags = kFlagReload | kFlagNeedFile | kFlagIgnoreRedirectToHttps;

struct ComposeCase {
  const char* name;
  std::string address;
  FetchOptions options;
  std::string url;  // the completed address
  std::string method;
  std::uint32_t flags;
  std::string agent;
  std::string headers;
  int port;
  std::string path;
  std::string body;
  std::string proxy;
};

FetchOptions headers(std::string text) {
  FetchOptions o;
  o.extraHeaders = std::move(text);
  return o;
}
FetchOptions post(std::string body) {
  FetchOptions o;
  o.method = 1;
  o.body = std::move(body);
  return o;
}

TEST(ComposeTest, RequestAsTheTransportGetsIt) {
  const std::string page = "http://127.0.0.1:8080/kaijiang/kaijiang?lotId=255401&spanType=2&span=2014-03-13_2014-03-13";
  const std::string referer = "Referer: " + page + "\r\n";
  const std::string language = "Accept-Language: zh-cn\r\n";
  FetchOptions withCookies;
  withCookies.cookies = "a=1; b=2";
  FetchOptions blankCookies;
  blankCookies.cookies = "   ";
  FetchOptions noRedirects;
  noRedirects.followRedirects = false;
  FetchOptions viaProxy;
  viaProxy.proxy = "10.0.0.1:3128";
  FetchOptions otherMethod;
  otherMethod.method = 2;
  otherMethod.body = "ignored";

  const std::vector<ComposeCase> cases = {
      {"every option absent",
       page,
       {},
       page,
       "GET",
       kPlainFlags,
       kDefaultAgent,
       kAccept + referer + language,
       8080,
       "/kaijiang/kaijiang?lotId=255401&spanType=2&span=2014-03-13_2014-03-13",
       "",
       ""},
      {"no scheme",
       "example.com/a?b=1",
       {},
       "http://example.com/a?b=1",
       "GET",
       kPlainFlags,
       kDefaultAgent,
       kAccept + "Referer: http://example.com/a?b=1\r\n" + language,
       80,
       "/a?b=1",
       "",
       ""},
      {"no path",
       "http://example.com",
       {},
       "http://example.com",
       "GET",
       kPlainFlags,
       kDefaultAgent,
       kAccept + "Referer: http://example.com\r\n" + language,
       80,
       "/",
       "",
       ""},
      {"secure uses 443",
       "https://example.com:8443/x",
       {},
       "https://example.com:8443/x",
       "GET",
       kFlagReload | kFlagNeedFile | kFlagSecure,
       kDefaultAgent,
       kAccept + "Referer: https://example.com:8443/x\r\n" + language,
       443,
       "/x",
       "",
       ""},
      {"agent from a User-Agent line", page, headers("user-agent:  Probe/2.0 \r\n"), page, "GET", kPlainFlags,
       "Probe/2.0", "user-agent:  Probe/2.0 \r\n" + kAccept + referer + language, 8080, "", "", ""},
      {"lower-case accept-language suppresses both", page, headers("accept-language: en\r\n"), page, "GET", kPlainFlags,
       kDefaultAgent, "accept-language: en\r\n" + referer, 8080, "", "", ""},
      {"RefererNo marker", page, headers("X-A: 1\r\nRefererNo"), page, "GET", kPlainFlags, kDefaultAgent,
       "X-A: 1\r\n" + kAccept + language, 8080, "", "", ""},
      {"own Referer kept", page, headers("Referer: http://r/\r\n"), page, "GET", kPlainFlags, kDefaultAgent,
       "Referer: http://r/\r\n" + kAccept + language, 8080, "", "", ""},
      {"POST without body", page, post(""), page, "POST", kPlainFlags, kDefaultAgent, kAccept + referer + language,
       8080, "", "", ""},
      {"POST with 13 bytes", page, post("a=1&b=2&c=333"), page, "POST", kPlainFlags, kDefaultAgent,
       kAccept + referer + language + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 13\r\n", 8080,
       "", "a=1&b=2&c=333", ""},
      {"another method is GET, body not sent", page, otherMethod, page, "GET", kPlainFlags, kDefaultAgent,
       kAccept + referer + language, 8080, "", "", ""},
      {"cookie text", page, withCookies, page, "GET", kPlainFlags | kFlagNoCookies, kDefaultAgent,
       kAccept + referer + language + "Cookie: a=1; b=2\r\n\r\n", 8080, "", "", ""},
      {"blank cookie text adds the line, not the flag", page, blankCookies, page, "GET", kPlainFlags, kDefaultAgent,
       kAccept + referer + language + "Cookie:    \r\n\r\n", 8080, "", "", ""},
      {"redirects not followed", page, noRedirects, page, "GET", kPlainFlags | kFlagNoAutoRedirect, kDefaultAgent,
       kAccept + referer + language, 8080, "", "", ""},
      {"proxy", page, viaProxy, page, "GET", kPlainFlags, kDefaultAgent, kAccept + referer + language, 8080, "", "",
       "10.0.0.1:3128"},
  };
  for (const ComposeCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeTransport transport;
    transport.setHandler([](const HttpRequest&) { return FakeTransport::page("ok"); });
    EXPECT_EQ(fetchPage(transport, c.address, c.options), "ok");
    const auto requests = transport.requests();
    ASSERT_EQ(requests.size(), 1u);
    const HttpRequest& r = requests[0];
    EXPECT_EQ(r.address, c.url);
    EXPECT_EQ(r.method, c.method);
    EXPECT_EQ(r.flags, c.flags);
    EXPECT_EQ(r.agent, c.agent);
    EXPECT_EQ(r.headers, c.headers);
    EXPECT_EQ(r.port, c.port);
    if (!c.path.empty()) {
      EXPECT_EQ(r.path, c.path);
    }
    EXPECT_EQ(r.body, c.body);
    EXPECT_EQ(r.proxy, c.proxy);
  }
}

TEST(ComposeTest, BlankAddressMakesNoRequest) {
  FakeTransport transport;
  for (const std::string address : {"", "   ", "\xA1\xA1 \xA1\xA1"}) {
    EXPECT_EQ(fetchPage(transport, address), "");
  }
  EXPECT_TRUE(transport.requests().empty());
}

}  // namespace
}  // namespace zr::web
