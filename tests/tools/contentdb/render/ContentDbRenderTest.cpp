// Draws real verses from the built content database with the glyph renderer,
// and lays out every verse at a narrow width. Pictures go to
// <build>/test-output/contentdb/ for a person to look at.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "Classes/glyphs/ArabicFont.h"
#include "platform/graphics/Context.h"
#include "tools/contentdb/Converter.h"

namespace fs = std::filesystem;

namespace {

class BuiltDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(ZARVEL_TEST_TMP);
    setenv("ZARVEL_HOME", ZARVEL_TEST_TMP, 1);
    if (!fs::exists(ZARVEL_CONTENT_DB)) GTEST_SKIP() << "no built " << ZARVEL_CONTENT_DB;
    ASSERT_EQ(sqlite3_open_v2(ZARVEL_CONTENT_DB, &db_, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }

  ns::Data verse(int surah, int verse) {
    ns::Data out;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db_, "SELECT data FROM surahdata WHERE surah = ? AND verse = ?", -1, &s, nullptr);
    sqlite3_bind_int(s, 1, surah);
    sqlite3_bind_int(s, 2, verse);
    if (sqlite3_step(s) == SQLITE_ROW) {
      auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(s, 0));
      out.assign(p, p + sqlite3_column_bytes(s, 0));
    }
    sqlite3_finalize(s);
    return out;
  }

  // Draws the verses one under the other, right-aligned, on white.
  void drawVerses(unsigned style, int width, const std::vector<std::pair<int, int>>& verses,
                  const std::string& name) {
    ArabicFont font(style, true, db_, 1);
    font.canColorStopSigns = true;
    std::vector<ns::Data> data;
    int total = 0;
    for (auto [s, v] : verses) {
      data.push_back(verse(s, v));
      ASSERT_FALSE(data.back().empty()) << s << ":" << v;
      font.initCurrentVerseMetaData(v, width);
      total += font.GetHeightOfVerseImage(v, false, &data.back(), 0, int(data.back().size()) - 1, width, false);
    }
    ASSERT_GT(total, 0);
    const int margin = 10;
    auto ctx = cg::Context::bitmap(float(width + 2 * margin), float(total + 2 * margin));
    ctx.setFillColor(cg::Color::white());
    ctx.fillRect(cg::Rect(0, 0, float(width + 2 * margin), float(total + 2 * margin)));
    int y = margin;
    for (size_t i = 0; i < data.size(); ++i) {
      int v = verses[i].second, last = int(data[i].size()) - 1;
      font.initCurrentVerseMetaData(v, width);
      int h = font.GetHeightOfVerseImage(v, false, &data[i], 0, last, width, true);
      ctx.save();
      ctx.translate(0, float(y));
      font.DrawVerseImageFromBytes(ctx, v, false, &data[i], 0, last, margin + width, width);
      ctx.restore();
      y += h;
    }
    fs::path dir = fs::path(ZARVEL_TEST_OUTPUT);
    fs::create_directories(dir);
    EXPECT_TRUE(ctx.makeImage()->writePNG((dir / name).string()));
  }

  sqlite3* db_ = nullptr;
};

}  // namespace

TEST_F(BuiltDatabase, DrawsAlFatihaAndAyatAlKursiWithTajweedColours) {
  std::vector<std::pair<int, int>> fatiha;
  for (int v = 1; v <= 7; ++v) fatiha.push_back({1, v});
  for (unsigned style : {0u, 4u}) {
    int width = style == 0 ? 500 : 800;
    drawVerses(style, width, fatiha, "fatiha-style" + std::to_string(style) + ".png");
    drawVerses(style, width, {{2, 255}}, "ayat-al-kursi-style" + std::to_string(style) + ".png");
  }
}

