// The "IndexView" layout, built in code: a top bar with the mode switch, the
// mode label and the current-surah button; the partition title over the top
// of the table; the table of rows; the juz bar down the right side; the
// download strip over the foot of the table, hidden until a download starts;
// and the advert view, hidden. Then the theme: the juz labels and the top
// button.
#include <cmath>

#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Screen.h"

namespace {

constexpr float kTableWidth = 320;   // the rows are laid out for this width
constexpr float kBarWidth = 44;      // the juz bar beside the table
constexpr float kTopBarHeight = 44;
constexpr float kPartitionHeight = 23;

const cg::Color kTopLabelColour = cg::Color::fromRGB255(62, 74, 92);

std::shared_ptr<ui::Image> stretched(const char* name, int leftCap) {
  auto image = ui::Image::imageNamed(name);
  return image ? image->stretchableImage(leftCap, 0) : nullptr;
}

// The title takes the whole width between the insets, centred: a label cut
// to its measured width can lose its last pixel to rounding and be shortened.
void fillWithCentredTitle(ui::Button& button) {
  button.setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Fill);
  button.titleLabel()->setTextAlignment(ui::TextAlignment::Center);
}

// A juz number as the interface shows it.
std::string juzNumber(int juz) {
  std::string text = ns::format("%i", juz);
  return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(text) : text;
}

}  // namespace

void IndexViewController::loadView() {
  cg::Rect screen = ui::Screen::main().applicationFrame();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, kTableWidth + kBarWidth, screen.height()));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
  buildIndexView(*root);
  setView(root);
}

void IndexViewController::buildIndexView(ui::View& root) {
  buildTableArea(root);
  buildJuzBar(root);
  buildTopBar(root);
  buildDownloadStrip(root);
  viewAdvert = std::make_shared<ui::View>(cg::Rect(0, root.bounds().height() - 50, root.bounds().width(), 50));
  viewAdvert->setAutoresizingMask(ui::ViewAutoresizingFlexibleTopMargin | ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(viewAdvert);
}

// The header across the column: the mode switch at the left, the mode label
// in the middle and the current surah at the right.
void IndexViewController::buildTopBar(ui::View& root) {
  float w = root.bounds().width();
  imgTopBarBG = std::make_shared<ui::ImageView>(cg::Rect(0, 0, w, kTopBarHeight));
  imgTopBarBG->setImage(stretched("ipad-column-header-s9.png", 5));
  imgTopBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(imgTopBarBG);

  viewTopBar = std::make_shared<ui::View>(cg::Rect(6, 7, w - 12, 30));
  viewTopBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->setBackgroundColor(std::nullopt);
  viewTopBar->setOpaque(false);
  root.addSubview(viewTopBar);

  btnSections = std::make_shared<ui::Button>(cg::Rect(0, 0, 84, 30));
  btnSections->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  btnSections->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  fillWithCentredTitle(*btnSections);
  btnSections->addTarget(this, [this](ui::Control&) { btnSectionsPressed(); }, ui::ControlEventTouchUpInside);
  viewTopBar->addSubview(btnSections);

  lblTopBarLabel = std::make_shared<ui::Label>(cg::Rect(90, 0, viewTopBar->bounds().width() - 180, 30));
  lblTopBarLabel->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblTopBarLabel->setTextColor(kTopLabelColour);
  lblTopBarLabel->setTextAlignment(ui::TextAlignment::Center);
  lblTopBarLabel->setBackgroundColor(std::nullopt);
  lblTopBarLabel->setOpaque(false);
  lblTopBarLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(lblTopBarLabel);

  btnTopCurrentSurah = std::make_shared<ui::Button>(cg::Rect(viewTopBar->bounds().width() - 80, 0, 80, 30));
  btnTopCurrentSurah->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  btnTopCurrentSurah->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  btnTopCurrentSurah->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  fillWithCentredTitle(*btnTopCurrentSurah);
  btnTopCurrentSurah->addTarget(this, [this](ui::Control&) { btnTopCurrentSurahPressed(nullptr); },
                                ui::ControlEventTouchUpInside);
  viewTopBar->addSubview(btnTopCurrentSurah);
}

// The table under the top bar, with the partition title over its top edge.
void IndexViewController::buildTableArea(ui::View& root) {
  float h = root.bounds().height();
  surahListTable_ = std::make_shared<ui::TableView>(cg::Rect(0, kTopBarHeight, kTableWidth, h - kTopBarHeight),
                                                    ui::TableViewStyle::Plain);
  surahListTable_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  surahListTable_->setBackgroundColor(cg::Color::white());
  surahListTable_->setSeparatorColor(cg::Color::fromRGB255(226, 232, 240));
  surahListTable_->setDataSource(self());
  surahListTable_->setDelegate(self());
  root.addSubview(surahListTable_);

  imgPartitionBG = std::make_shared<ui::ImageView>(cg::Rect(44, kTopBarHeight, kTableWidth - 44, kPartitionHeight));
  imgPartitionBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(imgPartitionBG);
  lblPartitionTitle = std::make_shared<ui::Label>(cg::Rect(58, kTopBarHeight, kTableWidth - 44 - 58, kPartitionHeight));
  lblPartitionTitle->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblPartitionTitle->setTextColor(cg::Color::white());
  lblPartitionTitle->setBackgroundColor(std::nullopt);
  lblPartitionTitle->setOpaque(false);
  lblPartitionTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(lblPartitionTitle);
}

void IndexViewController::buildJuzBar(ui::View& root) {
  float h = root.bounds().height();
  viewJuzzScroller =
      std::make_shared<UIScrollableBar>(cg::Rect(kTableWidth, kTopBarHeight, kBarWidth, h - kTopBarHeight));
  viewJuzzScroller->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleHeight);
  viewJuzzScroller->setBackgroundColor(cg::Color::white());
  viewJuzzScroller->setDelegate(self());
  root.addSubview(viewJuzzScroller);
}

