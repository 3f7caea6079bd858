// The transliteration's run tags become pango markup; everything else is text.
#include <gtest/gtest.h>

#include "Classes/reading/TransliterationLabel.h"

TEST(TransliterationMarkup, KeepsRunTagsAndEscapesTheRest) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Bismi <b>Allahi</b>", "Bismi <b>Allahi</b>"},
      {"<i>al</i><u>rrahmani</u>", "<i>al</i><u>rrahmani</u>"},
      {"a & b < c > d", "a &amp; b &lt; c &gt; d"},
      {"<span foreground='red'>x</span>", "&lt;span foreground=&#39;red&#39;&gt;x&lt;/span&gt;"},
      {"<b>open <i>nested", "<b>open <i>nested</i></b>"},
      {"stray </b> close", "stray  close"},
      {"<b>crossed <i>runs</b></i>", "<b>crossed <i>runs</i></b>"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(markupToPango(c.in), c.out) << c.in;
}
