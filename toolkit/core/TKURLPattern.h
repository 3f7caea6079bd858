#pragma once
// URL patterns: a pattern string ("scheme://host/(id)?q=(query)#(fragment)")
// compiled into components. A navigator pattern turns a matching URL into an
// object by calling a registered selector with the wildcards as its typed
// arguments; a generator pattern turns an object into a URL by reading its
// registered properties. Specificity counts 2 per literal and 1 per wildcard.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/TKClassRegistry.h"
#include "toolkit/core/TKURL.h"
#include "toolkit/core/TKURLPatternText.h"

// How the navigator shows what a pattern creates.
enum TKNavigationMode : int {
  TKNavigationModeNone = 0,
  TKNavigationModeCreate = 1,  // a new controller per open
  TKNavigationModeShare = 2,   // one controller per URL, kept by the map
  TKNavigationModeModal = 3,
  TKNavigationModeExternal = 4,  // the URL belongs to another application
};

class TKURLPattern {
 public:
  virtual ~TKURLPattern() = default;

  const std::string& URL() const { return _URL; }
  void setURL(const std::string& url) { _URL = url; }
  const std::string& scheme() const { return _scheme; }
  int specificity() const { return _specificity; }
  const std::string& selector() const { return _selector; }
  void setSelector(const std::string& selector) { _selector = selector; }
  virtual std::string classForInvocation() const { return ""; }

  // A component for the text: "(name)" (a colon before ")" dropped) is a
  // wildcard, anything else a literal. Adds to the specificity.
  std::shared_ptr<TKURLPatternText> parseText(const std::string& text);
  void parsePathComponent(const std::string& text);
  void parseParameter(const std::string& name, const std::string& value);
  void compileURL();

  const std::vector<std::shared_ptr<TKURLPatternText>>& path() const { return _path; }
  const std::map<std::string, std::shared_ptr<TKURLPatternText>>& query() const { return _query; }
  const std::shared_ptr<TKURLPatternText>& fragment() const { return _fragment; }

 protected:
  // Joins the names as "a:b:" and keeps the selector when it can be called.
  void setSelectorWithNames(const std::vector<std::string>& names);
  void setSelectorIfPossible(const std::string& selector);

  std::string _URL;
  std::string _scheme;
  std::vector<std::shared_ptr<TKURLPatternText>> _path;
  std::map<std::string, std::shared_ptr<TKURLPatternText>> _query;
  std::shared_ptr<TKURLPatternText> _fragment;
  int _specificity = 0;
  std::string _selector;
};

// What a navigator pattern calls: a class (created, or whose class methods
// run) or an object (not retained).
struct TKURLTarget {
  std::string className;
  std::weak_ptr<TKObject> object;
  static TKURLTarget forClass(std::string name) { return {std::move(name), {}}; }
  static TKURLTarget forObject(const std::shared_ptr<TKObject>& o) { return {"", o}; }
};

class TKURLNavigatorPattern : public TKURLPattern {
 public:
  TKURLNavigatorPattern() = default;
  // A class with a mode other than 0 is instantiated; otherwise the target's
  // methods are called (a class's class methods).
  explicit TKURLNavigatorPattern(TKURLTarget target, TKNavigationMode mode = TKNavigationModeNone);

  const std::string& targetClass() const { return _targetClass; }
  TKNavigationMode navigationMode() const { return _navigationMode; }
  const std::string& parentURL() const { return _parentURL; }
  void setParentURL(const std::string& url) { _parentURL = url; }
  int transition() const { return _transition; }
  void setTransition(int transition) { _transition = transition; }
  int argumentCount() const { return _argumentCount; }
  bool isUniversal() const { return _URL == "*"; }
  bool isFragment() const { return _URL.find('#') != std::string::npos; }

  bool instantiatesClass() const;
  bool callsInstanceMethod() const;
  std::string classForInvocation() const override;

  void compile();
  bool matchURL(const TKURL& url) const;
  // The object for the URL: created, or answered by the target's selector.
  std::shared_ptr<TKObject> createObjectFromURL(const TKURL& url, const ns::Dictionary* query);
  std::shared_ptr<TKObject> invoke(TKObject* target, const TKURL& url, const ns::Dictionary* query);

 private:
  void deduceSelector();
  void analyzeMethod();
  void analyzeArgument(TKURLPatternText& component, const TKMethod& method, const std::vector<std::string>& names);
  const TKMethod* method() const;
  void setArgumentsFromURL(const TKURL& url, TKArguments& args, const ns::Dictionary* query) const;
  bool setArgument(const std::string& text, const TKURLPatternText& component, TKArguments& args) const;

  std::string _targetClass;                 // instantiated
  std::string _classTarget;                 // class methods called
  std::weak_ptr<TKObject> _targetObject;    // instance methods called
  bool _hasObjectTarget = false;
  TKNavigationMode _navigationMode = TKNavigationModeNone;
  std::string _parentURL;
  int _transition = 0;
  int _argumentCount = 0;
};

class TKURLGeneratorPattern : public TKURLPattern {
 public:
  explicit TKURLGeneratorPattern(std::string targetClass = "") : _targetClass(std::move(targetClass)) {}
  std::string classForInvocation() const override { return _targetClass; }
  const std::string& targetClass() const { return _targetClass; }
  void compile();
  // "scheme://" and the components, with the query appended; no fragment.
  std::string generateURLFromObject(const TKObject& object) const;

 private:
  std::string _targetClass;
};
