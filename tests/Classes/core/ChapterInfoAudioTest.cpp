// ChapterInfo: reciter catalogue, installed recitations and stored MP3s.
#include <gtest/gtest.h>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Data+Bzip2.h"
#include "Fixtures.h"
#include "platform/foundation/Log.h"

namespace {

class AudioTest : public ::testing::Test {
 protected:
  fixtures::Store store;
};

TEST(ReciterCatalogue, NumbersAndParts) {
  EXPECT_EQ(ChapterInfo::getTotalRecitersCount(), 9);
  const std::pair<int, int> folders[] = {{0, 0}, {1, 7}, {2, 2}, {8, 8}, {9, 0}, {-1, 0}};
  for (auto [reciter, folder] : folders) EXPECT_EQ(ChapterInfo::getRemoteFolderNumberForReciter(reciter), folder);
  EXPECT_EQ(ChapterInfo::getRemoteReciterHQCode(1), 7);
  EXPECT_EQ(ChapterInfo::getRemoteReciterHQCode(4), 4);
  EXPECT_TRUE(ChapterInfo::doesReciterSupportContRecitation(8));
  EXPECT_FALSE(ChapterInfo::doesReciterSupportContRecitation(9));
  const std::pair<int, int> parts[] = {{2, 40}, {12, 12}, {114, 1}, {0, 0}, {60, 2}, {79, 2}, {80, 1}, {7, 24}};
  for (auto [surah, count] : parts) EXPECT_EQ(ChapterInfo::getTotalPartsForChapter(surah), count) << surah;
  EXPECT_EQ(ChapterInfo::getReciterFullNameFromNumber(1), ChapterInfo::getReciterFullNameFromNumber(7));
  EXPECT_EQ(ChapterInfo::getReciterShortNameFromNumber(42), ChapterInfo::getReciterShortNameFromNumber(0));
}

TEST_F(AudioTest, TwinsCountAsOneForPerVerseAudio) {
  ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(store.user, 2, 7));
  EXPECT_TRUE(ChapterInfo::isSurahAudioInstalled(store.user, 2, 1));
  EXPECT_TRUE(ChapterInfo::isSurahAudioInstalled(store.user, 2, 7));
  EXPECT_FALSE(ChapterInfo::isSurahAudioInstalled(store.user, 3, 1));
  ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(store.user, 2, 1));
  ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(store.user, 5, 1));
  {
    ns::LogCapture capture;
    capture.setEcho(false);
    EXPECT_TRUE(ChapterInfo::markAudioAsInstalled(store.user, 5, 1));  // marked again: still installed, quietly
    EXPECT_TRUE(capture.lines().empty());
  }
  EXPECT_EQ(ChapterInfo::getInstalledAudios(store.user, 1), (std::vector<int>{2, 5}));  // 2 once
  EXPECT_EQ(ChapterInfo::getInstalledAudioReciters(store.user), (std::vector<int>{1}));

  ASSERT_TRUE(ChapterInfo::deleteAudio(store.user, 2, 1, true));
  EXPECT_FALSE(ChapterInfo::isSurahAudioInstalled(store.user, 2, 7));
}

TEST_F(AudioTest, InstalledReciterList) {
  struct Case {
    std::vector<int> installed, expected;
  };
  const Case cases[] = {{{0, 1, 7}, {0, 1}}, {{3, 7}, {3, 7}}, {{7, 1}, {1}}, {{}, {}}};
  for (const Case& c : cases) {
    fixtures::exec(store.user, "DELETE FROM recitations");
    for (int reciter : c.installed) ChapterInfo::markAudioAsInstalled(store.user, 1, reciter);
    EXPECT_EQ(ChapterInfo::getInstalledAudioReciters(store.user), c.expected);
  }
}

