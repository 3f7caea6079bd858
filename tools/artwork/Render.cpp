#include "tools/artwork/Render.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace artwork {

namespace fs = std::filesystem;

Surface render(const Artwork& art, int scale) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, art.width * scale, art.height * scale),
                  cairo_surface_destroy);
  cairo_t* cr = cairo_create(surface.get());
  cairo_scale(cr, scale, scale);
  Canvas canvas{cr, double(art.width), double(art.height)};
  art.draw(canvas);
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  return surface;
}

std::string checkImage(const Artwork& art, cairo_surface_t* surface, int scale) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return "cairo failed to draw it";
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  if (w != art.width * scale || h != art.height * scale)
    return "drawn at " + std::to_string(w) + "x" + std::to_string(h) + " pixels";
  if ((art.leftCap && art.leftCap * 2 >= art.width) || (art.topCap && art.topCap * 2 >= art.height))
    return "its caps leave no stretchable middle";
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x)
      if (row[x] >> 24) return "";
  }
  return "nothing is drawn";
}

namespace {

std::string pathFor(const Artwork& art, int scale, const std::string& dir) {
  std::string name = scale == 2 ? doubleScaleName(art.name) : art.name;
  return dir + "/" + name;
}

}  // namespace

void writeAll(const Catalog& table, const std::string& resourceDir) {
  std::string staging = resourceDir + "/.artwork-staging";
  fs::remove_all(staging);
  // Images in staging/images/, the desktop icon in staging/ itself.
  std::atomic<std::size_t> next{0};
  std::mutex errorMutex;
  std::string firstError;
  auto work = [&]() {
    for (std::size_t i; (i = next++) < table.size();) {
      const Artwork& art = table[i];
      std::string dir = staging + (art.besideResources ? "" : "/images");
      for (int scale : {1, 2}) {
        Surface surface = render(art, scale);
        std::string problem = checkImage(art, surface.get(), scale);
        std::string path = pathFor(art, scale, dir);
        if (problem.empty()) {
          std::error_code ec;
          fs::create_directories(fs::path(path).parent_path(), ec);
          if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
            problem = "cannot be written to " + path;
        }
        if (!problem.empty()) {
          std::lock_guard<std::mutex> lock(errorMutex);
          if (firstError.empty()) firstError = art.name + (scale == 2 ? " (@2x)" : "") + ": " + problem;
          return;
        }
      }
    }
  };
  unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < count; ++t) threads.emplace_back(work);
  for (auto& t : threads) t.join();
  if (!firstError.empty()) {
    fs::remove_all(staging);
    throw ArtworkError(firstError);
  }
  // Every image passed: move each file into place (a rename each).
  for (const auto& entry : fs::recursive_directory_iterator(staging)) {
    if (!entry.is_regular_file()) continue;
    fs::path target = fs::path(resourceDir) / fs::relative(entry.path(), staging);
    fs::create_directories(target.parent_path());
    fs::rename(entry.path(), target);
  }
  fs::remove_all(staging);
}

void writeSheet(const Catalog& table, const std::string& path) {
  // A grid of cells, each holding one image at scale 2 over a checker that
  // shows its transparency, with its name and size below.
  const int scale = 2, cellW = 300, pad = 12, labelH = 26;
  const int columns = 8;
  std::vector<int> rowHeights;
  for (std::size_t i = 0; i < table.size(); i += columns) {
    int tallest = 0;
    for (std::size_t j = i; j < std::min(i + columns, table.size()); ++j) {
      double fit = std::min(1.0, double(cellW - 2 * pad) / (table[j].width * scale));
      tallest = std::max(tallest, int(table[j].height * scale * fit));
    }
    rowHeights.push_back(tallest + labelH + 2 * pad);
  }
  int width = columns * cellW, height = 0;
  for (int h : rowHeights) height += h;
  Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
  cairo_t* cr = cairo_create(sheet.get());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  int y = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Artwork& art = table[i];
    int col = int(i % columns), row = int(i / columns);
    if (col == 0 && row > 0) y += rowHeights[row - 1];
    double x0 = col * cellW + pad, y0 = y + pad;
    double fit = std::min(1.0, double(cellW - 2 * pad) / (art.width * scale));
    double w = art.width * scale * fit, h = art.height * scale * fit;
    for (int cy = 0; cy < int(h); cy += 8)
      for (int cx = 0; cx < int(w); cx += 8) {
        bool dark = ((cx + cy) / 8) % 2;
        cairo_rectangle(cr, x0 + cx, y0 + cy, std::min(8.0, w - cx), std::min(8.0, h - cy));
        cairo_set_source_rgb(cr, dark ? 0.86 : 0.94, dark ? 0.86 : 0.94, dark ? 0.86 : 0.94);
        cairo_fill(cr);
      }
    Surface image = render(art, scale);
    cairo_save(cr);
    cairo_translate(cr, x0, y0);
    cairo_scale(cr, fit, fit);
    cairo_set_source_surface(cr, image.get(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    std::string label = art.name + "  " + std::to_string(art.width) + "x" + std::to_string(art.height);
    if (art.leftCap || art.topCap)
      label += " caps " + std::to_string(art.leftCap) + "," + std::to_string(art.topCap);
    cairo_save(cr);
    cairo_rectangle(cr, x0, y0 + h, cellW - 2 * pad, labelH);  // a long name stays in its cell
    cairo_clip(cr);
    text(cr, label, Box{x0, y0 + h + 4, double(cellW - 2 * pad), 16},
         TextStyle{"Sans", 11, false, palette::ink, Align::left});
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  if (cairo_surface_write_to_png(sheet.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
    throw ArtworkError("cannot write the contact sheet " + path);
}

}  // namespace artwork
