// The More menu's rows and the screens they open. To give a row its screen,
// name the function that makes it in the row's last field.
#include "Classes/settings/MoreMenu.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/reading/TajweedInfoViewController.h"
#include "Classes/settings/AboutViewController.h"
#include "Classes/settings/SajdaViewController.h"
#include "Classes/settings/SettingsViewController.h"
#include "Classes/settings/StopSignsViewController.h"
#include "Classes/settings/SupplicationsViewController.h"
#include "Classes/settings/TipsViewController.h"

namespace {

// The whole guide, at its first rule.
std::shared_ptr<ui::ViewController> makeTajweedGuide() { return std::make_shared<TajweedInfoViewController>(0, true); }

std::shared_ptr<ui::ViewController> makeSettings() { return std::make_shared<SettingsViewController>(); }

template <class Screen>
std::shared_ptr<ui::ViewController> make() {
  return std::make_shared<Screen>();
}

std::shared_ptr<ui::ViewController> makeSajdas() {
  auto sajdas = std::make_shared<SajdaViewController>();
  sajdas->setStrHeader(screens::localized("Sajdas"));
  return sajdas;
}

const MoreMenuRow kMoreRows[] = {
    {"Tajweed", "more-icon-tajweed.png", "more-icon-tajweed-w.png", MoreRowShows::Pushed, makeTajweedGuide},
    // The stop-sign list ("StopSigns").
    {"Stop Signs", "more-icon-stops.png", "more-icon-stops-w.png", MoreRowShows::Pushed, make<StopSignsViewController>},
    // The prostration verses, headed by the localised "Sajdas".
    {"Sajdas", "more-icon-sajdas.png", "more-icon-sajdas-t.png", MoreRowShows::Pushed, makeSajdas},
    // The supplications ("SupplicationsViewController").
    {"Quranic Supplications", "more-icon-supplications.png", "more-icon-supplications-w.png", MoreRowShows::Pushed,
     make<SupplicationsViewController>},
    {"Settings", "more-icon-settings.png", "more-icon-settings-w.png", MoreRowShows::Pushed, makeSettings},
    // The tips ("TipsViewController"), presented by the root's controller.
    {"Tips", "more-tips.png", "more-tips-w.png", MoreRowShows::FormSheet, make<TipsViewController>},
    // About ("AboutView").
    {"About", "more-icon-about.png", "more-icon-about-w.png", MoreRowShows::Popover, make<AboutViewController>},
};

}  // namespace

const std::vector<MoreMenuRow>& moreMenuRows() {
  static const std::vector<MoreMenuRow> rows(std::begin(kMoreRows), std::end(kMoreRows));
  return rows;
}
