#include "tools/contentdb/Checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/contentdb/ContentDb.h"
#include "tools/contentdb/Converter.h"
#include "tools/contentdb/Inputs.h"

using namespace contentdb;
namespace fs = std::filesystem;

namespace {

fs::path tempDir(const std::string& name) {
  fs::path dir = fs::path(ZARVEL_TEST_TMP) / "contentdb" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// A few verses and a glyph set of tiny hand-made images.
ContentData fixtureContent() {
  ContentData data;
  data.arabic = {{1, 1, "بِسۡمِ ٱللَّهِ ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ"},
                 {1, 2, "ٱلۡحَمۡدُ لِلَّهِ رَبِّ ٱلۡعَٰلَمِينَ"},
                 {1, 3, "ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ"}};
  for (const auto& v : data.arabic) data.glyphStrings.push_back(convertVerse(v.text, v.surah, v.verse));
  data.translations.push_back({1, {{1, 1, "In the name of Allah"}, {1, 2, "Praise"}, {1, 3, "Merciful"}}});
  data.transliteration = {{1, 1, "Bismi Allahi"}, {1, 2, "Alhamdu"}, {1, 3, "Alrrahmani"}};
  for (int grp = 0; grp < kGroupCount; ++grp) {
    std::vector<RenderedGlyph> glyphs;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
      RenderedGlyph g;
      g.image = AlphaImage(3, 4);
      g.image.at(1, 1 + code % 2) = 255;
      g.metric = measure(g.image, 2, isLetterForm(code), 2, -1);
      if (int fixed = fixedAdvance(grp, code)) applyFixedWidth(g, code, fixed);
      glyphs.push_back(g);
    }
    data.groups.push_back(glyphs);
  }
  return data;
}

int noKasra(int, int) { return -1; }

class FixtureDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = tempDir(::testing::UnitTest::GetInstance()->current_test_info()->name()) / "fixture.db";
    db_ = std::make_unique<Database>(path_.string(), true);
    writeContent(*db_, fixtureContent());
  }

  // Runs a check and returns its message ("" when it passes).
  template <typename Check>
  std::string failure(Check check) {
    try {
      check(*db_);
    } catch (const CheckError& e) {
      return e.what();
    }
    return "";
  }

  fs::path path_;
  std::unique_ptr<Database> db_;
};

}  // namespace

TEST_F(FixtureDatabase, SoundFixturePassesTheChecksThatDoNotNeedTheWholeText) {
  EXPECT_EQ(failure(checkGlyphStrings), "");
  EXPECT_EQ(failure(checkGlyphImages), "");
  EXPECT_EQ(failure([](Database& db) { checkMetrics(db, noKasra); }), "");
  EXPECT_EQ(failure(checkQuarters), "");
  EXPECT_EQ(failure(checkArabicTexts), "");
  EXPECT_EQ(db_->count("SELECT count(*) FROM trans1fts WHERE trans1fts MATCH 'praise'"), 1);
  EXPECT_EQ(db_->count("SELECT count(*) FROM trans0fts WHERE trans0fts MATCH 'الرحمن'"), 2);
  EXPECT_EQ(db_->count("SELECT CAST(verse AS INTEGER) FROM trans10fts WHERE trans10fts MATCH 'alhamdu'"), 2);
  EXPECT_EQ(db_->count("SELECT hezb FROM hezbmeta WHERE surah = 68 AND verse = 1"), 226);
  // Every translation number has its tables, so every statement prepares.
  for (int n = 1; n <= 38; ++n) {
    std::string t = n == 10 ? "transliterationdata" : "trans" + std::to_string(n);
    EXPECT_NO_THROW(db_->count("SELECT count(*) FROM " + t + " WHERE surah = 1"));
    EXPECT_NO_THROW(db_->count("SELECT count(*) FROM trans" + std::to_string(n) + "fts"));
  }
}

