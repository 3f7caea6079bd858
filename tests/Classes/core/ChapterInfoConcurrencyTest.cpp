// ChapterInfo used from several threads and two user connections at once.
#include <gtest/gtest.h>

#include <thread>

#include "Classes/core/ChapterInfo.h"
#include "Fixtures.h"

namespace {

TEST(ChapterInfoConcurrency, InstallerMarkerAndMainThreadLoseNoWrite) {
  fixtures::Store store;
  constexpr int kBlobs = 300;
  constexpr int kMarkRounds = 4;

  std::thread installer([&] {
    for (int i = 0; i < kBlobs; ++i) {
      ns::Data mp3(2048, static_cast<std::uint8_t>(i));
      int surah = i < 286 ? 2 : 3;
      int verse = i < 286 ? i + 1 : i - 285;
      EXPECT_TRUE(ChapterInfo::insertMP3Blob(store.installer, surah, verse, 3, mp3)) << i;
    }
    EXPECT_TRUE(ChapterInfo::markAudioAsInstalled(store.installer, 2, 3));
  });

  std::thread marker([&] {
    for (int round = 1; round <= kMarkRounds; ++round) {
      bool limit = false;
      auto hits = ChapterInfo::getSearchResults(store.content, 1, "verse", &limit);
      ASSERT_EQ(hits.size(), 200u);
      ASSERT_TRUE(ChapterInfo::beginTrans(store.user));
      for (const auto& hit : hits) EXPECT_TRUE(ChapterInfo::reflectSearchedVerses(store.user, hit->surah(), hit->verse(), round));
      EXPECT_TRUE(ChapterInfo::commitTrans(store.user));
    }
  });

  // The main thread toggles bookmarks meanwhile: verse v is toggled v times.
  for (int verse = 1; verse <= 40; ++verse) {
    for (int t = 0; t < verse; ++t) {
      if (t % 2 == 0) EXPECT_TRUE(ChapterInfo::insertBookmark(store.user, 1, verse, false, 0, "n"));
      else EXPECT_TRUE(ChapterInfo::deleteBookmark(store.user, 1, verse, false));
      EXPECT_EQ(ChapterInfo::isBookmarked(store.user, 1, verse), t % 2 == 0);
    }
  }
  installer.join();
  marker.join();

  EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM recitationmp3s"), kBlobs);
  EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM searchmatches"), kMarkRounds * 200);
  EXPECT_EQ(ChapterInfo::getBookmarkCount(store.user, 1, 0), 20);  // the odd verses
  EXPECT_EQ(ChapterInfo::getMP3Recitation(store.user, 3, 14, 3), ns::Data(2048, static_cast<std::uint8_t>(299)));
  EXPECT_TRUE(ChapterInfo::isSurahAudioInstalled(store.user, 2, 3));
}

}  // namespace
