#include "platform/foundation/URLConnection.h"

#include <curl/curl.h>

#include <atomic>
#include <cctype>
#include <cmath>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"

namespace ns {

void URLRequest::setValueForHTTPHeaderField(const std::string& value, const std::string& field) {
  for (auto& [name, v] : headers) {
    if (lowercase(name) == lowercase(field)) {
      v = value;
      return;
    }
  }
  headers.emplace_back(field, value);
}

std::string HTTPURLResponse::headerField(const std::string& name) const {
  std::string wanted = lowercase(name);
  std::string found;
  for (const auto& [n, v] : headers) {
    if (lowercase(n) == wanted) found = v;
  }
  return found;
}

std::int64_t HTTPURLResponse::expectedContentLength() const {
  std::string text = trim(headerField("Content-Length"));
  if (text.empty() || text.size() > 18) return -1;
  std::int64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// What the loader thread and the main thread share about one transfer. The
// loader thread alone touches the curl handle and the fields below `mutable`.
struct URLConnection::Transfer {
  std::weak_ptr<URLConnection> owner;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;
  Data body;
  std::int64_t maxResponseBytes = 0;
  std::atomic<bool> cancelled{false};

  // Loader-thread state.
  HTTPURLResponse response;
  bool responseSent = false;
  bool overLimit = false;
  // The answer announced two different lengths: which one frames the body is
  // anybody's guess, so the load fails.
  bool conflictingLengths = false;
  std::optional<std::string> announcedLength;  // of the current answer
  std::int64_t received = 0;
  std::int64_t uploaded = 0;

  ~Transfer() {
    if (easy) curl_easy_cleanup(easy);
    if (headerList) curl_slist_free_all(headerList);
  }

  // Hands one event to the main thread, where the connection tells its delegate
  // unless it was cancelled or has already ended.
  void post(std::function<void(URLConnection&, URLConnectionDelegate&)> fn, bool final = false) {
    std::weak_ptr<URLConnection> target = owner;
    RunLoop::main().post([target, fn = std::move(fn), final] {
      auto connection = target.lock();
      if (!connection || connection->cancelled_ || connection->ended_) return;
      if (final) connection->ended_ = true;
      auto delegate = connection->delegate_.lock();
      if (delegate) fn(*connection, *delegate);
    });
  }

  void sendResponseOnce() {
    if (responseSent) return;
    responseSent = true;
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    char* effective = nullptr;
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
    response.statusCode = static_cast<int>(status);
    if (effective) response.url = effective;
    HTTPURLResponse copy = response;
    post([copy](URLConnection& c, URLConnectionDelegate& d) { d.connectionDidReceiveResponse(c, copy); });
  }
};

namespace {

Error errorFor(CURLcode code, bool overLimit, bool conflictingLengths, const char* message) {
  if (conflictingLengths)
    return Error{kURLErrorDomain, kURLErrorBadServerResponse, "The server announced two different body lengths"};
  int ns = kURLErrorUnknown;
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL: ns = kURLErrorUnsupportedURL; break;
    case CURLE_URL_MALFORMAT: ns = kURLErrorBadURL; break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: ns = kURLErrorCannotFindHost; break;
    case CURLE_COULDNT_CONNECT: ns = kURLErrorCannotConnectToHost; break;
    case CURLE_OPERATION_TIMEDOUT: ns = kURLErrorTimedOut; break;
    case CURLE_TOO_MANY_REDIRECTS: ns = kURLErrorHTTPTooManyRedirects; break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: ns = kURLErrorSecureConnectionFailed; break;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE: ns = kURLErrorNetworkConnectionLost; break;
    case CURLE_WEIRD_SERVER_REPLY: ns = kURLErrorBadServerResponse; break;
    case CURLE_WRITE_ERROR:
      if (overLimit) ns = kURLErrorDataLengthExceedsMaximum;
      break;
    default: break;
  }
  std::string text = message && *message ? message : curl_easy_strerror(code);
  if (overLimit) text = "The answer is larger than allowed";
  return Error{kURLErrorDomain, ns, text};
}

// The host part of an absolute URL, lower case.
std::string hostOf(const std::string& url) {
  size_t start = url.find("://");
  if (start == std::string::npos) return {};
  start += 3;
  size_t end = url.find_first_of("/?#", start);
  std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (size_t at = authority.rfind('@'); at != std::string::npos) authority = authority.substr(at + 1);
  if (!authority.empty() && authority[0] == '[') return lowercase(authority.substr(0, authority.find(']') + 1));
  return lowercase(authority.substr(0, authority.find(':')));
}

// Whether every value of a Content-Length field ("5" or the list "5, 5") is the
// one announced before in this answer; the first value seen becomes that one.
bool sameLengthThroughout(const std::string& field, std::optional<std::string>& announced) {
  for (const std::string& part : componentsSeparatedByString(field, ",")) {
    std::string value = trim(part);
    if (!announced) announced = value;
    if (value != *announced) return false;
  }
  return true;
}

// An HTTP method is a token: letters, digits and a few marks, nothing that
// could end the request line or start another.
bool isToken(const std::string& method) {
  if (method.empty()) return false;
  for (unsigned char c : method) {
    if (!std::isalnum(c) && !std::strchr("!#$%&'*+-.^_`|~", c)) return false;
  }
  return true;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<URLConnection::Transfer*>(user);
  size_t n = size * count;
  std::string line(data, n);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (hasPrefix(line, "HTTP/")) {
    // A new answer begins (after a redirect or an interim 100): forget the last one's fields.
    t->response.headers.clear();
    t->announcedLength.reset();
  } else if (auto colon = line.find(':'); colon != std::string::npos) {
    std::string name = trim(line.substr(0, colon)), value = trim(line.substr(colon + 1));
    if (lowercase(name) == "content-length" && !sameLengthThroughout(value, t->announcedLength)) {
      t->conflictingLengths = true;
      return 0;  // aborts the transfer
    }
    t->response.headers.emplace_back(std::move(name), std::move(value));
  }
  return t->cancelled ? 0 : n;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<URLConnection::Transfer*>(user);
  size_t n = size * count;
  if (t->cancelled) return 0;
  t->sendResponseOnce();
  t->received += static_cast<std::int64_t>(n);
  if (t->maxResponseBytes > 0 && t->received > t->maxResponseBytes) {
    t->overLimit = true;
    return 0;  // aborts the transfer with CURLE_WRITE_ERROR
  }
  auto chunk = std::make_shared<Data>(reinterpret_cast<std::uint8_t*>(data),
                                      reinterpret_cast<std::uint8_t*>(data) + n);
  t->post([chunk](URLConnection& c, URLConnectionDelegate& d) { d.connectionDidReceiveData(c, *chunk); });
  return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow) {
  auto* t = static_cast<URLConnection::Transfer*>(user);
  if (t->cancelled) return 1;
  if (ulnow > t->uploaded) {
    std::int64_t delta = ulnow - t->uploaded;
    t->uploaded = ulnow;
    std::int64_t total = ulnow, expected = ultotal;
    t->post([delta, total, expected](URLConnection& c, URLConnectionDelegate& d) {
      d.connectionDidSendBodyData(c, delta, total, expected);
    });
  }
  return 0;
}

// The loader thread: owns the multi handle and every easy handle in it.
class Loader {
 public:
  static Loader& shared() {
    static Loader loader;
    return loader;
  }

  void add(std::shared_ptr<URLConnection::Transfer> t) { command([this, t] { attach(t); }); }
  void remove(std::shared_ptr<URLConnection::Transfer> t) { command([this, t] { detach(t.get()); }); }

  ~Loader() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    curl_multi_wakeup(multi_);
    if (thread_.joinable()) thread_.join();
    for (auto& [easy, t] : active_) curl_multi_remove_handle(multi_, easy);
    active_.clear();
    curl_multi_cleanup(multi_);
  }

 private:
  Loader() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = curl_multi_init();
    thread_ = std::thread([this] { run(); });
  }

