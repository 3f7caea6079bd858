// Background tasks: at most one platform task per kind of long work, so that
// downloading (kind 1) or deleting (kind 2) recitation audio may finish after
// the reader leaves the application.
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Log.h"

namespace {

constexpr int kDownloadAudio = 1;
constexpr int kDeletingAudio = 2;

// "DOWNLOAD AUDIO" or "DELETING AUDIO", as the log lines name the kinds.
const char* kindName(int kind) { return kind == kDownloadAudio ? "DOWNLOAD AUDIO" : "DELETING AUDIO"; }

void logBackground(const std::string& text) {
  ns::logf("DEBUG - [%s] [BG SUPP] %s", ns::logTimestamp().c_str(), text.c_str());
}

}  // namespace

ui::BackgroundTaskIdentifier* ZarvelSDKAppDelegate::backgroundSlot(int kind) {
  if (kind == kDownloadAudio) return &bgDownloadAudio;
  if (kind == kDeletingAudio) return &bgDeletingAudio;
  return nullptr;
}

void ZarvelSDKAppDelegate::beginBackgroundTask(int kind) {
  ui::BackgroundTaskIdentifier* slot = backgroundSlot(kind);
  if (!BackgroundTasksSupported() || !slot) return;
  logBackground(ns::format("Requesting %s Entry Task", kindName(kind)));
  if (*slot != ui::BackgroundTaskInvalid) {
    logBackground("Cleanly closing background entry task");
    ui::BackgroundTasks::endBackgroundTask(*slot);
    *slot = ui::BackgroundTaskInvalid;
  }
  std::weak_ptr<ZarvelSDKAppDelegate> weak = weak_from_this();
  *slot = ui::BackgroundTasks::beginBackgroundTaskWithExpirationHandler([weak, kind] {
    auto self = weak.lock();
    if (!self) return;
    logBackground(ns::format("FORCE CLOSING %s ENTRY TASK - EXPIRATION HANDLED", kindName(kind)));
    ui::BackgroundTaskIdentifier* held = self->backgroundSlot(kind);
    ui::BackgroundTasks::endBackgroundTask(*held);
    *held = ui::BackgroundTaskInvalid;
  });
}

void ZarvelSDKAppDelegate::endBackgroundTask(int kind) {
  ui::BackgroundTaskIdentifier* slot = backgroundSlot(kind);
  if (!BackgroundTasksSupported() || !slot || *slot == ui::BackgroundTaskInvalid) return;
  logBackground(ns::format("Cleanly closing %s entry task", kindName(kind)));
  ui::BackgroundTasks::endBackgroundTask(*slot);
  *slot = ui::BackgroundTaskInvalid;
}

bool ZarvelSDKAppDelegate::isTaskAlreadyInBackground(int kind) const {
  if (!BackgroundTasksSupported()) return true;
  if (kind == kDownloadAudio) return bgDownloadAudio != ui::BackgroundTaskInvalid;
  if (kind == kDeletingAudio) return bgDeletingAudio != ui::BackgroundTaskInvalid;
  return false;
}
