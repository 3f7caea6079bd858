#pragma once
// What the recitation download code tells the screen that follows it.
// Every call is optional.

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