  void command(std::function<void()> fn) {
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(std::move(fn));
    }
    curl_multi_wakeup(multi_);
  }

  void attach(const std::shared_ptr<URLConnection::Transfer>& t) {
    if (t->cancelled) return;
    active_.emplace(t->easy, t);
    curl_multi_add_handle(multi_, t->easy);
  }

  void detach(URLConnection::Transfer* t) {
    auto it = active_.find(t->easy);
    if (it == active_.end()) return;
    curl_multi_remove_handle(multi_, t->easy);
    active_.erase(it);
  }

  void finish(CURL* easy, CURLcode result) {
    auto it = active_.find(easy);
    if (it == active_.end()) return;
    auto t = it->second;
    curl_multi_remove_handle(multi_, easy);
    active_.erase(it);
    if (t->cancelled) return;
    if (result == CURLE_OK) {
      t->sendResponseOnce();
      t->post([](URLConnection& c, URLConnectionDelegate& d) { d.connectionDidFinishLoading(c); }, true);
    } else {
      Error error = errorFor(result, t->overLimit, t->conflictingLengths, nullptr);
      t->post([error](URLConnection& c, URLConnectionDelegate& d) { d.connectionDidFailWithError(c, error); },
              true);
    }
  }

  void run() {
    for (;;) {
      std::deque<std::function<void()>> pending;
      {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        pending.swap(commands_);
      }
      for (auto& fn : pending) fn();
      int running = 0;
      curl_multi_perform(multi_, &running);
      int left = 0;
      while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
        if (msg->msg == CURLMSG_DONE) finish(msg->easy_handle, msg->data.result);
      }
      curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
    }
  }

  CURLM* multi_ = nullptr;
  std::thread thread_;
  std::mutex mutex_;
  std::deque<std::function<void()>> commands_;
  bool stopping_ = false;
  std::map<CURL*, std::shared_ptr<URLConnection::Transfer>> active_;
};

}  // namespace

