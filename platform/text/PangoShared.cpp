#include "platform/text/PangoShared.h"

#include <pango/pangocairo.h>

#include "platform/text/TextConfiguration.h"

namespace ui::detail {

std::mutex& pangoMutex() {
  static std::mutex m;
  return m;
}

PangoContext* newPangoContext() { return newConfiguredPangoContext(); }

PangoContext* sharedPangoContext() {
  // Created once and kept for the life of the process.
  static PangoContext* context = newPangoContext();
  return context;
}

PangoLayout* sharedPangoLayout() {
  static PangoLayout* layout = pango_layout_new(sharedPangoContext());
  return layout;
}

}  // namespace ui::detail

// Fontconfig keeps its configuration for the life of the process and drops
// its last pointers to parts of it; the leak checker of sanitizer builds is
// told so, for every program that measures or draws text through this layer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
