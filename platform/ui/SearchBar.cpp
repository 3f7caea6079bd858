#include "platform/ui/SearchBar.h"

#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/ControlDrawing.h"

namespace ui {

namespace {

const cg::Color kDefaultTint = cg::Color::fromRGB255(140, 158, 184);
constexpr float kCancelWidth = 70;

// The tinted bar behind the field.
class Background : public View {
 public:
  cg::Color tint = kDefaultTint;
  void drawRect(cg::Context& context, cg::Rect) override {
    cg::Rect b = bounds();
    context.drawLinearGradient({scaledColor(tint, 1.2f), scaledColor(tint, 0.85f)}, {0, 1}, {0, b.minY()}, {0, b.maxY()});
    context.setFillColor(scaledColor(tint, 0.55f));
    context.fillRect(cg::Rect(b.x(), b.maxY() - 1, b.width(), 1));
  }
};

// A capsule with a magnifying glass before the text.
class SearchField : public TextField {
 public:
  using TextField::TextField;
  cg::Rect textRectForBounds(cg::Rect b) const override {
    float clear = clearButtonRect().isEmpty() ? 0 : 25;
    return cg::Rect(b.x() + 28, b.y(), std::max(0.0f, b.width() - 38 - clear), b.height());
  }
  void drawRect(cg::Context& context, cg::Rect rect) override {
    cg::Rect b = bounds().insetBy(0.5f, 0.5f);
    fillRoundedRect(context, b, b.height() / 2, cg::Color::white());
    strokeRoundedRect(context, b, b.height() / 2, cg::Color::gray(0.5f));
    float cy = b.midY() - 1.5f;
    context.setStrokeColor(cg::Color::gray(0.45f));
    context.setLineWidth(1.8f);
    context.beginPath();
    context.addEllipseInRect(cg::Rect(11, cy - 5, 10, 10));
    context.strokePath();
    context.beginPath();
    context.moveTo({19.5f, cy + 3.5f});
    context.lineTo({23.5f, cy + 7.5f});
    context.strokePath();
    TextField::drawRect(context, rect);
  }
};

}  // namespace

// The field's delegate, speaking for the bar.
class SearchBar::FieldDelegate : public TextFieldDelegate {
 public:
  explicit FieldDelegate(SearchBar& bar) : bar_(bar) {}
  bool textFieldShouldBeginEditing(TextField&) override {
    auto d = bar_.delegate();
    return !d || d->searchBarShouldBeginEditing(bar_);
  }
  void textFieldDidBeginEditing(TextField&) override {
    if (auto d = bar_.delegate()) d->searchBarTextDidBeginEditing(bar_);
  }
  bool textFieldShouldEndEditing(TextField&) override {
    auto d = bar_.delegate();
    return !d || d->searchBarShouldEndEditing(bar_);
  }
  void textFieldDidEndEditing(TextField&) override {
    if (auto d = bar_.delegate()) d->searchBarTextDidEndEditing(bar_);
  }
  bool shouldChangeCharactersInRange(TextField&, ns::Range range, const std::string& text) override {
    auto d = bar_.delegate();
    return !d || d->shouldChangeTextInRange(bar_, range, text);
  }
  bool textFieldShouldReturn(TextField&) override {
    if (auto d = bar_.delegate()) d->searchBarSearchButtonClicked(bar_);
    return true;
  }

 private:
  SearchBar& bar_;  // the bar owns this delegate
};

SearchBar::SearchBar(cg::Rect frame) : View(cg::Rect(frame.origin, {frame.width(), kHeight})) {
  background_ = std::make_shared<Background>();
  background_->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
  field_ = std::make_shared<SearchField>();
  field_->setFont(Font::systemFontOfSize(15));
  field_->setClearButtonMode(TextFieldViewMode::WhileEditing);
  field_->setReturnKeyType(ReturnKeyType::Search);
  fieldDelegate_ = std::make_shared<FieldDelegate>(*this);
  field_->setDelegate(fieldDelegate_);
  field_->addTarget(this, [this](Control&) {
    auto keep = weak_from_this().lock();
    if (auto d = delegate()) d->textDidChange(*this, field_->text());
  }, ControlEventEditingChanged);
  cancel_ = Button::buttonWithType(ButtonType::RoundedRect);
  cancel_->setTitle("Cancel", ControlStateNormal);
  cancel_->titleLabel()->setFont(Font::boldSystemFontOfSize(12));
  cancel_->setHidden(true);
  cancel_->addTarget(this, [this](Control&) {
    auto keep = weak_from_this().lock();
    if (auto d = delegate()) d->searchBarCancelButtonClicked(*this);
  }, ControlEventTouchUpInside);
  addSubview(background_);
  addSubview(field_);
  addSubview(cancel_);
  setNeedsLayout();
}

void SearchBar::setText(const std::string& text) {
  if (text == field_->text()) return;
  field_->setText(text);
  auto keep = weak_from_this().lock();
  if (auto d = delegate()) d->textDidChange(*this, text);
}

void SearchBar::setShowsCancelButton(bool shows, bool) {
  showsCancel_ = shows;
  cancel_->setHidden(!shows);
  setNeedsLayout();
  layoutIfNeeded();
}

void SearchBar::setTintColor(std::optional<cg::Color> tint) {
  tint_ = tint;
  static_cast<Background*>(background_.get())->tint = tint.value_or(kDefaultTint);
  background_->setNeedsDisplay();
}

void SearchBar::layoutSubviews() {
  cg::Rect b = bounds();
  background_->setFrame(b);
  float right = showsCancel_ ? kCancelWidth + 5 : 0;
  field_->setFrame(cg::Rect(5, std::floor((b.height() - 31) / 2), std::max(0.0f, b.width() - 10 - right), 31));
  cancel_->setFrame(cg::Rect(b.width() - kCancelWidth - 5, std::floor((b.height() - 30) / 2), kCancelWidth, 30));
}

}  // namespace ui