URLConnection::URLConnection(const URLRequest& request, std::weak_ptr<URLConnectionDelegate> delegate)
    : request_(request), delegate_(std::move(delegate)) {}

URLConnection::~URLConnection() { cancel(); }

std::shared_ptr<URLConnection> URLConnection::start(const URLRequest& request,
                                                    std::weak_ptr<URLConnectionDelegate> delegate) {
  std::shared_ptr<URLConnection> connection(new URLConnection(request, std::move(delegate)));
  auto t = std::make_shared<Transfer>();
  t->owner = connection;
  t->maxResponseBytes = request.maxResponseBytes;
  connection->transfer_ = t;

  auto failAtOnce = [&](int code, const char* text) {
    Error error{kURLErrorDomain, code, text};
    t->post([error](URLConnection& c, URLConnectionDelegate& d) { d.connectionDidFailWithError(c, error); },
            true);
    return connection;
  };
  std::string scheme = lowercase(request.url.substr(0, request.url.find(':')));
  if (request.url.find("://") == std::string::npos || (scheme != "http" && scheme != "https"))
    return failAtOnce(request.url.empty() ? kURLErrorBadURL : kURLErrorUnsupportedURL,
                      "Only http and https addresses can be loaded");
  // The engine reads the URL up to its first NUL: what loads would not be what was asked for.
  if (request.url.find('\0') != std::string::npos) return failAtOnce(kURLErrorBadURL, "The address holds a NUL byte");
  std::string method = uppercase(request.method);
  if (!method.empty() && !isToken(method)) return failAtOnce(kURLErrorBadURL, "The request method is not a valid name");
  // Names under ".invalid" never resolve; answering at once spares a lookup.
  if (std::string host = hostOf(request.url); host == "invalid" || hasSuffix(host, ".invalid"))
    return failAtOnce(kURLErrorCannotFindHost, "A server with the specified hostname could not be found");

  CURL* easy = curl_easy_init();
  t->easy = easy;
  curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, request.maxRedirects > 0 ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(std::max(0, request.maxRedirects)));
  long idle = static_cast<long>(std::ceil(std::max(1.0, request.timeoutInterval)));
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, idle);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, idle);
  if (request.totalTimeout > 0)
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(std::ceil(request.totalTimeout * 1000)));
  if (request.handleCookies) curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");

  if (method.empty() || method == "GET") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else if (method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else {
    if (method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    t->body = request.body;
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, t->body.empty() ? "" : reinterpret_cast<char*>(t->body.data()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(t->body.size()));
  }
  // No "Expect: 100-continue" pause before a body; the answer decides.
  t->headerList = curl_slist_append(t->headerList, "Expect:");
  for (const auto& [name, value] : request.headers) {
    if (name.find_first_of(":\r\n") != std::string::npos || value.find_first_of("\r\n") != std::string::npos) {
      log("URLConnection: refusing a header field with a line break or colon in its name");
      continue;
    }
    t->headerList = curl_slist_append(t->headerList, (name + ": " + value).c_str());
  }
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, t->headerList);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, t.get());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, t.get());
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, t.get());
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

  Loader::shared().add(t);
  return connection;
}

void URLConnection::cancel() {
  if (cancelled_) return;
  cancelled_ = true;
  if (transfer_) {
    transfer_->cancelled = true;
    if (transfer_->easy && !ended_) Loader::shared().remove(transfer_);
  }
}

bool URLConnection::isCancelled() const { return cancelled_; }

}  // namespace ns
