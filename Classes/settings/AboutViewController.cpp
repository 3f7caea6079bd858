#include "Classes/settings/AboutViewController.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/InfoPages.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Application.h"
#include "toolkit/core/TKWebController.h"

namespace {

using screens::localized;

constexpr float kWidth = 320, kHeight = 476, kTopBarHeight = 44;
const cg::Color kInk = cg::Color::fromRGB255(92, 64, 38);
const cg::Color kHeading = cg::Color::fromRGB255(101, 100, 94);
const cg::Color kLink = cg::Color::fromRGB255(46, 113, 185);

std::shared_ptr<ui::Label> label(cg::Rect frame, const ui::Font& font, cg::Color colour,
                                 ui::TextAlignment alignment = ui::TextAlignment::Center) {
  auto l = std::make_shared<ui::Label>(frame);
  l->setFont(font);
  l->setTextColor(colour);
  l->setTextAlignment(alignment);
  l->setBackgroundColor(cg::Color::clear());
  return l;
}

// A line that reads as a link: blue text with an arrow, at the reading side.
std::shared_ptr<ui::Button> linkButton(cg::Rect frame) {
  auto b = std::make_shared<ui::Button>(frame);
  b->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 15));
  b->setTitleColor(kLink, ui::ControlStateNormal);
  b->setTitleColor(kInk, ui::ControlStateHighlighted);
  b->setContentHorizontalAlignment(ZarvelSDKAppDelegate::IsLanguageArabic() ? ui::ControlContentHorizontalAlignment::Right
                                                                           : ui::ControlContentHorizontalAlignment::Left);
  return b;
}

}  // namespace

std::string AboutViewController::versionLine() {
  // Read afresh: the file is the build's, and the resources may move (tests).
  ns::Bundle bundle(ns::resourceDirectory());
  std::string version = bundle.localizedString("CFBundleShortVersionString", "", "Info");
  std::string build = bundle.localizedString("CFBundleVersion", "", "Info");
  return ns::format("v%s (Build %s)", version.c_str(), build.c_str());
}

