#pragma once
// Fonts by the platform's names, mapped to installed free fonts and described
// for pango. Sizes are in points (1 pt = 1 px at scale 1).
#include <memory>
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace ui {

class Font {
 public:
  // "Helvetica", "Helvetica-Bold", "Arial", "Georgia", "Times New Roman",
  // "GeezaPro", ... mapped to a sans, serif or Arabic naskh face.
  static Font fontWithName(const std::string& name, float size);
  static Font systemFontOfSize(float size);
  static Font boldSystemFontOfSize(float size);
  static Font italicSystemFontOfSize(float size);

  Font();  // the system font at 12 pt
  Font fontWithSize(float size) const;

  const std::string& fontName() const { return name_; }
  // The installed family the name maps to ("DejaVu Sans", "Amiri", ...).
  const std::string& familyName() const { return family_; }
  float pointSize() const { return size_; }
  bool isBold() const { return bold_; }
  bool isItalic() const { return italic_; }

  // Metrics of the mapped face at this size, in points.
  float ascender() const;
  float descender() const;  // negative, as the platform's
  float lineHeight() const;

  // Owned by the font (shared between copies); valid while the font lives.
  PangoFontDescription* pangoDescription() const;

  friend bool operator==(const Font& a, const Font& b) {
    return a.name_ == b.name_ && a.size_ == b.size_;
  }

 private:
  Font(std::string name, std::string family, float size, bool bold, bool italic);

  std::string name_;
  std::string family_;
  float size_ = 12;
  bool bold_ = false;
  bool italic_ = false;
  struct Description;
  std::shared_ptr<Description> description_;
};

}  // namespace ui
