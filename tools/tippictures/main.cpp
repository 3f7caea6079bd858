// tippictures: the pictures of the tips, taken from the application's own
// screens. It runs the application headless on the built data in one
// interface language, brings up each screen a tip speaks of, and writes the
// part of the window the tip shows, at scale 1 and 2, as tips-<language>-<page>.png.
//   tippictures --resources <built resources> --language en|ar --out <images dir>
//   tippictures --resources <built resources> --language en|ar --explore <dir>
// --explore writes each scene's whole window instead, for choosing the parts.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/tippictures/Scenes.h"

int main(int argc, char** argv) {
  std::string resources, language, out, explore;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string opt = argv[i], value = argv[i + 1];
    if (opt == "--resources") resources = value;
    else if (opt == "--language") language = value;
    else if (opt == "--out") out = value;
    else if (opt == "--explore") explore = value;
    else argc = 0;
  }
  if (argc % 2 == 0 || resources.empty() || (language != "en" && language != "ar") || out.empty() == explore.empty()) {
    std::fprintf(stderr,
                 "usage: tippictures --resources <dir> --language en|ar --out <images dir>\n"
                 "       tippictures --resources <dir> --language en|ar --explore <dir>\n");
    return 2;
  }
  try {
    int count = tippictures::takePictures(resources, language, out.empty() ? explore : out, !explore.empty());
    std::printf("tippictures: wrote %d pictures of the %s interface\n", count, language.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tippictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
