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

namespace ui {
class View;
class Label;
class Button;
}  // namespace ui

// The look the download strips share: an opaque dark ground (whatever lies
// under a strip must not show through its text), a white bold status line and
// a white "Cancel" that dims while it is disabled.
void styleDownloadStrip(ui::View& strip);
void styleDownloadStatusLabel(ui::Label& label, float fontSize);
void styleDownloadCancelButton(ui::Button& button);
