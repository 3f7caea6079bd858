#pragma once
// The strip of section index titles down a table's right edge. A touch or a
// drag over it moves the table to the section of the entry under the finger.
// Made and placed by its table. Main thread only.
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

class TableView;

class TableViewIndex : public View {
 public:
  static constexpr float kMinimumWidth = 24;

  explicit TableViewIndex(TableView* table);

  const std::vector<std::string>& titles() const { return titles_; }
  void setTitles(std::vector<std::string> titles);
  // As wide as the widest title needs, at least the minimum.
  float preferredWidth() const;
  // The entry at a height in the index's bounds (clamped to the first and last).
  int entryAtY(float y) const;

  void drawRect(cg::Context& context, cg::Rect rect) override;
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;

 private:
  void touchAt(const TouchSet& touches);

  TableView* table_;  // the table owns this view
  std::vector<std::string> titles_;
  int lastEntry_ = -1;
  bool pressed_ = false;
  bool scrollWasEnabled_ = true;
};

}  // namespace ui
