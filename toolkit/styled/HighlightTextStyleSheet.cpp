#include "toolkit/styled/HighlightTextStyleSheet.h"

#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"

HighlightTextStyleSheet::HighlightTextStyleSheet() {
  registerStyle("yellowBox", [](unsigned) -> std::shared_ptr<TKStyle> {
    return TKShapeStyle::styleWithShape(
        TKRoundedRectangleShape::shapeWithRadius(2),
        TKInsetStyle::styleWithInset({0, -1, -2, -1}, TKSolidFillStyle::styleWithColor(cg::Color::white(), nullptr)));
  });
  registerStyle("whiteBox", [](unsigned) -> std::shared_ptr<TKStyle> {
    return TKTextStyle::styleWithColor(cg::Color::white(), nullptr);
  });
}
