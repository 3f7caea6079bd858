#include "Classes/bookmarks/BookmarkCellView.h"

#include <cmath>

#include "Classes/bookmarks/BookmarkCell.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/common/VerseRowParts.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr double kHoldSeconds = 0.7;

// The header's distances from the right edge in the bookmarks list.
constexpr SurahSectionHeader::Metrics kHeaderMetrics{165, 99, 185, 89, 174};

const cg::Color kTranslationColour = cg::Color::fromRGB255(15, 29, 63);

// The translation the line's column stands for: the primary, or the
// secondary when the primary is none or the notes.
int columnTranslation() {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  int t = int(defaults.integerForKey("CurrentTranslationPrimary"));
  if (t == 0 || t == 1000) t = int(defaults.integerForKey("CurrentTranslationSecondary"));
  return t;
}

bool showsTranslationColumn(int t) { return t != 0 && t != 27 && t != 38 && t != 1000; }

}  // namespace

BookmarkCellView::BookmarkCellView(cg::Rect frame) : ui::View(frame) {
  setOpaque(false);
  contentView = std::make_shared<ui::View>(frame);
  contentView->setContentMode(ui::ContentMode::Right);
  contentView->setBackgroundColor(cg::Color::clear());
  contentView->setAutoresizesSubviews(true);
  contentView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  addSubview(contentView);
}

BookmarkCellView::~BookmarkCellView() { cancelTapNHold(); }

void BookmarkCellView::setThisBookmark(BookmarkPtr bookmark) {
  if (bookmark && bookmark == ThisBookmark_) return;
  ThisBookmark_ = std::move(bookmark);
  refresh();
}

bool BookmarkCellView::cellIsEditing() const { return thisCell && thisCell->isEditing(); }
bool BookmarkCellView::cellIsSelected() const { return thisCell && thisCell->isSelected(); }

void BookmarkCellView::refresh() {
  setAlpha(ThisBookmark_ ? 1 : 0);
  if (!ThisBookmark_) return;
  bool section = ThisBookmark_->IsSurahSection();
  if (thisCell)
    thisCell->setSelectionStyle(section ? ui::TableViewCellSelectionStyle::None : ui::TableViewCellSelectionStyle::Blue);
  if (section) refreshHeader();
  else refreshBookmarkLine();
  // The rule under every bookmark but the last of its section.
  verserow::showBottomRule(*this, viewBorder, !section && !ThisBookmark_->IsLastInSection());
}

void BookmarkCellView::refreshHeader() {
  cg::Size size = bounds().size;
  if (!header.isMade()) {
    std::weak_ptr<View> weak = weak_from_this();
    header.make(*contentView, size, !dueMode, kHeaderMetrics, [weak] {
      if (auto self = std::static_pointer_cast<BookmarkCellView>(weak.lock())) self->btnCollapsePressed();
    });
  }
  header.setHidden(false);
  for (ui::View* v : std::initializer_list<ui::View*>{btnVerse.get(), btnVerseMeta.get(), lblArabicVerse.get(),
                                                       lblTranslation.get()})
    if (v) v->setHidden(true);
  int count = int(ThisBookmark_->AllBookmarks()->size());
  header.layout(ThisBookmark_->surah(), count, ThisBookmark_->IsSectionCollapsed(), size, kHeaderMetrics);
}

void BookmarkCellView::makeBookmarkParts() {
  float W = bounds().width(), H = bounds().height();
  float J = W - 107, A = std::trunc(J * 1.5f / 3);
  lblTranslation = std::make_shared<ui::Label>(cg::Rect(50, 0, A, H));
  lblTranslation->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin |
                                      ui::ViewAutoresizingFlexibleHeight);
  lblTranslation->setBackgroundColor(cg::Color::clear());
  lblTranslation->setContentMode(ui::ContentMode::Left);
  lblTranslation->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblTranslation->setHighlightedTextColor(cg::Color::white());
  lblTranslation->setTextAlignment(ui::TextAlignment::Left);
  lblTranslation->setTextColor(kTranslationColour);
  lblTranslation->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  contentView->addSubview(lblTranslation);

  lblArabicVerse = std::make_shared<ui::Label>(cg::Rect(A + 50, 0, J - A, H));
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

  btnVerseMeta = std::make_shared<ui::Button>(cg::Rect(W - 44, std::trunc((H - 44) / 2), 44, 44));
  btnVerseMeta->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnVerseMeta->setEnabled(false);
  btnVerseMeta->setAdjustsImageWhenDisabled(false);
  btnVerseMeta->addTarget(this, [this](ui::Control&) { btnVerseMetaPressed(); }, ui::ControlEventTouchUpInside);
  contentView->addSubview(btnVerseMeta);
}

