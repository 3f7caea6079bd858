#pragma once
// Help: "How do I..." questions about this application's screens and keys.
// Most answers come up in an alert; the terms of use, the bug report, the
// search and the marking of searched verses open the shipped help pages in
// the in-application web page. Shown as a form sheet in a navigation
// controller of its own (F1 in the shell); Done or Escape closes it, and
// the arrows and Return choose a question. Main thread only.
#include <memory>
#include <string>

#include "Classes/settings/SheetKeys.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class TKWebController;

class HowToUseController : public ui::ViewController,
                           public ui::TableViewDataSource,
                           public ui::TableViewDelegate {
 public:
  static constexpr int kQuestionCount = 14;

  // The question of a row, and its answer: the alert's text, or the page it
  // opens (one of the two is empty).
  struct Question {
    const char* title;
    const char* answer;
    const char* page;
  };
  static const Question& question(int row);

  void loadView() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void closeModal();
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override {
    return o != ui::InterfaceOrientation::PortraitUpsideDown;
  }

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override { return kQuestionCount; }
  std::string titleForHeaderInSection(ui::TableView*, int) override;
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 45; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const ui::KeyEvent& key) override;

  std::shared_ptr<ui::TableView> table;
  // The last answer shown, for tests: its alert or its page.
  const std::shared_ptr<ui::AlertView>& answerAlert() const { return answerAlert_; }
  const std::shared_ptr<TKWebController>& answerPage() const { return answerPage_; }

 private:
  std::shared_ptr<ui::AlertView> answerAlert_;
  std::shared_ptr<TKWebController> answerPage_;
  SheetKeys keys_;
};
