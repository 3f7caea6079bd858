#include "Classes/settings/TipsViewController.h"

#include <algorithm>
#include <cmath>

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/InfoPages.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Window.h"

namespace {

using screens::localized;

const char* const kTitles[TipsViewController::kPageCount] = {
    "Zarvel HD Tips",
    "Keyboard and mouse",
    "Two side-by-side translations!",
    "Go to verse",
    "Verse Options",
    "Add Notes",
    "Surah Info",
    "Recitation",
    "Bookmarks and groups",
    "Search the Quran",
    "Thank you",
};

const char* const kTipKeys[TipsViewController::kTipCount + 1] = {
    "", "HDTIP1", "HDTIP2", "HDTIP3", "HDTIP4", "HDTIP5", "HDTIP6", "HDTIP7", "HDTIP8", "HDTIP9",
};

// The four recitation states of a surah in the index, with the index's art.
struct Legend {
  const char* text;
  const char* image;
};
const Legend kLegend[5] = {
    {"", ""},
    {"Recitation for this chapter has not been downloaded", "ipad-sound-index-dead.png"},
    {"Recitation is available for reciters other than the currently selected one", "ipad-sound-index-multi.png"},
    {"Recitation is available for the currently selected reciter only", "ipad-sound-index-ready.png"},
    {"Recitation is available for the current reciter as well as others", "ipad-sound-index-ready-plus.png"},
};

const cg::Color kPaper = cg::Color::fromRGB255(246, 241, 230);
const cg::Color kBackdrop = cg::Color::fromRGB255(34, 40, 52);
const cg::Color kInk = cg::Color::fromRGB255(92, 64, 38);
const cg::Color kTipText = cg::Color::fromRGB255(236, 238, 242);

constexpr float kFooterHeight = 36;
constexpr const char* kRightToLeftEmbedding = "\u202B";

float pageX(int page) { return TipsViewController::kPageWidth * float(page); }

std::shared_ptr<ui::Label> label(cg::Rect frame, const ui::Font& font, cg::Color colour) {
  auto l = std::make_shared<ui::Label>(frame);
  l->setFont(font);
  l->setTextColor(colour);
  l->setBackgroundColor(cg::Color::clear());
  l->setTextAlignment(ui::TextAlignment::Center);
  return l;
}

}  // namespace

TipsViewController::~TipsViewController() { ns::RunLoop::main().cancelPreviousPerformRequests(this); }

std::string TipsViewController::titleForPage(int page) {
  if (page < 0 || page >= kPageCount) return "";
  return localized(kTitles[page]);
}

std::string TipsViewController::pictureName(int page, bool second) {
  const char* language = ZarvelSDKAppDelegate::IsLanguageArabic() ? "ar" : "en";
  return ns::format("tips-%s-%d%s.png", language, page, second ? "b" : "");
}

// ---- the "TipsViewController" interface: eleven pages over a backdrop ----------------------

void TipsViewController::loadView() {
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, kPageWidth, kPageHeight));
  root->setBackgroundColor(kPaper);
  root->setAutoresizesSubviews(true);
  root->setClipsToBounds(true);

  viewDarkBG = std::make_shared<ui::View>(root->bounds());
  viewDarkBG->setBackgroundColor(kBackdrop);
  viewDarkBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(viewDarkBG);

  viewScroll = std::make_shared<ui::ScrollView>(root->bounds());
  viewScroll->setBackgroundColor(cg::Color::clear());
  viewScroll->setDelegate(std::dynamic_pointer_cast<TipsViewController>(shared_from_this()));
  root->addSubview(viewScroll);

  auto footer = std::make_shared<ui::View>(cg::Rect(0, kPageHeight - kFooterHeight, kPageWidth, kFooterHeight));
  footer->setBackgroundColor(kBackdrop.withAlpha(0.85f));
  footer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  root->addSubview(footer);
  pgtClt = std::make_shared<ui::PageControl>(footer->bounds());
  pgtClt->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  pgtClt->addTarget(this, [this](ui::Control&) { changePage(); }, ui::ControlEventValueChanged);
  footer->addSubview(pgtClt);

  buildWelcome();
  for (int page = 1; page <= kTipCount; ++page) buildTip(page);
  buildClosing();
  setView(root);
}

std::shared_ptr<ui::View> TipsViewController::makePage(int n) {
  auto page = std::make_shared<ui::View>(cg::Rect(0, 0, kPageWidth, kPageHeight));
  page->setBackgroundColor(cg::Color::clear());
  viewPages[n] = page;
  return page;
}

