#pragma once
// A row of segments, each with a title or an image, of which one is selected
// (or none). Touching a segment selects it and sends value changed; a
// momentary control shows the touched segment only while it is touched.
// Indexes out of range are ignored.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

namespace ui {

// The platform's numbering.
enum class SegmentedControlStyle { Plain = 0, Bordered = 1, Bar = 2, Bezeled = 3 };

class SegmentedControl : public Control {
 public:
  static constexpr int NoSegment = -1;

  explicit SegmentedControl(const std::vector<std::string>& items = {});

  int numberOfSegments() const { return static_cast<int>(segments_.size()); }
  // An index past the end appends.
  void insertSegmentWithTitle(const std::string& title, int index, bool animated = false);
  void insertSegmentWithImage(std::shared_ptr<Image> image, int index, bool animated = false);
  void removeSegmentAtIndex(int index, bool animated = false);
  void removeAllSegments();

  void setTitle(const std::string& title, int segment);
  std::string titleForSegmentAtIndex(int segment) const;
  void setImage(std::shared_ptr<Image> image, int segment);
  std::shared_ptr<Image> imageForSegmentAtIndex(int segment) const;
  using Control::setEnabled;
  void setEnabled(bool enabled, int segment);
  bool isEnabledForSegmentAtIndex(int segment) const;
  // 0: the segment shares the space left equally with the others.
  void setWidth(float width, int segment);
  float widthForSegmentAtIndex(int segment) const;

  int selectedSegmentIndex() const { return selected_; }
  void setSelectedSegmentIndex(int index);
  bool isMomentary() const { return momentary_; }
  void setMomentary(bool momentary) { momentary_ = momentary; }
  SegmentedControlStyle segmentedControlStyle() const { return style_; }
  void setSegmentedControlStyle(SegmentedControlStyle style) { style_ = style; setNeedsDisplay(); }
  std::optional<cg::Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<cg::Color> tint) { tint_ = tint; setNeedsDisplay(); }

  // Where a segment is drawn, and the segment under a point (NoSegment when none).
  cg::Rect rectForSegmentAtIndex(int segment) const;
  int segmentAtPoint(cg::Point p) const;

  void drawRect(cg::Context& context, cg::Rect rect) override;

 protected:
  bool beginTracking(const Touch& touch) override;
  void endTracking(const Touch& touch) override;
  void cancelTracking() override;

 private:
  struct Segment {
    std::string title;
    std::shared_ptr<Image> image;
    bool enabled = true;
    float width = 0;
  };
  bool valid(int segment) const { return segment >= 0 && segment < numberOfSegments(); }
  void insert(Segment segment, int index);
  void drawSegment(cg::Context& context, int index, bool lit) const;

  std::vector<Segment> segments_;
  int selected_ = NoSegment;
  int touched_ = NoSegment;  // the momentary segment shown while touched
  bool momentary_ = false;
  SegmentedControlStyle style_ = SegmentedControlStyle::Plain;
  std::optional<cg::Color> tint_;
};

}  // namespace ui