void BookmarkCellView::refreshBookmarkLine() {
  if (!btnVerse) makeBookmarkParts();
  header.setHidden(true);
  for (ui::View* v : std::initializer_list<ui::View*>{btnVerse.get(), lblArabicVerse.get()}) v->setHidden(false);
  const Bookmark& b = *ThisBookmark_;
  verserow::setVerseNumber(*btnVerse, b.verse());
  refreshMeta(false);

  float W = bounds().width(), H = bounds().height();
  int T = columnTranslation();
  bool column = showsTranslationColumn(T);
  if (column) {
    float A = std::trunc((W - 107) * 1.5f / 3);
    lblTranslation->setHidden(false);
    lblTranslation->setFrame(cg::Rect(50, 0, A, H));
    lblArabicVerse->setFrame(cg::Rect(A + 50, 0, W - 107 - A, H));
  } else {
    lblTranslation->setHidden(true);
    lblTranslation->setText("");
    lblArabicVerse->setFrame(cg::Rect(50, 0, W - 107, H));
  }

  if (b.HasExtraDetails()) {
    // The list loaded both texts with the record, the translation in the
    // reading screen's translation; T only decides whether it shows.
    lblArabicVerse->setText(b.ArabicVerse());
    if (column) lblTranslation->setText(b.Translation());
    return;
  }
  sqlite3* content = screens::contentDatabase();
  lblArabicVerse->setText(content ? ChapterInfo::getArabicVerseFor(content, b.surah(), b.verse()) : "");
  if (!column) return;
  bool rtl = ChapterInfo::isTranslationRTL(T);
  lblTranslation->setTextAlignment(rtl ? ui::TextAlignment::Right : ui::TextAlignment::Left);
  lblTranslation->setFont(rtl ? ui::Font::fontWithName("GeezaPro", 16) : ui::Font::fontWithName("Helvetica", 13));
  lblTranslation->setText(content ? ChapterInfo::getTranslationFor(content, T, b.surah(), b.verse()) : "");
}

void BookmarkCellView::setMetaImages(const char* normalName, const char* litName, bool selected) {
  auto normal = ui::Image::imageNamed(normalName);
  auto lit = ui::Image::imageNamed(litName);
  btnVerseMeta->setBackgroundImage(normal, ui::ControlStateNormal);
  btnVerseMeta->setBackgroundImage(selected ? lit : normal, ui::ControlStateDisabled);
  btnVerseMeta->setBackgroundImage(lit, ui::ControlStateHighlighted);
}

void BookmarkCellView::refreshMeta(bool selected) {
  if (!btnVerseMeta || !ThisBookmark_ || ThisBookmark_->IsSurahSection()) return;
  const Bookmark& b = *ThisBookmark_;
  btnVerseMeta->setHidden(false);
  btnVerseMeta->setEnabled(false);
  if (b.hasNote()) {
    auto note = ui::Image::imageNamed("ipad-bookmark-note.png");
    btnVerseMeta->setEnabled(true);
    btnVerseMeta->setBackgroundImage(note, ui::ControlStateNormal);
    btnVerseMeta->setBackgroundImage(note, ui::ControlStateDisabled);
    btnVerseMeta->setBackgroundImage(ui::Image::imageNamed("ipad-bookmark-note-t.png"), ui::ControlStateHighlighted);
  } else if (ChapterInfo::isSajda(b.surah(), b.verse())) {
    setMetaImages("ipad-bookmarks-mark-sajda.png", "bookmarks-mark-sajda-t.png", selected);
  } else if (ChapterInfo::isJuz(b.surah(), b.verse())) {
    setMetaImages("ipad-bookmarks-mark-juz.png", "bookmarks-mark-juz-t.png", selected);
  } else if (ChapterInfo::isHizb(b.surah(), b.verse())) {
    sqlite3* content = screens::contentDatabase();
    int q = content ? ChapterInfo::hezbFromSurah(content, b.surah(), b.verse()) % 4 : -1;
    // By the quarter of its hizb: the fourth, the first, the second, the third.
    static const char* const kQuarters[4][2] = {
        {"ipad-bookmarks-mark-hezb34.png", "bookmarks-mark-hezb34-t.png"},
        {"ipad-bookmarks-mark-hezb.png", "bookmarks-mark-hezb-t.png"},
        {"ipad-bookmarks-mark-hezb14.png", "bookmarks-mark-hezb14-t.png"},
        {"ipad-bookmarks-mark-hezb12.png", "bookmarks-mark-hezb12-t.png"}};
    if (q >= 0) setMetaImages(kQuarters[q][0], kQuarters[q][1], selected);
  } else {
    btnVerseMeta->setHidden(true);
  }
}

void BookmarkCellView::setSelected(bool selected) {
  if (btnVerse) {
    btnVerse->setEnabled(selected);
    btnVerse->setHighlighted(selected);
  }
  refreshMeta(selected);
  setHighlightedText(selected);
}

void BookmarkCellView::setHighlighted(bool highlighted) {
  if (btnVerse) {
    btnVerse->setEnabled(false);
    btnVerse->setHighlighted(false);
  }
  refreshMeta(highlighted);
  bool lit = highlighted || cellIsSelected();
  if (lit) {
    if (btnVerse) {
      btnVerse->setEnabled(true);
      btnVerse->setHighlighted(true);
    }
    refreshMeta(true);
  }
  setHighlightedText(lit);
}

