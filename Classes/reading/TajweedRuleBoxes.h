#pragma once
// The tajweed guide's six rule boxes, in guide order: their heights, example
// verses, how the renderer is told to lay the example out, the example's
// audio type and the box's texts (English keys of the string tables).
namespace tajweedguide {

struct RuleBox {
  int height, heightArabic;
  int surah, verse;
  int rendererVerse;  // only names the renderer's layout record
  bool lastVerse;
  int audioType;
  const char* name;
  const char* translation;
  const char* htmlKey;
};

inline constexpr RuleBox kRuleBoxes[6] = {
    {258, 258, 104, 8, 8, false, 0, "Ghunna", "Nasalization", "GhunnaInfoText"},
    {428, 370, 105, 4, 4, false, 1, "Ikhfa", "Lenition (Hiding)", "IkhfaInfoText"},
    {450, 390, 106, 4, 5, false, 2, "Idgham", "Elision (Merging)", "IdghamInfoText"},
    {310, 275, 112, 4, 6, true, 5, "Idgham without ghunna", "Elision (Merging)", "IdghamWGInfoText"},
    {308, 268, 69, 4, 18, false, 4, "Iqlab", "Dissimilation (Flipping)", "QalbInfoText"},
    {330, 290, 112, 3, 3, false, 3, "Qalqala", "Echoing", "QalqalaInfoText"},
};

// Where a box's parts stand: the explanation from kTextTop down to the
// example part at the box's bottom (caption, verse and listen button, whose
// top is kListenBottom above the box's bottom); kVerseHeight is the verse's
// height until it is measured.
inline constexpr float kTextTop = 56;
inline constexpr float kTextTopArabic = 38;  // no name label above it
inline constexpr float kVerseHeight = 56;
inline constexpr float kListenBottom = 44;
inline constexpr float kExampleHeight = 6 + 20 + kVerseHeight + 54;

// The box whose example has the audio type; -1 for none.
inline int boxOfAudioType(int type) {
  for (int i = 0; i < 6; ++i)
    if (kRuleBoxes[i].audioType == type) return i;
  return -1;
}

}  // namespace tajweedguide
