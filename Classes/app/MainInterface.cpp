#include "Classes/app/MainInterface.h"

#include "Classes/shell/EventInterceptWindow.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/ui/Screen.h"

// The window offers every event to the reading screen first (through the
// root that holds it); the root's
// outlets are built for the application frame, below the status bar.
std::shared_ptr<ZarvelSDKAppDelegate> loadMainInterface() {
  auto delegate = std::make_shared<ZarvelSDKAppDelegate>();
  auto window = std::make_shared<EventInterceptWindow>(ui::Screen::main().bounds());
  auto root = std::make_shared<iPadRootViewController>();
  auto reading = std::make_shared<SurahViewController>();
  root->setViewContSurah(reading);
  root->buildInterface(ui::Screen::main().applicationFrame());
  window->setEventInterceptDelegate(root.get());  // the root outlives the window's use
  delegate->setWindow(window);
  delegate->setIpadRootViewController(root);
  return delegate;
}
