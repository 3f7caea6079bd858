// Every text a verse is shared with, from plain inputs: the Copy, Email,
// Message, Post and Tweet entries for the translation slots, the links, the
// escaping of mailed texts and the URL encoding of the panel.
#include <gtest/gtest.h>

#include <functional>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/reading/VerseShareTexts.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

struct Slots {
  int P, Sc;
  bool visible;
};

VerseShareTexts verse(Slots s) {
  VerseShareTexts t;
  t.S = 2;
  t.V = 255;
  t.P = s.P;
  t.Sc = s.Sc;
  t.secondaryVisible = s.visible;
  t.arabic = "ARB";
  t.searchArabic = "SRCH";
  t.translations = {{1, "EN <i>&"}, {15, "UR"}, {1000, ""}};
  t.webSite = "https://verses.example.org/";
  return t;
}

// "{N}" stands for the surah's name, "{notes}" for the notes entry's name.
std::string expand(std::string s) {
  s = ns::replaceAll(s, "{N}", ChapterInfo::getNameFromNumber(2));
  return ns::replaceAll(s, "{notes}", ChapterInfo::getTranslationNameForNumber(1000));
}

class VerseShareTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LANG", "en_GB.UTF-8", 1);
    Language::resetForTesting();
  }
};

const Slots kBoth{1, 15, true};
const Slots kPrimary{1, 15, false};
const Slots kSecondaryOnly{0, 15, true};
const Slots kNone{0, 0, false};
const Slots kNotesThenUrdu{1000, 15, true};
const Slots kNotesSecondary{0, 1000, true};
const Slots kSame{15, 15, true};

TEST_F(VerseShareTextsTest, TranslationInForceAndTheFirstTranslation) {
  struct Case {
    Slots slots;
    bool inForce;
    int first;
    bool secondaryAdds;
  };
  const Case cases[] = {{kBoth, true, 1, true},          {kPrimary, true, 1, false},
                        {kSecondaryOnly, true, 15, true}, {kNone, false, 0, false},
                        {{0, 15, false}, false, 15, false}, {kNotesThenUrdu, true, 15, true},
                        {kNotesSecondary, false, 1000, false}, {kSame, true, 15, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("%d %d %d", c.slots.P, c.slots.Sc, c.slots.visible));
    auto t = verse(c.slots);
    EXPECT_EQ(t.translationInForce(), c.inForce);
    EXPECT_EQ(t.firstTranslation(), c.first);
    EXPECT_EQ(t.secondaryAdds(), c.secondaryAdds);
  }
}

