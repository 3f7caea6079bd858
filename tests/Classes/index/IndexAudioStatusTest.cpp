// The recitation status of each surah: the codes 0 to 3 as the rows show
// them, read in a few statements, and the same answers the data store's
// per-surah checks give.
#include <sqlite3.h>

#include <algorithm>

#include "Classes/index/IndexAudioStatus.h"
#include "IndexTestEnvironment.h"

namespace indextest {
namespace {

class AudioStatusTest : public IndexTest {};

TEST_F(AudioStatusTest, EachSurahHasTheCodeOfWhoseRecitationIsInstalled) {
  defaults().setInteger(1, kCurrentReciter);
  installAudio(2, 1, true);   // the current reciter, continuous
  installAudio(3, 7, false);  // its high-quality twin counts as the current reciter
  installAudio(3, 4, true);   // and another
  installAudio(4, 5, false);  // another only
  installAudio(5, 0, true);
  show();
  const std::vector<int>& codes = index->arrAudioInstalledStatus();
  ASSERT_EQ(codes.size(), 114u);
  struct Case {
    int surah, code;
    bool mine, others;
  };
  for (Case c : {Case{1, 0, false, false}, Case{2, 1, true, false}, Case{3, 3, true, true}, Case{4, 2, false, true},
                 Case{5, 2, false, true}, Case{114, 0, false, false}}) {
    SCOPED_TRACE(c.surah);
    EXPECT_EQ(codes[c.surah - 1], c.code);
    EXPECT_EQ(index->isSurahAudioInstalled(c.surah), c.mine);
    EXPECT_EQ(index->isSurahAudioInstalledForOthers(c.surah), c.others);
  }
  for (int outside : {0, -3, 115})
    EXPECT_FALSE(index->isSurahAudioInstalled(outside) || index->isSurahAudioInstalledForOthers(outside));

  // The rows show the codes' art.
  for (auto [surah, code] : {std::pair{1, 0}, std::pair{2, 1}, std::pair{3, 3}, std::pair{4, 2}}) {
    auto* row = dynamic_cast<SurahCellView*>(cellAt(surah - 1)->cellView());
    EXPECT_EQ(row->audioStatus(), code);
  }
  EXPECT_EQ(dynamic_cast<SurahCellView*>(cellAt(3)->cellView())->soundButton()->currentImage(),
            ui::Image::imageNamed("ipad-sound-index-multi.png"));
  EXPECT_EQ(dynamic_cast<SurahCellView*>(cellAt(0)->cellView())->soundButton()->currentImage(),
            ui::Image::imageNamed("ipad-sound-index-dead.png"));
}

// The per-surah checks of the data store, as the status was once computed.
std::vector<int> statusByQueries(sqlite3* db, int reciter) {
  int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
  auto has = [db](int surah, int r) {
    return (ChapterInfo::doesReciterSupportContRecitation(r) && ChapterInfo::isSurahAudioContinuous(db, surah, r)) ||
           ChapterInfo::isSurahAudioInstalled(db, surah, r);
  };
  std::vector<int> codes;
  for (int surah = 1; surah <= 114; ++surah) {
    bool others = false;
    for (int r = 0; r < ChapterInfo::getTotalRecitersCount() && !others; ++r)
      if (r != reciter && r != hq) others = has(surah, r);
    bool current = has(surah, reciter);
    codes.push_back(current ? (others ? 3 : 1) : (others ? 2 : 0));
  }
  return codes;
}

TEST_F(AudioStatusTest, TwoStatementsAnswerAsThePerSurahChecks) {
  sqlite3* db = delegate->dbConnection();
  // Per-verse and continuous sets, high-quality ones, reciters out of range
  // and surahs out of range, spread over the text.
  for (int surah = 1; surah <= 114; ++surah) {
    if (surah % 3 == 0) ChapterInfo::markAudioAsInstalled(db, surah, surah % 9);
    if (surah % 5 == 0) ChapterInfo::markContAudioAsInstalled(db, surah, (surah / 5) % 9, surah % 2 == 0);
    if (surah % 7 == 0) ChapterInfo::markContAudioAsInstalled(db, surah, 7, true);
  }
  fixtures::exec(db, "INSERT INTO recitations (reciter, surah) VALUES (12, 4), (3, 0), (3, 200)");
  fixtures::exec(db, "INSERT INTO contrecitations (reciter, surah, ishq) VALUES (-1, 6, 0), (2, 8, 5)");

  int statements = 0;
  sqlite3_trace_v2(
      db, SQLITE_TRACE_STMT,
      [](unsigned, void* count, void*, void*) {
        ++*static_cast<int*>(count);
        return 0;
      },
      &statements);
  for (int reciter = 0; reciter < 9; ++reciter) {
    SCOPED_TRACE(reciter);
    statements = 0;
    std::vector<int> codes = IndexAudioStatus::read(db).codesForReciter(reciter);
    EXPECT_LE(statements, 2);
    EXPECT_EQ(codes, statusByQueries(db, reciter));
  }
  sqlite3_trace_v2(db, 0, nullptr, nullptr);
}

TEST_F(AudioStatusTest, UnreadableTablesCountAsNothingInstalled) {
  sqlite3* db = delegate->dbConnection();
  ChapterInfo::markAudioAsInstalled(db, 2, 0);
  fixtures::exec(db, "DROP TABLE contrecitations");
  ns::LogCapture log;
  log.setEcho(false);
  std::vector<int> codes = IndexAudioStatus::read(db).codesForReciter(0);
  EXPECT_TRUE(log.contains("[refreshInstalledAudioCache] Error: failed to prepare statement"));
  EXPECT_EQ(codes[1], 1);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 0), 113);
  EXPECT_EQ(IndexAudioStatus::read(nullptr).codesForReciter(0), std::vector<int>(114, 0));
}

}  // namespace
}  // namespace indextest
