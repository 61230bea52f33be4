// The page fetcher's handling of whatever a server sends: any header block
// (Set-Cookie lines among others), any body, any options of the caller,
// through the scripted transport. The result, the outputs and the cookies
// stored must follow from the response, and the request from the options.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "text/bytes.h"
#include "web/fake_transport.h"
#include "web/fetch.h"

namespace {

using zr::web::FakeTransport;
using zr::web::FetchOptions;
using zr::web::HttpResult;

bool containsNoCase(std::string_view text, std::string_view needle) {
  return zr::text::findText(text, needle, 1, true) > 0;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return out;
}

std::string untilZero(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

void checkRequest(const zr::web::HttpRequest& request, const std::string& address, const FetchOptions& options) {
  FUZZ_CHECK(request.address.starts_with("http://") || request.address.starts_with("https://"));
  FUZZ_CHECK(request.address.ends_with(address));
  FUZZ_CHECK(lowered(request.host) == request.host);
  FUZZ_CHECK(request.host.find_first_of("/:") == std::string::npos);
  FUZZ_CHECK(request.path.starts_with("/"));
  if (request.secure) FUZZ_CHECK(request.port == 443);
  FUZZ_CHECK(request.method == (options.method == 1 ? "POST" : "GET"));
  if (request.method == "GET") FUZZ_CHECK(request.body.empty());

  const std::string extra = options.extraHeaders.value_or("");
  const std::string cookies = options.cookies.value_or("");
  if (!containsNoCase(extra, "RefererNo")) FUZZ_CHECK(request.headers.starts_with(extra));
  // Byte for byte: extra headers ending in a lead byte hide the added line
  // from a search by characters, yet the line is there.
  FUZZ_CHECK(lowered(request.headers).find("accept-language") != std::string::npos);
  if (!cookies.empty()) FUZZ_CHECK(request.headers.ends_with("Cookie: " + cookies + "\r\n\r\n"));
  FUZZ_CHECK(((request.flags & zr::web::kFlagNoCookies) != 0) == !zr::text::trim(cookies).empty());
  FUZZ_CHECK(((request.flags & zr::web::kFlagNoAutoRedirect) != 0) == !options.followRedirects.value_or(true));
}

// The cookie list holds one "text before the first ;" piece per cookie stored,
// each cut from a Set-Cookie line of the header block.
void checkCookies(const std::string& headers, const std::string& list, const std::string& host,
                  const std::vector<FakeTransport::StoredCookie>& stored) {
  if (lowered(headers).find("set-cookie: ") == std::string::npos) FUZZ_CHECK(stored.empty());
  FUZZ_CHECK(static_cast<std::size_t>(std::count(list.begin(), list.end(), ';')) == stored.size());
  std::size_t from = 0;
  for (const auto& cookie : stored) {
    FUZZ_CHECK(cookie.address == "http://" + host);
    FUZZ_CHECK(cookie.name.find('=') == std::string::npos);
    const std::string line = cookie.data.empty() && headers.find(cookie.name + "=") == std::string::npos
                                 ? cookie.name
                                 : cookie.name + "=" + cookie.data;
    FUZZ_CHECK(headers.find(line) != std::string::npos);
    const std::size_t end = list.find(';', from);
    FUZZ_CHECK(line.starts_with(list.substr(from, end - from)));
    from = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string address = input.ConsumeRandomLengthString(64);
  FetchOptions options;
  std::string headersOut = "unchanged", cookiesOut = "unchanged";
  if (input.ConsumeBool()) options.extraHeaders = input.ConsumeRandomLengthString(128);
  if (input.ConsumeBool()) options.cookies = input.ConsumeRandomLengthString(32);
  if (input.ConsumeBool()) options.body = input.ConsumeRandomLengthString(32);
  if (input.ConsumeBool()) options.method = input.ConsumeIntegralInRange(0, 2);
  if (input.ConsumeBool()) options.bodyConversion = input.ConsumeIntegralInRange(0, 3);
  if (input.ConsumeBool()) options.followRedirects = input.ConsumeBool();
  if (input.ConsumeBool()) options.responseHeaders = &headersOut;
  if (input.ConsumeBool()) options.responseCookies = &cookiesOut;
  // Some limits pass before any answer; the others are long enough for the double.
  if (input.ConsumeBool()) options.timeoutSeconds = input.ConsumeIntegralInRange(-2, 120);

  HttpResult response;
  response.opened = input.ConsumeIntegralInRange(0, 7) != 0;
  response.rawHeaders = input.ConsumeRandomLengthString(3000);
  if (input.ConsumeBool()) response.rawHeaders = "HTTP/1.1 200 OK\r\n" + response.rawHeaders + "\r\n";
  // The body as the chunks of a read; a marker stands for one longer than the limit.
  const int chunks = input.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < chunks; ++i) response.body += input.ConsumeRandomLengthString(2048);
  response.body += input.ConsumeRemainingBytesAsString();
  if (response.body == "<huge>" && options.bodyConversion.value_or(0) == 0) {
    response.body.resize(zr::web::kBodyLimit + 1, 'x');
  }

  FakeTransport transport;
  transport.setHandler([&](const zr::web::HttpRequest&) { return response; });
  const std::string result = zr::web::fetchPage(transport, address, options);

  const auto requests = transport.requests();
  if (zr::text::trim(address).empty()) {
    FUZZ_CHECK(result.empty() && requests.empty());
    return 0;
  }
  if (options.timeoutSeconds && *options.timeoutSeconds <= 0) {
    FUZZ_CHECK(result == zr::web::timeoutMessage() && requests.empty());
    FUZZ_CHECK(headersOut == "unchanged" && cookiesOut == "unchanged");
    return 0;
  }
  FUZZ_CHECK(requests.size() == 1);
  checkRequest(requests[0], address, options);

  const bool fits = response.rawHeaders.size() < zr::web::kHeaderBuffer;
  const std::string headers = response.opened && fits ? response.rawHeaders : std::string();
  if (options.responseHeaders) FUZZ_CHECK(headersOut == headers);
  std::string list;
  if (options.responseCookies) {
    list = cookiesOut;
  } else if (response.opened) {
    // The list is not asked for: fetch again to see it.
    FakeTransport again;
    again.setHandler([&](const zr::web::HttpRequest&) { return response; });
    FetchOptions asking = options;
    asking.responseCookies = &list;
    zr::web::fetchPage(again, address, asking);
  }
  checkCookies(headers, list, requests[0].host, transport.cookies());

  const std::string body = response.opened ? response.body.substr(0, zr::web::kBodyLimit) : std::string();
  switch (options.bodyConversion.value_or(0)) {
    case 1:
      FUZZ_CHECK(result == zr::web::utf8ToGbk(untilZero(body)));
      FUZZ_CHECK(result.find('\0') == std::string::npos);
      break;
    case 2:
      FUZZ_CHECK(result == zr::web::big5ToGbkSimplified(untilZero(body)));
      FUZZ_CHECK(result.find('\0') == std::string::npos);
      break;
    default:
      FUZZ_CHECK(result == body);
  }
  return 0;
}
