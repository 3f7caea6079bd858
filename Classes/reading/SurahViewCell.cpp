#include "Classes/reading/SurahViewCell.h"

#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewController.h"

std::shared_ptr<SurahViewCell> SurahViewCell::create(const std::string& reuseIdentifier,
                                                     std::weak_ptr<SurahViewController> controller,
                                                     bool forTranslation) {
  auto cell = std::make_shared<SurahViewCell>(reuseIdentifier, std::move(controller));
  cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
  cell->setOpaque(false);
  cg::Rect content = cell->contentView()->bounds();
  cell->CellView_ = SurahVerseView::create(cg::Rect(0, 0, content.width(), content.height()), cell.get(),
                                           forTranslation);
  cell->CellView_->setAutoresizesSubviews(true);
  cell->CellView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  cell->contentView()->addSubview(cell->CellView_);
  return cell;
}

SurahViewCell::SurahViewCell(const std::string& reuseIdentifier, std::weak_ptr<SurahViewController> controller)
    : ui::TableViewCell(ui::TableViewCellStyle::Default, reuseIdentifier), viewController_(std::move(controller)) {}

int SurahViewCell::getTranslatorID() const {
  auto c = viewController();
  return c ? c->getTranslatorID() : 0;
}

std::string SurahViewCell::getTranslationForSurah(int surah, int index) const {
  auto c = viewController();
  return c ? c->getTranslationForSurah(surah, index) : std::string();
}

bool SurahViewCell::isVerseBookmarked(int verse) const {
  auto c = viewController();
  return c && c->isVerseBookmarked(verse);
}

bool SurahViewCell::verseHasNote(int verse) const {
  auto c = viewController();
  return c && c->verseHasNote(verse);
}

bool SurahViewCell::isVerseLastAudioBookmark(int surah, int verse) const {
  auto c = viewController();
  return c && c->isVerseLastAudioBookmark(surah, verse);
}

bool SurahViewCell::isReflectingSearch(int verse) const {
  auto c = viewController();
  return c && c->isReflectingSearch(verse);
}

// A note row opens the notes panel; any other row asks for the verse options.
void SurahViewCell::requestSelectionAndShowDial(SurahVerseView& view, int verse, int surah) {
  auto c = viewController();
  if (!c) return;
  auto* root = c->ipaddelegate();
  if (view.TranslationMetaData && view.TranslationMetaData->ThisTranslator() == 1000) {
    if (root) root->showNotesForSurah(c->iCurrentSurah(), verse, true, root->IsViewInLandscape());
    return;
  }
  c->showDialControlForVerseCell(this, &view, ThisTable_, verse, surah);
}

void SurahViewCell::refreshView() {
  if (CellView_) CellView_->refreshView();
}

void SurahViewCell::setBookmarked() {
  auto c = viewController();
  if (!c || !CellView_) return;
  int verse = 0;
  if (CellView_->ThisVerseType == 0 && CellView_->ArabicMetaData) verse = CellView_->ArabicMetaData->ThisVerse();
  if (CellView_->ThisVerseType == 1 && CellView_->TranslationMetaData) verse = CellView_->TranslationMetaData->ThisVerse();
  c->addOrRemoveBookmarkForVerse(verse);
  CellView_->refreshBookmarked();
}

void SurahViewCell::layoutSubviews() {
  ui::TableViewCell::layoutSubviews();
  if (CellView_) CellView_->refreshView();
}

void SurahViewCell::didMoveToWindow() {
  ui::TableViewCell::didMoveToWindow();
  if (!window() && CellView_) CellView_->dropBitmaps();
}
