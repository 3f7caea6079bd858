#include "toolkit/core/Font+TKCategory.h"

namespace ui {

float TKLineHeight(const Font& font) { return font.ascender() - font.descender() + 1; }

}  // namespace ui