TEST_F(FixtureDatabase, CopiedTextIsTheDrawnOneAndSearchTextHoldsLettersOnly) {
  EXPECT_EQ(db_->count("SELECT count(*) FROM simplearabic WHERE translation = 'ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ'"), 1);
  EXPECT_EQ(db_->count("SELECT count(*) FROM trans0fts WHERE translation = 'الرحمن الرحيم'"), 1);
  db_->exec("UPDATE searcharabic SET translation = 'الحمد لله  رب العالمين' WHERE verse = 2");
  EXPECT_EQ(failure(checkArabicTexts), "searcharabic: verse 1:2: U+0020 at character 10");
  db_->exec("UPDATE searcharabic SET translation = 'الرَّحمن' WHERE verse = 3");
  EXPECT_EQ(failure(checkArabicTexts), "searcharabic: verse 1:2: U+0020 at character 10");
  db_->exec("UPDATE searcharabic SET translation = 'الحمد' WHERE verse = 2");
  EXPECT_EQ(failure(checkArabicTexts), "searcharabic: verse 1:3: U+064E at character 3");
  db_->exec("DELETE FROM simplearabic WHERE verse = 1");
  EXPECT_EQ(failure(checkArabicTexts), "simplearabic: verse 1:1 has no text");
}

TEST_F(FixtureDatabase, TooFewVersesAreNamedBySurah) {
  EXPECT_EQ(failure(checkSurahVerseCounts), "surahdata: surah 1 has 3 verses, expected 7");
}

TEST_F(FixtureDatabase, StringWithoutItsFinal10IsNamedByVerse) {
  db_->exec("UPDATE surahdata SET data = substr(data, 1, length(data) - 1) WHERE verse = 2");
  EXPECT_EQ(failure(checkGlyphStrings), "verse 1:2: the glyph string does not end with 10");
}

TEST_F(FixtureDatabase, StyleWith173RowsIsRefused) {
  db_->exec("DELETE FROM glyphs WHERE style = 3 AND glyph = 100");
  EXPECT_EQ(failure(checkGlyphImages), "glyphs: style 3 has 173 rows, expected 174");
}

TEST_F(FixtureDatabase, ImageThatDoesNotDecodeOrCopyThatDiffersIsRefused) {
  db_->exec("UPDATE glyphs SET data = x'89504e47' WHERE style = 1 AND glyph = 130");
  EXPECT_EQ(failure(checkGlyphImages), "glyphs: style 1, code 130: the PNG does not decode");
  SetUp();
  db_->exec("UPDATE glyphs SET data = (SELECT data FROM glyphs WHERE style = 0 AND glyph = 83) "
            "WHERE style = 5 AND glyph = 82");
  EXPECT_EQ(failure(checkGlyphImages), "glyphs: style 5 differs from style 0");
}

TEST_F(FixtureDatabase, MetricRowThatDisagreesWithItsImageIsNamed) {
  db_->exec("UPDATE glyphmetrics SET inkbottom = inkbottom + 1 WHERE grp = 2 AND glyph = 150");
  EXPECT_EQ(failure([](Database& db) { checkMetrics(db, noKasra); }),
            "glyphmetrics: group 2, code 150: stored rows 1-2 but the image measures 1-1");
}

TEST(GlyphStringCheck, NamesEachFault) {
  const std::string word80(80, '\xB2'), word81(81, '\xB2');
  struct Case {
    std::string data;
    const char* message;  // empty: the string passes
  } cases[] = {
      {word80 + "\n", ""},
      {word81 + "\n", "verse 2:5: a word longer than 80 codes"},
      {"\xB2\n\xB2\n", "verse 2:5: 10 before the end, at byte 1"},
      {"\xB2\x68\n", "verse 2:5: unknown code 104 at byte 1"},  // a drawn form, never stored
      {"\xB2  \xB2\n", "verse 2:5: an empty word at byte 2"},
      {"\xDC\xF8\xA4\xAF\n", "verse 2:5: lam followed by hamza and alef"},  // kasra in between
      {"\xDC\xA4\x20\xAF\n", ""},                                            // not in one word
      {"", "verse 2:5: the glyph string does not end with 10"},
  };
  for (const auto& c : cases) {
    std::string message;
    try {
      checkGlyphString(c.data, 2, 5);
    } catch (const CheckError& e) {
      message = e.what();
    }
    EXPECT_EQ(message, c.message);
  }
}

