// The index table: its two modes, the rows it hands out, a tap on a row, the
// juz bar that jumps through it, and the keys that pick a row.
#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdlib>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexTableViewCell.h"
#include "Classes/index/IndexViewController.h"
#include "Classes/index/SectionCellView.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr int kQuarters = 240;
constexpr int kQuartersPerJuz = 8;
// Keys typed within this time spell one surah number or name.
constexpr double kTypeAheadPause = 1.0;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

std::string word(const char* english) { return Language::get(english, english); }

std::string juzTitle(int juz) {
  std::string number = ns::format("%i", juz);
  if (ZarvelSDKAppDelegate::IsLanguageArabic()) number = ChapterInfo::getArabicNumbersFrom(number);
  return word("Juz") + " " + number;
}

// The name, or what follows any of its hyphens, begins with the text.
bool nameStartsWith(const std::string& name, const std::string& text) {
  for (size_t from = 0;;) {
    if (name.compare(from, text.size(), text) == 0) return true;
    size_t dash = name.find('-', from);
    if (dash == std::string::npos) return false;
    from = dash + 1;
  }
}

}  // namespace

// ---- the two modes ---------------------------------------------------------------------------------

void IndexViewController::buildSectionedMeta() {
  int trans = SectionCellView::chosenTranslation();
  auto delegate = ZarvelSDKAppDelegate::GetInstance();
  sqlite3* content = delegate ? delegate->dbConnectionStatic() : nullptr;
  arrSectionedMeta.reserve(kQuarters);
  for (int q = 1; q <= kQuarters; ++q) {
    auto meta = std::make_shared<IndexRowMeta>();
    ChapterInfo::setSurahVerseForHizb(meta->Surah, meta->Verse, q);
    if (content && trans != 0) meta->Title = ChapterInfo::getTranslationFor(content, trans, meta->Surah, meta->Verse);
    // A translation the content database lacks shows the Arabic text, not an empty row.
    if (content && meta->Title.empty()) meta->Title = ChapterInfo::getArabicVerseFor(content, meta->Surah, meta->Verse);
    meta->HasAudioInstalled = isSurahAudioInstalled(meta->Surah);
    arrSectionedMeta.push_back(std::move(meta));
  }
}

void IndexViewController::tableTypeChanged() {
  if (!surahListTable_) return;
  std::string sections = word("Sections"), suras = word("Suras");
  lblTopBarLabel->setText(isShowingSectionedView_ ? sections : suras);
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted})
    btnSections->setTitle(isShowingSectionedView_ ? suras : sections, state);

  if (isShowingSectionedView_ && arrSectionedMeta.empty()) buildSectionedMeta();
  if (isShowingSectionedView_ && arrSectionViews.empty())
    for (int juz = 1; juz <= 30; ++juz) arrSectionViews.push_back(makeSectionHeader(juz));

  surahListTable_->reloadData();
  // Held to the list: an offset from a damaged settings file would empty the column.
  float offset = defaults().floatForKey(offsetKey());
  float bottom = std::max(0.0f, surahListTable_->contentSize().height - surahListTable_->bounds().height());
  surahListTable_->setContentOffset(cg::Point(0, std::isfinite(offset) ? std::clamp(offset, 0.0f, bottom) : 0.0f),
                                    false);
  // The partition title stands over the table only while a finger is on the
  // juz bar; in sectioned mode it keeps the juz at the top for the next time.
  imgPartitionBG->setHidden(true);
  lblPartitionTitle->setHidden(true);
  if (isShowingSectionedView_) showPartitionTitleForOffset(surahListTable_->contentOffset().y);

  defaults().setBool(isShowingSectionedView_, kIsShowingSections);
  defaults().synchronize();
}

// Names the juz of the quarter row at the top of the table.
void IndexViewController::showPartitionTitleForOffset(float offset) {
  // The row at the offset, or the first below the juz header there.
  int quarter = 0;
  auto rows = surahListTable_->indexPathsForRowsInRect(cg::Rect(0, offset, 1, 23 + 45));
  if (!rows.empty()) quarter = rows.front().row + rows.front().section * kQuartersPerJuz;
  int surah = 1, verse = 1;
  ChapterInfo::setSurahVerseForHizb(surah, verse, quarter + 1);
  lblPartitionTitle->setText(juzTitle(ChapterInfo::nearestjuzFrom(surah, verse)));
}

// ---- data source and delegate ---------------------------------------------------------------------------

int IndexViewController::numberOfSectionsInTableView(ui::TableView*) { return isShowingSectionedView_ ? 30 : 1; }

int IndexViewController::numberOfRowsInSection(ui::TableView* tableView, int) {
  if (tableView != surahListTable_.get()) return 1;
  return isShowingSectionedView_ ? kQuartersPerJuz : 114;
}

float IndexViewController::heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) { return 45.0f; }

std::optional<float> IndexViewController::heightForHeaderInSection(ui::TableView*, int) {
  return isShowingSectionedView_ ? 23.0f : 0.0f;
}

std::shared_ptr<ui::View> IndexViewController::viewForHeaderInSection(ui::TableView*, int section) {
  if (!isShowingSectionedView_ || section < 0 || section >= int(arrSectionViews.size())) return nullptr;
  return arrSectionViews[section];
}

