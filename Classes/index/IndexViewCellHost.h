#pragma once
// What the index rows ask of the index controller that hands them out: the
// audio status of a surah, the selection state, and the roads that select and
// open a row.
namespace ui {
class TableView;
}

class IndexViewCellHost {
 public:
  virtual ~IndexViewCellHost() = default;
  virtual bool isSurahAudioInstalled(int surah) const = 0;
  virtual bool isSurahAudioInstalledForOthers(int surah) const = 0;
  virtual bool rowDidMakeSelection(int row, int section, bool showSurahView) = 0;
  virtual void showSurahView(const void* sender, int surah, int verse, bool startPlaying) = 0;
  virtual ui::TableView* surahListTable() const = 0;
  virtual int currentlySelectedRow() const = 0;
  virtual int iCurrentlyShowingSurah() const = 0;
  virtual bool ignoreOverridingRowSelection() const = 0;
  virtual bool isShowingSectionedView() const = 0;
};
