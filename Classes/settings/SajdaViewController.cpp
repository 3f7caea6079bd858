#include "Classes/settings/SajdaViewController.h"

#include "Classes/common/ScreenSupport.h"

const std::vector<std::string>& SajdaViewController::sajdaVerses() {
  static const std::vector<std::string> verses = {"7:206", "13:15", "16:50", "17:109", "19:58",
                                                  "22:18", "22:77", "25:60", "27:26",  "32:15",
                                                  "38:24", "41:38", "53:62", "84:21",  "96:19"};
  return verses;
}

const std::vector<int>& SajdaViewController::obligatory() {
  static const std::vector<int> flags = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1};
  return flags;
}

void SajdaViewController::viewDidLoad() {
  tblTable->setTableFooterView(viewBottomFooter);
  arrCompuls_ = obligatory();
  setUpScreen(sajdaVerses());
  lblBottomLegend->setText(screens::localized("The ones in green are obligatory"));
}

void SajdaViewController::prepareVerse(SearchResult& verse, size_t position) {
  verse.setIsCompuslorySajda(position < arrCompuls_.size() && arrCompuls_[position] == 1);
}
