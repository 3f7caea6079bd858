#pragma once
// Fetches one file over HTTP and streams it into a file on disk, telling its
// delegate the expected size, each chunk written and the outcome. Nothing is
// kept in memory beyond the chunk being written. Main thread (the connection
// calls back there).
//
// A download is complete only with every byte the server stated (or, when the
// server states no length, whatever arrived: the archive's own end is checked
// when it is unpacked); an answer that is not a 2xx status fails it; the time
// limit of 8 s is one without any byte moving, not a bound on the whole.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/foundation/URLConnection.h"

class DownloaderDelegate {
 public:
  virtual ~DownloaderDelegate() = default;
  virtual void setCorrectTotal(int bytes) = 0;
  virtual void setUpgradeProgress(int bytes) = 0;
  virtual void downloadFailed() = 0;
  virtual void downloadFinished() = 0;
};

class Downloader : public ns::URLConnectionDelegate, public std::enable_shared_from_this<Downloader> {
 public:
  static constexpr double kIdleTimeout = 8.0;

  // A running downloader, or null when no connection could be made (the file
  // is then gone and no delegate call follows).
  static std::shared_ptr<Downloader> downloadURL(const std::string& url, const std::string& path,
                                                 std::weak_ptr<DownloaderDelegate> delegate, int totalSize);
  ~Downloader() override;

  // Stops the transfer; no delegate call follows. The partial file stays.
  void cancelDownload();
  bool cancelled() const { return cancelled_; }
  bool finished() const { return finished_; }
  bool failed() const { return failed_; }
  // Why it failed, for the log ("" when it did not).
  const std::string& failureReason() const { return failureReason_; }
  int totalSize() const { return totalSize_; }
  long long loadedBytes() const { return loadedBytes_; }

  void connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) override;
  void connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) override;
  void connectionDidFinishLoading(ns::URLConnection&) override;
  void connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) override;

 private:
  Downloader() = default;
  void fail(const std::string& reason);
  void closeFile();

  std::string file_;
  int totalSize_ = 0;
  long long loadedBytes_ = 0;
  bool statedLength_ = false;
  std::shared_ptr<ns::URLConnection> urlConnection_;
  std::FILE* output_ = nullptr;
  std::weak_ptr<DownloaderDelegate> app_;
  bool failed_ = false, finished_ = false, cancelled_ = false;
  std::string failureReason_;
};
