#pragma once
// The table of every image the screens name: its file name as the code loads
// it, its size in points, the stretch caps its users give, and the function
// that draws it. The build writes each at scale 1 and at scale 2 ("@2x").
#include <functional>
#include <string>
#include <vector>

#include "tools/artwork/Paint.h"

namespace artwork {

struct Artwork {
  std::string name;       // "hud-bg.png", "Toolkit.bundle/images/searchIcon.png"
  int width = 0, height = 0;
  int leftCap = 0, topCap = 0;  // 0: the users do not stretch that axis
  std::function<void(Canvas&)> draw;
  bool besideResources = false;  // written to the resource folder itself, not images/
};

// What the drawing reads from the Quran text: the 114 surah names in Arabic,
// the basmala (verse 1:1) and the verse of the font-size previews (1:2); and
// the offsets the lists add to a surah-name image's x, which the image takes
// back so that the names line up on one axis.
struct Sources {
  std::vector<std::string> surahNames;  // index 0 is surah 1
  std::vector<int> nameOffsets;         // points, index 0 is surah 1
  std::string basmala;
  std::string sampleVerse;
};

using Catalog = std::vector<Artwork>;

// The whole table, in a stable order.
Catalog catalog(const Sources& sources);

// The families of the table, one file each.
void addBars(Catalog& out);        // bars, buttons, rows, panels and backgrounds
void addMarks(Catalog& out);       // verse numbers, juz, hizb and sajda marks
void addIcons(Catalog& out);       // tabs, menus, audio states, HUD and small icons
void addFlags(Catalog& out);       // the translation languages' flags
void addQuranic(Catalog& out, const Sources& sources);  // surah names, basmala, previews, signs, icon

// Helpers for the families: a plain entry and a normal/pressed pair, the
// pressed one named with suffix before ".png" (usually "-t").
void add(Catalog& out, std::string name, int w, int h, std::function<void(Canvas&)> draw,
         int leftCap = 0, int topCap = 0);
void addPair(Catalog& out, const std::string& name, const std::string& suffix, int w, int h,
             std::function<void(Canvas&, bool pressed)> draw, int leftCap = 0, int topCap = 0);

// The file name with "@2x" before the extension.
std::string doubleScaleName(const std::string& name);

}  // namespace artwork
