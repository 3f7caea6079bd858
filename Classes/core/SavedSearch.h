#pragma once
// One entry of the search history.
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Date.h"

class SavedSearch;
using SavedSearchPtr = std::shared_ptr<SavedSearch>;

class SavedSearch {
 public:
  // Empty when the record has no text.
  const std::string& strSearchText() const { return strSearchText_; }
  void setStrSearchText(std::string v) { strSearchText_ = std::move(v); }
  int iHitCount() const { return iHitCount_; }
  void setIHitCount(int v) { iHitCount_ = v; }
  bool isReflectedInSurah() const { return isReflectedInSurah_; }
  void setIsReflectedInSurah(bool v) { isReflectedInSurah_ = v; }
  int iTranslation() const { return iTranslation_; }
  void setITranslation(int v) { iTranslation_ = v; }
  // nullopt until the search has run (or been read from the history).
  const std::optional<ns::Date>& DateSearched() const { return DateSearched_; }
  void setDateSearched(std::optional<ns::Date> v) { DateSearched_ = v; }
  int iSavedID() const { return iSavedID_; }
  void setISavedID(int v) { iSavedID_ = v; }

 private:
  std::string strSearchText_;
  int iHitCount_ = 0;
  bool isReflectedInSurah_ = false;
  int iTranslation_ = 0;
  std::optional<ns::Date> DateSearched_;
  int iSavedID_ = 0;
};
