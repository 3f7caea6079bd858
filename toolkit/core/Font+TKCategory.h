#pragma once
// The toolkit's line height of a font: ascender less descender plus one
// point, the height its labels, cells and editors measure lines by.
#include "platform/text/Font.h"

namespace ui {

float TKLineHeight(const Font& font);

}  // namespace ui
