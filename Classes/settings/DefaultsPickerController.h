#pragma once
// A list of choices with a checkmark on the one stored under a defaults key
// (the row number, written as text, read back as a number: absent is row 0).
// Choosing a row stores it, reloads the list and tells the application.
// The theme and start-up screen pickers are the two lists. Main thread only.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class DefaultsPickerController : public ui::ViewController,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate {
 public:
  enum class List { Theme, StartupScreen };

  // `chosen` runs after a choice is stored; by default the application
  // refreshes its theme (Theme) or its settings (StartupScreen).
  explicit DefaultsPickerController(List list, std::function<void()> chosen = nullptr);

  void loadView() override;
  void viewDidLoad() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  int numberOfRowsInSection(ui::TableView*, int) override;
  std::string titleForHeaderInSection(ui::TableView*, int) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  // The stored row.
  int chosenRow() const;

  std::shared_ptr<ui::TableView> table;

 protected:
  List list() const { return list_; }

 private:
  List list_;
  std::function<void()> chosen_;
};

// "Select Theme": the original and the blue theme (key CurrentTheme); a
// restart applies the choice, as the list's footer says.
class ThemeController : public DefaultsPickerController {
 public:
  ThemeController() : DefaultsPickerController(List::Theme) {}
  void viewDidLoad() override;
};

// "Startup Screen": the index, surah, bookmarks or search view (key StartupScreen).
class StartupScreenController : public DefaultsPickerController {
 public:
  StartupScreenController() : DefaultsPickerController(List::StartupScreen) {}
};
