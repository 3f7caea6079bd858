#pragma once
// The registry behind the navigator: URL patterns to the objects and
// controllers a URL produces, the objects shared per URL (not retained), the
// schemes that belong to this application, which URLs belong to other
// applications, and URLs generated back from objects. Main thread only.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "toolkit/core/TKURLPattern.h"

class TKURLMap {
 public:
  // Objects: mode 0 (the target's selector answers the object).
  void fromToObject(const std::string& url, TKURLTarget target, const std::string& selector = "");
  // Controllers of a registered class: a new one per open, one shared per URL,
  // or presented modally; a parent URL is opened first.
  void fromToViewController(const std::string& url, const std::string& className, const std::string& selector = "",
                            int transition = 0, const std::string& parentURL = "");
  void fromToSharedViewController(const std::string& url, const std::string& className,
                                  const std::string& selector = "", const std::string& parentURL = "");
  void fromToModalViewController(const std::string& url, const std::string& className,
                                 const std::string& selector = "", int transition = 0,
                                 const std::string& parentURL = "");
  // URLs generated for objects of the class (and its subclasses).
  void fromToURL(const std::string& className, const std::string& url, const std::string& name = "");

  // The object shared under the URL (not retained).
  void setObjectForURL(const std::shared_ptr<TKObject>& object, const std::string& url);
  // Drops the shared object and the first object pattern of that URL.
  void removeURL(const std::string& url);
  void removeObjectForURL(const std::string& url);

  // The object for the URL: the shared one (only when no pattern is asked
  // for), else made by the matching pattern (and shared for mode 2).
  std::shared_ptr<TKObject> objectForURL(const std::string& url, const ns::Dictionary* query = nullptr,
                                         std::shared_ptr<TKURLNavigatorPattern>* outPattern = nullptr);
  // Runs the URL's fragment on the target: a matching fragment pattern, or a
  // fragment action the target's class registered. Anything else runs nothing.
  std::shared_ptr<TKObject> dispatchURL(const std::string& url, TKObject* target, const ns::Dictionary* query);

  TKNavigationMode navigationModeForURL(const std::string& url);
  int transitionForURL(const std::string& url);
  bool isSchemeSupported(const std::string& scheme) const;
  // Another application's: an external host, or a URL the system opens whose
  // scheme is not ours and is no web scheme.
  bool isAppURL(const TKURL& url) const;
  bool isWebURL(const TKURL& url) const;
  bool isExternalURL(const TKURL& url) const;

  std::string URLForObject(const TKObject& object, const std::string& name = "") const;

 private:
  void addObjectPattern(std::shared_ptr<TKURLNavigatorPattern> pattern, const std::string& url);
  std::shared_ptr<TKURLNavigatorPattern> matchObjectPattern(const TKURL& url);
  static std::string keyForClass(const std::string& className, const std::string& name);

  std::map<std::string, std::weak_ptr<TKObject>> _objectMappings;
  std::vector<std::shared_ptr<TKURLNavigatorPattern>> _objectPatterns;
  std::vector<std::shared_ptr<TKURLNavigatorPattern>> _fragmentPatterns;
  std::map<std::string, std::shared_ptr<TKURLGeneratorPattern>> _stringPatterns;
  std::set<std::string> _schemes;
  std::shared_ptr<TKURLNavigatorPattern> _defaultObjectPattern;
  bool _invalidPatterns = false;
};
