#pragma once
// Drawing the table into files: each image at scale 1 and 2, checked, and
// renamed into place only when every image passed.
#include <cairo.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "tools/artwork/Catalog.h"

namespace artwork {

class ArtworkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Surface = std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)>;

// The image drawn at a scale: (width x scale) by (height x scale) pixels.
Surface render(const Artwork& art, int scale);

// Why the image cannot ship (empty when it can): a wrong size, or nothing drawn.
std::string checkImage(const Artwork& art, cairo_surface_t* surface, int scale);

// Writes every image of the table under resourceDir: "images/<name>" and
// "images/<name@2x>", or beside the resources for the desktop icon. Draws on
// several threads. Throws ArtworkError naming the first image that failed;
// nothing is replaced then.
void writeAll(const Catalog& table, const std::string& resourceDir);

// One PNG that shows every image at scale 2 with its name, for review.
void writeSheet(const Catalog& table, const std::string& path);

// The Quran text's data the images need, from quran-json's pinned quran.json.
Sources loadSources(const std::string& quranJsonPath);

}  // namespace artwork
