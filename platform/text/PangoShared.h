#pragma once
// The text layer's one pango context for measuring, and the lock that guards
// every pango call made through it. Internal to platform/text.
#include <mutex>

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace ui::detail {

std::mutex& pangoMutex();
// Hold pangoMutex() while using these, and while drawing or releasing a
// layout made on the shared context. Set up as TextConfiguration.h says;
// sizes are absolute (1 pt = 1 px).
PangoContext* sharedPangoContext();
PangoLayout* sharedPangoLayout();
// A context of its own set up as the shared one, for a thread that keeps
// layouts, such as the main thread's text editors. The caller owns it.
PangoContext* newPangoContext();

}  // namespace ui::detail
