#pragma once
// A list of titled choices in a popover, the current one ticked; a tap on a
// row hands its value to the callback. The header's reciter and translation
// buttons show it until their own pickers exist.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class ChoiceListController : public ui::ViewController,
                             public ui::TableViewDataSource,
                             public ui::TableViewDelegate {
 public:
  struct Choice {
    int value;
    std::string title;
  };
  ChoiceListController(std::vector<Choice> choices, int chosen, std::function<void(int)> onChoice);

  void loadView() override;
  int numberOfRowsInSection(ui::TableView*, int) override { return int(choices_.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  int chosen() const { return chosen_; }
  const std::vector<Choice>& choices() const { return choices_; }
  ui::TableView* tableView() const { return table_.get(); }

 private:
  std::vector<Choice> choices_;
  int chosen_;
  std::function<void(int)> onChoice_;
  std::shared_ptr<ui::TableView> table_;
};
