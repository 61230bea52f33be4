// The WinInet transport. A request is cancelled by closing its handles from
// the cancelling thread, which makes a blocked WinInet call return.
#include <windows.h>
#include <wininet.h>

#include <mutex>
#include <string>

#include "web/transport.h"

namespace zr::web {
namespace {

// The three handles of one request, closed once: by the request itself when
// it ends, or by a cancellation while it runs.
class Handles {
 public:
  // Keeps an opened handle; false (and the handle closed) once cancelled.
  bool keep(HINTERNET& slot, HINTERNET handle) {
    std::lock_guard lock(mutex_);
    if (closed_) {
      if (handle) InternetCloseHandle(handle);
      return false;
    }
    slot = handle;
    return handle != nullptr;
  }
  void closeAll() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (HINTERNET* h : {&request, &connection, &root}) {
      if (*h) InternetCloseHandle(*h);
      *h = nullptr;
    }
  }
  bool closed() {
    std::lock_guard lock(mutex_);
    return closed_;
  }

  HINTERNET root = nullptr, connection = nullptr, request = nullptr;

 private:
  std::mutex mutex_;
  bool closed_ = false;
};

class WinInetTransport : public HttpTransport {
 public:
  HttpResult perform(const HttpRequest& r, CancelToken& cancel) override {
    HttpResult result;
    Handles handles;
    CancelRegistration abort(cancel, [&handles] { handles.closeAll(); });

    const std::string proxy = r.proxy.empty() ? std::string() : "http=" + r.proxy;
    HINTERNET root = InternetOpenA(
        r.agent.c_str(), r.proxy.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), "", 0);
    if (!handles.keep(handles.root, root)) return finish(handles, result);
    HINTERNET connection =
        InternetConnectA(root, r.host.c_str(), static_cast<INTERNET_PORT>(r.port), "", "", INTERNET_SERVICE_HTTP, 0, 0);
    if (!handles.keep(handles.connection, connection)) return finish(handles, result);
    HINTERNET request =
        HttpOpenRequestA(connection, r.method.c_str(), r.path.c_str(), "HTTP/1.1", nullptr, nullptr, r.flags, 0);
    if (!handles.keep(handles.request, request)) return finish(handles, result);
    result.opened = true;

    const bool post = r.method == "POST";
    HttpSendRequestA(request, r.headers.c_str(), static_cast<DWORD>(r.headers.size()),
                     post ? const_cast<char*>(r.body.data()) : nullptr, post ? static_cast<DWORD>(r.body.size()) : 0);

    char buffer[kReadChunk];
    while (result.body.size() < kBodyLimit && !handles.closed()) {
      DWORD read = 0;
      if (!InternetReadFile(request, buffer, sizeof buffer, &read) || read == 0) break;
      const std::size_t room = kBodyLimit - result.body.size();
      result.body.append(buffer, read < room ? read : room);
    }

    if (!handles.closed()) {
      char headers[kHeaderBuffer];
      DWORD size = sizeof headers;
      if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &size, nullptr)) {
        result.rawHeaders.assign(headers, size < sizeof headers ? size : 0);
      }
    }
    return finish(handles, result);
  }

  void storeCookie(const std::string& address, const std::string& name, const std::string& data) override {
    InternetSetCookieA(address.c_str(), name.c_str(), data.c_str());
  }

 private:
  static HttpResult finish(Handles& handles, HttpResult& result) {
    handles.closeAll();
    return std::move(result);
  }
};

}  // namespace

std::unique_ptr<HttpTransport> makeSystemTransport() { return std::make_unique<WinInetTransport>(); }

}  // namespace zr::web