std::shared_ptr<ui::TableViewCell> IndexViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                              const ui::IndexPath& indexPath) {
  int n = isShowingSectionedView_ ? indexPath.row + indexPath.section * kQuartersPerJuz : indexPath.row;
  std::string identifier = isShowingSectionedView_ ? "SectionCell" : "SurahCell";
  auto cell = std::dynamic_pointer_cast<IndexTableViewCell>(tableView->dequeueReusableCellWithIdentifier(identifier));
  if (!cell) {
    cell = std::make_shared<IndexTableViewCell>(ui::TableViewCellStyle::Default, identifier, n);
    cell->setDelegate(self());
  }
  cell->setRow(n, false);

  bool marked = isShowingSectionedView_ ? n == currentlySelectedRow_ : iCurrentlyShowingSurah_ == indexPath.row + 1;
  if (marked) {
    cell->setSelected(true, false);
    cell->setHighlighted(true, false);
  } else if (cell->isSelected() || cell->isHighlighted()) {
    cell->setSelected(false, false);
    cell->setHighlighted(false, false);
  }
  if (isShowingSectionedView_ && n < int(arrSectionedMeta.size())) cell->setIndexMeta(arrSectionedMeta[n]);
  return cell;
}

void IndexViewController::didSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  if (auto reading = ThisSurahController(); reading && reading->settingUpSurah()) return;
  takeKeysUnlessTaken();
  if (rowDidMakeSelection(indexPath.row, indexPath.section, true)) asyncSurahDidChangeNotice();
}

void IndexViewController::asyncSurahDidChangeNotice() {
  ns::NotificationCenter::defaultCenter().postNotificationName("SurahDidChangeFromIndex");
}

// ---- the juz bar --------------------------------------------------------------------------------------------

void IndexViewController::scrollableBarSelectedIndex(int index) {
  if (!surahListTable_) return;
  const auto& labels = viewJuzzScroller->ThisTitles();
  if (index < 0 || index >= int(labels.size())) return;
  std::string title = word("Juz") + " " + labels[index];
  lblPartitionTitle->setText(title);
  lblTopBarLabel->setText(title);
  imgPartitionBG->setHidden(false);
  lblPartitionTitle->setHidden(false);
  if (isShowingSectionedView_) {
    // The juz's first row goes to the top, below its header.
    ui::TableView& table = *surahListTable_;
    float top = table.rectForHeaderInSection(index).minY();
    float bottom = std::max(0.0f, table.contentSize().height - table.bounds().height());
    table.setContentOffset(cg::Point(0, std::clamp(top, 0.0f, bottom)), false);
  } else {
    int surah = 1, verse = 1;
    ChapterInfo::setSurahVerseForJuz(surah, verse, index + 1);
    surahListTable_->scrollToRowAtIndexPath(ui::IndexPath::indexPathForRow(surah - 1, 0),
                                            ui::TableViewScrollPosition::Top, false);
  }
}

void IndexViewController::scrollableBarFingerUp() {
  if (!surahListTable_) return;
  saveTableOffset();
  defaults().synchronize();
  tableTypeChanged();
}

// ---- keys ------------------------------------------------------------------------------------------------------

// Digits spell a surah number; letters the start of a surah's name, with or
// without its article ("baq" and "al-baq" both find Al-Baqara).
std::optional<ui::IndexPath> IndexViewController::rowForTypedText() const {
  if (typedText_.empty()) return std::nullopt;
  int surah = 0;
  if (std::isdigit(static_cast<unsigned char>(typedText_[0]))) {
    surah = std::atoi(typedText_.c_str());
    if (surah < 1 || surah > 114) return std::nullopt;
  } else {
    for (int s = 1; s <= 114 && !surah; ++s)
      if (nameStartsWith(ns::lowercase(ChapterInfo::getNameFromNumber(s)), typedText_)) surah = s;
    if (!surah) return std::nullopt;
  }
  if (!isShowingSectionedView_) return ui::IndexPath::indexPathForRow(surah - 1, 0);
  int quarter = quarterOfVerse(surah, 1);
  return ui::IndexPath::indexPathForRow((quarter - 1) % kQuartersPerJuz, (quarter - 1) / kQuartersPerJuz);
}

void IndexViewController::keyDown(const ui::KeyEvent& key) {
  if (!surahListTable_ || key.key != "Return") return ui::Responder::keyDown(key);
  if (auto path = surahListTable_->indexPathForSelectedRow()) didSelectRowAtIndexPath(surahListTable_.get(), *path);
}

void IndexViewController::insertText(const std::string& typed) {
  std::string text = ns::lowercase(typed);
  if (!surahListTable_ || text.empty()) return ui::Responder::insertText(typed);
  double now = ns::Clock::current().now();
  bool digits = std::isdigit(static_cast<unsigned char>(text[0]));
  bool wasDigits = !typedText_.empty() && std::isdigit(static_cast<unsigned char>(typedText_[0]));
  if (now - lastTypedAt_ > kTypeAheadPause || digits != wasDigits) typedText_.clear();
  lastTypedAt_ = now;
  typedText_ += text;
  auto path = rowForTypedText();
  // A number past 114 starts again from the digit just typed.
  if (!path && digits) {
    typedText_ = text;
    path = rowForTypedText();
  }
  if (path) surahListTable_->selectRowAtIndexPath(*path, false, ui::TableViewScrollPosition::Middle);
}