// The emblem, the name, a line on what follows and the greeting.
void TipsViewController::buildWelcome() {
  viewWelcome = makePage(0);
  imgWelcome = std::make_shared<ui::ImageView>(cg::Rect((kPageWidth - 128) / 2, 70, 128, 128));
  imgWelcome->setContentMode(ui::ContentMode::ScaleAspectFit);
  viewWelcome->addSubview(imgWelcome);
  lblWelcomeTop = label(cg::Rect(20, 212, kPageWidth - 40, 44), ui::Font::fontWithName("Helvetica-Bold", 32), kInk);
  viewWelcome->addSubview(lblWelcomeTop);
  lblWelcomeMid = label(cg::Rect(50, 262, kPageWidth - 100, 66), ui::Font::fontWithName("Helvetica", 16),
                        cg::Color::fromRGB255(101, 100, 94));
  lblWelcomeMid->setNumberOfLines(3);
  viewWelcome->addSubview(lblWelcomeMid);
  lblWelcomeEnd = label(cg::Rect(20, 372, kPageWidth - 40, 40), ui::Font::fontWithName("Helvetica-Bold", 26), kInk);
  viewWelcome->addSubview(lblWelcomeEnd);
}

// A picture of the application above the tip's text; the keys' page has only
// its text, the recitation page its text over the index's four signs.
void TipsViewController::buildTip(int n) {
  auto page = makePage(n);
  cg::Rect picture(20, 20, kPageWidth - 40, 300);
  cg::Rect text(26, 332, kPageWidth - 52, kPageHeight - kFooterHeight - 336);
  if (n == 1) text = cg::Rect(36, 40, kPageWidth - 72, kPageHeight - kFooterHeight - 60);
  if (n == 7) text = cg::Rect(26, 20, kPageWidth - 52, 214);
  if (n != 1 && n != 7) {
    auto frame = std::make_shared<ui::View>(picture.insetBy(-1, -1));
    frame->setBackgroundColor(cg::Color::white().withAlpha(0.35f));
    page->addSubview(frame);
    if (n == 2) {
      imgPage2_2 = std::make_shared<ui::ImageView>(picture);
      imgPage2_2->setContentMode(ui::ContentMode::ScaleAspectFit);
      page->addSubview(imgPage2_2);
    }
    imgPages[n] = std::make_shared<ui::ImageView>(picture);
    imgPages[n]->setContentMode(ui::ContentMode::ScaleAspectFit);
    page->addSubview(imgPages[n]);
  }
  txtPages[n] = std::make_shared<ui::TextView>(text);
  txtPages[n]->setEditable(false);
  txtPages[n]->setBackgroundColor(cg::Color::clear());
  txtPages[n]->setTextColor(kTipText);
  txtPages[n]->setFont(ui::Font::fontWithName("Helvetica", n == 1 ? 17 : 15));
  txtPages[n]->setShowsHorizontalScrollIndicator(false);
  page->addSubview(txtPages[n]);
  if (n == 7) buildLegend(*page);
}

void TipsViewController::buildLegend(ui::View& page) {
  for (int i = 1; i <= 4; ++i) {
    float y = 250 + float(i - 1) * 56;
    imgPage7[i] = std::make_shared<ui::ImageView>(cg::Rect(34, y, 44, 44));
    page.addSubview(imgPage7[i]);
    lblPage7[i] = std::make_shared<ui::Label>(cg::Rect(90, y, kPageWidth - 120, 44));
    lblPage7[i]->setFont(ui::Font::fontWithName("Helvetica", 14));
    lblPage7[i]->setTextColor(kTipText);
    lblPage7[i]->setBackgroundColor(cg::Color::clear());
    lblPage7[i]->setNumberOfLines(2);
    page.addSubview(lblPage7[i]);
  }
}

void TipsViewController::buildClosing() {
  auto page = makePage(10);
  lblPage10 = label(cg::Rect(30, 190, kPageWidth - 60, 120), ui::Font::fontWithName("Helvetica-Bold", 26), kInk);
  lblPage10->setNumberOfLines(3);
  page->addSubview(lblPage10);
}

// ---- set-up ------------------------------------------------------------------------------------------

