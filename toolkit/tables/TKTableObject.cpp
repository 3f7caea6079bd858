#include "toolkit/tables/TKTableObject.h"

#include <typeinfo>

#include "platform/ui/View.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/tables/TKTableItem.h"

std::string TKTableObject::description() const {
  if (isString_) return string_;
  if (item_) return "<" + item_->className() + ">";
  if (styledText_) return styledText_->description();
  if (view_) return "<view>";
  return "(null)";
}
