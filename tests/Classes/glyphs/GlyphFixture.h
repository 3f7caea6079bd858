#pragma once
// A small glyph set drawn with cairo for the renderer's tests: a content
// database with "glyphs" rows for chosen styles and "glyphmetrics" rows for
// all six groups, measured from the drawn images. Letters are black, marks
// red, the joining stroke blue, so a test can tell them apart in a rendering.
#include <sqlite3.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/Data.h"

namespace glyphfixture {

struct Options {
  std::vector<int> styles = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::set<int> missingCodes;      // no row in "glyphs"
  std::set<int> undecodableCodes;  // a row whose data is no PNG
};

// The PNG of a code in a metric group (0..5).
ns::Data glyphPNG(int group, int code);

// Writes the fixture database to path (replacing it; ":memory:" keeps it in
// memory) and opens it.
sqlite3* create(const std::string& path, const Options& options = {});

// A verse of stored codes: the words joined by 32 and ended by 10.
ns::Data verseOf(const std::vector<ns::Data>& words);

// The shared fixture database of the test program (all styles), opened once.
sqlite3* sharedDatabase();

// A folder under the build's test-tmp folder (ZARVEL_TEST_TMP), created.
std::string tmpDir();

// Resets the standard defaults to a private file with every tajweed switch
// and the stop-sign switch set to on.
void resetDefaults(bool tajweedOn);

}  // namespace glyphfixture