void TipsViewController::setupForiPad() {
  if (viewWelcome->superview()) return;
  auto close = std::make_shared<ui::BarButtonItem>(localized("Close Tips"), ui::BarButtonItemStyle::Bordered,
                                                   [this](ui::BarButtonItem&) { backButtonPressed(); });
  navigationItem()->setLeftBarButtonItem(close);
  for (int n = 0; n < kPageCount; ++n) {
    viewPages[n]->setFrame(cg::Rect(pageX(n), 0, kPageWidth, kPageHeight));
    viewScroll->addSubview(viewPages[n]);
  }
  viewScroll->setContentSize(cg::Size{pageX(kPageCount), kPageHeight});
  viewScroll->setPagingEnabled(true);
  viewScroll->setShowsHorizontalScrollIndicator(false);
  viewScroll->setContentOffset(cg::Point(0, 0), false);
  pgtClt->setNumberOfPages(kPageCount);
  viewDarkBG->setAlpha(0);
  fillTexts();
}

void TipsViewController::fillTexts() {
  imgWelcome->setImage(infopages::emblem());
  lblWelcomeTop->setText("Zarvel");
  lblWelcomeMid->setText(localized("A few tips for reading with Zarvel. Drag the page sideways, or press the Left and Right keys, to turn it."));
  lblWelcomeEnd->setText(localized("Welcome"));
  for (int n = 1; n <= kTipCount; ++n) {
    txtPages[n]->setText(localized(kTipKeys[n]));
    if (imgPages[n]) imgPages[n]->setImage(ui::Image::imageNamed(pictureName(n)));
  }
  imgPage2_2->setImage(ui::Image::imageNamed(pictureName(2, true)));
  for (int i = 1; i <= 4; ++i) {
    lblPage7[i]->setText(localized(kLegend[i].text));
    imgPage7[i]->setImage(ui::Image::imageNamed(kLegend[i].image));
  }
  lblPage10->setText(Language::get("HDTIP10", "Enjoy using Zarvel HD"));
  if (!ZarvelSDKAppDelegate::IsLanguageArabic()) return;
  // Every paragraph opens with a right-to-left embedding, so that a line
  // starting with a Latin word or a key's name still runs from the right.
  for (int n = 1; n <= kTipCount; ++n) {
    txtPages[n]->setTextAlignment(ui::TextAlignment::Right);
    txtPages[n]->setText(kRightToLeftEmbedding +
                         ns::replaceAll(txtPages[n]->text(), "\n", std::string("\n") + kRightToLeftEmbedding));
  }
  // The legend runs from the right: each sign at the right edge, its text beside it.
  for (int i = 1; i <= 4; ++i) {
    cg::Rect icon = imgPage7[i]->frame(), text = lblPage7[i]->frame();
    imgPage7[i]->setFrame(cg::Rect(kPageWidth - icon.maxX(), icon.y(), icon.width(), icon.height()));
    lblPage7[i]->setFrame(cg::Rect(kPageWidth - text.maxX(), text.y(), text.width(), text.height()));
    lblPage7[i]->setTextAlignment(ui::TextAlignment::Right);
  }
}

// ---- appearing and closing ----------------------------------------------------------------------------

void TipsViewController::viewWillAppear(bool) { viewScroll->setContentOffset(cg::Point(0, 0), false); }

void TipsViewController::viewDidAppear(bool) {
  viewScroll->setContentOffset(cg::Point(0, 0), false);
  pgtClt->setCurrentPage(0);
  hasShown_ = true;
  setTitleForPage(0);
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  ns::RunLoop::main().performAfter(this, "showPage2", 4.0, [weak] {
    if (auto me = std::static_pointer_cast<TipsViewController>(weak.lock())) me->showPage2();
  });
  keys_.take(*this, view()->window());
}

void TipsViewController::viewWillDisappear(bool) {
  closing_ = true;
  keys_.giveBack(*this);
}

void TipsViewController::backButtonPressed() {
  closing_ = true;
  auto& loop = ns::RunLoop::main();
  for (const char* name : {"beginPage2Animation", "beginPage2AnimationPart2", "showPage2"})
    loop.cancelPreviousPerformRequests(this, name);
  dismissModalViewControllerAnimated(true);
}

// ---- pages ------------------------------------------------------------------------------------------

void TipsViewController::setTitleForPage(int page) {
  std::string title = titleForPage(page);
  if (!title.empty()) setTitle(title);
}

void TipsViewController::showPage2() {
  pgtClt->setCurrentPage(1);
  changePage();
}

