#include "Classes/app/MainInterface.h"

#include "Classes/app/ReadingRootViewController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

std::shared_ptr<ZarvelSDKAppDelegate> loadMainInterface() {
  auto delegate = std::make_shared<ZarvelSDKAppDelegate>();
  delegate->setWindow(std::make_shared<ui::Window>(ui::Screen::main().bounds()));
  delegate->setIpadRootViewController(std::make_shared<ReadingRootViewController>());
  return delegate;
}
