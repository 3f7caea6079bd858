#include "toolkit/styled/TKArchive.h"

#include "platform/graphics/Image.h"
#include "platform/ui/Image.h"

namespace tkarchive {

bool isValidName(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':';
    if (!ok) return false;
  }
  return true;
}

ns::Value encodeSize(cg::Size s) { return ns::Array{s.width, s.height}; }

ns::Value encodeInsets(const cg::EdgeInsets& e) { return ns::Array{e.top, e.left, e.bottom, e.right}; }

ns::Value encodeColor(const std::optional<cg::Color>& c) {
  if (!c) return {};
  return ns::Array{c->r, c->g, c->b, c->a};
}

ns::Value encodeFont(const std::optional<ui::Font>& f) {
  if (!f) return {};
  return ns::Dictionary{{"name", f->fontName()}, {"size", f->pointSize()}};
}

ns::Value encodeImage(const std::shared_ptr<ui::Image>& image) {
  if (!image || !image->cgImage()) return {};
  return image->cgImage()->pngData();
}

cg::Size decodeSize(const ns::Value& v) { return {v[0].floatValue(), v[1].floatValue()}; }

cg::EdgeInsets decodeInsets(const ns::Value& v) {
  return {v[0].floatValue(), v[1].floatValue(), v[2].floatValue(), v[3].floatValue()};
}

std::optional<cg::Color> decodeColor(const ns::Value& v) {
  if (!v.isArray() || v.count() != 4) return std::nullopt;
  return cg::Color(v[0].floatValue(), v[1].floatValue(), v[2].floatValue(), v[3].floatValue());
}

std::optional<ui::Font> decodeFont(const ns::Value& v) {
  if (!v.isDictionary() || !v["name"].isString()) return std::nullopt;
  float size = v["size"].floatValue();
  if (!(size > 0 && size < 1000)) return std::nullopt;
  return ui::Font::fontWithName(v["name"].string(), size);
}

std::shared_ptr<ui::Image> decodeImage(const ns::Value& v) {
  if (!v.isData()) return nullptr;
  return ui::Image::imageWithData(v.data());
}

}  // namespace tkarchive
