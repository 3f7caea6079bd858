#include "platform/graphics/ScaledImageCache.h"

#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/graphics/Image.h"

namespace cg::detail {

namespace {

struct Key {
  const void* surface;
  std::int64_t sx, sy, sw, sh, dx, dy, dw, dh;  // 1/10000 of a pixel
  friend bool operator<(const Key& a, const Key& b) {
    return std::tie(a.surface, a.sx, a.sy, a.sw, a.sh, a.dx, a.dy, a.dw, a.dh) <
           std::tie(b.surface, b.sx, b.sy, b.sw, b.sh, b.dx, b.dy, b.dw, b.dh);
  }
};

struct Entry {
  cairo_surface_t* copy;
  std::size_t bytes;
  std::uint64_t used;
};

struct Cache {
  std::mutex mutex;
  std::map<Key, Entry> entries;
  std::size_t bytes = 0;
  std::uint64_t clock = 0;
  // Keys asked for in one picture only, with that picture, not kept: a copy
  // is kept once its size is asked for in a second picture, so the passing
  // sizes of an animation never fill the budget and push out those that stay.
  std::map<Key, std::uint64_t> seen;
  std::deque<Key> seenOrder;
  std::uint64_t picture = 0;
  static constexpr std::size_t kSeenCapacity = 1024;

  // True when the key was asked for in an earlier picture (among the last seen).
  bool askedBefore(const Key& key) {
    auto it = seen.find(key);
    if (it != seen.end()) {
      if (it->second == picture) return false;
      seen.erase(it);  // its place in seenOrder is dropped when it comes up
      return true;
    }
    seen.emplace(key, picture);
    seenOrder.push_back(key);
    while (seenOrder.size() > kSeenCapacity) {
      auto old = seen.find(seenOrder.front());
      if (old != seen.end()) seen.erase(old);
      seenOrder.pop_front();
    }
    return false;
  }

  void drop(std::map<Key, Entry>::iterator it) {
    bytes -= it->second.bytes;
    cairo_surface_destroy(it->second.copy);
    entries.erase(it);
  }
  void evictTo(std::size_t budget) {
    while (bytes > budget && !entries.empty()) {
      auto oldest = entries.begin();
      for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it->second.used < oldest->second.used) oldest = it;
      drop(oldest);
    }
  }
};

Cache& cache() {
  static Cache* c = new Cache;  // lives as long as any surface may be destroyed
  return *c;
}

// The source's copies go when it does.
const cairo_user_data_key_t kWatchKey{};
void sourceDestroyed(void* surface) {
  Cache& c = cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  for (auto it = c.entries.lower_bound(Key{surface, INT64_MIN, INT64_MIN, INT64_MIN, INT64_MIN, INT64_MIN, INT64_MIN,
                                           INT64_MIN, INT64_MIN});
       it != c.entries.end() && it->first.surface == surface;)
    c.drop(it++);
}

std::int64_t fixed(double v) { return std::llround(v * 10000); }

// The part of the bitmap smoothed into the device rect, on a bitmap whose
// first pixel is device pixel (x, y).
cairo_surface_t* draw(cairo_surface_t* surface, const Rect& source, const Rect& device, int x, int y, int w, int h) {
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(copy);
  int pw = cairo_image_surface_get_width(surface), ph = cairo_image_surface_get_height(surface);
  // A part is drawn from a view of just that part, so smoothing at its edges
  // never reaches the pixels around it.
  cairo_surface_t* view = nullptr;
  Rect src = source;
  if (!(source == Rect(0, 0, Float(pw), Float(ph)))) {
    Rect whole = source.integral().intersection(Rect(0, 0, Float(pw), Float(ph)));
    view = cairo_surface_create_for_rectangle(surface, whole.x(), whole.y(), whole.width(), whole.height());
    src = source.offsetBy(-whole.x(), -whole.y());
  }
  cairo_pattern_t* p = cairo_pattern_create_for_surface(view ? view : surface);
  Rect at(device.x() - Float(x), device.y() - Float(y), device.width(), device.height());
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, src.width() / at.width(), src.height() / at.height());
  cairo_matrix_translate(&m, -at.x(), -at.y());
  m.x0 += src.x();
  m.y0 += src.y();
  cairo_pattern_set_matrix(p, &m);
  cairo_pattern_set_filter(p, CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
  cairo_rectangle(cr, at.x(), at.y(), at.width(), at.height());
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  if (view) cairo_surface_destroy(view);
  cairo_destroy(cr);
  cairo_surface_flush(copy);
  return copy;
}

}  // namespace

cairo_surface_t* scaledCopy(cairo_surface_t* surface, const Rect& source, const Rect& device, int& x, int& y) {
  x = int(std::floor(device.minX()));
  y = int(std::floor(device.minY()));
  int w = int(std::ceil(device.maxX())) - x, h = int(std::ceil(device.maxY())) - y;
  std::size_t bytes = std::size_t(std::max(w, 0)) * std::size_t(std::max(h, 0)) * 4;
  // A copy wider or higher than a bitmap can be is not made: cairo would
  // give an error surface, and painting it would stop the context drawing.
  if (w <= 0 || h <= 0 || w > Image::kMaxSide || h > Image::kMaxSide || bytes > kScaledCopyBudget / 8) return nullptr;
  Key key{surface, fixed(source.x()), fixed(source.y()), fixed(source.width()), fixed(source.height()),
          fixed(device.x() - x), fixed(device.y() - y), fixed(device.width()), fixed(device.height())};
  Cache& c = cache();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (auto it = c.entries.find(key); it != c.entries.end()) {
      it->second.used = ++c.clock;
      return cairo_surface_reference(it->second.copy);
    }
  }
  cairo_surface_t* copy = draw(surface, source, device, x, y, w, h);
  std::lock_guard<std::mutex> lock(c.mutex);
  if (!c.entries.count(key) && !c.askedBefore(key)) return copy;  // drawn the same way, not kept
  if (!cairo_surface_get_user_data(surface, &kWatchKey))
    cairo_surface_set_user_data(surface, &kWatchKey, surface, sourceDestroyed);
  auto [it, added] = c.entries.emplace(key, Entry{copy, bytes, ++c.clock});
  if (!added) {  // another thread made it meanwhile
    cairo_surface_destroy(copy);
    it->second.used = c.clock;
    return cairo_surface_reference(it->second.copy);
  }
  c.bytes += bytes;
  cairo_surface_t* result = cairo_surface_reference(copy);
  c.evictTo(kScaledCopyBudget);
  return result;
}

void beginScaledCopyPicture() {
  Cache& c = cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  ++c.picture;
}

std::size_t scaledCopyBytes() {
  Cache& c = cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  return c.bytes;
}

}  // namespace cg::detail
