// The libcurl transport. One share handle holds the cookie store of the
// process; a request sends its cookies unless INTERNET_FLAG_NO_COOKIES is set.
#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "text/bytes.h"
#include "web/transport.h"

namespace zr::web {
namespace {

struct Received {
  std::string body;
  std::string headers;
  bool headersOverflow = false;
  CancelToken* cancel = nullptr;
};

// The request's open sockets. Cancelling shuts them down from the cancelling
// thread, which wakes a transfer blocked on them at once.
struct Sockets {
  std::mutex mutex;
  std::vector<curl_socket_t> open;
  bool cancelled = false;

  void shutdownAll() {
    std::lock_guard lock(mutex);
    cancelled = true;
    for (curl_socket_t s : open) shutdown(s, SHUT_RDWR);
  }
};

curl_socket_t onOpenSocket(void* user, curlsocktype, curl_sockaddr* address) {
  auto& sockets = *static_cast<Sockets*>(user);
  std::lock_guard lock(sockets.mutex);
  if (sockets.cancelled) return CURL_SOCKET_BAD;
  const curl_socket_t s = socket(address->family, address->socktype, address->protocol);
  if (s != CURL_SOCKET_BAD) sockets.open.push_back(s);
  return s;
}

int onCloseSocket(void* user, curl_socket_t s) {
  auto& sockets = *static_cast<Sockets*>(user);
  std::lock_guard lock(sockets.mutex);
  std::erase(sockets.open, s);
  return close(s);
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  const size_t n = size * count;
  const size_t room = kBodyLimit - received.body.size();
  received.body.append(data, n < room ? n : room);
  // Returning less than given ends the transfer: the rest is never read.
  return n <= room ? n : 0;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  const size_t n = size * count;
  std::string_view line(data, n);
  // Each response of a redirect chain (or an interim 100) starts a new block;
  // the block kept is the final response's.
  if (line.starts_with("HTTP/")) {
    received.headers.clear();
    received.headersOverflow = false;
  }
  if (!received.headersOverflow) {
    if (received.headers.size() + n >= kHeaderBuffer) {
      received.headers.clear();
      received.headersOverflow = true;
    } else {
      received.headers.append(line);
    }
  }
  return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Received*>(user)->cancel->cancelled() ? 1 : 0;
}

// The value and path of a stored cookie's data ("v; path=/x; expires=...").
struct CookieParts {
  std::string value, path = "/";
};

CookieParts partsOf(const std::string& data) {
  CookieParts parts;
  const std::vector<std::string> pieces = text::split(data, ";");
  if (!pieces.empty()) parts.value = text::trim(pieces[0]);
  for (size_t i = 1; i < pieces.size(); ++i) {
    const std::string attribute = text::trim(pieces[i]);
    if (text::findText(attribute, "path=", 1, true) == 1 && attribute.size() > 5) parts.path = attribute.substr(5);
  }
  return parts;
}

std::string withoutControls(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

class CurlTransport : public HttpTransport {
 public:
  CurlTransport() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    share_ = curl_share_init();
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CurlTransport::lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CurlTransport::unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  ~CurlTransport() override { curl_share_cleanup(share_); }

  HttpResult perform(const HttpRequest& request, CancelToken& cancel) override {
    HttpResult result;
    CURL* curl = curl_easy_init();
    if (!curl) return result;
    Received received;
    received.cancel = &cancel;

    const std::string url = std::string(request.secure ? "https://" : "http://") + request.host + ":" +
                            std::to_string(request.port) + request.path;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, request.agent.c_str());
    // An empty proxy text means a direct connection, whatever the environment says.
    const std::string proxy = request.proxy.empty() ? std::string() : "http://" + request.proxy;
    curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, static_cast<long>(kReadChunk));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &received);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &received);
    Sockets sockets;
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &onOpenSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &sockets);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &onCloseSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, &sockets);
    const bool follow = (request.flags & kFlagNoAutoRedirect) == 0;
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 20L);
    if ((request.flags & kFlagNoCookies) == 0) {
      curl_easy_setopt(curl, CURLOPT_SHARE, share_);
      curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    }
    if (request.method == "POST") {
      curl_easy_setopt(curl, CURLOPT_POST, 1L);
      curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
      curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }

    curl_slist* headers = nullptr;
    bool hasAccept = false;
    for (const std::string& line : text::split(request.headers, "\r\n")) {
      if (line.empty()) continue;
      if (text::findText(line, "Accept:", 1, true) == 1) hasAccept = true;
      headers = curl_slist_append(headers, line.c_str());
    }
    // Only the composed headers go out: no Accept or Expect of curl's own.
    if (!hasAccept) headers = curl_slist_append(headers, "Accept:");
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    CURLcode rc;
    {
      CancelRegistration abort(cancel, [&sockets] { sockets.shutdownAll(); });
      rc = curl_easy_perform(curl);
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    // A request counts as opened once the server was reached; a refused or
    // unresolvable connection gives the failure result.
    result.opened = status != 0 || (rc != CURLE_COULDNT_CONNECT && rc != CURLE_COULDNT_RESOLVE_HOST &&
                                    rc != CURLE_COULDNT_RESOLVE_PROXY && rc != CURLE_URL_MALFORMAT &&
                                    rc != CURLE_UNSUPPORTED_PROTOCOL);
    result.body = std::move(received.body);
    result.rawHeaders = std::move(received.headers);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return result;
  }

  void storeCookie(const std::string& address, const std::string& name, const std::string& data) override {
    CURL* curl = curl_easy_init();
    if (!curl) return;
    curl_easy_setopt(curl, CURLOPT_SHARE, share_);
    const std::string host = text::replaceAll(address, "http://", "");
    const CookieParts parts = partsOf(data);
    // Netscape cookie-file form: domain, subdomains, path, secure, expiry, name, value.
    const std::string line = withoutControls(host) + "\tFALSE\t" + withoutControls(parts.path) + "\tFALSE\t0\t" +
                             withoutControls(name) + "\t" + withoutControls(parts.value);
    curl_easy_setopt(curl, CURLOPT_COOKIELIST, line.c_str());
    curl_easy_cleanup(curl);
  }

 private:
  static void lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    static_cast<CurlTransport*>(user)->locks_[index(data)].lock();
  }
  static void unlock(CURL*, curl_lock_data data, void* user) {
    static_cast<CurlTransport*>(user)->locks_[index(data)].unlock();
  }
  static size_t index(curl_lock_data data) {
    const auto i = static_cast<size_t>(data);
    return i < kLocks ? i : 0;
  }

  static constexpr size_t kLocks = CURL_LOCK_DATA_LAST;
  std::array<std::mutex, kLocks> locks_;
  CURLSH* share_ = nullptr;
};

}  // namespace

std::unique_ptr<HttpTransport> makeSystemTransport() { return std::make_unique<CurlTransport>(); }

}  // namespace zr::web
