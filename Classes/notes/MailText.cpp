#include "Classes/notes/MailText.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "platform/foundation/Log.h"

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

namespace {

bool isTranslation(int t) { return t != 0 && t != 1000; }

// "<b>name</b>:<br>" and the verse in the translation, inside a right-to-left
// block when the translation is written so.
std::string translationHTML(sqlite3* content, int trans, int surah, int verse) {
  bool rtl = ChapterInfo::isTranslationRTL(trans);
  std::string text = content ? ChapterInfo::getTranslationFor(content, trans, surah, verse) : "";
  return "<b>" + escapeForHTML(ChapterInfo::getTranslationNameForNumber(trans)) + "</b>:<br>" +
         (rtl ? "<div dir='rtl'>" : "") + escapeForHTML(text) + (rtl ? "</div>" : "");
}

}  // namespace

std::string verseHTML(sqlite3* content, int surah, int verse, int primary, int secondary) {
  std::string html = ns::format("<b>%s %i, %s %i</b>:<br>", Language::get("Surah", "Surah").c_str(), surah,
                                Language::get("Verse", "Verse").c_str(), verse);
  std::string arabic = content ? ChapterInfo::getArabicVerseFor(content, surah, verse) : "";
  html += "<div dir='rtl'>" + escapeForHTML(arabic) + "</div><br>";
  if (isTranslation(primary)) html += "<br><br>" + translationHTML(content, primary, surah, verse);
  if (isTranslation(secondary) && secondary != primary)
    html += std::string(isTranslation(primary) ? "<br><br>" : "") + translationHTML(content, secondary, surah, verse);
  return html;
}

}  // namespace mailtext
