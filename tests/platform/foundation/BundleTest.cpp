#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "TempDir.h"

using ns::Bundle;
using ns::StringTable;

TEST(StringTable, ParsesEntriesEscapesAndComments) {
  ns::LogCapture capture;
  capture.setEcho(false);
  StringTable t = StringTable::parse(R"(/* Reading screen */
"Close" = "إغلاق";
// a line comment
"Say \"hi\"" = "Line one\nLine two\t\\ end";   /* trailing */
"Same";
"Unicode" = "\U0628\u0633";
"Pair" = "\UD83D\UDE00 \ud83d\uDE00 \UD83Dx";
"Broken" = "no semicolon"
"After" = "still read";
"Unterminated = "x";
"Last" = "ok";
)");
  EXPECT_EQ(t.lookup("Close"), "إغلاق");
  EXPECT_EQ(t.lookup("Say \"hi\""), "Line one\nLine two\t\\ end");
  EXPECT_EQ(t.lookup("Same"), "Same");
  EXPECT_EQ(t.lookup("Unicode"), "\xD8\xA8\xD8\xB3");
  // A surrogate pair of escapes is one character; a lone half is U+FFFD.
  EXPECT_EQ(t.lookup("Pair"), "\U0001F600 \U0001F600 \uFFFDx");
  EXPECT_FALSE(t.lookup("Broken"));
  EXPECT_EQ(t.lookup("After"), "still read");
  EXPECT_EQ(t.lookup("Last"), "ok");
  EXPECT_EQ(t.size(), 7u);
  EXPECT_EQ(capture.count("malformed"), 2);
}

TEST(StringTable, ToleratesHostileInput) {
  ns::LogCapture capture;
  capture.setEcho(false);
  for (const char* text : {"", "\"", "\"a\" = ", "/* never closed", "\"a\" = \"b\\", "= = ;;", "\"a\"=\"b\";\"c"}) {
    StringTable t = StringTable::parse(text);
    EXPECT_LE(t.size(), 1u) << text;
  }
}

TEST(Bundle, FindsResourcesAndLanguageTablesWithFallbacks) {
  testing_support::TempDir dir;
  ASSERT_TRUE(ns::createDirectory(ns::pathJoin(dir.path(), "ar.lproj")));
  ASSERT_TRUE(ns::writeFileAtomically(ns::pathJoin(dir.path(), "ar.lproj", "Localizable.strings"),
                                      std::string_view("\"Yes\" = \"نعم\";\n")));
  ASSERT_TRUE(ns::writeFileAtomically(ns::pathJoin(dir.path(), "zarvel.db"), std::string_view("db")));
  Bundle bundle(dir.path());
  EXPECT_EQ(bundle.pathForResource("zarvel", "db"), ns::pathJoin(dir.path(), "zarvel.db"));
  EXPECT_EQ(bundle.pathForResource("missing", "db"), "");
  EXPECT_EQ(bundle.pathForResource("../zarvel", "db"), "");
  auto ar = bundle.languageBundle("ar");
  ASSERT_TRUE(ar);
  EXPECT_EQ(ar->localizedString("Yes", "Yes"), "نعم");
  EXPECT_EQ(ar->localizedString("No", "No"), "No");
  EXPECT_EQ(bundle.languageBundle("fr"), nullptr);
  EXPECT_EQ(bundle.localizedString("Yes", "Yes"), "Yes");
}

TEST(Bundle, MainBundleHasTheBuiltStringTables) {
  auto en = Bundle::main().languageBundle("en");
  auto ar = Bundle::main().languageBundle("ar");
  EXPECT_TRUE(en && ar) << "resources not copied to " << ns::resourceDirectory();
}