TEST_F(AudioTest, ContinuousAudioAndTheResolvedReciter) {
  EXPECT_EQ(ChapterInfo::getResolvedReciterCode(store.user, 1, 2), 7);
  EXPECT_EQ(ChapterInfo::getResolvedReciterCode(store.user, 4, 2), 4);
  ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(store.user, 2, 1, false));
  EXPECT_TRUE(ChapterInfo::isSurahAudioContinuous(store.user, 2, 1));
  EXPECT_EQ(ChapterInfo::getResolvedReciterCode(store.user, 1, 2), 1);
  ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(store.user, 2, 7, true));
  {
    ns::LogCapture capture;
    capture.setEcho(false);
    // Installed again: the unique key keeps one row, and the mark still succeeds, quietly.
    EXPECT_TRUE(ChapterInfo::markContAudioAsInstalled(store.user, 2, 7, true));
    EXPECT_TRUE(capture.lines().empty());
    EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM contrecitations WHERE reciter = 7"), 1);
  }
  EXPECT_TRUE(ChapterInfo::isSurahAudioHQInstalled(store.user, 2, 1));
  EXPECT_EQ(ChapterInfo::getResolvedReciterCode(store.user, 1, 2), 7);

  ASSERT_TRUE(ChapterInfo::insertContMP3Blob(store.user, 2, 1, 1, ns::dataFromString("part one")));
  ASSERT_TRUE(ChapterInfo::deleteContAudio(store.user, 2, 1));
  EXPECT_FALSE(ChapterInfo::isSurahAudioContinuous(store.user, 3, 1));
  EXPECT_TRUE(ChapterInfo::isSurahAudioHQInstalled(store.user, 2, 1));  // the twin's rows stay
  EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM contrecitationmp3s"), 0);
}

TEST_F(AudioTest, StoredMP3sRoundTripCompressed) {
  ns::Data mp3(200000);
  for (size_t i = 0; i < mp3.size(); ++i) mp3[i] = static_cast<std::uint8_t>((i * 31) % 7 + i / 1000);
  ASSERT_TRUE(ChapterInfo::insertMP3Blob(store.installer, 2, 5, 3, mp3));
  EXPECT_EQ(ChapterInfo::getMP3Recitation(store.user, 2, 5, 3), mp3);
  EXPECT_LT(fixtures::scalarInt(store.user, "SELECT length(mp3) FROM recitationmp3s"), 200000);
  // REPLACE keeps one row per verse.
  ASSERT_TRUE(ChapterInfo::insertMP3Blob(store.installer, 2, 5, 3, ns::dataFromString("new")));
  EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM recitationmp3s"), 1);
  EXPECT_EQ(ChapterInfo::getMP3Recitation(store.user, 2, 5, 3), ns::dataFromString("new"));

  ASSERT_TRUE(ChapterInfo::insertContMP3Blob(store.user, 36, 2, 4, mp3));
  EXPECT_EQ(ChapterInfo::getContMP3Recitation(store.user, 36, 2, 4), mp3);

  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_TRUE(ChapterInfo::getContMP3Recitation(store.user, 36, 3, 4).empty());
  EXPECT_TRUE(capture.contains("MP3 NOT FOUND FOR: 36:3"));
  EXPECT_TRUE(ChapterInfo::getMP3Recitation(store.user, 2, 6, 3).empty());

  // Bytes that do not inflate read as empty data, with a log line.
  fixtures::exec(store.user, "INSERT INTO recitationmp3s VALUES (3, 2, 9, x'1f8b0800deadbeef')");
  capture.clear();
  EXPECT_TRUE(ChapterInfo::getMP3Recitation(store.user, 2, 9, 3).empty());
  EXPECT_TRUE(capture.contains("[getMP3Recitation] Error: stored MP3 data does not inflate."));

  ASSERT_TRUE(ChapterInfo::deleteAudioMP3(store.user, 2, 3));
  EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM recitationmp3s"), 0);
}

TEST_F(AudioTest, PartsTimingsAndSizesFromTheContentDatabase) {
  EXPECT_EQ(ChapterInfo::getContMP3Part(store.content, 2, 17, 3), 3);
  EXPECT_EQ(ChapterInfo::getContMP3Part(store.content, 2, 17, 4), 0);
  EXPECT_FLOAT_EQ(ChapterInfo::getContMP3BeginsTime(store.content, 2, 11, 3), 21.0f);
  EXPECT_EQ(ChapterInfo::getContMP3BeginsTime(store.content, 9, 1, 3), 0.0f);
  EXPECT_EQ(ChapterInfo::getMP3RecitationSize(store.content, 2, 7), 98765432);
  EXPECT_EQ(ChapterInfo::getMP3RecitationSize(store.content, 2, 1), 0);
}

}  // namespace
