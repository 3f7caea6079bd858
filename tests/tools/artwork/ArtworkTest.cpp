#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "platform/ui/Image.h"
#include "tools/artwork/Render.h"
#include "tools/contentdb/Inputs.h"

namespace fs = std::filesystem;
using namespace artwork;

namespace {

const Catalog& builtTable() {
  static const Catalog table = catalog(loadSources(ZARVEL_QURAN_JSON));
  return table;
}

std::string tempDir(const std::string& leaf) {
  std::string dir = std::string(ZARVEL_RESOURCE_DIR) + "/../test-tmp/artwork/" + leaf;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// The ".png" names a source text loads: string literals ending in ".png",
// without the "bundle://" of the toolkit's URLs.
std::set<std::string> pngLiterals(const std::string& source) {
  static const std::regex literal(R"re("(?:bundle://)?([A-Za-z0-9_~%@.\-/]*[A-Za-z0-9_~%\-]\.png)")re");
  std::set<std::string> names;
  for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
    names.insert((*it)[1]);
  return names;
}

// A name with a number pattern ("sname_%i.png") is covered by the table when
// some entry fills it in.
bool tableCovers(const std::set<std::string>& table, const std::string& name) {
  if (name.find('%') == std::string::npos) return table.count(name) > 0;
  std::string pattern;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%' && i + 1 < name.size() && std::string("idu").find(name[i + 1]) != std::string::npos) {
      pattern += "[0-9]+";
      ++i;
    } else if (std::isalnum(static_cast<unsigned char>(name[i]))) {
      pattern += name[i];
    } else {
      pattern += std::string("\\") + name[i];
    }
  }
  std::regex re(pattern);
  for (const auto& entry : table)
    if (std::regex_match(entry, re)) return true;
  return false;
}

// Names in the code that are files of the reader, not artwork.
const std::set<std::string> kNotArtwork = {
    "socialPic.png",  // the social-network picture, downloaded into Documents
    "tips-%s-%d%s.png",  // the tips' pictures, photographed from the screens by tools/tippictures
    // The toolkit's tab overflow arrows: not among this application's files, so
    // the default style sheet's overflow styles carry no picture.
    "Toolkit.bundle/images/overflowLeft.png",
    "Toolkit.bundle/images/overflowRight.png",
};

// The ink's horizontal centre of an image drawn at scale 1, in points.
double inkCentre(cairo_surface_t* s) {
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  int stride = cairo_image_surface_get_stride(s), lo = w, hi = -1;
  const unsigned char* data = cairo_image_surface_get_data(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (reinterpret_cast<const uint32_t*>(data + y * stride)[x] >> 24 > 64) {
        lo = std::min(lo, x);
        hi = std::max(hi, x);
      }
  return (lo + hi + 1) / 2.0;
}

}  // namespace

TEST(Artwork, EveryImageOfTheTableIsInTheResourcesAtBothScales) {
  std::set<std::string> seen;
  for (const Artwork& art : builtTable()) {
    EXPECT_TRUE(seen.insert(art.name).second) << art.name << " is in the table twice";
    cg::Size points{cg::Float(art.width), cg::Float(art.height)};
    if (art.besideResources) {
      for (auto [file, scale] : {std::pair{art.name, 1}, std::pair{doubleScaleName(art.name), 2}}) {
        auto image = ui::Image::imageWithContentsOfFile(std::string(ZARVEL_RESOURCE_DIR) + "/" + file);
        ASSERT_TRUE(image) << file;
        EXPECT_EQ(image->scale(), scale) << file;
        EXPECT_EQ(image->size(), points) << file;
      }
      continue;
    }
    for (int scale : {1, 2}) {
      auto image = ui::Image::imageNamed(art.name, scale);
      ASSERT_TRUE(image) << art.name << " at scale " << scale;
      EXPECT_EQ(image->scale(), scale) << art.name;  // the "@2x" file was found on a scale-2 screen
      EXPECT_EQ(image->size(), points) << art.name << " at scale " << scale;
    }
  }
  // The surah names, the basmala and the desktop icon are among them.
  for (const char* name : {"sname_1.png", "sname_114-t.png", "bismillah.png", "bismillah2.png", "zarvel-icon.png"})
    EXPECT_TRUE(seen.count(name)) << name;
}

TEST(Artwork, AStretchableImageHasNoDetailWhereItStretches) {
  // The column after the left cap and the row after the top cap are repeated
  // to fill a wider or taller frame: they must look like their neighbours, or
  // the image smears. Two glyph buttons of the note pad carry their glyph in
  // the middle and are shown at their own width.
  const std::set<std::string> glyphButtons = {"extras-arrow.png", "note-close-keyboard.png"};
  auto pixel = [](cairo_surface_t* s, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return reinterpret_cast<const uint32_t*>(row)[x];
  };
  auto near = [](uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 32; shift += 8)
      if (std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > 4) return false;
    return true;
  };
  int checked = 0;
  for (const Artwork& art : builtTable()) {
    if ((!art.leftCap && !art.topCap) || glyphButtons.count(art.name)) continue;
    ++checked;
    Surface image = render(art, 2);
    int w = art.width * 2, h = art.height * 2;
    if (art.leftCap) {
      for (int y = 0; y < h; ++y)
        for (int x : {art.leftCap * 2, art.leftCap * 2 + 1})
          for (int n : {x - 1, x + 1})
            ASSERT_TRUE(near(pixel(image.get(), x, y), pixel(image.get(), n, y)))
                << art.name << ": column " << x << " differs from " << n << " at row " << y;
    }
    if (art.topCap) {
      for (int x = 0; x < w; ++x)
        for (int y : {art.topCap * 2, art.topCap * 2 + 1})
          for (int n : {y - 1, y + 1})
            ASSERT_TRUE(near(pixel(image.get(), x, y), pixel(image.get(), x, n)))
                << art.name << ": row " << y << " differs from " << n << " at column " << x;
    }
  }
  EXPECT_GT(checked, 20);
}

TEST(Artwork, TheTableHoldsEveryImageNameTheCodeLoads) {
  std::set<std::string> table;
  for (const Artwork& art : builtTable()) table.insert(art.name);
  int files = 0;
  for (const char* folder : {"Classes", "toolkit", "src", "platform"}) {
    fs::path root = fs::path(ZARVEL_SOURCE_DIR) / folder;
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      std::string ext = entry.path().extension();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      ++files;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      for (const std::string& name : pngLiterals(text.str())) {
        if (kNotArtwork.count(name)) continue;
        EXPECT_TRUE(tableCovers(table, name)) << entry.path() << " loads \"" << name << "\", which no table entry draws";
      }
    }
  }
  EXPECT_GT(files, 0);
}

