#include "Classes/reading/VerseShareTexts.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/notes/MailText.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

std::string text(const char* key) { return Language::get(key, key); }
std::string html(const std::string& s) { return mailtext::escapeForHTML(s); }

}  // namespace

VerseShareTexts VerseShareTexts::forVerse(sqlite3* db, int surah, int verse, bool secondaryVisible) {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  VerseShareTexts t;
  t.S = surah;
  t.V = verse;
  t.P = static_cast<int>(defaults.integerForKey("CurrentTranslationPrimary"));
  t.Sc = static_cast<int>(defaults.integerForKey("CurrentTranslationSecondary"));
  t.secondaryVisible = secondaryVisible;
  t.webSite = configuredWebSite();
  t.arabic = ChapterInfo::getArabicVerseFor(db, surah, verse);
  t.searchArabic = ChapterInfo::getTranslationFor(db, 0, surah, verse);
  for (int n : {t.P, t.Sc})
    if (n != 0 && !t.translations.count(n)) t.translations[n] = ChapterInfo::getTranslationFor(db, n, surah, verse);
  return t;
}

std::string VerseShareTexts::translation(int n) const {
  if (n == 0) return searchArabic;
  auto it = translations.find(n);
  return it == translations.end() ? std::string() : it->second;
}

std::string VerseShareTexts::shortName(int n) const { return ChapterInfo::getTranslationNameForNumber(n); }

std::string VerseShareTexts::reference() const { return ns::format(" [%i:%i]", S, V); }

// ---- Copy ------------------------------------------------------------------------------

std::string VerseShareTexts::configuredWebSite() {
  std::string site = ns::UserDefaults::standardUserDefaults().stringForKey(kWebSiteKey);
  bool web = (ns::hasPrefix(site, "https://") && site.size() > 8) || (ns::hasPrefix(site, "http://") && site.size() > 7);
  if (!web || site.find_first_of(" \t\n\"<>") != std::string::npos) return "";
  return ns::hasSuffix(site, "/") ? site : site + "/";
}

// Without a web site there is no web link to offer (the last entry).
std::vector<std::string> VerseShareTexts::copyEntries() const {
  if (translationInForce()) {
    if (webSite.empty())
      return {text("Arabic Verse"), text("Translation"), text("Arabic & Translation"), text("Zarvel Ayah Link")};
    return {text("Arabic Verse"), text("Translation"), text("Arabic & Translation"), text("Zarvel Ayah Link"),
            text("Online Ayah Link")};
  }
  if (webSite.empty()) return {text("Arabic Verse"), text("Zarvel Ayah Link")};
  return {text("Arabic Verse"), text("Zarvel Ayah Link"), text("Online Ayah Link")};
}

int VerseShareTexts::copyAction(int entry) const {
  int count = static_cast<int>(copyEntries().size());
  if (entry < 0 || entry >= count) return -1;
  return (!translationInForce() && entry > 0) ? entry + 2 : entry;
}

std::string VerseShareTexts::copyText(int action) const {
  switch (action) {
    case 0: return arabic;
    case 1: {
      std::string out;
      if (isValidSlot(P)) out += translation(P) + " (" + shortName(P) + ")";
      if (secondaryAdds()) {
        if (!out.empty()) out += "\n\n";
        out += translation(Sc) + " (" + shortName(Sc) + ")";
      }
      return out;
    }
    case 2: return arabic + "\n\n" + translation(firstTranslation());
    case 3: return appLink();
    case 4: return webLink();
    default: return "";
  }
}

std::string VerseShareTexts::appLink() const {
  int f = firstTranslation();
  return f == 0 ? ns::format("zarvel://%i:%i", S, V) : ns::format("zarvel://%i:%i:%i", S, V, f);
}

std::string VerseShareTexts::webLink() const {
  if (webSite.empty()) return "";
  return webSite + ns::format("chapter_display-chapter-%i-translator-%i.htm#%i", S,
                                            ChapterInfo::getWebsiteTransCodeFrom(firstTranslation()), V);
}

// ---- Email -------------------------------------------------------------------------------

std::string VerseShareTexts::emailArabicOnly() const { return html(arabic); }

