#include "tools/contentdb/QuranText.h"

#include <nlohmann/json.hpp>

#include <sstream>

#include "tools/contentdb/Inputs.h"

namespace contentdb {

std::vector<VerseText> loadVerses(const std::string& path, const std::string& field) {
  nlohmann::json doc;
  try {
    doc = nlohmann::json::parse(readFile(path));
  } catch (const nlohmann::json::exception& e) {
    throw InputError(path + ": " + e.what());
  }
  std::vector<VerseText> out;
  try {
    for (const auto& surah : doc) {
      int s = surah.at("id").get<int>();
      for (const auto& v : surah.at("verses"))
        out.push_back({s, v.at("id").get<int>(), v.at(field).get<std::string>()});
    }
  } catch (const nlohmann::json::exception& e) {
    throw InputError(path + ": unexpected layout (" + e.what() + ")");
  }
  return out;
}

const std::vector<ShippedTranslation>& shippedTranslations() {
  static const std::vector<ShippedTranslation> list = {
      {1, "quran_en.json", "English", "Saheeh International"},
      {5, "quran_id.json", "Indonesian", "Indonesian Islamic Affairs Ministry"},
      {8, "quran_fr.json", "French", "Muhammad Hamidullah"},
      {9, "quran_es.json", "Spanish", "Muhammad Isa Garc\u00eda"},
      {11, "quran_tr.json", "Turkish", "Turkish Directorate of Religious Affairs"},
      {13, "quran_ru.json", "Russian", "Elmir Kuliev"},
      {15, "quran_ur.json", "Urdu", "Abul A'la Maududi"},
      {22, "quran_bn.json", "Bangla", "Muhiuddin Khan"},
      {24, "quran_zh.json", "Chinese", "Muhammad Makin"},
      {30, "quran_sv.json", "Swedish", "Knut Bernstr\u00f6m"},
  };
  return list;
}

const std::vector<int>& verseCounts() {
  static const std::vector<int> counts = {
      7,   286, 200, 176, 120, 165, 206, 75,  129, 109, 123, 111, 43,  52,  99,  128, 111, 110, 98,
      135, 112, 78,  118, 64,  77,  227, 93,  88,  69,  60,  34,  30,  73,  54,  45,  83,  182, 88,
      75,  85,  54,  53,  89,  59,  37,  35,  38,  29,  18,  45,  60,  49,  62,  55,  78,  96,  29,
      22,  24,  13,  14,  11,  11,  18,  12,  12,  30,  52,  52,  44,  28,  28,  20,  56,  40,  31,
      50,  40,  46,  42,  29,  19,  36,  25,  22,  17,  19,  26,  30,  20,  15,  21,  11,  8,   8,
      19,  5,   8,   8,   11,  11,  8,   3,   9,   5,   4,   7,   3,   6,   3,   5,   4,   5,   6};
  return counts;
}

const std::vector<QuarterStart>& quarterStarts() {
  static const std::vector<QuarterStart> starts = [] {
    // Quarter 226 starts at 68:1 here (not 68:19), as the reading screen marks it.
    const char* table =
        "1:1 2:26 2:44 2:60 2:75 2:92 2:106 2:124 2:142 2:158 2:177 2:189 2:203 2:219 2:233 "
        "2:243 2:253 2:263 2:272 2:283 3:15 3:33 3:52 3:75 3:93 3:113 3:133 3:153 3:171 3:186 "
        "4:1 4:12 4:24 4:36 4:58 4:74 4:88 4:100 4:114 4:135 4:148 4:163 5:1 5:12 5:27 5:41 "
        "5:51 5:67 5:82 5:97 5:109 6:13 6:36 6:59 6:74 6:95 6:111 6:127 6:141 6:151 7:1 7:31 "
        "7:47 7:65 7:88 7:117 7:142 7:156 7:171 7:189 8:1 8:22 8:41 8:61 9:1 9:19 9:34 9:46 "
        "9:60 9:75 9:93 9:111 9:122 10:11 10:26 10:53 10:71 10:90 11:6 11:24 11:41 11:61 11:84 "
        "11:108 12:7 12:30 12:53 12:77 12:101 13:5 13:19 13:35 14:10 14:28 15:1 15:50 16:1 "
        "16:30 16:51 16:75 16:90 16:111 17:1 17:23 17:50 17:70 17:99 18:17 18:32 18:51 18:75 "
        "18:99 19:22 19:59 20:1 20:55 20:83 20:111 21:1 21:29 21:51 21:83 22:1 22:19 22:38 "
        "22:60 23:1 23:36 23:75 24:1 24:21 24:35 24:53 25:1 25:21 25:53 26:1 26:52 26:111 "
        "26:181 27:1 27:27 27:56 27:82 28:12 28:29 28:51 28:76 29:1 29:26 29:46 30:1 30:31 "
        "30:54 31:22 32:11 33:1 33:18 33:31 33:51 33:60 34:10 34:24 34:46 35:15 35:41 36:28 "
        "36:60 37:22 37:83 37:145 38:21 38:52 39:8 39:32 39:53 40:1 40:21 40:41 40:66 41:9 "
        "41:25 41:47 42:13 42:27 42:51 43:24 43:57 44:17 45:12 46:1 46:21 47:10 47:33 48:18 "
        "49:1 49:14 50:27 51:31 52:24 53:26 54:9 55:1 56:1 56:75 57:16 58:1 58:14 59:11 60:7 "
        "62:1 63:4 65:1 66:1 67:1 68:1 69:1 70:19 72:1 73:20 75:1 76:19 78:1 80:1 82:1 84:1 "
        "87:1 90:1 94:1 100:9";
    std::vector<QuarterStart> v;
    std::istringstream in(table);
    std::string item;
    while (in >> item) {
      size_t colon = item.find(':');
      v.push_back({std::stoi(item.substr(0, colon)), std::stoi(item.substr(colon + 1))});
    }
    return v;
  }();
  return starts;
}

void checkVerseCounts(const std::vector<VerseText>& verses, const std::string& what) {
  size_t i = 0;
  const auto& counts = verseCounts();
  for (int s = 1; s <= 114; ++s) {
    for (int v = 1; v <= counts[s - 1]; ++v, ++i) {
      if (i >= verses.size() || verses[i].surah != s || verses[i].verse != v)
        throw InputError(what + ": expected verse " + std::to_string(s) + ":" + std::to_string(v) +
                         (i < verses.size() ? " at entry " + std::to_string(i) : " (text ends)"));
    }
  }
  if (i != verses.size())
    throw InputError(what + ": " + std::to_string(verses.size()) + " verses, expected " + std::to_string(i));
}

}  // namespace contentdb
