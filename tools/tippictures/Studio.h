#pragma once
// The application as the tips' pictures show it: the main interface, run
// headless on the built data under a scratch home, in one interface
// language, landscape, at scale 2, on a virtual clock that stands on a
// Wednesday morning (no Friday reminder comes over it). Main thread only.
#include <filesystem>
#include <memory>
#include <string>

#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/graphics/Image.h"

namespace tippictures {

class Studio {
 public:
  // Points the application at `resources` (the built bundle) and a new home.
  Studio(const std::string& resources, const std::string& language);
  ~Studio();

  // Launches with two translations and surah 2 showing, and lets it settle.
  void launch();
  // Lets timers, animations and workers run for `seconds` of virtual time.
  void settle(double seconds = 1.0);

  ZarvelSDKAppDelegate& app() { return *delegate_; }
  iPadRootViewController& root() { return *root_; }
  ui::HeadlessBackend& backend() { return *backend_; }
  // The whole window at scale 2.
  std::shared_ptr<cg::Image> snapshot();

 private:
  std::string language_;
  std::filesystem::path home_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
  std::shared_ptr<ZarvelSDKAppDelegate> delegate_;
  iPadRootViewController* root_ = nullptr;
};

}  // namespace tippictures
