#include "Classes/search/SearchCellView.h"

#include <cmath>

#include "Classes/common/ScreenSupport.h"
#include "Classes/common/VerseRowParts.h"
#include "Classes/core/String+More.h"
#include "Classes/search/SearchViewCell.h"
#include "platform/foundation/RunLoop.h"
#include "toolkit/styled/HighlightTextStyleSheet.h"
#include "toolkit/styled/TKStyleSheet.h"

namespace {

constexpr double kHoldSeconds = 0.7;

// The header's distances from the right edge in a search-result list.
constexpr SurahSectionHeader::Metrics kHeaderMetrics{121, 55, 141, 45, 124};

const cg::Color kTranslationColour = cg::Color::fromRGB255(15, 29, 63);
const cg::Color kCompulsoryProstrationColour = cg::Color::fromRGB255(22, 129, 1);

std::shared_ptr<TKStyledText> snippetText(const std::string& markup, bool selected) {
  std::string text = selected ? ns::searchReplace(markup, "yellowBox", "whiteBox")
                              : ns::searchReplace(markup, "whiteBox", "yellowBox");
  return TKStyledText::textFromXHTML(text, false, false);
}

}  // namespace

SearchCellView::SearchCellView(cg::Rect frame) : ui::View(frame) {
  setOpaque(false);
  // The snippets' two styles come from the sheet in place when they are drawn.
  TKStyleSheet::setGlobalStyleSheet(std::make_shared<HighlightTextStyleSheet>());
  contentView = std::make_shared<ui::View>(frame);
  contentView->setContentMode(ui::ContentMode::Right);
  contentView->setBackgroundColor(cg::Color::clear());
  contentView->setAutoresizesSubviews(true);
  contentView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  addSubview(contentView);
}

SearchCellView::~SearchCellView() { cancelTapNHold(); }

void SearchCellView::setThisSearchResult(SearchResultPtr result) {
  if (result && result == ThisSearchResult_) return;
  ThisSearchResult_ = std::move(result);
  setAlpha(ThisSearchResult_ ? 1 : 0);
  if (!ThisSearchResult_) return;
  bool section = ThisSearchResult_->IsSurahSection();
  if (thisCell)
    thisCell->setSelectionStyle(section ? ui::TableViewCellSelectionStyle::None : ui::TableViewCellSelectionStyle::Blue);
  if (section) showHeader();
  else showHit();
  verserow::showBottomRule(*this, viewBorder, !section && !ThisSearchResult_->IsLastInSection());
}

void SearchCellView::showHeader() {
  cg::Size size = bounds().size;
  if (!header.isMade()) {
    std::weak_ptr<View> weak = weak_from_this();
    header.make(*contentView, size, !duaMode, kHeaderMetrics, [weak] {
      if (auto self = std::static_pointer_cast<SearchCellView>(weak.lock())) self->btnCollapsePressed();
    });
  }
  header.setHidden(false);
  for (ui::View* v : std::initializer_list<ui::View*>{btnVerse.get(), lblArabicVerse.get(), lblTranslation.get(),
                                                       lblTranslationHighlighted.get()})
    if (v) v->setHidden(true);
  const SearchResult& s = *ThisSearchResult_;
  header.layout(s.surah(), int(ThisSearchResult_->AllResults()->size()), s.IsSectionCollapsed(), size, kHeaderMetrics);
}

void SearchCellView::makeHitParts() {
  float W = bounds().width(), H = bounds().height();
  float X = std::trunc(W - 44 - 18);
  const unsigned stretch = ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin |
                           ui::ViewAutoresizingFlexibleHeight;
  lblTranslationHighlighted = std::make_shared<TKStyledTextLabel>(cg::Rect(55, std::trunc((H - 20) * 0.5f), X, 20));
  lblTranslationHighlighted->setAutoresizingMask(stretch);
  lblTranslationHighlighted->setBackgroundColor(cg::Color::clear());
  lblTranslationHighlighted->setContentMode(ui::ContentMode::Left);
  lblTranslationHighlighted->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblTranslationHighlighted->setHighlightedTextColor(cg::Color::white());
  lblTranslationHighlighted->setUserInteractionEnabled(false);  // the row takes the touches
  contentView->addSubview(lblTranslationHighlighted);

  lblTranslation = std::make_shared<ui::Label>(cg::Rect(55, 0, X, H));
  lblTranslation->setAutoresizingMask(stretch);
  lblTranslation->setBackgroundColor(cg::Color::clear());
  lblTranslation->setContentMode(ui::ContentMode::Left);
  lblTranslation->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblTranslation->setTextColor(kTranslationColour);
  lblTranslation->setHighlightedTextColor(cg::Color::white());
  lblTranslation->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  contentView->addSubview(lblTranslation);

  lblArabicVerse = std::make_shared<ui::Label>(cg::Rect(45, 0, X + 10, H));
  lblArabicVerse->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth |
                                      ui::ViewAutoresizingFlexibleHeight);
  lblArabicVerse->setBackgroundColor(cg::Color::clear());
  lblArabicVerse->setContentMode(ui::ContentMode::Right);
  lblArabicVerse->setFont(ui::Font::fontWithName("GeezaPro", 16));
  lblArabicVerse->setHighlightedTextColor(cg::Color::white());
  lblArabicVerse->setTextAlignment(ui::TextAlignment::Right);
  lblArabicVerse->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  contentView->addSubview(lblArabicVerse);

  btnVerse = verserow::makeVerseBadge(H);
  contentView->addSubview(btnVerse);
}

