#include "platform/text/Font.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/foundation/String.h"
#include "platform/text/PangoShared.h"

namespace ui {

namespace {

// The one table of faces the platform's font names map to: Liberation's
// faces share Helvetica's, Arial's and Times's metrics, so texts fit the
// frames designed for them; DejaVu stands in where they are not installed.
// "GeezaPro" and the other Arabic interface faces map to a naskh face.
// scripts/setup installs every package named here.
struct Face {
  const char* preferred;  // fonts-liberation2
  const char* fallback;   // fonts-dejavu-core
};
constexpr Face kSansFace{"Liberation Sans", "DejaVu Sans"};
constexpr Face kSerifFace{"Liberation Serif", "DejaVu Serif"};
constexpr Face kMonoFace{"Liberation Mono", "DejaVu Sans Mono"};
constexpr Face kArabicFace{"Amiri", "DejaVu Sans"};  // fonts-hosny-amiri

bool isInstalled(const char* family) {
  static const std::vector<std::string> families = [] {
    std::vector<std::string> names;
    std::lock_guard<std::mutex> lock(detail::pangoMutex());
    PangoFontFamily** list = nullptr;
    int n = 0;
    pango_font_map_list_families(pango_context_get_font_map(detail::sharedPangoContext()), &list, &n);
    for (int i = 0; i < n; ++i) names.push_back(ns::lowercase(pango_font_family_get_name(list[i])));
    g_free(list);
    return names;
  }();
  return std::find(families.begin(), families.end(), ns::lowercase(family)) != families.end();
}

std::string installedFamily(const Face& face) {
  return isInstalled(face.preferred) ? face.preferred : face.fallback;
}

struct Mapped {
  std::string family;
  bool bold = false;
  bool italic = false;
};

// The platform's font names to installed families: "<Family>[-<Style>]".
Mapped mapFontName(const std::string& name) {
  std::string lower = ns::lowercase(name);
  Mapped m;
  std::size_t dash = lower.find('-');
  std::string family = lower.substr(0, dash);
  std::string style = dash == std::string::npos ? std::string() : lower.substr(dash + 1);
  m.bold = ns::contains(style, "bold") || ns::contains(style, "black") || ns::contains(style, "heavy");
  m.italic = ns::contains(style, "italic") || ns::contains(style, "oblique");
  family = ns::replaceAll(family, " ", "");
  auto is = [&](std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return ns::hasPrefix(family, n); });
  };
  if (is({"geeza", "albayan", "baghdad", "damascus", "kufi", "naskh", "nadeem", "decotype", "amiri",
          "arabic"})) {
    m.family = installedFamily(kArabicFace);
  } else if (is({"georgia", "times", "baskerville", "palatino", "didot", "bodoni", "cochin", "hoefler",
                 "garamond", "serif"})) {
    m.family = installedFamily(kSerifFace);
  } else if (is({"courier", "menlo", "monaco", "americantypewriter", "mono"})) {
    m.family = installedFamily(kMonoFace);
  } else {
    m.family = installedFamily(kSansFace);
  }
  return m;
}

}  // namespace

struct Font::Description {
  PangoFontDescription* pango = nullptr;
  std::optional<float> ascent, descent;
  ~Description() {
    if (pango) pango_font_description_free(pango);
  }
};

Font::Font() : Font(systemFontOfSize(12)) {}

Font::Font(std::string name, std::string family, float size, bool bold, bool italic)
    : name_(std::move(name)),
      family_(std::move(family)),
      size_(size > 0 ? size : 12),
      bold_(bold),
      italic_(italic),
      description_(std::make_shared<Description>()) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family_.c_str());
  pango_font_description_set_weight(d, bold_ ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d, italic_ ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(d, size_ * PANGO_SCALE);
  description_->pango = d;
}

Font Font::fontWithName(const std::string& name, float size) {
  Mapped m = mapFontName(name);
  return Font(name, m.family, size, m.bold, m.italic);
}

// The system font is Helvetica, as on the tablet.
Font Font::systemFontOfSize(float size) { return fontWithName("Helvetica", size); }
Font Font::boldSystemFontOfSize(float size) { return fontWithName("Helvetica-Bold", size); }
Font Font::italicSystemFontOfSize(float size) { return fontWithName("Helvetica-Oblique", size); }

Font Font::fontWithSize(float size) const { return Font(name_, family_, size, bold_, italic_); }

PangoFontDescription* Font::pangoDescription() const { return description_->pango; }

float Font::ascender() const {
  std::lock_guard<std::mutex> lock(detail::pangoMutex());
  if (!description_->ascent) {
    PangoFontMetrics* metrics = pango_context_get_metrics(detail::sharedPangoContext(), description_->pango,
                                                          pango_language_from_string("en"));
    description_->ascent = static_cast<float>(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    description_->descent = static_cast<float>(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);
  }
  return *description_->ascent;
}

float Font::descender() const {
  ascender();  // fills both
  std::lock_guard<std::mutex> lock(detail::pangoMutex());
  return -*description_->descent;
}

float Font::lineHeight() const { return ascender() - descender(); }

}  // namespace ui
