#include "Classes/notes/DTNotePadView.h"

#include "platform/graphics/Context.h"
#include "platform/ui/Keyboard.h"

// The pad is its text view's delegate; the platform's delegate pointer is
// weak, so a small forwarder owned by the pad stands in for it.
class DTNotePadView::TextDelegate : public ui::TextViewDelegate {
 public:
  explicit TextDelegate(DTNotePadView* pad) : pad_(pad) {}
  void scrollViewDidScroll(ui::ScrollView* scrollView) override { pad_->scrollViewDidScroll(scrollView); }
  void textViewDidBeginEditing(ui::TextView&) override {
    if (auto d = pad_->delegate_.lock()) d->notePadViewDidBeginEditing(*pad_);
  }
  void textViewDidChange(ui::TextView&) override {
    if (auto d = pad_->delegate_.lock()) d->notePadViewDidChange(*pad_);
  }
  void textViewDidEndEditing(ui::TextView&) override {
    if (auto d = pad_->delegate_.lock()) d->notePadViewDidEndEditing(*pad_);
  }

 private:
  DTNotePadView* pad_;  // the pad owns this forwarder
};

LinesView::LinesView(cg::Rect frame) : ui::View(frame) {
  setUserInteractionEnabled(false);
  setOpaque(false);
  setBackgroundColor(cg::Color::clear());
}

void LinesView::drawRect(cg::Context& context, cg::Rect) {
  context.setStrokeColor(cg::Color(166 / 255.0f, 166 / 255.0f, 166 / 255.0f, 0.5f));
  context.setShouldAntialias(false);
  context.setLineWidth(1);
  float width = frame().width(), height = frame().height();
  for (float y = kFirstLine; y < height; y += kLineSpacing) {
    context.beginPath();
    context.moveTo({0, y});
    context.lineTo({width, y});
    context.strokePath();
  }
}

std::shared_ptr<DTNotePadView> DTNotePadView::create(cg::Rect frame) {
  return std::make_shared<DTNotePadView>(frame);
}

DTNotePadView::DTNotePadView(cg::Rect frame) : ui::View(frame) { setup(); }

DTNotePadView::~DTNotePadView() {
  if (textView_) textView_->setContentSizeObserver(nullptr);
}

void DTNotePadView::setup() {
  float W = frame().width(), H = frame().height();
  setAutoresizesSubviews(true);
  setClipsToBounds(true);

  linesView_ = std::make_shared<LinesView>(frame());
  linesView_->setContentMode(ui::ContentMode::Redraw);
  linesView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  addSubview(linesView_);

  textView_ = std::make_shared<ui::TextView>(cg::Rect(24, 0, W - 24, H));
  textView_->setContentInset(cg::EdgeInsets{8, 0, 0, 0});
  textView_->setAlwaysBounceVertical(true);
  textView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  addSubview(textView_);
  textDelegate_ = std::make_shared<TextDelegate>(this);
  textView_->setDelegate(textDelegate_);
  textView_->setFont(ui::Font::fontWithName("Helvetica-Bold", 15));
  textView_->setLineHeight(LinesView::kLineSpacing);  // the text keeps to the ruling
  textView_->setTextAlignment(ui::TextAlignment::Natural);  // an Arabic paragraph at the right
  textView_->setOpaque(false);
  textView_->setBackgroundColor(cg::Color::clear());

  textView_->setContentSizeObserver([this](cg::Size size) { contentSizeDidChange(size); });
  scrollViewDidScroll(textView_.get());
  linesView_->setFrame(cg::Rect(0, 8, W, H));
}

// Our scroll view rests at minus its top inset where the tablet's stayed at
// zero, so the offset is counted from that rest: the ruling sits under the
// text lines at rest and moves with every point scrolled.
void DTNotePadView::scrollViewDidScroll(ui::ScrollView* scrollView) {
  if (!scrollView) return;
  float scrolled = scrollView->contentOffset().y + scrollView->contentInset().top;
  linesView_->setTransform(cg::AffineTransform::translation(0, -scrolled));
}

void DTNotePadView::contentSizeDidChange(cg::Size size) {
  cg::Rect f = linesView_->frame();
  linesView_->setFrame(cg::Rect(f.x(), f.y(), f.width(), size.height + 2 * frame().height()));
}

// ---- keyboard following ---------------------------------------------------------------------

void DTNotePadView::animateLikeKeyboard(const ns::Value& userInfo, const std::function<void()>& change) {
  ui::View::beginAnimations("NotePadKeyboard");
  ui::View::setAnimationDuration(userInfo[ui::KeyboardAnimationDurationUserInfoKey].doubleValue());
  ui::View::setAnimationCurve(
      static_cast<ui::AnimationCurve>(int(userInfo[ui::KeyboardAnimationCurveUserInfoKey].doubleValue())));
  change();
  ui::View::commitAnimations();
}

void DTNotePadView::liftMainViewWhenKeybordAppears(const ns::Value& userInfo) {
  cg::Rect keyboard = ui::keyboardRect(userInfo, ui::KeyboardFrameEndUserInfoKey);
  float keyboardTop = convertPointFromView(keyboard.origin, nullptr).y;
  animateLikeKeyboard(userInfo, [&] {
    cg::Rect f = textView_->frame();
    textView_->setFrame(cg::Rect(f.x(), f.y(), f.width(), keyboardTop - f.y()));
  });
}

void DTNotePadView::returnMainViewToInitialposition(const ns::Value& userInfo) {
  animateLikeKeyboard(userInfo, [&] {
    textView_->setFrame(cg::Rect(24, 0, frame().width() - 24, frame().height()));
  });
}
