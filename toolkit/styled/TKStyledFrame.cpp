#include "toolkit/styled/TKStyledFrame.h"

#include <algorithm>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/ui/Image.h"
#include "toolkit/styled/TKLaidOutText.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/styled/TKStyledNode.h"

TKStyledFrame::~TKStyledFrame() { releaseChain(std::move(nextFrame_)); }

TKStyledBoxFrame::~TKStyledBoxFrame() { releaseChain(std::move(firstChildFrame_)); }

void TKStyledFrame::releaseChain(std::shared_ptr<TKStyledFrame> frame) {
  std::vector<std::shared_ptr<TKStyledFrame>> pending;
  pending.push_back(std::move(frame));
  while (!pending.empty()) {
    std::shared_ptr<TKStyledFrame> f = std::move(pending.back());
    pending.pop_back();
    if (!f || f.use_count() != 1) continue;
    pending.push_back(std::move(f->nextFrame_));
    if (auto* box = dynamic_cast<TKStyledBoxFrame*>(f.get())) pending.push_back(std::move(box->firstChildFrame_));
  }
}

TKStyledFrame* TKStyledFrame::hitTest(cg::Point p) {
  for (TKStyledFrame* f = this; f; f = f->nextFrame_.get()) {
    auto* box = dynamic_cast<TKStyledBoxFrame*>(f);
    if (!box || !box->bounds.contains(p)) continue;
    TKStyledFrame* inner = box->firstChildFrame_ ? box->firstChildFrame_->hitTest(p) : nullptr;
    return inner ? inner : box;
  }
  return nullptr;
}

// --- box frames ------------------------------------------------------------------

namespace {

// Runs the style chain over the box; true when the chain drew the content.
bool drawStyle(cg::Context& ctx, const cg::Rect& rect, TKStyle* style, TKStyleDelegate* delegate) {
  if (!style) return false;
  TKStyleContext context(&ctx);
  context.setDelegate(delegate);
  context.setFrame(rect);
  context.setContentFrame(rect);
  style->draw(context);
  return context.didDrawContent();
}

}  // namespace

void TKStyledBoxFrame::drawInRect(cg::Context& ctx, const cg::Rect& rect) {
  if (!drawStyle(ctx, rect, style.get(), this)) drawSubframes(ctx);
}

void TKStyledBoxFrame::drawSubframes(cg::Context& ctx) { drawChain(ctx, firstChildFrame_.get()); }

void TKStyledFrame::drawChain(cg::Context& ctx, TKStyledFrame* first) {
  // Only the frames near the clip are drawn: a long document shows a screenful.
  // Marks and shadows may reach past a frame's box, so it is widened first.
  const cg::Rect clip = ctx.clipBoundingBox();
  for (TKStyledFrame* f = first; f; f = f->nextFrame().get()) {
    const cg::Rect& b = f->bounds;
    const float reach = std::max(8.0f, b.height() / 2);
    bool near = b.y() - reach < clip.y() + clip.height() && b.y() + b.height() + reach > clip.y() &&
                b.x() - reach < clip.x() + clip.width() && b.x() + b.width() + reach > clip.x();
    if (near) f->drawInRect(ctx, b);
  }
}

std::optional<ui::Font> TKStyledBoxFrame::font() const {
  return firstChildFrame_ ? firstChildFrame_->font() : std::nullopt;
}

void TKStyledBoxFrame::drawLayer(TKStyleContext& context, TKStyle& s) {
  cg::Context* g = context.graphics();
  if (!g) return;
  auto* text = dynamic_cast<TKTextStyle*>(&s);
  if (!text) {
    drawSubframes(*g);
    return;
  }
  std::optional<ui::Font> old = context.font();
  if (text->font) context.setFont(text->font);
  if (text->color) {
    g->save();
    g->setFillColor(*text->color);
    drawSubframes(*g);
    g->restore();
  } else {
    drawSubframes(*g);
  }
  context.setFont(old);
}

std::string TKStyledBoxFrame::description() const {
  std::string out;
  for (TKStyledFrame* f = firstChildFrame_.get(); f; f = f->nextFrame().get()) out += f->description();
  return out;
}

// --- text and image frames -------------------------------------------------------------

void TKStyledTextFrame::drawInRect(cg::Context& ctx, const cg::Rect& rect) {
  if (text.empty()) return;
  if (!laidOut) laidOut = std::make_shared<TKLaidOutText>(text, font_.value_or(ui::Font::systemFontOfSize(14)), wrapWidth);
  laidOut->drawAtPoint(ctx, rect.origin, ctx.fillColor());
}

void TKStyledImageFrame::drawInRect(cg::Context& ctx, const cg::Rect& rect) {
  if (!drawStyle(ctx, rect, style.get(), this)) drawImage(ctx, rect);
}

void TKStyledImageFrame::drawImage(cg::Context& ctx, const cg::Rect& rect) {
  if (!imageNode) return;
  auto image = imageNode->image ? imageNode->image : imageNode->defaultImage;
  if (!image) return;
  ctx.save();
  ctx.clipToRect(rect);
  TKDrawImageInRect(ctx, *image, rect, 1);
  ctx.restore();
}

void TKStyledImageFrame::drawLayer(TKStyleContext& context, TKStyle& s) {
  cg::Context* g = context.graphics();
  if (!g || !imageNode) return;
  auto image = imageNode->image ? imageNode->image : imageNode->defaultImage;
  g->save();
  context.shape()->addToPath(*g, context.frame());
  g->clip();
  auto* imageStyle = dynamic_cast<TKImageStyle*>(&s);
  int mode = imageStyle && imageStyle->className() == "TKImageStyle" ? imageStyle->contentMode : 1;
  if (image) TKDrawImageInRect(*g, *image, context.contentFrame(), mode);
  g->restore();
}
