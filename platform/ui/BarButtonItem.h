#pragma once
// A button of a navigation bar or toolbar, held as a model: a system item
// (Done, Cancel...) or a title in a plain, bordered or done style, with a
// target-action. The bars make a BarButtonView for each item they show; the
// view redraws when the item changes.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace ui {

// The platform's numbering.
enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };
enum class BarButtonSystemItem {
  Done = 0,
  Cancel = 1,
  Edit = 2,
  Save = 3,
  Add = 4,
  FlexibleSpace = 5,
  FixedSpace = 6,
  Action = 9,
  Refresh = 13,
  Stop = 14,
};

class Image;

class BarButtonItem {
 public:
  using Action = std::function<void(BarButtonItem&)>;

  BarButtonItem(std::string title, BarButtonItemStyle style, Action action = nullptr);
  BarButtonItem(BarButtonSystemItem item, Action action = nullptr);
  explicit BarButtonItem(std::shared_ptr<View> customView);
  // An image in place of a title (drawn as it is; dimmed while disabled).
  BarButtonItem(std::shared_ptr<Image> image, BarButtonItemStyle style, Action action = nullptr);

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);
  BarButtonItemStyle style() const { return style_; }
  void setStyle(BarButtonItemStyle style);
  std::optional<BarButtonSystemItem> systemItem() const { return systemItem_; }
  bool isSpace() const;
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // Width of a fixed space, or of the button (0: fits its title).
  float width() const { return width_; }
  void setWidth(float width);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  const std::shared_ptr<View>& customView() const { return customView_; }
  const std::shared_ptr<Image>& image() const { return image_; }

  void setAction(Action action) { action_ = std::move(action); }
  // Runs the action when the item is enabled (a tap on its view).
  void sendAction();

  // The bar showing the item hears its changes (one bar at a time).
  void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

 private:
  void changed() const {
    auto handler = changed_;  // the handler may replace itself while it runs
    if (handler) handler();
  }

  std::string title_;
  BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
  std::optional<BarButtonSystemItem> systemItem_;
  bool enabled_ = true;
  float width_ = 0;
  int tag_ = 0;
  std::shared_ptr<View> customView_;
  std::shared_ptr<Image> image_;
  Action action_;
  std::function<void()> changed_;
};

// The view of one item in a bar: a bordered button, a plain title, or the
// arrow-shaped back button of a navigation bar.
class BarButtonView : public View {
 public:
  enum class Kind { Item, Back };
  BarButtonView(std::shared_ptr<BarButtonItem> item, cg::Color tint, Kind kind = Kind::Item);

  const std::shared_ptr<BarButtonItem>& item() const { return item_; }
  bool isHighlighted() const { return highlighted_; }
  void setTint(cg::Color tint);

  cg::Size sizeThatFits(cg::Size size) const override;
  void drawRect(cg::Context& context, cg::Rect rect) override;
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;

 private:
  std::string displayTitle() const;
  bool touchInside(const TouchSet& touches) const;

  std::shared_ptr<BarButtonItem> item_;
  cg::Color tint_;
  Kind kind_;
  bool highlighted_ = false;
};

// The bars' shared look.
namespace bar {
// The default tint of navigation bars and toolbars.
cg::Color defaultTint();
// A colour lighter (factor > 1) or darker (factor < 1).
cg::Color shade(cg::Color c, float factor);
// The glossy gradient of a bar's background in the tint, with its edge lines.
void drawBackground(cg::Context& context, cg::Rect rect, cg::Color tint, bool bottomEdge);
}  // namespace bar

}  // namespace ui