// The reading screen's rows: each verse in a row exactly as high as the
// measured height, right edge at the row width less 10, lines of the row
// width less 70, rows shaded in turn so that ink crossing a row shows.
TEST_F(BuiltDatabase, DrawsReadingRowsOfOpeningVersesAtStyle4) {
  struct Picture {
    const char* name;
    int surah, first, last;
  } pictures[] = {{"rows-1-1-7-style4.png", 1, 1, 7},
                  {"rows-2-1-5-style4.png", 2, 1, 5},
                  {"rows-22-5-style4.png", 22, 5, 5}};
  const int rowWidth = 670, width = rowWidth - 70;
  for (const Picture& p : pictures) {
    ArabicFont font(4, true, db_, 1);
    font.canColorStopSigns = true;
    std::vector<ns::Data> data;
    std::vector<int> heights;
    int total = 0;
    for (int v = p.first; v <= p.last; ++v) {
      data.push_back(verse(p.surah, v));
      heights.push_back(font.GetHeightOfVerseImage(v, false, &data.back(), 0,
                                                   int(data.back().size()) - 1, width, false));
      total += heights.back();
    }
    // All the rows first, then the verses unclipped: ink outside its row shows.
    const int margin = 20;
    auto ctx = cg::Context::bitmap(float(rowWidth), float(total + margin));
    ctx.setFillColor(cg::Color::fromRGB255(255, 230, 230));
    ctx.fillRect(cg::Rect(0, 0, float(rowWidth), float(total + margin)));
    for (size_t i = 0, y = 0; i < data.size(); y += heights[i], ++i) {
      ctx.setFillColor(i % 2 ? cg::Color::fromRGB255(225, 232, 240) : cg::Color::white());
      ctx.fillRect(cg::Rect(0, float(y), float(rowWidth), float(heights[i])));
    }
    int y = 0;
    for (size_t i = 0; i < data.size(); ++i) {
      ctx.save();
      ctx.translate(0, float(y));
      const int v = p.first + int(i);
      font.DrawVerseImageFromBytes(ctx, v, false, &data[i], 0, int(data[i].size()) - 1, rowWidth - 10,
                                   width);
      ctx.restore();
      y += heights[i];
    }
    fs::path dir = fs::path(ZARVEL_TEST_OUTPUT);
    fs::create_directories(dir);
    EXPECT_TRUE(ctx.makeImage()->writePNG((dir / p.name).string()));
  }
}

TEST_F(BuiltDatabase, EveryVerseKeepsItsInkInsideItsMeasuredHeightAtEveryStyle) {
  // Each verse drawn with a margin above and below its measured height: no
  // ink may fall in either margin. Every verse at the largest size (styles 4
  // and 9), every fifth at the others.
  const int rowWidth = 670, width = rowWidth - 70, margin = 40;
  std::vector<std::pair<std::string, ns::Data>> verses;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db_, "SELECT surah, verse, data FROM surahdata ORDER BY surah, verse", -1, &s, nullptr);
  while (sqlite3_step(s) == SQLITE_ROW) {
    auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(s, 2));
    verses.push_back({std::to_string(sqlite3_column_int(s, 0)) + ":" + std::to_string(sqlite3_column_int(s, 1)),
                      ns::Data(p, p + sqlite3_column_bytes(s, 2))});
  }
  sqlite3_finalize(s);
  ASSERT_EQ(verses.size(), 6236u);
  for (unsigned style = 0; style < 10; ++style) {
    ArabicFont font(style, true, db_, style >= 5 ? 2 : 1);
    int outside = 0;
    const std::size_t step = style == 4 || style == 9 ? 1 : 5;
    for (std::size_t i = 0; i < verses.size(); i += step) {
      const auto& [name, data] = verses[i];
      const int last = int(data.size()) - 1;
      const int height = font.GetHeightOfVerseImage(1, false, &data, 0, last, width, false);
      auto ctx = cg::Context::bitmap(float(rowWidth), float(height + 2 * margin));
      ctx.translate(0, float(margin));
      font.DrawVerseImageFromBytes(ctx, 1, false, &data, 0, last, rowWidth - 10, width);
      cairo_surface_t* target = cairo_get_target(ctx.cairo());
      cairo_surface_flush(target);
      const unsigned char* pixels = cairo_image_surface_get_data(target);
      const int stride = cairo_image_surface_get_stride(target);
      auto inkInRows = [&](int from, int to) {
        for (int y = from; y < to; ++y) {
          auto* row = reinterpret_cast<const uint32_t*>(pixels + std::size_t(y) * stride);
          for (int x = 0; x < rowWidth; ++x)
            if (row[x] >> 24) return true;
        }
        return false;
      };
      const bool above = inkInRows(0, margin), below = inkInRows(margin + height, height + 2 * margin);
      if (above || below) {
        int reach = 0;
        for (int y = margin + height; y < height + 2 * margin; ++y)
          if (inkInRows(y, y + 1)) reach = y - margin - height + 1;
        if (++outside <= 5)
          ADD_FAILURE() << "style " << style << ", " << name << ": ink " << (above ? "above " : "")
                        << (below ? "below " : "") << "the height " << height << " by " << reach << " rows";
      }
    }
    EXPECT_EQ(outside, 0) << "style " << style;
  }
}

