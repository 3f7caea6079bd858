#include "Classes/settings/InfoPages.h"

#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/Image.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Screen.h"
#include "platform/ui/NavigationController.h"
#include "toolkit/core/TKWebController.h"

namespace infopages {

std::string pathOf(const std::string& page) {
  std::string translated = std::string("Pages/") + (ZarvelSDKAppDelegate::IsLanguageArabic() ? "ar/" : "en/") + page;
  if (ns::fileExists(ns::resourceDirectory() + "/" + translated)) return translated;
  return "Pages/en/" + page;
}

std::shared_ptr<TKWebController> present(ui::ViewController& presenter, const std::string& page) {
  auto web = std::make_shared<TKWebController>();
  auto sheet = ui::NavigationController::withRoot(web);
  // The page's own bar look replaces this one as it comes on screen.
  sheet->navigationBar()->setBarStyle(1);
  sheet->navigationBar()->setTintColor(cg::Color::fromRGB255(51, 33, 18));
  web->openLocalPage(pathOf(page));
  sheet->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  presenter.presentModalViewController(sheet, true);
  return web;
}

std::shared_ptr<ui::Image> emblem() {
  std::string base = ns::resourceDirectory() + "/zarvel-icon", type = ".png";
  bool twice = ui::Screen::main().scale() >= 2;
  auto image = twice ? cg::Image::fromFile(base + "@2x" + type, 2) : nullptr;
  if (!image) image = cg::Image::fromFile(base + type, 1);
  return image ? ui::Image::imageWithCGImage(image, image->scale()) : nullptr;
}

std::string contactAddress() { return "feedback@zarvel.example"; }

}  // namespace infopages
