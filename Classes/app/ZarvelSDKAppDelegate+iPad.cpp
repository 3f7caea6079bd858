// The tablet set-up: the root screen goes into the window, which becomes key
// and visible.
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

void ZarvelSDKAppDelegate::setupForiPad() {
  if (!window_) window_ = std::make_shared<ui::Window>(ui::Screen::main().bounds());
  if (ipadRootViewController_) {
    ipadRootViewController_->setWantsFullScreenLayout(false);
    window_->setAutoresizesSubviews(true);
    window_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
    window_->setOpaque(true);
    auto rootView = ipadRootViewController_->view();
    rootView->setFrame(ui::Screen::main().applicationFrame());
    window_->addSubview(rootView);
  }
  window_->makeKeyAndVisible();
}

// The phone layout's tab bar is not part of the tablet layout: nothing to title.
void ZarvelSDKAppDelegate::resetTabbarLabels() {}