TEST_F(BuiltDatabase, AKasraUnderAFinalOrIsolatedMeemKeepsClearOfItsTail) {
  // بِسۡمِ ends in a final meem, مِ alone is an isolated one. The word is
  // drawn with and without its kasra; the kasra is found where its image laid
  // over the word without it gives the word with it, and none of its ink may
  // lie on the meem's ink.
  const ns::Data words[][2] = {{{178, 248, 195, 252, 222, 248}, {178, 248, 195, 252, 222}},
                               {{222, 248}, {222}}};
  const int w = 200, h = 120;
  for (unsigned style = 0; style < 10; ++style) {
    ArabicFont font(style, false, db_, style >= 5 ? 2 : 1);
    font.initGlyphs();
    const auto kasra = font.getGlyph(248 - 82, 0);
    ASSERT_TRUE(kasra);
    for (const auto& [withKasra, without] : words) {
      SCOPED_TRACE(testing::Message() << "style " << style << ", " << withKasra.size() << " codes");
      auto draw = [&](ns::Data word) {
        word.push_back(10);
        auto ctx = cg::Context::bitmap(float(w), float(h));
        font.DrawVerseImageFromBytes(ctx, 1, false, &word, 0, int(word.size()) - 1, w - 10, w - 20);
        return ctx.makeImage();
      };
      auto a = draw(withKasra), b = draw(without);
      auto over = [&](int ox, int oy) {
        for (int y = 0; y < kasra->height(); ++y)
          for (int x = 0; x < kasra->width(); ++x) {
            const int k = kasra->pixelAt(x, y).a, under = b->pixelAt(ox + x, oy + y).a;
            if (std::abs(a->pixelAt(ox + x, oy + y).a - (k + under * (255 - k) / 255)) > 2) return false;
          }
        return true;
      };
      int overlap = -1;
      for (int oy = 0; oy + kasra->height() <= h && overlap < 0; ++oy)
        for (int ox = 0; ox + kasra->width() <= w && overlap < 0; ++ox) {
          if (a->pixelAt(ox, oy) == b->pixelAt(ox, oy) && kasra->pixelAt(0, 0).a > 0) continue;
          if (!over(ox, oy)) continue;
          overlap = 0;
          for (int y = 0; y < kasra->height(); ++y)
            for (int x = 0; x < kasra->width(); ++x)
              overlap += kasra->pixelAt(x, y).a >= 64 && b->pixelAt(ox + x, oy + y).a >= 64;
        }
      EXPECT_EQ(overlap, 0) << "-1: the kasra was not found";
    }
  }
}

TEST_F(BuiltDatabase, EveryVerseFitsItsLineRecordAtANarrowWidth) {
  // The largest size at 250 points: at most 119 lines per verse, and no word
  // wider than the line.
  ArabicFont font(4, false, db_, 1);
  const int width = 250;
  int worst = 0, count = 0, widest = 0;
  std::string worstVerse;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db_, "SELECT surah, verse, data FROM surahdata ORDER BY surah, verse", -1, &s, nullptr);
  while (sqlite3_step(s) == SQLITE_ROW) {
    int surah = sqlite3_column_int(s, 0), v = sqlite3_column_int(s, 1);
    auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(s, 2));
    ns::Data data(p, p + sqlite3_column_bytes(s, 2));
    font.initCurrentVerseMetaData(v, width);
    font.GetHeightOfVerseImage(v, false, &data, 0, int(data.size()) - 1, width, true);
    const VerseMetaData& meta = *font.currVerseMetaData();
    int lines = meta.lineCount();
    EXPECT_LE(lines, VerseMetaData::kMaxLines - 1) << surah << ":" << v;
    // Each word alone, on a line of unbounded width.
    for (int start = 0; start < int(data.size());) {
      int end = start;
      while (data[end] != 32 && data[end] != 10) ++end;
      font.initCurrentVerseMetaData(v, 100000);
      font.GetHeightOfVerseImage(v, false, &data, start, end - 1, 100000, true);
      int wordWidth = font.currVerseMetaData()->arrLineActualWidth[0];
      EXPECT_LE(wordWidth, width) << surah << ":" << v << " word at byte " << start;
      widest = std::max(widest, wordWidth);
      start = end + 1;
    }
    if (lines > worst) {
      worst = lines;
      worstVerse = std::to_string(surah) + ":" + std::to_string(v);
    }
    ++count;
  }
  sqlite3_finalize(s);
  EXPECT_EQ(count, 6236);
  std::printf("most lines: %d (%s); widest word: %d points\n", worst, worstVerse.c_str(), widest);
}