TEST(Inputs, WrongChecksumOrFontVersionNamesWhatDiffers) {
  fs::path file = tempDir("inputs") / "quran.json";
  std::ofstream(file) << "[]";
  std::string actual = sha256File(file.string());
  EXPECT_EQ(actual, "4f53cda18c2baa0c0354bb5f9a3ecbe5ed12ab4d8e11ba873c2f11161202b945");
  try {
    verifyDigest(file.string(), std::string(64, '0'));
    ADD_FAILURE();
  } catch (const InputError& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("quran.json"), std::string::npos);
    EXPECT_NE(m.find(actual), std::string::npos);
    EXPECT_NE(m.find(std::string(64, '0')), std::string::npos);
  }
  EXPECT_EQ(fontVersionString(ZARVEL_QURAN_FONT), kFontVersion);
  EXPECT_NO_THROW(verifyFont(ZARVEL_QURAN_FONT));
  try {
    verifyFont(ZARVEL_QURAN_FONT, "Version 1.000");
    ADD_FAILURE();
  } catch (const InputError& e) {
    EXPECT_NE(std::string(e.what()).find("\"Version 0.113\" differs from the pinned \"Version 1.000\""),
              std::string::npos);
  }
}

TEST(Build, FailedBuildLeavesThePreviousDatabaseAndNoTemporaryFile) {
  fs::path dir = tempDir("build");
  fs::create_directories(dir / "dist");
  for (const auto& f : pinnedTextFiles()) std::ofstream(dir / "dist" / f.name) << "[]";
  fs::path out = dir / "zarvel.db";
  std::ofstream(out) << "previous";
  EXPECT_THROW(buildDatabase((dir / "dist").string(), ZARVEL_QURAN_FONT, out.string()), InputError);
  EXPECT_EQ(readFile(out.string()), "previous");
  EXPECT_FALSE(fs::exists(out.string() + ".tmp"));
}

TEST(Build, DatabaseThatFailsItsChecksIsNotRenamedIntoPlace) {
  // The fixture is written in full, then refused by the checks (3 verses, not
  // 6236): the temporary file goes, the previous database stays.
  fs::path dir = tempDir("write");
  fs::path out = dir / "zarvel.db";
  std::ofstream(out) << "previous";
  try {
    writeDatabaseFile(fixtureContent(), noKasra, out.string());
    ADD_FAILURE() << "the checks passed";
  } catch (const CheckError& e) {
    EXPECT_EQ(std::string(e.what()), "surahdata: surah 1 has 3 verses, expected 7");
  }
  EXPECT_EQ(readFile(out.string()), "previous");
  EXPECT_FALSE(fs::exists(out.string() + ".tmp"));
}

TEST(QuranText, LoadsVersesAndRefusesAnotherLayout) {
  fs::path dir = tempDir("text");
  std::ofstream(dir / "good.json") << R"([{"id":1,"verses":[{"id":1,"text":"a","translation":"b"}]}])";
  std::ofstream(dir / "bad.json") << R"([{"id":1,"ayat":[]}])";
  auto verses = loadVerses((dir / "good.json").string(), "translation");
  ASSERT_EQ(verses.size(), 1u);
  EXPECT_EQ(verses[0].text, "b");
  EXPECT_THROW(loadVerses((dir / "bad.json").string(), "text"), InputError);
  EXPECT_THROW(loadVerses((dir / "missing.json").string(), "text"), InputError);
  EXPECT_THROW(checkVerseCounts(verses, "good.json"), InputError);
}
