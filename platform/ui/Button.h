#pragma once
// A push button: per state a title, title colour, title shadow colour, image
// and background image (each state falls back to the normal one), insets for
// the content, the title and the image, and the control's content
// alignment. The title is drawn by a label and the image by an image view,
// laid out side by side (image first) within the content rect.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace ui {

// The platform's numbering.
enum class ButtonType { Custom = 0, RoundedRect = 1, DetailDisclosure = 2, InfoLight = 3, InfoDark = 4, ContactAdd = 5 };

class Button : public Control {
 public:
  // The glyph types (detail disclosure, info, contact add) come sized and
  // draw their badge; the others start with an empty frame.
  static std::shared_ptr<Button> buttonWithType(ButtonType type);
  explicit Button(cg::Rect frame = {}, ButtonType type = ButtonType::Custom);

  ButtonType buttonType() const { return type_; }

  void setTitle(const std::string& title, unsigned state);
  void setTitleColor(std::optional<cg::Color> color, unsigned state);
  void setTitleShadowColor(std::optional<cg::Color> color, unsigned state);
  void setImage(std::shared_ptr<Image> image, unsigned state);
  void setBackgroundImage(std::shared_ptr<Image> image, unsigned state);
  // What the state shows (after falling back to the normal state).
  std::string titleForState(unsigned state) const;
  std::optional<cg::Color> titleColorForState(unsigned state) const;
  std::optional<cg::Color> titleShadowColorForState(unsigned state) const;
  std::shared_ptr<Image> imageForState(unsigned state) const;
  std::shared_ptr<Image> backgroundImageForState(unsigned state) const;
  // The same for the current state.
  std::string currentTitle() const { return titleForState(state()); }
  std::shared_ptr<Image> currentImage() const { return imageForState(state()); }
  std::shared_ptr<Image> currentBackgroundImage() const { return backgroundImageForState(state()); }

  cg::EdgeInsets contentEdgeInsets() const { return contentInsets_; }
  void setContentEdgeInsets(cg::EdgeInsets insets) { contentInsets_ = insets; setNeedsLayout(); }
  cg::EdgeInsets titleEdgeInsets() const { return titleInsets_; }
  void setTitleEdgeInsets(cg::EdgeInsets insets) { titleInsets_ = insets; setNeedsLayout(); }
  cg::EdgeInsets imageEdgeInsets() const { return imageInsets_; }
  void setImageEdgeInsets(cg::EdgeInsets insets) { imageInsets_ = insets; setNeedsLayout(); }

  // Images are drawn darker while highlighted (when the state has no image of
  // its own) and fainter while disabled.
  bool adjustsImageWhenHighlighted() const { return adjustsWhenHighlighted_; }
  void setAdjustsImageWhenHighlighted(bool on) { adjustsWhenHighlighted_ = on; setNeedsDisplay(); }
  bool adjustsImageWhenDisabled() const { return adjustsWhenDisabled_; }
  void setAdjustsImageWhenDisabled(bool on) { adjustsWhenDisabled_ = on; setNeedsDisplay(); }

  // The title label (its font, alignment and line settings are the caller's to set).
  Label* titleLabel() const { return titleLabel_.get(); }
  ImageView* imageView() const { return imageView_.get(); }

  // Where the parts go for bounds (in the button's coordinates).
  cg::Rect contentRectForBounds(cg::Rect bounds) const;
  cg::Rect titleRectForContentRect(cg::Rect contentRect) const;
  cg::Rect imageRectForContentRect(cg::Rect contentRect) const;

  void setEnabled(bool enabled) override;
  void setSelected(bool selected) override;
  void setHighlighted(bool highlighted) override;
  cg::Size sizeThatFits(cg::Size size) const override;
  void layoutSubviews() override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  struct StateContent {
    std::optional<std::string> title;
    std::optional<cg::Color> titleColor;
    std::optional<cg::Color> titleShadowColor;
    std::shared_ptr<Image> image;
    std::shared_ptr<Image> backgroundImage;
  };
  // The first state in the fallback order for which `has` answers true.
  template <class Has>
  const StateContent* lookup(unsigned state, Has has) const;
  void refreshContent();
  int adjustment(bool stateHasOwnImage) const;
  void drawRoundedRect(cg::Context& context) const;
  void drawGlyph(cg::Context& context) const;

  ButtonType type_;
  std::map<unsigned, StateContent> content_;
  cg::EdgeInsets contentInsets_, titleInsets_, imageInsets_;
  bool adjustsWhenHighlighted_ = true;
  bool adjustsWhenDisabled_ = true;
  std::shared_ptr<Label> titleLabel_;
  std::shared_ptr<ImageView> imageView_;
};

}  // namespace ui