bool SearchCellView::leftToRight() const {
  return ThisSearchResult_ && !ThisSearchResult_->IsSurahSection() && ThisSearchResult_->translator() != 0 &&
         !ChapterInfo::isTranslationRTL(ThisSearchResult_->translator());
}

void SearchCellView::showHit() {
  if (!btnVerse) makeHitParts();
  header.setHidden(true);
  btnVerse->setHidden(false);
  const SearchResult& r = *ThisSearchResult_;
  verserow::setVerseNumber(*btnVerse, r.verse());
  if (r.translator() != 0) {
    bool rtl = ChapterInfo::isTranslationRTL(r.translator());
    ui::TextAlignment alignment = rtl ? ui::TextAlignment::Right : ui::TextAlignment::Left;
    lblTranslation->setTextAlignment(alignment);
    lblTranslationHighlighted->setTextAlignment(int(alignment));
    lblArabicVerse->setHidden(true);
    lblTranslation->setHidden(!rtl);
    lblTranslationHighlighted->setHidden(rtl);
    if (rtl) {
      lblTranslation->setText(r.VerseText());
    } else {
      lblTranslationHighlighted->setText(snippetText(r.VerseText(), false));
      lblTranslationHighlighted->setTextColor(cg::Color::black());
      lblTranslationHighlighted->setHighlighted(false);
    }
  } else {
    lblArabicVerse->setHidden(false);
    lblTranslation->setHidden(true);
    lblTranslationHighlighted->setHidden(true);
    lblArabicVerse->setText(r.VerseText());
    lblArabicVerse->setTextColor(r.IsCompuslorySajda() ? kCompulsoryProstrationColour : cg::Color::black());
  }
}

void SearchCellView::showSnippetSelected(bool selected, bool highlighted) {
  lblTranslationHighlighted->setText(snippetText(ThisSearchResult_->VerseText(), selected));
  lblTranslationHighlighted->setHighlighted(highlighted);
  lblTranslationHighlighted->setTextColor(selected ? cg::Color::white() : cg::Color::black());
}

void SearchCellView::setSelected(bool selected) {
  if (!btnVerse || !ThisSearchResult_ || ThisSearchResult_->IsSurahSection()) return;
  btnVerse->setEnabled(selected);
  btnVerse->setHighlighted(selected);
  lblArabicVerse->setHighlighted(selected);
  lblTranslation->setHighlighted(selected);
  if (leftToRight()) showSnippetSelected(selected, selected);
}

void SearchCellView::setHighlighted(bool highlighted) {
  if (!btnVerse || !ThisSearchResult_ || ThisSearchResult_->IsSurahSection()) return;
  bool cellSelected = thisCell && thisCell->isSelected();
  btnVerse->setEnabled(false);
  btnVerse->setHighlighted(false);
  lblArabicVerse->setHighlighted(highlighted || cellSelected);
  lblTranslation->setHighlighted(highlighted || cellSelected);
  if (leftToRight()) {
    if (!highlighted && !cellSelected) {
      showSnippetSelected(false, false);
      return;
    }
    showSnippetSelected(true, highlighted);
    btnVerse->setEnabled(cellSelected);
    btnVerse->setHighlighted(cellSelected);
  }
  if (highlighted) {
    btnVerse->setEnabled(true);
    btnVerse->setHighlighted(true);
  }
}

// Folding lives in the list's memory: the bookmarks' fold table is theirs.
void SearchCellView::btnCollapsePressed() {
  if (!ThisSearchResult_ || !ThisSearchResult_->IsSurahSection()) return;
  bool folded = !ThisSearchResult_->IsSectionCollapsed();
  ThisSearchResult_->setIsSectionCollapsed(folded);
  SearchResultPtr section = ThisSearchResult_;
  if (auto host = viewController_.lock()) host->sectionWithRow(section, folded);
  ui::View::beginAnimations("ArrowAnim");
  ui::View::setAnimationDuration(0.3);
  header.turnArrow(folded);
  ui::View::commitAnimations();
}

// ---- press and hold ------------------------------------------------------------------------

void SearchCellView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesBegan(touches, event);
  if (duaMode) return;
  std::weak_ptr<View> weak = weak_from_this();
  ns::RunLoop::main().performAfter(this, "tapNHold", kHoldSeconds, [weak] {
    if (auto self = std::static_pointer_cast<SearchCellView>(weak.lock())) self->tapNHoldFired();
  });
}

void SearchCellView::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
  if (!duaMode) cancelTapNHold();
  ui::View::touchesMoved(touches, event);
}

void SearchCellView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  if (!duaMode) cancelTapNHold();
  ui::View::touchesEnded(touches, event);
}

void SearchCellView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
  if (!duaMode) cancelTapNHold();
  ui::View::touchesCancelled(touches, event);
}

void SearchCellView::cancelTapNHold() { ns::RunLoop::main().cancelPreviousPerformRequests(this, "tapNHold"); }

void SearchCellView::tapNHoldFired() {
  if (!thisCell || thisCell->isEditing()) return;
  if (auto host = viewController_.lock()) host->tapAndHoldRow(*thisCell);
}
