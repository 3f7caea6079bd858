#include "Classes/audio/ManageSurahAudioController.h"

#include <sqlite3.h>

#include "Classes/common/ScreenSupport.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace {

constexpr auto text = screens::localized;
constexpr int kDeletingAudioTask = 2;
constexpr float kTopBarHeight = 44;

std::vector<int> installed(int reciter) {
  sqlite3* db = screens::userDatabase();
  return db ? ChapterInfo::getInstalledAudios(db, reciter) : std::vector<int>();
}

// Gives the freed pages back on a connection of its own: the application's
// connections go on reading meanwhile (waiting only while the file is swapped).
void vacuumOnItsOwnConnection(sqlite3* db) {
  const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
  sqlite3* own = nullptr;
  if (!file || !*file || sqlite3_open_v2(file, &own, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(own);
    return;
  }
  sqlite3_busy_timeout(own, 5000);
  char* message = nullptr;
  if (sqlite3_exec(own, "VACUUM", nullptr, nullptr, &message) != SQLITE_OK)
    ns::logf("[vacuumDB] Error: %s", message ? message : "VACUUM failed");
  sqlite3_free(message);
  sqlite3_close(own);
}

}  // namespace

ManageSurahAudioController::ManageSurahAudioController(int reciter) : selectedReciter_(reciter) {
  setTitle(ChapterInfo::getReciterFullNameFromNumber(reciter));
  ns::logf("Manage %i Reciter", reciter);
}

std::string ManageSurahAudioController::rowText(int surah) {
  std::string number = std::to_string(surah);
  if (ZarvelSDKAppDelegate::IsLanguageArabic()) number = ChapterInfo::getArabicNumbersFrom(number);
  return number + " " + ChapterInfo::getNameFromNumber(surah);
}

void ManageSurahAudioController::loadView() {
  cg::Size size = contentSizeForViewInPopover();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, size.width, size.height));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto bar = std::make_shared<ui::View>(cg::Rect(0, 0, size.width, kTopBarHeight));
  bar->setBackgroundColor(cg::Color::fromRGB255(62, 74, 92));
  bar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(bar);
  btnBack = std::make_shared<ui::Button>(cg::Rect(6, 7, 68, 30));
  btnBack->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
  btnBack->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  btnBack->addTarget(this, [this](ui::Control&) { btnBackPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(btnBack);
  lblTopLabel = std::make_shared<ui::Label>(cg::Rect(80, 7, size.width - 160, 30));
  lblTopLabel->setFont(ui::Font::boldSystemFontOfSize(16));
  lblTopLabel->setTextColor(cg::Color::white());
  lblTopLabel->setBackgroundColor(cg::Color::clear());
  lblTopLabel->setTextAlignment(ui::TextAlignment::Center);
  lblTopLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(lblTopLabel);
  myTableView = std::make_shared<ui::TableView>(
      cg::Rect(0, kTopBarHeight, size.width, size.height - kTopBarHeight), ui::TableViewStyle::Plain);
  myTableView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto self = std::static_pointer_cast<ManageSurahAudioController>(shared_from_this());
  myTableView->setDataSource(self);
  myTableView->setDelegate(self);
  root->addSubview(myTableView);
  setView(root);
}

void ManageSurahAudioController::viewDidLoad() {
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) btnBack->setTitle(text("More"), state);
  btnBack->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0), ui::ControlStateNormal);
  btnBack->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                              ui::ControlStateHighlighted);
  auto header = std::make_shared<ui::View>(cg::Rect(0, 0, myTableView->bounds().width(), 55));
  auto note = std::make_shared<ui::Label>(cg::Rect(10, 0, myTableView->bounds().width() - 30, 55));
  header->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  note->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  note->setNumberOfLines(2);
  note->setTextAlignment(ui::TextAlignment::Center);
  note->setFont(ui::Font::systemFontOfSize(13));
  note->setTextColor(cg::Color::fromRGB255(76, 86, 108));
  note->setShadowColor(cg::Color::white().withAlpha(0.3f));
  note->setShadowOffset(cg::Size{0, 1});
  note->setBackgroundColor(cg::Color::clear());
  note->setText(text("Note: Deleting audio files can take several minutes"));
  header->addSubview(note);
  myTableView->setTableHeaderView(header);
  myTableView->setEditing(true, false);
  lblTopLabel->setText(title());
}

