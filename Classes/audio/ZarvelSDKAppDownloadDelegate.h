#pragma once
// What the recitation download code tells the screen that follows it.
// Every call is optional. The size texts of the progress strips are beside it.

class ZarvelSDKAppDownloadDelegate {
 public:
  virtual ~ZarvelSDKAppDownloadDelegate() = default;
  virtual void didBeginDownloading() {}
  virtual void didUpdateFileSize(int bytes) { (void)bytes; }
  virtual void didUpdateDownloadProgress(float progress) { (void)progress; }
  virtual void willPerformAudioSetup() {}
  virtual void didSetupDownloadedAudio() {}
  virtual void downloadRequiresRefreshOfStatus() {}
  virtual void didEndDownloading() {}
};

#include <string>

// The size of a download as the strips show it: whole megabytes from one
// megabyte up, whole kilobytes below, "-- kB" for nothing (or not known).
std::string downloadSizeText(long long bytes);
// "Downloading <surah name> (<size>)", in the interface's language.
std::string downloadStatusText(int surah, long long bytes);
