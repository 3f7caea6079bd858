#include "toolkit/core/TKURLMap.h"

#include <algorithm>

#include "platform/services/URLOpener.h"

namespace {

std::shared_ptr<TKURLNavigatorPattern> patternFor(const std::string& className, TKNavigationMode mode,
                                                  const std::string& selector, int transition,
                                                  const std::string& parentURL) {
  auto pattern = std::make_shared<TKURLNavigatorPattern>(TKURLTarget::forClass(className), mode);
  pattern->setSelector(selector);
  pattern->setTransition(transition);
  pattern->setParentURL(parentURL);
  return pattern;
}

}  // namespace

void TKURLMap::fromToObject(const std::string& url, TKURLTarget target, const std::string& selector) {
  auto pattern = std::make_shared<TKURLNavigatorPattern>(std::move(target), TKNavigationModeNone);
  pattern->setSelector(selector);
  addObjectPattern(pattern, url);
}

void TKURLMap::fromToViewController(const std::string& url, const std::string& className,
                                    const std::string& selector, int transition, const std::string& parentURL) {
  addObjectPattern(patternFor(className, TKNavigationModeCreate, selector, transition, parentURL), url);
}

void TKURLMap::fromToSharedViewController(const std::string& url, const std::string& className,
                                          const std::string& selector, const std::string& parentURL) {
  addObjectPattern(patternFor(className, TKNavigationModeShare, selector, 0, parentURL), url);
}

void TKURLMap::fromToModalViewController(const std::string& url, const std::string& className,
                                         const std::string& selector, int transition,
                                         const std::string& parentURL) {
  addObjectPattern(patternFor(className, TKNavigationModeModal, selector, transition, parentURL), url);
}

void TKURLMap::fromToURL(const std::string& className, const std::string& url, const std::string& name) {
  auto pattern = std::make_shared<TKURLGeneratorPattern>(className);
  pattern->setURL(url);
  pattern->compile();
  if (!pattern->scheme().empty()) _schemes.insert(pattern->scheme());
  _stringPatterns[keyForClass(className, name)] = pattern;
}

void TKURLMap::addObjectPattern(std::shared_ptr<TKURLNavigatorPattern> pattern, const std::string& url) {
  pattern->setURL(url);
  pattern->compile();
  if (!pattern->scheme().empty()) _schemes.insert(pattern->scheme());
  if (pattern->isUniversal()) {
    _defaultObjectPattern = pattern;
  } else if (pattern->isFragment()) {
    _fragmentPatterns.push_back(pattern);
  } else {
    _objectPatterns.push_back(pattern);
    _invalidPatterns = true;
  }
}

void TKURLMap::setObjectForURL(const std::shared_ptr<TKObject>& object, const std::string& url) {
  _objectMappings[url] = object;
}

void TKURLMap::removeURL(const std::string& url) {
  _objectMappings.erase(url);
  auto it = std::find_if(_objectPatterns.begin(), _objectPatterns.end(),
                         [&](const auto& p) { return p->URL() == url; });
  if (it != _objectPatterns.end()) _objectPatterns.erase(it);
}

void TKURLMap::removeObjectForURL(const std::string& url) { _objectMappings.erase(url); }

std::shared_ptr<TKURLNavigatorPattern> TKURLMap::matchObjectPattern(const TKURL& url) {
  if (_invalidPatterns) {
    std::stable_sort(_objectPatterns.begin(), _objectPatterns.end(),
                     [](const auto& a, const auto& b) { return a->specificity() > b->specificity(); });
    _invalidPatterns = false;
  }
  for (auto& pattern : _objectPatterns)
    if (pattern->matchURL(url)) return pattern;
  return _defaultObjectPattern;
}

std::shared_ptr<TKObject> TKURLMap::objectForURL(const std::string& urlString, const ns::Dictionary* query,
                                                 std::shared_ptr<TKURLNavigatorPattern>* outPattern) {
  std::shared_ptr<TKObject> object;
  if (auto it = _objectMappings.find(urlString); it != _objectMappings.end()) {
    object = it->second.lock();
    if (!object) _objectMappings.erase(it);
  }
  if (object && !outPattern) return object;
  std::optional<TKURL> url = TKURL::parse(urlString);
  if (!url) return nullptr;
  auto pattern = matchObjectPattern(*url);
  if (!pattern) return nullptr;
  if (!object) object = pattern->createObjectFromURL(*url, query);
  if (pattern->navigationMode() == TKNavigationModeShare && object) setObjectForURL(object, urlString);
  if (outPattern) *outPattern = pattern;
  return object;
}

std::shared_ptr<TKObject> TKURLMap::dispatchURL(const std::string& urlString, TKObject* target,
                                                const ns::Dictionary* query) {
  std::optional<TKURL> url = TKURL::parse(urlString);
  if (!url || !target) return nullptr;
  for (auto& pattern : _fragmentPatterns)
    if (pattern->matchURL(*url)) return pattern->invoke(target, *url, query);
  if (url->hasFragment) {
    auto& registry = TKClassRegistry::shared();
    const std::string& action = url->fragment;
    if (registry.isFragmentAction(target->className(), action)) {
      const TKMethod* method = registry.instanceMethod(target->className(), action);
      if (method && method->invoke && method->argumentTypes.empty()) method->invoke(target, {});
    }
  }
  return nullptr;
}

TKNavigationMode TKURLMap::navigationModeForURL(const std::string& urlString) {
  std::optional<TKURL> url = TKURL::parse(urlString);
  if (!url || isAppURL(*url)) return TKNavigationModeExternal;
  auto pattern = matchObjectPattern(*url);
  return pattern ? pattern->navigationMode() : TKNavigationModeExternal;
}

int TKURLMap::transitionForURL(const std::string& urlString) {
  std::optional<TKURL> url = TKURL::parse(urlString);
  if (!url) return 0;
  auto pattern = matchObjectPattern(*url);
  return pattern ? pattern->transition() : 0;
}

bool TKURLMap::isSchemeSupported(const std::string& scheme) const {
  return !scheme.empty() && _schemes.count(scheme) > 0;
}

bool TKURLMap::isWebURL(const TKURL& url) const {
  static const std::set<std::string> web = {"http", "https", "ftp", "ftps", "data"};
  return web.count(url.scheme) > 0;
}

bool TKURLMap::isExternalURL(const TKURL& url) const {
  static const std::set<std::string> hosts = {"maps.google.com", "itunes.apple.com", "phobos.apple.com"};
  return hosts.count(url.host) > 0;
}

bool TKURLMap::isAppURL(const TKURL& url) const {
  if (isExternalURL(url)) return true;
  if (!ui::URLOpener::canOpenURL(url.absoluteString)) return false;
  return !isSchemeSupported(url.scheme) && !isWebURL(url);
}

std::string TKURLMap::keyForClass(const std::string& className, const std::string& name) {
  return className + "_" + name;
}

std::string TKURLMap::URLForObject(const TKObject& object, const std::string& name) const {
  auto& registry = TKClassRegistry::shared();
  std::string cls = object.className();
  for (std::size_t steps = 0; !cls.empty() && steps < 64; ++steps) {
    auto it = _stringPatterns.find(keyForClass(cls, name));
    if (it != _stringPatterns.end()) return it->second->generateURLFromObject(object);
    const TKClassInfo* info = registry.classNamed(cls);
    cls = info ? info->superclass : "";
  }
  return "";
}
