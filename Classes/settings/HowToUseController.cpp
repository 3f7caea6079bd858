#include "Classes/settings/HowToUseController.h"

#include <algorithm>

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/InfoPages.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "toolkit/core/TKWebController.h"

namespace {

using screens::localized;
using Question = HowToUseController::Question;

const Question kQuestions[HowToUseController::kQuestionCount] = {
    {"Zarvel Usage Terms & Conditions", "", "terms.html"},
    {"Change the Translation",
     "Click the name of the translation at the top of its column and choose another from the list; \"No "
     "Translation\" hides the column. With the reading view widened to the full screen, the same choice is at the "
     "top left of the reading view.",
     ""},
    {"Change the Reciter",
     "Widen the reading view to the full screen with the button at the bottom left (Escape narrows it again). The "
     "reciter's name then shows at the top right of the reading view: click it and choose a reciter. The round "
     "button beside it plays that reciter's recitation of the surah once it is on this computer.",
     ""},
    {"Jump to a Verse",
     "Press in the column of verse numbers at the left of the reading view and drag up or down: a bubble shows the "
     "verse you will land on. Let go inside the column to jump to that verse; let go outside it to cancel.\n\nThe "
     "Home and End keys go to the first and the last verse.",
     ""},
    {"Go to the next Verse",
     "Click once in the column of verse numbers at the left of the reading view and it moves on to the next "
     "verse.\n\nThe Up and Down keys go to the previous and the next verse, Page Up and Page Down a screen at a "
     "time.",
     ""},
    {"Bookmark an Ayah",
     "Hold the mouse button down on a verse until its options open, click Bookmark and pick a group for it. A "
     "bookmarked verse's row is tinted and its number marked. Do the same again to remove the bookmark, or remove "
     "it in the Bookmarks tab.",
     ""},
    {"Go to the Next or Previous Surah",
     "Click the round arrow to the right of the surah's name for the next surah, the one to the left for the "
     "previous surah.\n\nThe Right and Left keys do the same.",
     ""},
    {"Find Surah Information",
     "Click the surah's name at the top of the reading view: its meaning, its number of verses, its place in the "
     "order of revelation and where it was revealed show below it. Click the name again to close them.",
     ""},
    {"Delete a Recitation",
     "Open Settings in the More tab. Under Manage Recitations, click a reciter to see which of his recitations are "
     "on this computer, and remove them there.",
     ""},
    {"Download Every Surah's Recitation",
     "Click the download sign beside any surah in the list of surahs and choose \"Download all Audios\".\n\nIt "
     "takes long and needs a steady connection: keep Zarvel open until it ends.",
     ""},
    {"Write a bug report", "", "bugs.html"},
    {"Search the Quran", "", "search.html"},
    {"Reveal Searched Verses", "", "marks.html"},
    {"Email a Verse",
     "Hold the mouse button down on a verse until its options open, click Email and choose the Arabic verse, its "
     "translation or both: a message holding them opens, and Send hands it to your mail program.",
     ""},
};

}  // namespace

const HowToUseController::Question& HowToUseController::question(int row) {
  return kQuestions[std::clamp(row, 0, kQuestionCount - 1)];
}

void HowToUseController::loadView() {
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, 540, 576));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  table = std::make_shared<ui::TableView>(root->bounds(), ui::TableViewStyle::Plain);
  table->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(table);
  setView(root);
}

void HowToUseController::viewDidLoad() {
  setTitle(localized("How to Use Zarvel"));
  auto done = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done,
                                                  [this](ui::BarButtonItem&) { closeModal(); });
  navigationItem()->setRightBarButtonItem(done);
  auto self = std::dynamic_pointer_cast<HowToUseController>(shared_from_this());
  table->setDataSource(self);
  table->setDelegate(self);
}

void HowToUseController::viewDidAppear(bool) { keys_.take(*this, view()->window()); }

void HowToUseController::viewWillDisappear(bool) { keys_.giveBack(*this); }

void HowToUseController::closeModal() { dismissModalViewControllerAnimated(true); }

std::string HowToUseController::titleForHeaderInSection(ui::TableView*, int) { return localized("How do I..."); }

std::shared_ptr<ui::TableViewCell> HowToUseController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                            const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("Cell");
  if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "Cell");
  cell->textLabel()->setText(localized(question(indexPath.row).title));
  cell->textLabel()->setTextAlignment(ZarvelSDKAppDelegate::IsLanguageArabic() ? ui::TextAlignment::Right
                                                                              : ui::TextAlignment::Left);
  return cell;
}

void HowToUseController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || indexPath.row >= kQuestionCount) return;
  const Question& q = question(indexPath.row);
  if (*q.page) {
    answerPage_ = infopages::present(*this, q.page);
    return;
  }
  answerAlert_ = std::make_shared<ui::AlertView>(localized(q.title), localized(q.answer),
                                                 std::weak_ptr<ui::AlertViewDelegate>(), localized("OK"));
  answerAlert_->show();
}

// The help keeps the keys while one of its pages is over it: Escape closes
// the page, then the help.
void HowToUseController::keyDown(const ui::KeyEvent& key) {
  if (key.key == "Escape") return dismissModalViewControllerAnimated(true);
  if (modalViewController()) return;
  if (key.key == "Up" || key.key == "Down") {
    auto current = table->indexPathForSelectedRow();
    int row = current ? current->row + (key.key == "Down" ? 1 : -1) : (key.key == "Down" ? 0 : kQuestionCount - 1);
    row = std::clamp(row, 0, kQuestionCount - 1);
    table->selectRowAtIndexPath(ui::IndexPath{0, row}, false, ui::TableViewScrollPosition::None);
    return;
  }
  if (key.key == "Return") {
    if (auto current = table->indexPathForSelectedRow()) didSelectRowAtIndexPath(table.get(), *current);
    return;
  }
  ui::ViewController::keyDown(key);
}