TEST(Artwork, TheCodeScannerFindsPngLiteralsAndPatterns) {
  const std::string source = R"(
      img = ui::Image::imageNamed("hud-bg.png");
      url = "bundle://Toolkit.bundle/images/backIcon.png";
      name = ns::format("sname_%i-t.png", surah);
      ext = ".png"; other = "notes.txt"; twice = "hud-bg.png";)";
  EXPECT_EQ(pngLiterals(source),
            (std::set<std::string>{"hud-bg.png", "Toolkit.bundle/images/backIcon.png", "sname_%i-t.png"}));

  const std::set<std::string> table = {"sname_1.png", "sname_1-t.png", "hud-bg.png"};
  const std::pair<const char*, bool> cases[] = {
      {"hud-bg.png", true}, {"sname_%i.png", true}, {"sname_%i-t.png", true},
      {"hud-bg-light.png", false}, {"sname_%i-x.png", false}, {"sname_.png", false},
  };
  for (auto [name, covered] : cases) EXPECT_EQ(tableCovers(table, name), covered) << name;
}

TEST(Artwork, ChecksRefuseABlankImageAndCapsWithoutAMiddle) {
  auto dot = [](Canvas& c) {
    circle(c.cr, c.w / 2, c.h / 2, 2);
    fill(c.cr, palette::ink);
  };
  struct Case {
    Artwork art;
    bool passes;
  };
  const Case cases[] = {
      {{"good.png", 10, 8, 4, 3, dot}, true},
      {{"blank.png", 10, 8, 0, 0, [](Canvas&) {}}, false},
      {{"caps-too-wide.png", 10, 8, 5, 0, dot}, false},
      {{"caps-too-tall.png", 10, 8, 0, 4, dot}, false},
  };
  for (const Case& c : cases)
    for (int scale : {1, 2}) {
      Surface s = render(c.art, scale);
      EXPECT_EQ(cairo_image_surface_get_width(s.get()), c.art.width * scale);
      EXPECT_EQ(checkImage(c.art, s.get(), scale).empty(), c.passes) << c.art.name << " at " << scale;
    }
}