std::string VerseShareTexts::emailHeading() const {
  return ns::format("<b>%s %i. %s, %s %i</b>:<br><br>", html(text("Surah")).c_str(), S,
                    html(ChapterInfo::getNameFromNumber(S)).c_str(), html(text("Verse")).c_str(), V);
}

std::string VerseShareTexts::emailBody(int entry) const {
  auto rtlWrapped = [this](int n) {
    bool rtl = ChapterInfo::isTranslationRTL(n);
    return std::string(rtl ? "<div dir='rtl'>" : "") + html(translation(n)) + (rtl ? "</div>" : "");
  };
  std::string out;
  switch (entry) {
    case 0: return emailHeading() + "<div dir='rtl'>" + html(arabic) + "</div>";
    case 1: {
      auto part = [&](int n) { return html(shortName(n)) + ":<br>" + emailHeading() + rtlWrapped(n); };
      if (isValidSlot(P)) out += part(P);
      if (secondaryAdds()) out += (isValidSlot(P) ? "<br><br>" : "") + part(Sc);
      return out;
    }
    case 2: {
      out = emailBody(0);
      if (isValidSlot(P)) out += "<br><br><b>" + html(shortName(P)) + "</b>:<br>" + rtlWrapped(P);
      if (secondaryAdds())
        out += (isValidSlot(P) ? "<br><br>" : "") + ("<b>" + html(shortName(Sc)) + "</b>:<br>") + rtlWrapped(Sc);
      return out;
    }
    default: return "";
  }
}

// ---- Message, Post and Tweet ---------------------------------------------------------------

std::string VerseShareTexts::messageText(int entry) const {
  std::string out;
  switch (entry) {
    case 0: return arabic + reference();
    case 1: {
      auto part = [&](int n) { return translation(n) + reference() + " (" + shortName(n) + ")"; };
      if (isValidSlot(P)) out += part(P);
      if (secondaryAdds()) out += (isValidSlot(P) ? "\n\n" : "") + part(Sc);
      return out;
    }
    case 2:
      out = ns::format("%s %i, %s %i:\n\n", text("Surah").c_str(), S, text("Verse").c_str(), V) + arabic;
      if (isValidSlot(P)) out += "\n\n" + translation(P) + " (" + shortName(P) + ")";
      if (secondaryAdds()) out += "\n\n" + translation(Sc) + " (" + shortName(Sc) + ")";
      return out;
    default: return "";
  }
}

std::string VerseShareTexts::postText(int entry) const {
  switch (entry) {
    case 0: return arabic + reference();
    case 1: return translation(firstTranslation()) + reference();
    case 2: return arabic + reference() + "\n\n" + translation(firstTranslation());
    default: return "";
  }
}

std::vector<std::string> VerseShareTexts::tweetEntries() const {
  if (secondaryAdds()) return {text("Arabic Verse"), shortName(P), shortName(Sc)};
  return {text("Arabic Verse"), text("Translation")};
}

std::string VerseShareTexts::tweetText(int entry) const {
  switch (entry) {
    case 0: return (ns::length16(arabic) <= 139 ? arabic : searchArabic) + reference();
    case 1: return translation(P) + reference();
    case 2: return secondaryAdds() ? translation(Sc) + reference() : "";
    default: return "";
  }
}

std::string VerseShareTexts::tweetWithoutTranslation() const { return searchArabic + reference(); }

std::string VerseShareTexts::sorvaneURL() const { return ns::format("sorvanelog://%i:%i", S, V); }

std::string VerseShareTexts::urlencode(const std::string& text) {
  static const std::pair<const char*, const char*> kReserved[] = {
      {";", "%3B"}, {"/", "%2F"}, {"?", "%3F"}, {":", "%3A"}, {"@", "%40"}, {"&", "%26"},
      {"=", "%3D"}, {"+", "%2B"}, {"$", "%24"}, {",", "%2C"}, {"[", "%5B"}, {"]", "%5D"},
      {"#", "%23"}, {"!", "%21"}, {"'", "%27"}, {"(", "%28"}, {")", "%29"}, {"*", "%2A"}};
  std::string out = text;
  for (const auto& [from, to] : kReserved) out = ns::replaceAll(out, from, to);
  return out;
}
