#include "Classes/settings/SupplicationsViewController.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/SupplicationsDetailsController.h"
#include "platform/ui/NavigationController.h"

namespace {

using screens::localized;

struct Theme {
  const char* name;
  std::vector<std::string> verses;
};

// Each theme's verses in ascending surah order, so that a surah's verses
// are adjacent.
const Theme kThemes[SupplicationsViewController::kThemeCount] = {
    {"Faith", {"2:139", "3:53", "7:89", "12:108", "18:14", "39:11"}},
    {"Submission",
     {"2:156", "3:20", "6:79", "6:162", "7:196", "11:56", "11:123", "14:38", "25:58", "26:78", "39:46", "67:29"}},
    {"Praise",
     {"3:191", "4:71", "6:100", "7:54", "15:98", "17:108", "23:14", "25:61", "30:17", "36:83", "40:64", "43:82",
      "43:85", "55:78", "59:23", "64:1", "67:1", "87:1", "110:3"}},
    {"Patience",
     {"2:250", "3:8", "6:77", "7:47", "7:126", "12:86", "14:12", "16:127", "17:96", "18:10", "28:22", "44:12"}},
    {"Forgiveness",
     {"2:285", "2:286", "3:16", "3:147", "3:193", "7:23", "7:143", "21:87", "23:118", "28:16", "40:7", "59:10",
      "60:4", "66:8", "68:29"}},
    {"Family", {"2:128", "3:38", "14:40", "17:24", "21:89", "25:74", "37:100", "46:15", "71:28"}},
    {"Provisions", {"2:201", "3:194", "5:114", "7:156", "20:25", "28:24", "40:8"}},
    {"Knowledge", {"20:114", "26:83"}},
    {"Thanks", {"7:43", "27:40", "28:70", "39:66", "45:36"}},
    {"Protection",
     {"2:255", "9:126", "10:85", "11:47", "12:64", "12:101", "23:97", "25:65", "34:41", "113:1", "114:1"}},
};

}  // namespace

std::string SupplicationsViewController::themeName(int theme) {
  return theme >= 0 && theme < kThemeCount ? kThemes[theme].name : "";
}

std::vector<std::string> SupplicationsViewController::themeVerses(int theme) {
  return theme >= 0 && theme < kThemeCount ? kThemes[theme].verses : std::vector<std::string>{};
}

void SupplicationsViewController::viewDidLoad() {
  setUpColumn(*tblTable, localized("Supplications"), localized("More"), cg::Color::fromRGB255(187, 211, 237));
  tblTable->reloadData();
  rethemeUI();
}

std::shared_ptr<ui::TableViewCell> SupplicationsViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("Cell");
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "Cell");
    cell->detailTextLabel()->setTextColor(cg::Color::fromRGB255(102, 101, 96));
    cell->detailTextLabel()->setFont(ui::Font::fontWithName("Helvetica", 13));
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  }
  int r = indexPath.row;
  if (r < 0 || r >= kThemeCount) return cell;
  cell->textLabel()->setText(localized(kThemes[r].name));
  cell->detailTextLabel()->setText(screens::numberText(int(kThemes[r].verses.size())));
  return cell;
}

void SupplicationsViewController::didSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  int r = indexPath.row;
  if (r < 0 || r >= kThemeCount) return;
  auto theme = std::make_shared<SupplicationsDetailsController>();
  theme->setStrHeader(localized(kThemes[r].name));
  theme->setIsection(r);
  if (auto* nav = navigationController()) nav->pushViewController(theme, true);
}
