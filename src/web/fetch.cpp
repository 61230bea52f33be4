#include "web/fetch.h"

#include <chrono>
#include <memory>
#include <system_error>
#include <thread>

#include "text/bytes.h"
#include "text/gbk.h"
#include "web/done_event.h"
#include "web/request.h"

namespace zr::web {
namespace {

// Owned jointly by the caller and the request thread, so an abandoned
// request writes into a record that nobody reads any more.
struct Exchange {
  ExchangeRecord record;
  ExchangeResult result;
  CancelToken cancel;
  DoneEvent done;
};

ExchangeRecord fillRecord(const std::string& address, const FetchOptions& options) {
  ExchangeRecord record;
  record.address = address;
  if (!address.starts_with("http://") && !address.starts_with("https://")) record.address = "http://" + address;
  record.method = options.method == 1 ? "POST" : "GET";
  record.proxy = options.proxy.value_or("");
  record.extraHeaders = options.extraHeaders.value_or("");
  record.body = options.body.value_or("");
  record.cookies = options.cookies.value_or("");
  record.followRedirects = options.followRedirects.value_or(true);
  return record;
}

std::string untilZero(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

const std::string& timeoutMessage() {
  return GBK("超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。");
}

std::string fetchPage(HttpTransport& transport, const std::string& address, const FetchOptions& options) {
  if (text::trim(address).empty()) return {};
  const long long timeoutMs = options.timeoutSeconds ? static_cast<long long>(*options.timeoutSeconds) * 1000 : 60000;
  // A limit of zero (or less) has passed before any answer could come.
  if (timeoutMs <= 0) return timeoutMessage();

  auto exchange = std::make_shared<Exchange>();
  exchange->record = fillRecord(address, options);
  try {
    std::thread([exchange, &transport] {
      exchange->result = runExchange(transport, exchange->record, exchange->cancel);
      exchange->done.set();
    }).detach();
  } catch (const std::system_error&) {
    return {};
  }

  if (!exchange->done.wait(std::chrono::milliseconds(timeoutMs))) {
    exchange->cancel.signal();
    return timeoutMessage();
  }

  ExchangeResult& result = exchange->result;
  if (options.responseHeaders) *options.responseHeaders = result.rawHeaders;
  if (options.responseCookies) *options.responseCookies = result.cookieList;
  switch (options.bodyConversion.value_or(0)) {
    case 1:
      return utf8ToGbk(untilZero(result.body));
    case 2:
      return big5ToGbkSimplified(untilZero(result.body));
    default:
      return std::move(result.body);
  }
}

}  // namespace zr::web
