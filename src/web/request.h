#pragma once
// The request side of a fetch, shared by every transport: the exchange
// record the caller fills, the composition of the request from it, and the
// results taken from the response (body, raw headers, cookie list).
#include <cstdint>
#include <functional>
#include <string>

#include "web/transport.h"

namespace zr::web {

// What the caller hands to the request thread.
struct ExchangeRecord {
  std::string address;  // completed with its scheme
  std::string method;   // "GET" or "POST"
  std::string proxy;
  std::string extraHeaders;
  std::string body;
  std::string cookies;
  bool followRedirects = true;
};

// What the request thread gives back.
struct ExchangeResult {
  std::string body;
  std::string cookieList;
  std::string rawHeaders;
};

extern const char* const kDefaultAgent;
extern const char* const kAcceptLine;

// The agent: the trimmed value of a "User-Agent:" line of the extra
// headers, else the default agent.
std::string agentOf(const std::string& extraHeaders);
// The extra headers completed with Accept, Referer, Accept-Language, the
// form headers of a POST and the Cookie line, in that order.
std::string completeHeaders(const ExchangeRecord& record);
std::uint32_t requestFlags(const ExchangeRecord& record, bool secure);
HttpRequest composeRequest(const ExchangeRecord& record);

// The cookie list of a raw header block; calls store(name, data) for every
// cookie line.
std::string cookieList(const std::string& rawHeaders,
                       const std::function<void(const std::string& name, const std::string& data)>& store);

// The request thread's work: performs the request through the transport
// and builds the result, storing the response's cookies unless cancelled.
ExchangeResult runExchange(HttpTransport& transport, const ExchangeRecord& record, CancelToken& cancel);

}  // namespace zr::web
