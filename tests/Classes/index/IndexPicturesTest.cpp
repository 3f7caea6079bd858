// Pictures of the index as a person sees it, on the real content database
// when it is built: the surah list in its three name layouts and the juz
// sections with the juz bar, in landscape and portrait. They are written to
// the test folder's "index-pictures"; the checks here are the ones a picture
// shows at a glance.
#include "IndexTestEnvironment.h"

namespace indextest {
namespace {

class IndexPicturesTest : public IndexTest {
 protected:
  void SetUp() override {
    prepare(true);
    defaults().setInteger(0, kCurrentReciter);
  }
  // The share of the pixels of a window rectangle that are not near white.
  float ink(cg::Rect r) {
    window->layoutIfNeeded();
    auto image = window->snapshot();
    int dark = 0, all = 0;
    for (int y = int(r.minY()); y < int(r.maxY()); ++y)
      for (int x = int(r.minX()); x < int(r.maxX()); ++x, ++all) {
        cg::RGBA p = image->pixelAt(x, y);
        if (p.r + p.g + p.b < 600) ++dark;
      }
    return all ? float(dark) / all : 0;
  }
};

TEST_F(IndexPicturesTest, SurahListInItsThreeNameLayouts) {
  defaults().setInteger(18, kCurrentlyShowingSurah);
  installAudio(1, 0, true);
  installAudio(2, 0, true);
  installAudio(2, 3, true);
  installAudio(3, 4, false);
  struct Layout {
    bool indexInArabic;
    const char* language;
    const char* picture;
  };
  for (Layout l : {Layout{false, "en", "list-latin.png"}, Layout{true, "en", "list-calligraphic.png"},
                   Layout{false, "ar", "list-arabic-interface.png"}}) {
    SCOPED_TRACE(l.picture);
    defaults().setBool(l.indexInArabic, kIndexInArabic);
    Language::setLanguage(l.language);
    ZarvelSDKAppDelegate::ResetArabicCheck();
    index.reset();
    show();
    scrollTo(0);
    EXPECT_TRUE(writePicture(l.picture));
    // Every row of the first screen has its name drawn (as text or image).
    for (int row = 0; row < 12; ++row) {
      cg::Rect r = index->surahListTable()->convertRectToView(
          index->surahListTable()->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0)), nullptr);
      float nameInk = l.indexInArabic ? ink(cg::Rect(180, r.minY() + 6, 100, r.height() - 12))
                                      : ink(cg::Rect(l.language[0] == 'a' ? 180 : 90, r.minY() + 10, 90, 25));
      EXPECT_GT(nameInk, 0.02f) << row;
    }
  }
}

TEST_F(IndexPicturesTest, JuzSectionsWithTheJuzBarInBothOrientations) {
  defaults().setInteger(2, kCurrentlyShowingSurah);
  defaults().setInteger(30, kCurrentlyShowingVerse);
  defaults().setBool(true, kIsShowingSections);
  installAudio(2, 0, true);
  // The Arabic text in landscape, an English translation in portrait.
  for (auto [orientation, picture, trans] :
       {std::tuple{ui::InterfaceOrientation::LandscapeRight, "juz-landscape.png", 0},
        std::tuple{ui::InterfaceOrientation::Portrait, "juz-portrait.png", 1}}) {
    SCOPED_TRACE(picture);
    defaults().setInteger(trans, kCurrentTranslationPrimary);
    defaults().setInteger(0, kCurrentTranslationSecondary);
    index.reset();
    show(orientation);
    advance(0.5);  // the bar's art settles
    index->selectSectionForSurah(2, 30);
    index->surahListTable()->setContentOffset(cg::Point(0, 0), false);
    ASSERT_EQ(index->surahListTable()->numberOfSections(), 30);
    EXPECT_FALSE(index->sectionedMeta()[1]->Title.empty());
    EXPECT_TRUE(writePicture(picture));
    // The juz bar carries its labels down the whole column.
    const auto& labels = index->viewJuzzScroller->ThisIndexLabels();
    ASSERT_EQ(labels.size(), 30u);
    EXPECT_GT(labels.back()->convertPointToView(cg::Point(0, 0), nullptr).y, window->bounds().height() - 60);
  }
  // While a finger is on juz 12 the table shows it and the bar is lit.
  auto* bar = index->viewJuzzScroller.get();
  cg::Point p = bar->ThisIndexLabels()[11]->convertPointToView(cg::Point(22, 8), nullptr);
  window->sendTouch(0, ui::TouchPhase::Began, p);
  EXPECT_TRUE(writePicture("juz-bar-touched.png"));
  window->sendTouch(0, ui::TouchPhase::Ended, p);
}

}  // namespace
}  // namespace indextest
