#include "Classes/notes/MailText.h"

namespace mailtext {

std::string escapeForHTML(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += "<br>";
        break;
      case '\n': out += "<br>"; break;
      default: out += c;
    }
  }
  return out;
}

std::string storeLinkHTML(std::string_view text) {
  return std::string("<a href=\"") + kStorePageURL + "\">" + escapeForHTML(text) + "</a>";
}

}  // namespace mailtext
