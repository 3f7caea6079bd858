#pragma once
// HTTP loading on libcurl. One process-wide loader thread drives every transfer
// through a curl multi handle; what it learns (the response, body bytes, upload
// progress, the end) is posted to the main run loop, where the connection tells
// its delegate. Create, start and cancel connections on the main thread only.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/Error.h"

namespace ns {

// Error domain and codes of URL loading, the platform's numbers.
inline constexpr const char* kURLErrorDomain = "NSURLErrorDomain";
enum URLErrorCode : int {
  kURLErrorUnknown = -1,
  kURLErrorCancelled = -999,
  kURLErrorBadURL = -1000,
  kURLErrorTimedOut = -1001,
  kURLErrorUnsupportedURL = -1002,
  kURLErrorCannotFindHost = -1003,
  kURLErrorCannotConnectToHost = -1004,
  kURLErrorNetworkConnectionLost = -1005,
  kURLErrorHTTPTooManyRedirects = -1007,
  kURLErrorBadServerResponse = -1011,
  kURLErrorSecureConnectionFailed = -1200,
  kURLErrorDataLengthExceedsMaximum = -1103,
};

// A URL with a NUL byte and a method that is not an HTTP token (a line break
// would add header lines) are refused before anything is sent.
struct URLRequest {
  std::string url;
  std::string method;  // empty: GET
  std::vector<std::pair<std::string, std::string>> headers;
  Data body;
  // Seconds without any byte moving before the load fails with kURLErrorTimedOut.
  double timeoutInterval = 60;
  // Seconds the whole load may take, however steadily bytes arrive; 0: no bound.
  double totalTimeout = 0;
  bool handleCookies = true;
  int maxRedirects = 10;
  // The load fails with kURLErrorDataLengthExceedsMaximum once more body bytes
  // than this arrive, whatever the answer announced.
  std::int64_t maxResponseBytes = 64 * 1024 * 1024;

  void setValueForHTTPHeaderField(const std::string& value, const std::string& field);
};

struct HTTPURLResponse {
  std::string url;  // after redirects
  int statusCode = 0;
  // Header names as received; look them up with headerField().
  std::vector<std::pair<std::string, std::string>> headers;

  // The last value of the field, compared without regard to case; empty when absent.
  std::string headerField(const std::string& name) const;
  // Content-Length as announced; -1 when absent or not a valid length.
  std::int64_t expectedContentLength() const;
};

class URLConnection;

// Told on the main thread, in this order: response, data (any number of
// times), then either finished or failed. Upload progress may come before the
// response. Nothing comes after cancel().
class URLConnectionDelegate {
 public:
  virtual ~URLConnectionDelegate() = default;
  virtual void connectionDidReceiveResponse(URLConnection&, const HTTPURLResponse&) {}
  virtual void connectionDidReceiveData(URLConnection&, const Data&) {}
  virtual void connectionDidSendBodyData(URLConnection&, std::int64_t /*bytesWritten*/,
                                         std::int64_t /*totalWritten*/,
                                         std::int64_t /*totalExpected*/) {}
  virtual void connectionDidFinishLoading(URLConnection&) {}
  virtual void connectionDidFailWithError(URLConnection&, const Error&) {}
};

class URLConnection : public std::enable_shared_from_this<URLConnection> {
 public:
  // Starts loading at once. The delegate is not retained: when it goes away the
  // connection stops telling it anything. The loader thread keeps the transfer
  // going while the returned handle lives; dropping the handle cancels it.
  static std::shared_ptr<URLConnection> start(const URLRequest& request,
                                              std::weak_ptr<URLConnectionDelegate> delegate);
  ~URLConnection();
  URLConnection(const URLConnection&) = delete;
  URLConnection& operator=(const URLConnection&) = delete;

  // Stops the transfer; the delegate hears nothing more, not even of callbacks
  // already on their way to the main thread.
  void cancel();
  bool isCancelled() const;
  const URLRequest& request() const { return request_; }

  struct Transfer;

 private:
  URLConnection(const URLRequest& request, std::weak_ptr<URLConnectionDelegate> delegate);

  URLRequest request_;
  std::weak_ptr<URLConnectionDelegate> delegate_;
  std::shared_ptr<Transfer> transfer_;
  bool cancelled_ = false;
  bool ended_ = false;
};

}  // namespace ns
