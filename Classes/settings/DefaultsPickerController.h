#pragma once
// A list of choices with a checkmark on the one stored under a defaults key
// (the row number, written as text, read back as a number: absent is row 0).
// Choosing a row stores it, reloads the list and tells the application.
// The theme and start-up screen pickers are two of them. Main thread only.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class DefaultsPickerController : public ui::ViewController,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate {
 public:
  struct Choices {
    std::string title;
    std::string header;
    std::vector<std::string> rows;
    std::string key;
    std::function<void()> chosen;  // after the choice is stored
  };
  explicit DefaultsPickerController(Choices choices) : choices_(std::move(choices)) {}

  void loadView() override;
  void viewDidLoad() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  int numberOfRowsInSection(ui::TableView*, int) override { return int(choices_.rows.size()); }
  std::string titleForHeaderInSection(ui::TableView*, int) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  // The stored row.
  int chosenRow() const;

  std::shared_ptr<ui::TableView> table;

 protected:
  const Choices& choices() const { return choices_; }

 private:
  Choices choices_;
};

// "Select Theme": the original and the blue theme (key CurrentTheme); a
// restart applies the choice, as the list's footer says.
class ThemeController : public DefaultsPickerController {
 public:
  ThemeController();
  void viewDidLoad() override;
};

// "Startup Screen": the index, surah, bookmarks or search view (key StartupScreen).
class StartupScreenController : public DefaultsPickerController {
 public:
  StartupScreenController();
};
