#include "Classes/core/RegisteredDefaults.h"

#include <cmath>

#include "platform/foundation/String.h"

namespace {

// How a registered key is read, which decides what stored value is usable.
enum class Kind { Number, Flag, Text, FontSize };

struct Entry {
  const char* key;
  const char* value;  // nullptr: decided by the interface language
  Kind kind;
};

// In registration order; the repeated row is as the table has always had it.
// The first translations are ones the built content database holds: English (1)
// and the transliteration (10); the numbers 2 and 3 have no text here.
constexpr Entry kTable[] = {
    {kCurrentReciter, "1", Kind::Number},
    {kCurrentTafsir, "0", Kind::Number},
    {kLastSurah, "1", Kind::Number},
    {kIsShowingTranslation, "1", Kind::Flag},
    {kAlKahfReminders, "1", Kind::Flag},
    {kPlayOptionsEnabled, "1", Kind::Flag},
    {kLastVerse, "1", Kind::Number},
    {kCurrentTranslation, "1", Kind::Number},
    {kHUDTranslation, "10", Kind::Number},
    {kColoredStopSigns, "1", Kind::Flag},
    {kColoredTranslation, "1", Kind::Flag},
    {kCurrentTranslationPrimary, "1", Kind::Number},
    {kCurrentTranslationSecondary, "10", Kind::Number},
    {kLastAudioSurah, "1", Kind::Number},
    {kLastAudioVerse, "1", Kind::Number},
    {kIndexInArabic, nullptr, Kind::Flag},
    {kPrefLang, nullptr, Kind::Text},
    {kShowTajweedBar, "1", Kind::Flag},
    {kTajweedQalqala, "1", Kind::Flag},
    {kTajweedIqlab, "1", Kind::Flag},
    {kTajweedIdgham, "1", Kind::Flag},
    {kTajweedIkhfa, "1", Kind::Flag},
    {kTajweedGhunna, "1", Kind::Flag},
    {kCurrentTranslationSecondary, "10", Kind::Number},
    {kArabicFontSize, "1", Kind::FontSize},
    {kResizeTranslations, "1", Kind::Flag},
    {kTranslationFontSize, "1", Kind::FontSize},
};

std::string languageValue(const Entry& entry, bool arabic) {
  if (std::string_view(entry.key) == kIndexInArabic) return arabic ? "YES" : "NO";
  return arabic ? "ar" : "en";
}

// The whole string is an integer (surrounding white space allowed).
bool isIntegerText(std::string_view text) {
  const std::string t = ns::trim(text);
  std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return true;
}

bool isNumberValue(const ns::Value& value) {
  if (value.isBool() || value.isInteger()) return true;
  if (value.isDouble()) return std::isfinite(value.doubleValue());
  return value.isString() && isIntegerText(value.string());
}

bool isUsable(Kind kind, const ns::Value& value) {
  switch (kind) {
    case Kind::Number:
      return isNumberValue(value);
    case Kind::Flag:
      return value.isBool() || value.isInteger() || value.isString();
    case Kind::Text:
      return value.isString();
    case Kind::FontSize:
      return RegisteredDefaults::isFontSizeValue(value);
  }
  return false;
}

}  // namespace

std::vector<RegisteredDefaults::Row> RegisteredDefaults::table(bool arabic) {
  std::vector<Row> rows;
  rows.reserve(std::size(kTable));
  for (const Entry& entry : kTable) {
    rows.emplace_back(entry.key, entry.value ? entry.value : languageValue(entry, arabic));
  }
  return rows;
}

ns::Dictionary RegisteredDefaults::dictionary(bool arabic) {
  ns::Dictionary dict;
  for (auto& [key, value] : table(arabic)) dict[key] = ns::Value(std::move(value));
  return dict;
}

void RegisteredDefaults::registerWith(ns::UserDefaults& defaults, bool arabic) {
  defaults.registerDefaults(dictionary(arabic));
  for (const Entry& entry : kTable) {
    const Kind kind = entry.kind;
    defaults.setValidator(entry.key, [kind](const ns::Value& value) { return isUsable(kind, value); });
  }
}

bool RegisteredDefaults::isFontSizeValue(const ns::Value& value) {
  if (value.isBool() || !isNumberValue(value)) return false;
  if (value.isDouble() && value.doubleValue() != std::trunc(value.doubleValue())) return false;
  const std::int64_t size = value.integerValue();
  return size >= kMinFontSize && size <= kMaxFontSize;
}
