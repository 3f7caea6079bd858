#include "tools/artwork/Catalog.h"

namespace artwork {

namespace {

std::string withSuffix(const std::string& name, const std::string& suffix) {
  std::size_t dot = name.rfind('.');
  return name.substr(0, dot) + suffix + name.substr(dot);
}

}  // namespace

std::string doubleScaleName(const std::string& name) { return withSuffix(name, "@2x"); }

void add(Catalog& out, std::string name, int w, int h, std::function<void(Canvas&)> draw, int leftCap,
         int topCap) {
  out.push_back({std::move(name), w, h, leftCap, topCap, std::move(draw), false});
}

void addPair(Catalog& out, const std::string& name, const std::string& suffix, int w, int h,
             std::function<void(Canvas&, bool)> draw, int leftCap, int topCap) {
  add(out, name, w, h, [draw](Canvas& c) { draw(c, false); }, leftCap, topCap);
  add(out, withSuffix(name, suffix), w, h, [draw](Canvas& c) { draw(c, true); }, leftCap, topCap);
}

Catalog catalog(const Sources& sources) {
  Catalog out;
  addBars(out);
  addMarks(out);
  addIcons(out);
  addFlags(out);
  addQuranic(out, sources);
  return out;
}

}  // namespace artwork
