#pragma once
// Named styles by control state (0 normal, 1 highlighted, 2 disabled, 4
// selected), built by the sheet's registered style methods or read from
// "<name>.tkstyle" archives, and cached per name and state until a memory
// warning. One process-wide sheet, a TKDefaultStyleSheet unless the
// application installs a subclass of its own. Main thread only.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/foundation/NotificationCenter.h"

class TKStyle;
class TKDefaultStyleSheet;

class TKStyleSheet {
 public:
  // Made on first use; a nil setting makes the next call create a new default sheet.
  static std::shared_ptr<TKDefaultStyleSheet> globalStyleSheet();
  static void setGlobalStyleSheet(std::shared_ptr<TKDefaultStyleSheet> sheet);

  TKStyleSheet();
  virtual ~TKStyleSheet();
  TKStyleSheet(const TKStyleSheet&) = delete;
  TKStyleSheet& operator=(const TKStyleSheet&) = delete;

  std::shared_ptr<TKStyle> styleWithSelector(const std::string& name) { return styleWithSelector(name, 0); }
  // The cached style for (name, state), else the registered method's, else the
  // archive's; nil results are not cached.
  std::shared_ptr<TKStyle> styleWithSelector(const std::string& name, unsigned state);
  // "<name>.tkstyle" in the resources, then in "Toolkit.bundle/styles/".
  std::shared_ptr<TKStyle> styleFromAppBundleForSelector(const std::string& name);
  // Whether a style method of the name is registered.
  bool respondsToStyle(const std::string& name) const { return methods_.count(name) != 0; }

  void didReceiveMemoryWarning() { freeMemory(); }
  void freeMemory() { styles_.clear(); }
  std::size_t cachedStyleCount() const { return styles_.size(); }

 protected:
  using StyleMethod = std::function<std::shared_ptr<TKStyle>(unsigned state)>;
  // Subclasses name their style methods here (a name with ":" takes the state).
  void registerStyle(const std::string& name, StyleMethod method) { methods_[name] = std::move(method); }

 private:
  std::map<std::string, std::shared_ptr<TKStyle>> styles_;
  std::map<std::string, StyleMethod> methods_;
  ns::Observer memoryWarning_;
};