TEST_F(VerseShareTextsTest, CopyEntriesAndTheirTexts) {
  struct Case {
    Slots slots;
    int entry;
    const char* text;  // nullptr: the entry does nothing
  };
  const Case cases[] = {
      {kBoth, 0, "ARB"},
      {kBoth, 1, "EN <i>& (Saheeh Intl.)\n\nUR (Urdu)"},
      {kBoth, 2, "ARB\n\nEN <i>&"},
      {kBoth, 3, "zarvel://2:255:1"},
      {kBoth, 4, "https://verses.example.org/chapter_display-chapter-2-translator-5.htm#255"},
      {kBoth, 5, nullptr},
      {kPrimary, 1, "EN <i>& (Saheeh Intl.)"},
      {kSame, 1, "UR (Urdu)"},
      {kNotesThenUrdu, 1, "UR (Urdu)"},  // no leading blank lines
      {kSecondaryOnly, 2, "ARB\n\nUR"},
      {kSecondaryOnly, 3, "zarvel://2:255:15"},
      {kNone, 0, "ARB"},
      {kNone, 1, "zarvel://2:255"},
      {kNone, 2, "https://verses.example.org/chapter_display-chapter-2-translator-0.htm#255"},
      {kNone, 3, nullptr},
      {kNotesSecondary, 1, "zarvel://2:255:1000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("%d %d %d entry %d", c.slots.P, c.slots.Sc, c.slots.visible, c.entry));
    auto t = verse(c.slots);
    int action = t.copyAction(c.entry);
    if (!c.text) {
      EXPECT_EQ(action, -1);
      continue;
    }
    EXPECT_EQ(t.copyText(action), c.text);
  }
  EXPECT_EQ(verse(kBoth).copyEntries(),
            (std::vector<std::string>{"Arabic Verse", "Translation", "Arabic & Translation", "Zarvel Ayah Link",
                                      "Online Ayah Link"}));
  EXPECT_EQ(verse(kNone).copyEntries(),
            (std::vector<std::string>{"Arabic Verse", "Zarvel Ayah Link", "Online Ayah Link"}));
  // Without a web site there is no web link to offer; the other entries keep their actions.
  for (Slots slots : {kBoth, kNone}) {
    auto t = verse(slots);
    t.webSite.clear();
    auto entries = t.copyEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Online Ayah Link"), 0);
    EXPECT_EQ(t.copyAction(int(entries.size())), -1);
    EXPECT_EQ(t.copyText(t.copyAction(int(entries.size()) - 1)), t.appLink());
  }
}

TEST_F(VerseShareTextsTest, TheWebSiteComesFromTheSettingsOnlyAsAWebAddress) {
  struct Case {
    const char* stored;
    const char* site;
  };
  const Case cases[] = {{"", ""},
                        {"https://verses.example.org", "https://verses.example.org/"},
                        {"http://verses.example.org/q/", "http://verses.example.org/q/"},
                        {"https://", ""},
                        {"ftp://verses.example.org/", ""},
                        {"javascript:alert(1)", ""},
                        {"https://verses.example.org/a b", ""}};
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  for (const Case& c : cases) {
    defaults.setObject(ns::Value(std::string(c.stored)), VerseShareTexts::kWebSiteKey);
    EXPECT_EQ(VerseShareTexts::configuredWebSite(), c.site) << c.stored;
  }
  defaults.removeObjectForKey(VerseShareTexts::kWebSiteKey);
}

TEST_F(VerseShareTextsTest, EmailBodiesEscapeEveryTextAndWrapRightToLeftTranslations) {
  struct Case {
    Slots slots;
    int entry;
    const char* body;
  };
  const char* heading = "<b>Surah 2. {N}, Verse 255</b>:<br><br>";
  const Case cases[] = {
      {kBoth, 0, "<b>Surah 2. {N}, Verse 255</b>:<br><br><div dir='rtl'>ARB</div>"},
      {kBoth, 1,
       "Saheeh Intl.:<br>{H}EN &lt;i&gt;&amp;<br><br>Urdu:<br>{H}<div dir='rtl'>UR</div>"},
      {kPrimary, 1, "Saheeh Intl.:<br>{H}EN &lt;i&gt;&amp;"},
      {kSecondaryOnly, 1, "Urdu:<br>{H}<div dir='rtl'>UR</div>"},
      {kBoth, 2,
       "{H}<div dir='rtl'>ARB</div><br><br><b>Saheeh Intl.</b>:<br>EN &lt;i&gt;&amp;<br><br><b>Urdu</b>:<br>"
       "<div dir='rtl'>UR</div>"},
      {kSecondaryOnly, 2, "{H}<div dir='rtl'>ARB</div><b>Urdu</b>:<br><div dir='rtl'>UR</div>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("%d %d entry %d", c.slots.P, c.slots.Sc, c.entry));
    EXPECT_EQ(verse(c.slots).emailBody(c.entry), expand(ns::replaceAll(c.body, "{H}", heading)));
  }
  auto t = verse(kNone);
  t.arabic = "a<b>\nc";
  EXPECT_EQ(t.emailArabicOnly(), "a&lt;b&gt;<br>c");
}

TEST_F(VerseShareTextsTest, MessageAndPostTexts) {
  struct Case {
    Slots slots;
    std::function<std::string(const VerseShareTexts&, int)> text;
    int entry;
    const char* expected;
  };
  auto message = [](const VerseShareTexts& t, int i) { return t.messageText(i); };
  auto post = [](const VerseShareTexts& t, int i) { return t.postText(i); };
  const Case cases[] = {
      {kBoth, message, 0, "ARB [2:255]"},
      {kBoth, message, 1, "EN <i>& [2:255] (Saheeh Intl.)\n\nUR [2:255] (Urdu)"},
      {kSecondaryOnly, message, 1, "UR [2:255] (Urdu)"},
      {kBoth, message, 2, "Surah 2, Verse 255:\n\nARB\n\nEN <i>& (Saheeh Intl.)\n\nUR (Urdu)"},
      {kSecondaryOnly, message, 2, "Surah 2, Verse 255:\n\nARB\n\nUR (Urdu)"},
      {kPrimary, message, 2, "Surah 2, Verse 255:\n\nARB\n\nEN <i>& (Saheeh Intl.)"},
      {kBoth, post, 0, "ARB [2:255]"},
      {kBoth, post, 1, "EN <i>& [2:255]"},
      {kSecondaryOnly, post, 1, "UR [2:255]"},
      {kBoth, post, 2, "ARB [2:255]\n\nEN <i>&"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("%d %d entry %d", c.slots.P, c.slots.Sc, c.entry));
    EXPECT_EQ(c.text(verse(c.slots), c.entry), c.expected);
  }
}

TEST_F(VerseShareTextsTest, TweetEntriesAndTexts) {
  EXPECT_EQ(verse(kBoth).tweetEntries(), (std::vector<std::string>{"Arabic Verse", "Saheeh Intl.", "Urdu"}));
  EXPECT_EQ(verse(kPrimary).tweetEntries(), (std::vector<std::string>{"Arabic Verse", "Translation"}));
  EXPECT_EQ(verse(kSecondaryOnly).tweetEntries(), (std::vector<std::string>{"Arabic Verse", "No Translation", "Urdu"}));
  EXPECT_EQ(verse(kNotesThenUrdu).tweetEntries(), (std::vector<std::string>{"Arabic Verse", expand("{notes}"), "Urdu"}));

  struct Case {
    Slots slots;
    int entry;
    const char* expected;
  };
  const Case cases[] = {
      {kBoth, 0, "ARB [2:255]"},      {kBoth, 1, "EN <i>& [2:255]"}, {kBoth, 2, "UR [2:255]"},
      {kPrimary, 2, ""},              {kSecondaryOnly, 1, "SRCH [2:255]"},
      {kNotesThenUrdu, 1, " [2:255]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("%d %d entry %d", c.slots.P, c.slots.Sc, c.entry));
    EXPECT_EQ(verse(c.slots).tweetText(c.entry), c.expected);
  }
  EXPECT_EQ(verse(kNone).tweetWithoutTranslation(), "SRCH [2:255]");

  // The Arabic goes out in its search form from 140 characters on.
  auto t = verse(kBoth);
  t.arabic = std::string();
  for (int i = 0; i < 139; ++i) t.arabic += "\u0628";
  EXPECT_EQ(t.tweetText(0), t.arabic + " [2:255]");
  t.arabic += "\u0628";
  EXPECT_EQ(t.tweetText(0), "SRCH [2:255]");
}

TEST_F(VerseShareTextsTest, LogLinkAndUrlEncoding) {
  EXPECT_EQ(verse(kNone).sorvaneURL(), "sorvanelog://2:255");
  EXPECT_EQ(VerseShareTexts::urlencode(";/?:@&=+$,[]#!'()*"),
            "%3B%2F%3F%3A%40%26%3D%2B%24%2C%5B%5D%23%21%27%28%29%2A");
  EXPECT_EQ(VerseShareTexts::urlencode("a b%c"), "a b%c");
}

}  // namespace
