#pragma once
// A controller that writes its appearance, rotation and load calls into a
// shared log as "<name> <call>", for tests of the order of calls.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ViewController.h"

namespace ui::test {

using CallLog = std::vector<std::string>;

class LoggingController : public ViewController {
 public:
  LoggingController(std::string name, std::shared_ptr<CallLog> log) : name_(std::move(name)), log_(std::move(log)) {
    setTitle(name_);
  }
  bool autorotates = true;

  void viewDidLoad() override { note("viewDidLoad"); }
  void viewDidUnload() override { note("viewDidUnload"); }
  void viewWillAppear(bool) override { note("viewWillAppear"); }
  void viewDidAppear(bool) override { note("viewDidAppear"); }
  void viewWillDisappear(bool) override { note("viewWillDisappear"); }
  void viewDidDisappear(bool) override { note("viewDidDisappear"); }
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) override {
    note("shouldAutorotate " + std::to_string(int(o)));
    return autorotates;
  }
  void willRotateToInterfaceOrientation(InterfaceOrientation o, double d) override {
    note("willRotate " + std::to_string(int(o)) + " " + std::to_string(d).substr(0, 3));
  }
  void willAnimateRotationToInterfaceOrientation(InterfaceOrientation o, double) override {
    note("willAnimate " + std::to_string(int(o)) + " in " + std::to_string(int(interfaceOrientation())));
  }
  void didRotateFromInterfaceOrientation(InterfaceOrientation o) override {
    note("didRotate " + std::to_string(int(o)));
  }

 private:
  void note(const std::string& call) { log_->push_back(name_ + " " + call); }
  std::string name_;
  std::shared_ptr<CallLog> log_;
};

}  // namespace ui::test