void TipsViewController::changePage() {
  cg::Rect b = viewScroll->bounds();
  viewScroll->scrollRectToVisible(cg::Rect(b.width() * float(pgtClt->currentPage()), 0, b.width(), b.height()), true);
}

// From the page the dots show, which runs ahead of the scroller while it
// moves: two quick presses turn two pages.
void TipsViewController::turnPage(int step) {
  int page = std::clamp(pgtClt->currentPage() + step, 0, kPageCount - 1);
  pgtClt->setCurrentPage(page);
  changePage();
}

void TipsViewController::scrollViewDidScroll(ui::ScrollView* scrollView) {
  float x = scrollView->contentOffset().x, w = scrollView->bounds().width();
  if (w <= 0) return;
  int n = int(std::floor((x + 10) / w));
  // Dark from the first turn to page 9, clearing towards the closing page,
  // which is always light however it was reached (a jump, a fast move).
  if (x <= 9 * w) viewDarkBG->setAlpha(std::min(1.0f, (x + 10) / w));
  else viewDarkBG->setAlpha(std::clamp(1 - ((x + 10) / w - 9), 0.0f, 1.0f));
  if (!hasShown_ && x != 0) {
    // Nothing moves before the sheet is on screen: back to the welcome page,
    // whose report (made by the move back) sets the dots and the title.
    pgtClt->setCurrentPage(0);
    scrollView->setContentOffset(cg::Point(0, 0), false);
    setTitleForPage(0);
    return;
  }
  if (n == currentPageInd_) return;
  auto& loop = ns::RunLoop::main();
  loop.cancelPreviousPerformRequests(this, "showPage2");
  pgtClt->setCurrentPage(n);
  currentPageInd_ = n;
  loop.cancelPreviousPerformRequests(this, "beginPage2Animation");
  loop.cancelPreviousPerformRequests(this, "beginPage2AnimationPart2");
  imgPages[2]->setAlpha(1);
  setTitleForPage(n);
  if (n == 2) {
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    loop.performAfter(this, "beginPage2Animation", 2.0, [weak] {
      if (auto me = std::static_pointer_cast<TipsViewController>(weak.lock())) me->beginPage2Animation();
    });
  }
}

// ---- the cross-fade of the two-translations page ---------------------------------------------------

void TipsViewController::beginPage2Animation() {
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  ui::View::beginAnimations("ShowPage2");
  ui::View::setAnimationDuration(0.22);
  ui::View::setAnimationDidStopSelector([weak](const std::string& name, bool, void*) {
    if (auto me = std::static_pointer_cast<TipsViewController>(weak.lock())) me->animationFinished(name);
  });
  imgPages[2]->setAlpha(0);
  ui::View::commitAnimations();
}

void TipsViewController::beginPage2AnimationPart2() {
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  ui::View::beginAnimations("ShowPage1");
  ui::View::setAnimationDuration(0.22);
  ui::View::setAnimationDidStopSelector([weak](const std::string& name, bool, void*) {
    if (auto me = std::static_pointer_cast<TipsViewController>(weak.lock())) me->animationFinished(name);
  });
  imgPages[2]->setAlpha(1);
  ui::View::commitAnimations();
}

void TipsViewController::animationFinished(const std::string& name) {
  bool shown = name == "ShowPage2";
  // A fade that ends after the page changed or the sheet closed starts no other.
  if ((!shown && name != "ShowPage1") || currentPageInd_ != 2 || closing_) return;
  std::string next = shown ? "beginPage2AnimationPart2" : "beginPage2Animation";
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  ns::RunLoop::main().performAfter(this, next, 3.0, [weak, shown] {
    auto me = std::static_pointer_cast<TipsViewController>(weak.lock());
    if (!me) return;
    if (shown) me->beginPage2AnimationPart2();
    else me->beginPage2Animation();
  });
}

// ---- keys ---------------------------------------------------------------------------------------------

void TipsViewController::keyDown(const ui::KeyEvent& key) {
  if (key.key == "Right" || key.key == "PageDown") turnPage(1);
  else if (key.key == "Left" || key.key == "PageUp") turnPage(-1);
  else if (key.key == "Home") turnPage(-kPageCount);
  else if (key.key == "End") turnPage(kPageCount);
  else if (key.key == "Escape") backButtonPressed();
  else ui::ViewController::keyDown(key);
}
