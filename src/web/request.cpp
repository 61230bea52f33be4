#include "web/request.h"

#include <algorithm>

#include "text/bytes.h"
#include "web/fetch.h"

namespace zr::web {
namespace {

bool containsNoCase(const std::string& text, const char* needle) { return text::findText(text, needle, 1, true) > 0; }

}  // namespace

const char* const kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR "
    "3.5.21022)";
const char* const kAcceptLine =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";

std::string agentOf(const std::string& extraHeaders) {
  static const std::string kName = "User-Agent:";
  const int at = text::findText(extraHeaders, kName, 1, true);
  if (at <= 0) return kDefaultAgent;
  const std::size_t from = static_cast<std::size_t>(at - 1) + kName.size();
  const int end = text::findText(extraHeaders, "\r\n", static_cast<int>(from) + 1);
  const std::size_t to = end > 0 ? static_cast<std::size_t>(end - 1) : extraHeaders.size();
  return text::trim(std::string_view(extraHeaders).substr(from, to - from));
}

std::string completeHeaders(const ExchangeRecord& record) {
  std::string headers = record.extraHeaders;
  // A substring test: any header whose name begins with Accept suppresses the line.
  if (!containsNoCase(headers, "Accept")) headers += kAcceptLine;
  if (containsNoCase(headers, "RefererNo")) {
    const int at = text::findText(headers, "RefererNo");
    if (at > 0) headers.erase(static_cast<std::size_t>(at - 1), 9);
  } else if (!containsNoCase(headers, "Referer")) {
    headers += "Referer: " + record.address + "\r\n";
  }
  if (!containsNoCase(headers, "Accept-Language")) headers += "Accept-Language: zh-cn\r\n";
  if (record.method == "POST" && !record.body.empty()) {
    if (!containsNoCase(headers, "Content-Type")) headers += "Content-Type: application/x-www-form-urlencoded\r\n";
    if (!containsNoCase(headers, "Content-Length")) {
      headers += "Content-Length: " + std::to_string(record.body.size()) + "\r\n";
    }
  }
  if (!record.cookies.empty()) headers += "Cookie: " + record.cookies + "\r\n\r\n";
  return headers;
}

std::uint32_t requestFlags(const ExchangeRecord& record, bool secure) {
  std::uint32_t flags = kFlagReload | kFlagNeedFile;
  if (!text::trim(record.cookies).empty()) flags |= kFlagNoCookies;
  if (!record.followRedirects) flags |= kFlagNoAutoRedirect;
  flags |= secure ? kFlagSecure : kFlagIgnoreRedirectToHttps;
  return flags;
}

HttpRequest composeRequest(const ExchangeRecord& record) {
  HttpRequest request;
  request.address = record.address;
  std::string lower = record.address;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  request.secure = lower.find("https://") != std::string::npos;
  request.host = hostOf(record.address);
  request.path = pathOf(record.address);
  request.port = request.secure ? 443 : portOf(record.address);
  request.method = record.method;
  request.agent = agentOf(record.extraHeaders);
  request.proxy = record.proxy;
  request.flags = requestFlags(record, request.secure);
  request.headers = completeHeaders(record);
  if (record.method == "POST") request.body = record.body;
  return request;
}

std::string cookieList(const std::string& rawHeaders,
                       const std::function<void(const std::string& name, const std::string& data)>& store) {
  static const std::string kMarker = "Set-Cookie: ";
  std::string list;
  if (text::findText(rawHeaders, kMarker, 1, true) <= 0) return list;
  for (const std::string& line : text::split(rawHeaders, "\r\n")) {
    if (text::findText(line, kMarker, 1, true) <= 0) continue;
    const std::string cookie = line.substr(std::min(line.size(), kMarker.size()));
    // A cookie line without ";" gives its whole text, so the list stays
    // ";"-separated.
    list += cookie.substr(0, cookie.find(';')) + ";";
    const std::size_t eq = cookie.find('=');
    if (eq == std::string::npos) {
      store(cookie, std::string());
    } else {
      store(cookie.substr(0, eq), cookie.substr(eq + 1));
    }
  }
  return list;
}

ExchangeResult runExchange(HttpTransport& transport, const ExchangeRecord& record, CancelToken& cancel) {
  const HttpRequest request = composeRequest(record);
  HttpResult received = transport.perform(request, cancel);
  ExchangeResult result;
  if (!received.opened) return result;
  if (received.body.size() > kBodyLimit) received.body.resize(kBodyLimit);
  if (received.rawHeaders.size() >= kHeaderBuffer) received.rawHeaders.clear();
  result.body = std::move(received.body);
  result.rawHeaders = std::move(received.rawHeaders);
  const std::string cookieAddress = "http://" + request.host;
  result.cookieList = cookieList(result.rawHeaders, [&](const std::string& name, const std::string& data) {
    // An abandoned request leaves nothing behind, not even its cookies.
    if (!cancel.cancelled()) transport.storeCookie(cookieAddress, name, data);
  });
  return result;
}

}  // namespace zr::web
