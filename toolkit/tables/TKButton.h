#pragma once
// A control without subviews that paints itself through a style chain. For
// each control state it keeps a title, an image (named by a URL and loaded in
// the background) and a style; drawing takes the set of the current state,
// and the normal state's values for whatever that set lacks. Buttons are
// usually made from a named style of the style sheet, one style per state.
// Main thread only.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/text/Font.h"
#include "platform/ui/Control.h"
#include "toolkit/core/TKURLRequest.h"
#include "toolkit/styled/TKStyleContext.h"

class TKButton;

// One state's title, image and style, and the loading of its image.
class TKButtonContent : public TKURLRequestDelegate, public std::enable_shared_from_this<TKButtonContent> {
 public:
  explicit TKButtonContent(TKButton* button) : button_(button) {}
  ~TKButtonContent() override;

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  const std::string& imageURL() const { return imageURL_; }
  // A new URL loads its image (the cache answers at once); none drops it.
  void setImageURL(const std::string& url);
  const std::shared_ptr<ui::Image>& image() const { return image_; }
  void setImage(std::shared_ptr<ui::Image> image) { image_ = std::move(image); }
  const std::shared_ptr<TKStyle>& style() const { return style_; }
  void setStyle(std::shared_ptr<TKStyle> style) { style_ = std::move(style); }

  void reload();
  void stopLoading();
  bool isLoading() const { return request_ != nullptr; }

  void requestDidStartLoad(TKURLRequest& request) override;
  void requestDidFinishLoad(TKURLRequest& request) override;
  void requestDidFailLoadWithError(TKURLRequest& request, const ns::Error& error) override;
  void requestDidCancelLoad(TKURLRequest& request) override;

 private:
  void redrawButton();
  TKButton* button_;  // the button owns this content
  std::string title_, imageURL_;
  std::shared_ptr<ui::Image> image_;
  std::shared_ptr<TKStyle> style_;
  std::shared_ptr<TKURLRequest> request_;
};

class TKButton : public ui::Control, public TKStyleDelegate {
 public:
  // A button of the sheet's styles of that name for each state (and the title).
  static std::shared_ptr<TKButton> buttonWithStyle(const std::string& selector);
  static std::shared_ptr<TKButton> buttonWithStyle(const std::string& selector, const std::string& title);

  explicit TKButton(cg::Rect frame = {});
  ~TKButton() override;

  // "highlighted", "selected", "disabled" or "normal", highlighting first.
  static std::string keyForState(unsigned state);
  // Made on first use; never none.
  TKButtonContent& contentForState(unsigned state);
  // Selected, else highlighted, else disabled, else normal.
  TKButtonContent& contentForCurrentState();
  std::string titleForCurrentState();
  std::shared_ptr<ui::Image> imageForCurrentState();
  std::shared_ptr<TKStyle> styleForCurrentState();
  // The explicit font, else the first text step's of the current style, else the sheet's.
  ui::Font fontForCurrentState();

  // The button's own font, else the style sheet's button font.
  ui::Font font();
  void setFont(const ui::Font& font);
  std::string titleForState(unsigned state) { return contentForState(state).title(); }
  void setTitle(const std::string& title, unsigned state);
  // The image of a state is named by its URL.
  std::string imageForState(unsigned state) { return contentForState(state).imageURL(); }
  void setImage(const std::string& imageURL, unsigned state);
  std::shared_ptr<TKStyle> styleForState(unsigned state) { return contentForState(state).style(); }
  void setStyle(std::shared_ptr<TKStyle> style, unsigned state);
  // The sheet's style of the name for each state (none where it has none).
  void setStylesWithSelector(const std::string& selector);
  // Stops the current state's image load, or starts it again when it has no image.
  void suspendLoadingImages(bool suspended);

  void setHighlighted(bool highlighted) override;
  void setSelected(bool selected) override;
  void setEnabled(bool enabled) override;

  void drawRect(cg::Context& context, cg::Rect rect) override;
  // The current style's size for the title and image; the offered size without a style.
  cg::Size sizeThatFits(cg::Size size) const override;

  bool answersTextForLayer() const override { return true; }
  std::optional<std::string> textForLayerWithStyle(TKStyle& style) override;
  bool answersImageForLayer() const override { return true; }
  std::shared_ptr<ui::Image> imageForLayerWithStyle(TKStyle& style) override;

 private:
  std::map<std::string, std::shared_ptr<TKButtonContent>> content_;
  std::optional<ui::Font> font_;
};
