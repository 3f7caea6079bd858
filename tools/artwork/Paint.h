#pragma once
// The look of every image: one palette and the few drawing helpers the images
// are built from (bars, buttons, badges, arrows, line icons, text). Coordinates
// are points; the canvas is already scaled for the "@2x" files.
#include <cairo.h>

#include <string>

namespace artwork {

struct Colour {
  double r = 0, g = 0, b = 0, a = 1;
  Colour withAlpha(double alpha) const { return {r, g, b, alpha}; }
  // Towards white (amount > 0) or black (amount < 0), amount in -1..1.
  Colour shade(double amount) const;
};

constexpr Colour rgb(int r, int g, int b, double a = 1) { return {r / 255.0, g / 255.0, b / 255.0, a}; }

// The palette. Where the screens state a colour, the palette takes it.
namespace palette {
inline constexpr Colour ink = rgb(38, 50, 66);           // text and line icons on light ground
inline constexpr Colour inkSoft = rgb(104, 116, 132);    // secondary marks, the "dead" state
inline constexpr Colour paper = rgb(251, 249, 244);      // reading ground
inline constexpr Colour paperShade = rgb(236, 232, 222);
inline constexpr Colour line = rgb(193, 204, 217);       // hairlines (the tajweed guide's line colour)
inline constexpr Colour accent = rgb(66, 96, 147);       // quarter marks' titles, selection
inline constexpr Colour accentDeep = rgb(35, 74, 118);   // counters' titles
inline constexpr Colour accentSoft = rgb(86, 128, 171);  // the guide's listen buttons
inline constexpr Colour accentPale = rgb(187, 211, 237); // separators of the search history
inline constexpr Colour slate = rgb(62, 74, 92);         // dark buttons and column headers
inline constexpr Colour slateDeep = rgb(40, 48, 61);
inline constexpr Colour sand = rgb(126, 107, 69);        // the single-rule guide's titles
inline constexpr Colour sandPale = rgb(236, 226, 202);
inline constexpr Colour gold = rgb(178, 142, 70);        // ornaments of the Quranic marks
inline constexpr Colour brownTint = rgb(51, 33, 18);     // the notes' brown tint
inline constexpr Colour wood = rgb(132, 90, 56);
inline constexpr Colour woodDark = rgb(96, 62, 36);
inline constexpr Colour green = rgb(83, 132, 64);        // a playing example, ready audio
inline constexpr Colour purple = rgb(134, 82, 167);      // a search shown in the reading
inline constexpr Colour red = rgb(186, 64, 56);
inline constexpr Colour white = rgb(255, 255, 255);
inline constexpr Colour black = rgb(0, 0, 0);
}  // namespace palette

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
  Box inset(double dx, double dy) const { return {x + dx, y + dy, w - 2 * dx, h - 2 * dy}; }
  Box inset(double d) const { return inset(d, d); }
  double cx() const { return x + w / 2; }
  double cy() const { return y + h / 2; }
  double right() const { return x + w; }
  double bottom() const { return y + h; }
};

// What an image is drawn into: a cairo context in points and the image's size.
struct Canvas {
  cairo_t* cr;
  double w, h;
  Box bounds() const { return {0, 0, w, h}; }
};

// Paths.
void roundedRect(cairo_t* cr, const Box& b, double radius);
void circle(cairo_t* cr, double cx, double cy, double radius);
// A capsule pointing left (or right) at one end, rounded at the other: the
// back and forward buttons.
void arrowCapsule(cairo_t* cr, const Box& b, bool pointLeft, double radius);

// Paint.
void setColour(cairo_t* cr, const Colour& c);
void fill(cairo_t* cr, const Colour& c);                    // fills and clears the path
void stroke(cairo_t* cr, const Colour& c, double width);    // strokes and clears the path
void fillVertical(cairo_t* cr, const Box& b, const Colour& top, const Colour& bottom);  // uses the path

// A button face: the shape the path holds, filled top to bottom from base,
// with a soft top light and a hairline edge. pressed darkens it.
void buttonFace(cairo_t* cr, const Box& b, const Colour& base, bool pressed);
// A bar across the whole canvas: gradient, top light, bottom hairline.
void bar(Canvas& c, const Colour& top, const Colour& bottom, const Colour& edge);

// A chevron (open arrow head) centred at (cx, cy) of the given half size.
enum class Direction { left, right, up, down };
void chevron(cairo_t* cr, double cx, double cy, double half, Direction d, const Colour& c, double width);
// A solid triangle inside the box, pointing in the direction.
void triangle(cairo_t* cr, const Box& b, Direction d, const Colour& c);

// Text, set with pango. family is a fontconfig family ("Sans", "Amiri",
// "Amiri Quran"); the text is centred in the box unless align says otherwise.
enum class Align { left, centre, right };
struct TextStyle {
  std::string family = "Sans";
  double size = 12;   // points
  bool bold = false;
  Colour colour = palette::ink;
  Align align = Align::centre;
};
// Draws and returns the ink width of the text.
double text(cairo_t* cr, const std::string& s, const Box& b, const TextStyle& style);
// The ink extents the text would take (width, height) without drawing.
void measureText(cairo_t* cr, const std::string& s, const TextStyle& style, double* width, double* height);

}  // namespace artwork
