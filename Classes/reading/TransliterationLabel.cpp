#include "Classes/reading/TransliterationLabel.h"

#include <pango/pangocairo.h>

#include <vector>

#include "platform/graphics/Context.h"

namespace {

// The tag at position i, if it is one of the run tags: its letter and whether it closes.
bool runTagAt(const std::string& s, size_t i, char& letter, bool& closing, size_t& length) {
  for (char c : {'b', 'i', 'u'}) {
    std::string open = std::string("<") + c + ">", close = std::string("</") + c + ">";
    if (s.compare(i, open.size(), open) == 0) {
      letter = c, closing = false, length = open.size();
      return true;
    }
    if (s.compare(i, close.size(), close) == 0) {
      letter = c, closing = true, length = close.size();
      return true;
    }
  }
  return false;
}

}  // namespace

std::string markupToPango(const std::string& markup) {
  std::string out;
  std::vector<char> open;
  for (size_t i = 0; i < markup.size();) {
    char letter;
    bool closing;
    size_t length;
    if (markup[i] == '<' && runTagAt(markup, i, letter, closing, length)) {
      if (!closing) {
        open.push_back(letter);
        out += std::string("<") + letter + ">";
      } else if (!open.empty() && open.back() == letter) {
        open.pop_back();
        out += std::string("</") + letter + ">";
      }
      i += length;
      continue;
    }
    switch (markup[i]) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += markup[i];
    }
    ++i;
  }
  while (!open.empty()) {
    out += std::string("</") + open.back() + ">";
    open.pop_back();
  }
  return out;
}

void TransliterationLabel::setHtml(const std::string& html) {
  if (html == html_) return;
  html_ = html;
  setNeedsDisplay();
}

void TransliterationLabel::setFont(const ui::Font& font) {
  font_ = font;
  setNeedsDisplay();
}

void TransliterationLabel::setTextColor(cg::Color color) {
  textColor_ = color;
  setNeedsDisplay();
}

void TransliterationLabel::drawRect(cg::Context& context, cg::Rect) {
  if (html_.empty()) return;
  cg::Rect b = bounds();
  cairo_t* cr = context.cairo();
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);
  pango_layout_set_font_description(layout, font_.pangoDescription());
  std::string markup = markupToPango(html_);
  pango_layout_set_markup(layout, markup.c_str(), int(markup.size()));
  pango_layout_set_width(layout, int(b.width() * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  context.save();
  context.clipToRect(b);
  cairo_set_source_rgba(cr, textColor_.r, textColor_.g, textColor_.b, textColor_.a);
  cairo_move_to(cr, b.x(), b.y());
  pango_cairo_show_layout(cr, layout);
  context.restore();
  g_object_unref(layout);
}
