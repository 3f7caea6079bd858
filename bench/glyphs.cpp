// The glyph renderer measuring and drawing a long surah (the 286 verses of
// surah 2) at style 4 into an offscreen surface, beside pango shaping and
// drawing the same verses with Amiri Quran at the same size and width, from
// the vowelled Uthmani text of quran-json that the glyph codes were made
// from. The real content database is used when the build has one; otherwise
// a fixture glyph set and a fixture surah made of sample words. The ratio of
// the two times (ours over pango's) is printed at the end.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "Classes/glyphs/ArabicFont.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "bench/BenchSupport.h"
// The tests' fixture glyph set, drawn with cairo.
#include "tests/Classes/glyphs/GlyphFixture.cpp"

namespace {

constexpr unsigned kStyle = 4;
constexpr int kVerses = 286;
constexpr int kRowWidth = 670;              // the verse row
constexpr int kLineWidth = kRowWidth - 70;  // what the row gives the renderer
constexpr double kEmPixels = 0.8 * 46;      // the glyph set's em at style 4

struct Surah {
  sqlite3* db = nullptr;
  bool real = false;
  std::vector<ns::Data> codes;
  std::vector<std::string> text;
};

// Sample words as stored codes and as the text spells them.
struct Word {
  ns::Data codes;
  const char* text;
};
const Word kWords[] = {
    {{178, 248, 195, 252, 222, 248}, "بِسۡمِ"},
    {{115, 220, 220, 250, 244, 226, 248}, "ٱللَّهِ"},
    {{167, 246, 228, 247, 220, 244, 245, 251, 173, 248, 218, 244}, "أُوْلَـٰٓئِكَ"},
    {{205, 244, 220, 244, 229, 251, 245}, "عَلَىٰٓ"},
    {{115, 220, 252, 167, 251, 189, 248, 192, 244, 179, 248}, "ٱلۡأٓخِرَةِ"},
    {{199, 246, 222, 250, 253}, "صُمُّۢ"},
    {{195, 244, 222, 248, 232, 205, 254, 175}, "سَمِيعَۢا"},
    {{220, 244, 165}, "لَآ"},
    {{115, 220, 224, 250, 244, 178, 248, 232, 250, 248, 108, 224, 244}, "ٱلنَّبِيِّـۧنَ"},
    {{167, 244, 224, 244, 175, 103}, "أَنَا۠"},
};

Surah fixtureSurah() {
  Surah s;
  s.db = glyphfixture::create(std::filesystem::temp_directory_path() / "bench-glyphs.db");
  for (int v = 1; v <= kVerses; ++v) {
    ns::Data codes;
    std::string text;
    const int words = 6 + (v * 7) % 36;  // about surah 2's 21 words a verse
    for (int w = 0; w < words; ++w) {
      const Word& word = kWords[(v * 3 + w * 7) % std::size(kWords)];
      if (w) {
        codes.push_back(32);
        text += ' ';
      }
      codes.insert(codes.end(), word.codes.begin(), word.codes.end());
      text += word.text;
    }
    codes.push_back(10);
    s.codes.push_back(std::move(codes));
    s.text.push_back(std::move(text));
  }
  return s;
}

Surah realSurah(const std::string& path) {
  Surah s;
  s.text = bench::uthmaniVerses(2);
  if (s.text.size() != std::size_t(kVerses)) return s;
  if (sqlite3_open_v2(path.c_str(), &s.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return s;
  s.real = true;
  for (int v = 1; v <= kVerses; ++v) s.codes.push_back(ChapterInfo::getVerseData(s.db, 2, v));
  return s;
}

Surah& surah() {
  static Surah s = [] {
    const std::string real = bench::builtContentDatabase();
    Surah found = !real.empty() ? realSurah(real) : Surah{};
    return found.real && !found.codes.empty() && !found.codes[0].empty() ? std::move(found) : fixtureSurah();
  }();
  return s;
}

void BM_GlyphRendererSurah2(benchmark::State& state) {
  Surah& s = surah();
  ArabicFont font(kStyle, false, s.db, 1);
  cg::Context ctx = cg::Context::bitmap(kRowWidth, 1200);
  font.initGlyphs();
  int height = 0;
  for (auto _ : state) {
    height = 0;
    for (int v = 0; v < kVerses; ++v) {
      const ns::Data& codes = s.codes[v];
      const int last = int(codes.size()) - 1;
      height += font.GetHeightOfVerseImage(v + 1, v + 1 == kVerses, &codes, 0, last, kLineWidth, false);
      font.DrawVerseImageFromBytes(ctx, v + 1, v + 1 == kVerses, &codes, 0, last, kRowWidth - 10,
                                   kLineWidth);
    }
    benchmark::DoNotOptimize(height);
  }
  state.counters["verses"] = kVerses;
  state.counters["height"] = height;
  state.SetLabel(s.real ? "content database" : "fixture glyph set");
}
BENCHMARK(BM_GlyphRendererSurah2)->Unit(benchmark::kMillisecond);

void BM_PangoAmiriSurah2(benchmark::State& state) {
  Surah& s = surah();
  cg::Context ctx = cg::Context::bitmap(kRowWidth, 1200);
  PangoFontDescription* desc = pango_font_description_from_string("Amiri Quran");
  pango_font_description_set_absolute_size(desc, kEmPixels * PANGO_SCALE);
  const bench::PangoParagraph verse{desc, kLineWidth, true};
  int height = 0;
  for (auto _ : state) {
    height = 0;
    for (int v = 0; v < kVerses; ++v) height += verse.draw(ctx.cairo(), s.text[v], kRowWidth - 10 - kLineWidth, 0);
    benchmark::DoNotOptimize(height);
  }
  pango_font_description_free(desc);
  state.counters["verses"] = kVerses;
  state.counters["height"] = height;
}
BENCHMARK(BM_PangoAmiriSurah2)->Unit(benchmark::kMillisecond);

}  // namespace

// Each benchmark runs nine times, shuffled with the other, so that a spell of
// load on the shared machine falls on both sides of the ratio; the ratios are
// of the medians, of real and of CPU time.
int main(int argc, char** argv) {
  return bench::runAndPrintRatios(
      argc, argv,
      [](const bench::TimeKeeper& times) {
        const double real = times.ratio("BM_GlyphRendererSurah2", "BM_PangoAmiriSurah2");
        const double cpu = times.ratio("BM_GlyphRendererSurah2", "BM_PangoAmiriSurah2", bench::TimeKeeper::Clock::Cpu);
        if (real > 0 && cpu > 0)
          std::printf("\nglyph renderer / pango (%s; goal: at most 0.25): real %.2f, CPU %.2f\n",
                      surah().real ? "surah 2, Uthmani text" : "fixture surah", real, cpu);
      },
      9);
}