TEST_F(BuiltDatabase, TheDataStoreReadsEveryKindOfText) {
  EXPECT_EQ(ChapterInfo::getVerseData(db_, 1, 1), verse(1, 1));
  EXPECT_EQ(ChapterInfo::getTranslationFor(db_, 1, 1, 1),
            "In the name of Allah, the Entirely Merciful, the Especially Merciful");
  EXPECT_EQ(ChapterInfo::getTranslationFor(db_, 0, 1, 1), "بسم الله الرحمن الرحيم");
  EXPECT_EQ(ChapterInfo::getArabicVerseFor(db_, 1, 1).rfind("بِسۡمِ ٱ", 0), 0u);
  EXPECT_EQ(ChapterInfo::getTranslationFor(db_, 10, 1, 1), "Bismi Allahi alrrahmani alrraheemi");
  EXPECT_EQ(ChapterInfo::getTranslationDataFor(db_, 30, 1).size(), 7u);
  EXPECT_TRUE(ChapterInfo::getTranslationDataFor(db_, 2, 1).empty());  // shipped empty
  EXPECT_EQ(ChapterInfo::hezbFromSurah(db_, 2, 26), 2);
  EXPECT_EQ(ChapterInfo::hezbFromSurah(db_, 68, 1), 226);
  EXPECT_EQ(ChapterInfo::hezbFromSurah(db_, 100, 9), 240);
  EXPECT_EQ(ChapterInfo::getMP3RecitationSize(db_, 1, 1), 0);

  struct Search {
    int trans;
    const char* text;
  } searches[] = {{1, "mercy"}, {1, "light -darkness"}, {0, "الرحمن"}, {10, "alrrahmani"},
                  {8, "lumiere"}, {13, "свет"}, {2, "mercy"}};
  for (const auto& q : searches) {
    bool limit = false;
    auto hits = ChapterInfo::getSearchResults(db_, q.trans, q.text, &limit);
    if (q.trans == 2) {
      EXPECT_TRUE(hits.empty());
    } else {
      EXPECT_FALSE(hits.empty()) << q.trans << " " << q.text;
    }
  }
}

// Copy and mail hand on the verse as it is drawn: converted again, every
// verse's copied text gives the glyph codes that are drawn.
TEST_F(BuiltDatabase, CopiedArabicIsTheDrawnUthmaniText) {
  for (int surah = 1; surah <= 114; ++surah) {
    for (int v = 1; v <= ChapterInfo::getVersesFromNumber(surah); ++v) {
      std::string copied = ChapterInfo::getArabicVerseFor(db_, surah, v);
      ns::Data drawn = verse(surah, v);
      ASSERT_EQ(contentdb::convertVerse(copied, surah, v), std::string(drawn.begin(), drawn.end())) << surah << ":" << v;
    }
  }
  EXPECT_NE(ChapterInfo::getArabicVerseFor(db_, 2, 179).find("يَـٰٓأُوْلِي ٱلۡأَلۡبَٰبِ"), std::string::npos);
}

// The Arabic search finds verses from the standard spelling a reader types,
// where the Uthmani text writes the word otherwise.
TEST_F(BuiltDatabase, ArabicSearchFindsVersesFromTheStandardSpelling) {
  struct Case {
    const char* typed;
    int surah, verse;
  } cases[] = {
      {"الألباب", 2, 179}, {"يا أولي", 2, 179}, {"السماوات", 2, 164}, {"الصلاة", 2, 3},
      {"الزكاة", 2, 43},   {"الرحمن", 1, 1},    {"هذا", 2, 25},       {"ذلك", 2, 2},
      {"إله", 2, 163},     {"أولئك", 2, 5},     {"هؤلاء", 2, 31},     {"الحياة", 2, 85},
      {"يا أيها", 2, 21},  {"القرآن", 2, 185},  {"الآخرة", 2, 4},     {"الملائكة", 2, 31},
      {"إبراهيم", 2, 124}, {"إسرائيل", 2, 40},  {"التوراة", 3, 3},    {"موسى", 2, 51},
      {"الليل", 2, 164},   {"داود", 2, 251},    {"ولكن", 2, 12},      {"آمنوا", 2, 9},
      {"يسألونك", 2, 189}, {"شيئا", 2, 48},     {"السيئات", 4, 18},   {"الربا", 2, 275},
      {"مالك", 1, 4},      {"العالمين", 1, 2},  {"الصراط", 1, 6},     {"يا قوم", 2, 54},
  };
  for (const auto& c : cases) {
    bool limit = false;
    auto hits = ChapterInfo::getSearchResults(db_, 0, c.typed, &limit);
    bool found = std::any_of(hits.begin(), hits.end(),
                             [&](const auto& hit) { return hit->surah() == c.surah && hit->verse() == c.verse; });
    EXPECT_TRUE(found) << c.typed << " does not find " << c.surah << ":" << c.verse << " among " << hits.size()
                       << " verses";
  }
}
