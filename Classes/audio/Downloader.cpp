#include "Classes/audio/Downloader.h"

#include <cstdio>
#include <limits>

#include "platform/foundation/Log.h"

namespace {

// The largest archive taken: far above any surah's recitation.
constexpr std::int64_t kMaxArchiveBytes = std::int64_t(1) << 31;

}  // namespace

std::shared_ptr<Downloader> Downloader::downloadURL(const std::string& url, const std::string& path,
                                                    std::weak_ptr<DownloaderDelegate> delegate, int totalSize) {
  std::shared_ptr<Downloader> d(new Downloader());
  d->totalSize_ = totalSize;
  d->file_ = path;
  d->app_ = std::move(delegate);
  d->output_ = std::fopen(path.c_str(), "wb");
  if (!d->output_) {
    std::remove(path.c_str());
    return nullptr;
  }
  ns::URLRequest request;
  request.url = url;
  request.timeoutInterval = kIdleTimeout;
  request.totalTimeout = 0;
  request.handleCookies = false;
  request.maxResponseBytes = kMaxArchiveBytes;
  d->urlConnection_ = ns::URLConnection::start(request, d);
  if (!d->urlConnection_) {
    d->closeFile();
    std::remove(path.c_str());
    return nullptr;
  }
  return d;
}

Downloader::~Downloader() {
  if (urlConnection_) urlConnection_->cancel();
  closeFile();
}

void Downloader::closeFile() {
  if (output_) std::fclose(output_);
  output_ = nullptr;
}

void Downloader::cancelDownload() {
  if (urlConnection_) urlConnection_->cancel();
  urlConnection_.reset();
  cancelled_ = finished_ = true;
}

void Downloader::connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) {
  if (response.statusCode < 200 || response.statusCode > 299) {
    fail(ns::format("the server answered %d", response.statusCode));
    return;
  }
  std::int64_t length = response.expectedContentLength();
  if (length >= 1 && length <= std::numeric_limits<int>::max()) {
    totalSize_ = int(length);
    statedLength_ = true;
  }
  if (auto d = app_.lock()) d->setCorrectTotal(totalSize_);
}

void Downloader::connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) {
  if (finished_) return;
  if (!output_ || std::fwrite(data.data(), 1, data.size(), output_) != data.size()) {
    fail("the archive could not be written to " + file_);
    return;
  }
  loadedBytes_ += static_cast<long long>(data.size());
  if (auto d = app_.lock()) d->setUpgradeProgress(int(data.size()));
}

void Downloader::connectionDidFinishLoading(ns::URLConnection&) {
  if (finished_) return;
  bool written = output_ && std::fflush(output_) == 0;
  closeFile();
  urlConnection_.reset();
  // Every stated byte, or else the transfer came short (the server's stated
  // length; without one, the caller's expected size is only a guide).
  bool complete = written && (!statedLength_ || loadedBytes_ == totalSize_);
  if (!complete) {
    fail(written ? ns::format("the archive came short: %lld of %d bytes", loadedBytes_, totalSize_)
                 : "the archive could not be written to " + file_);
    return;
  }
  finished_ = true;
  if (auto d = app_.lock()) d->downloadFinished();
}

void Downloader::connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) {
  if (finished_) return;
  ns::logf("download didFailWithError: %s", error.description.c_str());
  fail(error.description);
}

void Downloader::fail(const std::string& reason) {
  if (urlConnection_) urlConnection_->cancel();
  urlConnection_.reset();
  closeFile();
  std::remove(file_.c_str());
  failureReason_ = reason;
  failed_ = finished_ = true;
  ns::logf("INFO  - [%s] Recitation download failed: %s", ns::logTimestamp().c_str(), reason.c_str());
  if (auto d = app_.lock()) d->downloadFailed();
}