// Across the foot of the table (the juz bar beside it stays whole): the
// status line over the bar, and the cancel button at the right.
void IndexViewController::buildDownloadStrip(ui::View& root) {
  float w = root.bounds().width() - kBarWidth, h = root.bounds().height();
  viewIndexDownloadContainer = std::make_shared<ui::View>(cg::Rect(0, h - kDownloadStripHeight, w, kDownloadStripHeight));
  viewIndexDownloadContainer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth |
                                                  ui::ViewAutoresizingFlexibleTopMargin);
  viewIndexDownloadContainer->setAutoresizesSubviews(true);
  styleDownloadStrip(*viewIndexDownloadContainer);
  viewIndexDownloadContainer->setHidden(true);
  viewIndexDownloadContainer->setAlpha(0);
  constexpr float kCancelWidth = 66;
  lblIndexDownload = std::make_shared<ui::Label>(cg::Rect(10, 5, w - 20 - kCancelWidth, 18));
  styleDownloadStatusLabel(*lblIndexDownload, 12);
  lblIndexDownload->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  progressIndexDownload = std::make_shared<ui::ProgressView>(ui::ProgressViewStyle::Default);
  progressIndexDownload->setFrame(cg::Rect(10, 28, w - 20 - kCancelWidth, 9));
  progressIndexDownload->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  btnIndexDownload = std::make_shared<ui::Button>(cg::Rect(w - kCancelWidth - 4, 6, kCancelWidth, 32));
  btnIndexDownload->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  styleDownloadCancelButton(*btnIndexDownload);
  btnIndexDownload->addTarget(this, [this](ui::Control&) { cancelDownload(); }, ui::ControlEventTouchUpInside);
  for (auto v : std::initializer_list<std::shared_ptr<ui::View>>{lblIndexDownload, progressIndexDownload, btnIndexDownload})
    viewIndexDownloadContainer->addSubview(v);
  root.addSubview(viewIndexDownloadContainer);
}

void IndexViewController::styleButtons() {
  btnSections->setBackgroundImage(stretched("ipad-black-button.png", 16), ui::ControlStateNormal);
  btnSections->setBackgroundImage(stretched("ipad-black-button-t.png", 16), ui::ControlStateHighlighted);
  imgPartitionBG->setImage(stretched("ipad-index-sections-partition.png", 6));
  btnTopCurrentSurah->setBackgroundImage(stretched("button-arrow-right.png", 19), ui::ControlStateNormal);
  btnTopCurrentSurah->setBackgroundImage(stretched("button-arrow-right-t.png", 19), ui::ControlStateHighlighted);
}

void IndexViewController::refreshTheme() {
  if (!surahListTable_) return;
  std::vector<std::string> labels;
  for (int juz = 1; juz <= 30; ++juz) labels.push_back(juzNumber(juz));
  viewJuzzScroller->setIndexes(labels, 8.0f, 8.0f, cg::Color::fromRGB255(170, 176, 181),
                               cg::Color::fromRGB255(100, 106, 111), "scroller-blank-s9.png", "scroller-bg-s9.png");
  if (ui::isLandscape(interfaceOrientation())) viewJuzzScroller->setupLandscape(0.0);
  surahListTable_->setScrollsToTop(true);
  surahListTable_->reloadData();
  lblTopBarLabel->setContentMode(ui::ContentMode::Center);
  if (auto reading = ThisSurahController()) reading->refreshTheme();
  indexLoaded = true;
}

// The name of the surah, right-aligned in the top bar, as wide as it needs.
void IndexViewController::setTopCurrentSurahButton(int surah) {
  std::string name = ChapterInfo::getNameFromNumber(surah);
  btnTopCurrentSurah->setTitle(name, ui::ControlStateNormal);
  btnTopCurrentSurah->setTitle(name, ui::ControlStateHighlighted);
  btnTopCurrentSurah->setTitleEdgeInsets(cg::EdgeInsets{0, 0, 0, 5});
  float width = std::ceil(ui::currentMeasurer().width(name, btnTopCurrentSurah->titleLabel()->font())) + 27;
  cg::Rect bar = viewTopBar->bounds();
  btnTopCurrentSurah->setFrame(cg::Rect(bar.width() - width, 0, width, bar.height()));
}

std::shared_ptr<ui::View> IndexViewController::makeSectionHeader(int juz) const {
  float w = surahListTable_->bounds().width();
  auto header = std::make_shared<ui::View>(cg::Rect(0, 0, w, 23));
  header->setBackgroundColor(std::nullopt);
  header->setOpaque(false);
  header->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
  header->setAutoresizesSubviews(true);
  auto art = std::make_shared<ui::ImageView>(cg::Rect(44, 0, w - 44, 23));
  art->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
  art->setImage(stretched("ipad-index-sections-partition.png", 6));
  header->addSubview(art);
  auto label = std::make_shared<ui::Label>(cg::Rect(58, 0, (w - 44) - 58, 23));
  label->setBackgroundColor(std::nullopt);
  label->setOpaque(false);
  label->setFont(ui::Font::fontWithName("Helvetica", 13));
  label->setTextColor(cg::Color::white());
  label->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
  label->setText(Language::get("Juz", "Juz") + " " + juzNumber(juz));
  header->addSubview(label);
  return header;
}