// The labels turn white over the selected background.
void BookmarkCellView::setHighlightedText(bool lit) {
  for (ui::Label* label : {lblArabicVerse.get(), lblTranslation.get()})
    if (label) label->setHighlighted(lit);
  header.setHighlighted(lit);
}

void BookmarkCellView::setEditing(bool editing, bool animated) {
  if (!ThisBookmark_ || ThisBookmark_->IsSurahSection()) return;
  refreshSelectionState();
  auto host = viewController_.lock();
  bool batch = editing && host && host->IsEditing();
  float w = thisCell ? thisCell->bounds().width() : bounds().width();
  float h = thisCell ? thisCell->bounds().height() : bounds().height();
  if (animated) {
    ui::View::beginAnimations("IsEditing");
    ui::View::setAnimationDuration(0.3);
  }
  if (imgEditCircle) imgEditCircle->setFrame(cg::Rect(batch ? 1 : -44, 0, 43, 44));
  contentView->setFrame(batch ? cg::Rect(44, 0, w - 44, h) : cg::Rect(0, 0, w, h));
  if (animated) ui::View::commitAnimations();
}

void BookmarkCellView::refreshSelectionState() {
  if (!cellIsEditing() || !ThisBookmark_) return;
  if (!imgEditCircle) {
    imgEditCircle = std::make_shared<ui::ImageView>(cg::Rect(-44, 0, 43, 44));
    addSubview(imgEditCircle);
  }
  imgEditCircle->setImage(ui::Image::imageNamed(ThisBookmark_->IsSelected() ? "todo-edit-on.png" : "todo-edit.png"));
  imgEditCircle->setHighlightedImage(ui::Image::imageNamed("todo-edit-t.png"));
}

void BookmarkCellView::toggleSelection() {
  if (!ThisBookmark_) return;
  ThisBookmark_->setIsSelected(!ThisBookmark_->IsSelected());
  refreshSelectionState();
}

void BookmarkCellView::btnVerseMetaPressed() {
  if (!ThisBookmark_ || !ThisBookmark_->hasNote() || !thisCell) return;
  if (auto host = viewController_.lock()) host->showNoteForBookmark(*thisCell);
}

void BookmarkCellView::btnCollapsePressed() {
  if (!ThisBookmark_ || !ThisBookmark_->IsSurahSection()) return;
  bool folded = !ThisBookmark_->IsSectionCollapsed();
  ThisBookmark_->setIsSectionCollapsed(folded);
  if (sqlite3* db = screens::userDatabase()) ChapterInfo::setBookmarkSectionCollapsed(db, ThisBookmark_->surah(), folded);
  BookmarkPtr section = ThisBookmark_;
  if (auto host = viewController_.lock()) host->sectionWithRow(section, folded);
  ui::View::beginAnimations("ArrowAnim");
  ui::View::setAnimationDuration(0.3);
  header.turnArrow(folded);
  ui::View::commitAnimations();
}

void BookmarkCellView::noteButtonPressed() {
  if (!ThisBookmark_ || ThisBookmark_->surah() < 1) return;
  auto host = viewController_.lock();
  auto* root = host ? host->ipaddelegate() : nullptr;
  if (root) root->showNotesForSurah(ThisBookmark_->surah(), ThisBookmark_->verse(), true, root->IsViewInLandscape());
}

void BookmarkCellView::bookmarkButtonPressed() {
  if (!ThisBookmark_ || ThisBookmark_->IsSurahSection()) return;
  if (auto app = ZarvelSDKAppDelegate::GetInstance())
    app->showSurahView(ThisBookmark_->surah(), ThisBookmark_->verse(), ThisBookmark_->isAudio(), false);
}

// ---- tap and hold --------------------------------------------------------------------------

void BookmarkCellView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  std::weak_ptr<View> weak = weak_from_this();
  ns::RunLoop::main().performAfter(this, "tapNHold", kHoldSeconds, [weak] {
    if (auto self = std::static_pointer_cast<BookmarkCellView>(weak.lock())) self->tapNHoldFired();
  });
  ui::View::touchesBegan(touches, event);
}

void BookmarkCellView::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
  cancelTapNHold();
  ui::View::touchesMoved(touches, event);
}

void BookmarkCellView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  cancelTapNHold();
  ui::View::touchesEnded(touches, event);
}

void BookmarkCellView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
  cancelTapNHold();
  ui::View::touchesCancelled(touches, event);
}

void BookmarkCellView::cancelTapNHold() { ns::RunLoop::main().cancelPreviousPerformRequests(this, "tapNHold"); }

void BookmarkCellView::tapNHoldFired() {
  if (!thisCell || thisCell->isEditing()) return;
  if (auto host = viewController_.lock()) host->tapAndHoldRow(*thisCell);
}
