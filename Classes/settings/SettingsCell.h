#pragma once
// A settings row with a control of its own (a switch) at its right end,
// where an accessory stands. One control may move from row to row as the
// table reuses its cells: a row gives it up only while it still holds it.
#include <functional>
#include <memory>

#include "platform/ui/Switch.h"
#include "platform/ui/TableViewCell.h"

class SettingsCell : public ui::TableViewCell {
 public:
  using ui::TableViewCell::TableViewCell;

  ui::View* accessoryView() const { return accessory_.get(); }
  // None: the row shows no control.
  void setAccessoryView(std::shared_ptr<ui::View> view);

  // The row's image at its own size rather than shrunk into a square (the
  // font-size previews).
  void setShowsImageAtItsSize(bool on) { imageAtItsSize_ = on; setNeedsLayout(); }

  void layoutSubviews() override;

 private:
  std::shared_ptr<ui::View> accessory_;
  bool imageAtItsSize_ = false;
};

// A switch of the settings (frame (193, 8, 50, 35), clear), in the state
// given, running the action when a person turns it.
std::shared_ptr<ui::Switch> makeSettingSwitch(const void* target, bool on, std::function<void()> action);