void ManageSurahAudioController::viewWillAppear(bool) {
  if (auto selected = myTableView->indexPathForSelectedRow()) myTableView->deselectRowAtIndexPath(*selected, false);
  myTableView->reloadData();
}

int ManageSurahAudioController::numberOfRowsInSection(ui::TableView*, int) {
  return int(installed(selectedReciter_).size());
}

std::string ManageSurahAudioController::titleForHeaderInSection(ui::TableView*, int) {
  return text("Installed Chapters");
}

std::shared_ptr<ui::TableViewCell> ManageSurahAudioController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("SurahCell");
  if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "SurahCell");
  auto surahs = installed(selectedReciter_);
  cell->textLabel()->setText(indexPath.row >= 0 && indexPath.row < int(surahs.size())
                                 ? rowText(surahs[std::size_t(indexPath.row)])
                                 : std::string());
  return cell;
}

std::optional<ui::IndexPath> ManageSurahAudioController::willSelectRowAtIndexPath(ui::TableView*,
                                                                                  const ui::IndexPath& indexPath) {
  if (!editing_) return std::nullopt;
  return indexPath;
}

void ManageSurahAudioController::toggleEdit() { setEditing(!editing_, true); }

void ManageSurahAudioController::setEditing(bool editing, bool animated) {
  editing_ = editing;
  myTableView->setEditing(editing, animated);
  myTableView->reloadData();
}

void ManageSurahAudioController::btnBackPressed() {
  if (auto* nav = navigationController()) nav->popViewControllerAnimated(true);
}

void ManageSurahAudioController::commitEditingStyle(ui::TableView*, ui::TableViewCellEditingStyle style,
                                                    const ui::IndexPath& indexPath) {
  if (style != ui::TableViewCellEditingStyle::Delete) return;
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->beginBackgroundTask(kDeletingAudioTask);
  if (progressHUD) progressHUD->removeFromSuperview();
  progressHUD = MBProgressHUD::initWithView(*view());
  view()->addSubview(progressHUD);
  progressHUD->delegate = std::static_pointer_cast<ManageSurahAudioController>(shared_from_this());
  progressHUD->setLabelText(text("Please wait..."));
  progressHUD->setDetailsLabelText(text("Removing data... please wait"));
  progressHUD->show(true);
  auto self = std::static_pointer_cast<ManageSurahAudioController>(shared_from_this());
  int row = indexPath.row;
  ns::Thread::detachNewThread("audio-delete", [self, row] { self->deleteSurahInBG(row); });
}

void ManageSurahAudioController::deleteSurahInBG(int row) {
  auto surahs = installed(selectedReciter_);
  sqlite3* db = screens::userDatabase();
  if (db && row >= 0 && row < int(surahs.size())) {
    int surah = surahs[std::size_t(row)];
    ChapterInfo::deleteAudio(db, surah, selectedReciter_, true);
    ChapterInfo::deleteContAudio(db, surah, selectedReciter_);
    // Reciters 1 and 7 are one voice in two qualities.
    if (selectedReciter_ == 7) ChapterInfo::deleteContAudio(db, surah, 1);
    if (selectedReciter_ == 1) ChapterInfo::deleteContAudio(db, surah, 7);
    vacuumOnItsOwnConnection(db);
  }
  auto self = std::static_pointer_cast<ManageSurahAudioController>(shared_from_this());
  ns::RunLoop::main().post([self, row] { self->doneDeletingChapter(row); });
}

void ManageSurahAudioController::doneDeletingChapter(int row) {
  (void)row;
  if (isViewLoaded()) myTableView->reloadData();
  ns::NotificationCenter::defaultCenter().postNotificationName("ReciterDidChange");
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->endBackgroundTask(kDeletingAudioTask);
  if (progressHUD) progressHUD->hide(true);
  if (installed(selectedReciter_).empty()) btnBackPressed();
}

void ManageSurahAudioController::hudWasHidden(MBProgressHUD& hud) {
  if (progressHUD.get() != &hud) return;
  progressHUD->removeFromSuperview();
  progressHUD.reset();
}
