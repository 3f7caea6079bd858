#include "Classes/core/ArabicVerseMeta.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"

const ns::Data& ArabicVerseMeta::VerseData() {
  if (!VerseData_) VerseData_ = ChapterInfo::getVerseData(store::contentConnection(), ThisSurah_, ThisVerse_);
  return *VerseData_;
}
