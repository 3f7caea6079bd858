#pragma once
// The pages Zarvel ships in its resources ("Pages/<language>/<name>"): the
// help and knowledge base, the credits and the licences, in the interface
// language (English when a page has no translation), and the in-application
// web page that shows them as a form sheet. Main thread only.
#include <memory>
#include <string>

class TKWebController;
namespace ui {
class Image;
class ViewController;
}

namespace infopages {

// The page's path in the resources, e.g. "Pages/ar/help.html".
std::string pathOf(const std::string& page);

// Presents the web page as a form sheet from `presenter`, with the
// navigation bar the information screens give it, and opens `page` in it.
std::shared_ptr<TKWebController> present(ui::ViewController& presenter, const std::string& page);

// The application's emblem (its desktop icon, which lies beside the images
// rather than among them); null when the resources lack it.
std::shared_ptr<ui::Image> emblem();

// The address the information screens give for mail to the makers.
std::string contactAddress();

}  // namespace infopages
