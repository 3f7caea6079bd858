// The HTML of a verse in the mails of bookmarks and search results: every
// text escaped, each translation in its direction, the second only when it
// is another one.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "Classes/core/ChapterInfo.h"
#include "Classes/notes/MailText.h"
#include "tests/Classes/core/Fixtures.h"

namespace {

TEST(MailText, AVerseIsEscapedAndEachTranslationWrittenInItsDirection) {
  std::string path = fixtures::makeTempDir() + "/content.db";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  fixtures::exec(db,
                 "CREATE TABLE simplearabic (surah INTEGER, verse INTEGER, translation TEXT);"
                 "CREATE TABLE trans1 (surah INTEGER, verse INTEGER, translation TEXT);"
                 "CREATE TABLE trans15 (surah INTEGER, verse INTEGER, translation TEXT);"
                 "INSERT INTO simplearabic VALUES (2, 5, 'Arabic <&>');"
                 "INSERT INTO trans1 VALUES (2, 5, 'A <b>bold</b> & plain\nline');"
                 "INSERT INTO trans15 VALUES (2, 5, 'Urdu <x>');");
  ASSERT_FALSE(ChapterInfo::isTranslationRTL(1));
  ASSERT_TRUE(ChapterInfo::isTranslationRTL(15));
  const std::string heading = "<b>Surah 2, Verse 5</b>:<br><div dir='rtl'>Arabic &lt;&amp;&gt;</div><br>";
  const std::string first = "<b>" + ChapterInfo::getTranslationNameForNumber(1) +
                            "</b>:<br>A &lt;b&gt;bold&lt;/b&gt; &amp; plain<br>line";
  const std::string second = "<b>" + ChapterInfo::getTranslationNameForNumber(15) + "</b>:<br><div dir='rtl'>Urdu &lt;x&gt;</div>";
  EXPECT_EQ(mailtext::verseHTML(db, 2, 5, 1, 15), heading + "<br><br>" + first + "<br><br>" + second);
  EXPECT_EQ(mailtext::verseHTML(db, 2, 5, 1, 1), heading + "<br><br>" + first);  // the same one once
  EXPECT_EQ(mailtext::verseHTML(db, 2, 5, 0, 15), heading + second);
  EXPECT_EQ(mailtext::verseHTML(db, 2, 5, 1000, 0), heading);
  ChapterInfo::finalizeStatements();
  sqlite3_close(db);
}

}  // namespace
