#include "Classes/settings/MoreViewController.h"

#include <cmath>

#include "Classes/common/ColumnScreen.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/MoreMenu.h"
#include "platform/ui/NavigationController.h"

namespace {

const cg::Color kDetailInk = cg::Color::fromRGB255(101, 100, 94);

}  // namespace

MoreViewController::MoreViewController() { setTitle(screens::localized("More")); }

// "MoreStuff": the top bar over the menu.
void MoreViewController::loadView() {
  auto parts = columnscreen::build(false, ui::TableViewStyle::Plain);
  imgBG = parts.imgBG;
  viewTopBar = parts.bar.view;
  imgTopBarBG = parts.bar.background;
  lblTopLabel = parts.bar.title;
  tblGroups = parts.table;
  setView(parts.root);
}

void MoreViewController::viewDidLoad() {
  setTitle(screens::localized("More"));
  lblTopLabel->setText(screens::localized("More"));
  auto self = std::static_pointer_cast<MoreViewController>(shared_from_this());
  tblGroups->setDataSource(self);
  tblGroups->setDelegate(self);
  tblGroups->setSeparatorColor(cg::Color::fromRGB255(187, 211, 237));
  rethemeUI();
}

// The pushed screens may show the bar: the menu hides it again.
void MoreViewController::viewWillAppear(bool animated) {
  if (auto* nav = navigationController()) nav->setNavigationBarHidden(true, animated);
  if (tblGroups) tblGroups->reloadData();
}

int MoreViewController::numberOfRowsInSection(ui::TableView*, int) { return int(moreMenuRows().size()); }

std::shared_ptr<ui::TableViewCell> MoreViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                            const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("VerseCell");
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "VerseCell");
    cell->textLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
    if (auto* detail = cell->detailTextLabel()) {
      detail->setFont(ui::Font::fontWithName("Helvetica", 15));
      detail->setTextColor(kDetailInk);
    }
  }
  const auto& rows = moreMenuRows();
  if (indexPath.row < 0 || indexPath.row >= int(rows.size())) return cell;
  const MoreMenuRow& row = rows[size_t(indexPath.row)];
  cell->textLabel()->setText(screens::localized(row.title));
  cell->imageView()->setImage(ui::Image::imageNamed(row.icon));
  cell->imageView()->setHighlightedImage(ui::Image::imageNamed(row.highlightedIcon));
  cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  return cell;
}

void MoreViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  const auto& rows = moreMenuRows();
  if (indexPath.row < 0 || indexPath.row >= int(rows.size())) return;
  const MoreMenuRow& row = rows[size_t(indexPath.row)];
  if (!row.make) return;  // its screen is not built yet
  auto screen = row.make();
  if (!screen) return;
  switch (row.shows) {
    case MoreRowShows::Pushed:
      if (auto* nav = navigationController()) nav->pushViewController(screen, true);
      break;
    case MoreRowShows::FormSheet: {
      auto wrapper = ui::NavigationController::withRoot(screen);
      wrapper->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
      if (ui::ViewController* presenter = ipaddelegate_ ? ipaddelegate_->getViewController() : nullptr)
        presenter->presentModalViewController(wrapper, true);
      break;
    }
    case MoreRowShows::Popover: {
      auto cell = tableView->cellForRowAtIndexPath(indexPath);
      cg::Rect f = cell ? cell->frame() : cg::Rect();
      auto& popover = createPopoverViewWithController(screen);
      popover.setPopoverContentSize(cg::Size{320, 476}, false);
      popover.presentPopoverFromRect(
          cg::Rect(f.x() + std::floor(f.width() * 0.5f), f.y() + std::floor(f.height() * 0.5f) - 10, 5, 5),
          tableView, ui::PopoverArrowDirectionUp | ui::PopoverArrowDirectionRight, true);
      break;
    }
  }
}

ui::PopoverController& MoreViewController::createPopoverViewWithController(std::shared_ptr<ui::ViewController> content) {
  if (!popoverView) {
    popoverView = std::make_shared<ui::PopoverController>(std::move(content));
    popoverView->setDelegate(std::static_pointer_cast<MoreViewController>(shared_from_this()));
  } else {
    popoverView->setPassthroughViews({});
    popoverView->setContentViewController(std::move(content));
  }
  return *popoverView;
}
