#pragma once
// The texts and links a verse is shared with: what Copy puts on the
// pasteboard, the Email bodies, the Message, Post and Tweet texts, the
// application and web links and the prayer-log link. A value made once per
// share from the verse's texts and the two translation slots; it reads
// nothing after it is made, so every text can be checked from plain inputs.
#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

class VerseShareTexts {
 public:
  static constexpr char kSorvaneProbe[] = "sorvanelog://1:1";
  // The defaults key of the web site whose pages show verses ("https://..."):
  // the web link is offered only when one is configured.
  static constexpr char kWebSiteKey[] = "VerseWebSite";
  // The configured site with a closing "/"; empty when none is (or the value
  // is no http or https address).
  static std::string configuredWebSite();

  // The verse's texts from the content database and the slots from the
  // defaults (CurrentTranslationPrimary, CurrentTranslationSecondary).
  static VerseShareTexts forVerse(sqlite3* db, int surah, int verse, bool secondaryVisible);

  int S = 1, V = 1;
  int P = 0, Sc = 0;              // the primary and secondary slots
  bool secondaryVisible = false;  // the root shows the secondary pane
  std::string arabic;             // the verse in plain Arabic script
  std::string searchArabic;       // the verse's Arabic as stored for searching
  std::map<int, std::string> translations;  // the verse in each slot's translation
  std::string webSite;            // where the web link points; empty: no web link

  // A slot is valid when it holds a translation (neither none nor the notes).
  static bool isValidSlot(int n) { return n != 0 && n != 1000; }
  bool translationInForce() const { return isValidSlot(P) || (isValidSlot(Sc) && secondaryVisible); }
  // The secondary slot adds its own part (valid, shown and not the primary).
  bool secondaryAdds() const { return isValidSlot(Sc) && secondaryVisible && Sc != P; }
  int firstTranslation() const { return isValidSlot(P) ? P : Sc; }
  // The verse in translation n (0 is the search Arabic; unknown numbers are empty).
  std::string translation(int n) const;

  // ---- Copy: five actions; the short sheet's entries map onto 0, 3 and 4;
  // the web link (4) is offered only with a web site ----
  std::vector<std::string> copyEntries() const;
  // The action of a sheet entry (-1 for the cancel entry or any other index).
  int copyAction(int entry) const;
  std::string copyText(int action) const;
  std::string appLink() const;
  std::string webLink() const;

  // ---- Email (HTML; every outside text escaped) --------------------------------
  std::string emailArabicOnly() const;
  std::string emailBody(int entry) const;

  // ---- Message, Post and Tweet (plain text) ---------------------------------------
  std::string messageText(int entry) const;
  std::string postText(int entry) const;
  std::vector<std::string> tweetEntries() const;
  std::string tweetText(int entry) const;
  std::string tweetWithoutTranslation() const;

  // ---- the prayer-log application ------------------------------------------------
  std::string sorvaneURL() const;

  // The reserved URL characters percent-escaped, one by one, in a fixed order;
  // everything else (the percent sign and spaces too) stays.
  static std::string urlencode(const std::string& text);

 private:
  std::string shortName(int n) const;
  std::string reference() const;  // " [S:V]"
  std::string emailHeading() const;
};