// "AboutView": the top bar, the emblem with the name and version, who made
// Zarvel and the way to its help, and the credits of its data.
void AboutViewController::loadView() {
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, kWidth, kHeight));
  root->setBackgroundColor(cg::Color::fromRGB255(246, 241, 230));
  root->setAutoresizesSubviews(true);
  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);

  auto topBar = std::make_shared<ui::ImageView>(cg::Rect(0, 0, kWidth, kTopBarHeight));
  topBar->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  topBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(topBar);
  lblAbout = label(cg::Rect(70, 0, kWidth - 140, kTopBarHeight), ui::Font::fontWithName("Helvetica-Bold", 17),
                   cg::Color::fromRGB255(62, 74, 92));
  root->addSubview(lblAbout);
  btnBack = std::make_shared<ui::Button>(cg::Rect(6, 7, 62, 30));
  btnBack->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0), ui::ControlStateNormal);
  btnBack->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                              ui::ControlStateHighlighted);
  btnBack->addTarget(this, [this](ui::Control&) { cancelPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnBack);
  lblBack = label(cg::Rect(14, 7, 54, 30), ui::Font::fontWithName("Helvetica-Bold", 12), cg::Color::white());
  lblBack->setUserInteractionEnabled(false);
  root->addSubview(lblBack);

  imgEmblem = std::make_shared<ui::ImageView>(cg::Rect((kWidth - 84) / 2, 58, 84, 84));
  imgEmblem->setContentMode(ui::ContentMode::ScaleAspectFit);
  root->addSubview(imgEmblem);
  btnVersion = std::make_shared<ui::Button>(imgEmblem->frame());
  btnVersion->addTarget(this, [this](ui::Control&) { versionPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnVersion);
  lblName = label(cg::Rect(20, 146, kWidth - 40, 30), ui::Font::fontWithName("Helvetica-Bold", 24), kInk);
  root->addSubview(lblName);
  lblVersion = label(cg::Rect(20, 176, kWidth - 40, 20), ui::Font::fontWithName("Helvetica-Bold", 14), kHeading);
  root->addSubview(lblVersion);

  bool rtl = ZarvelSDKAppDelegate::IsLanguageArabic();
  auto side = rtl ? ui::TextAlignment::Right : ui::TextAlignment::Left;
  lblDevelopedBy = label(cg::Rect(24, 214, kWidth - 48, 20), ui::Font::fontWithName("Helvetica-Bold", 13), kHeading, side);
  root->addSubview(lblDevelopedBy);
  btnDisc = linkButton(cg::Rect(24, 236, kWidth - 48, 36));
  btnDisc->addTarget(this, [this](ui::Control&) { vantorLogoPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnDisc);
  btnMakers = linkButton(cg::Rect(24, 272, kWidth - 48, 36));
  btnMakers->addTarget(this, [this](ui::Control&) { makersPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnMakers);

  lblAnalysis = label(cg::Rect(24, 324, kWidth - 48, 20), ui::Font::fontWithName("Helvetica-Bold", 13), kHeading, side);
  root->addSubview(lblAnalysis);
  btnOskel = linkButton(cg::Rect(24, 346, kWidth - 48, 36));
  btnOskel->addTarget(this, [this](ui::Control&) { oskelLogoPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnOskel);
  lblMakers = label(cg::Rect(16, 392, kWidth - 32, 70), ui::Font::fontWithName("Helvetica", 11), kHeading, side);
  lblMakers->setNumberOfLines(4);
  root->addSubview(lblMakers);
  setView(root);
}

void AboutViewController::viewDidLoad() {
  lblDevelopedBy->setText(localized("Developed by"));
  lblAnalysis->setText(localized("Text, translations and fonts"));
  lblVersion->setText(versionLine());
  lblVersion->setFont(ui::Font::fontWithName("Helvetica-Bold", 14));
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) btnBack->setTitle("", state);
  lblBack->setText(localized("Back"));
  lblAbout->setText(localized("About"));
  lblName->setText("Zarvel");
  imgEmblem->setImage(infopages::emblem());
  // The arrow points the way the text reads.
  std::string arrow = ZarvelSDKAppDelegate::IsLanguageArabic() ? "  \u2039" : "  \u203A";
  btnDisc->setTitle(localized("The Zarvel project") + arrow, ui::ControlStateNormal);
  btnMakers->setTitle(localized("Help and knowledge base") + arrow, ui::ControlStateNormal);
  btnOskel->setTitle(localized("Credits and licences") + arrow, ui::ControlStateNormal);
  // A line each, so that no Latin run is broken inside Arabic text.
  lblMakers->setText(localized("Text and translations: quran-json 3.1.2, CC BY-SA 4.0\nFonts: Amiri, SIL Open Font License 1.1"));
}

void AboutViewController::viewDidAppear(bool) {
  ui::Application::shared().setStatusBarStyle(2, false);  // black opaque
  // A back arrow only where there is somewhere to go back to: not in the popover.
  bool presented = parentViewController() != nullptr;
  btnBack->setHidden(!presented);
  lblBack->setHidden(!presented);
}

void AboutViewController::openPage(const std::string& page) { page_ = infopages::present(*this, page); }

void AboutViewController::vantorLogoPressed() { openPage("index.html"); }

void AboutViewController::makersPressed() { openPage("help.html"); }

void AboutViewController::oskelLogoPressed() {
  std::vector<std::string> buttons{localized("Credits"), localized("Licences"), localized("Contact")};
  sheet_ = std::make_shared<ui::ActionSheet>("", std::static_pointer_cast<AboutViewController>(shared_from_this()),
                                             localized("Cancel"), "", buttons);
  sheet_->showInView(view().get());
}

void AboutViewController::clickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  if (&sheet == sheet_.get()) sheet_.reset();
  switch (index) {
    case kCredits: openPage("credits.html"); break;
    case kLicences: openPage("licences.html"); break;
    case kContact: ui::URLOpener::openURL("mailto:" + infopages::contactAddress() + "?subject=Zarvel"); break;
    default: break;
  }
}

void AboutViewController::cancelPressed() { dismissModalViewControllerAnimated(true); }