TEST(Artwork, WritingReplacesNothingWhenOneImageFails) {
  auto dot = [](Canvas& c) {
    cairo_rectangle(c.cr, 0, 0, c.w, c.h);
    fill(c.cr, palette::accent);
  };
  std::string dir = tempDir("write");
  Catalog good = {{"a.png", 4, 3, 0, 0, dot}, {"Sub.bundle/images/b.png", 2, 2, 0, 0, dot},
                  {"icon.png", 8, 8, 0, 0, dot, true}};
  writeAll(good, dir);
  for (const char* file : {"images/a.png", "images/a@2x.png", "images/Sub.bundle/images/b@2x.png", "icon.png",
                           "icon@2x.png"})
    EXPECT_TRUE(fs::exists(dir + "/" + file)) << file;
  auto big = ui::Image::imageWithContentsOfFile(dir + "/images/a@2x.png");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->cgImage()->width(), 8);

  std::string fresh = tempDir("write-failing");
  Catalog failing = good;
  failing.push_back({"blank.png", 4, 4, 0, 0, [](Canvas&) {}});
  try {
    writeAll(failing, fresh);
    ADD_FAILURE() << "a blank image was accepted";
  } catch (const ArtworkError& e) {
    EXPECT_NE(std::string(e.what()).find("blank.png"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(fs::is_empty(fresh));
}

TEST(Artwork, SourcesComeFromThePinnedQuranText) {
  Sources s = loadSources(ZARVEL_QURAN_JSON);
  ASSERT_EQ(s.surahNames.size(), 114u);
  EXPECT_EQ(s.surahNames[0], "\u0627\u0644\u0641\u0627\u062A\u062D\u0629");  // Al-Fatiha
  EXPECT_EQ(s.surahNames[113], "\u0627\u0644\u0646\u0627\u0633");            // An-Nas
  EXPECT_EQ(s.basmala.rfind("\u0628\u0650\u0633", 0), 0u);
  EXPECT_FALSE(s.sampleVerse.empty());
  ASSERT_EQ(s.nameOffsets.size(), 114u);
  EXPECT_EQ(s.nameOffsets[10], 21);  // Hud

  std::string other = tempDir("sources") + "/quran.json";
  std::ofstream(other) << "[]";
  EXPECT_THROW(loadSources(other), contentdb::InputError);
}

TEST(Artwork, SurahNamesLineUpOnOneAxisOnceTheListsOffsetThem) {
  // The lists place a name image at x + the surah's offset; the names' centres
  // then fall on one line, whatever their length.
  const Sources s = loadSources(ZARVEL_QURAN_JSON);
  std::map<std::string, const Artwork*> byName;
  for (const Artwork& art : builtTable()) byName[art.name] = &art;
  for (int surah : {1, 2, 11, 22, 51, 109, 112, 114}) {
    for (const char* form : {"sname_%d.png", "sname_%d-t.png"}) {
      char name[32];
      std::snprintf(name, sizeof name, form, surah);
      ASSERT_TRUE(byName.count(name)) << name;
      Surface image = render(*byName[name], 1);
      EXPECT_NEAR(inkCentre(image.get()) + s.nameOffsets[surah - 1], 47 + 13, 1.5) << name;
    }
  }
}
