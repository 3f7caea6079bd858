#include "toolkit/core/TKURLPattern.h"

#include <algorithm>

#include "platform/foundation/String.h"
#include "toolkit/core/String+TKCategory.h"

// ---- TKURLPattern ---------------------------------------------------------------

std::shared_ptr<TKURLPatternText> TKURLPattern::parseText(const std::string& text) {
  std::size_t n = text.size();
  if (n > 1 && text.front() == '(' && text.back() == ')') {
    std::string name;
    if (n >= 4) {
      name = text.substr(1, n - 2);
      if (name.back() == ':') name.pop_back();
    } else if (n == 3) {
      name = text.substr(1, 1);
    }
    _specificity += 1;
    return std::make_shared<TKURLWildcard>(name);
  }
  _specificity += 2;
  return std::make_shared<TKURLLiteral>(text);
}

void TKURLPattern::parsePathComponent(const std::string& text) { _path.push_back(parseText(text)); }

void TKURLPattern::parseParameter(const std::string& name, const std::string& value) {
  _query[name] = parseText(value);
}

void TKURLPattern::compileURL() {
  std::optional<TKURL> url = TKURL::parse(_URL);
  if (!url) return;
  _scheme = url->scheme;
  if (url->hasHost) {
    parsePathComponent(url->host);
    for (const std::string& component : url->pathComponents())
      if (component != "/") parsePathComponent(component);
  }
  if (url->hasQuery) {
    for (const auto& [name, value] : ns::queryDictionary(url->query)) parseParameter(name, value.stringValue());
  }
  if (url->hasFragment) _fragment = parseText(url->fragment);
}

void TKURLPattern::setSelectorWithNames(const std::vector<std::string>& names) {
  std::string selector;
  for (const std::string& name : names) selector += name + ":";
  setSelectorIfPossible(selector);
}

void TKURLPattern::setSelectorIfPossible(const std::string& selector) {
  std::string cls = classForInvocation();
  auto& registry = TKClassRegistry::shared();
  if (cls.empty() || registry.instanceMethod(cls, selector) || registry.classMethod(cls, selector))
    _selector = selector;
}

// ---- TKURLNavigatorPattern ------------------------------------------------------

TKURLNavigatorPattern::TKURLNavigatorPattern(TKURLTarget target, TKNavigationMode mode) : _navigationMode(mode) {
  if (target.object.lock()) {
    _targetObject = target.object;
    _hasObjectTarget = true;
  } else if (mode != TKNavigationModeNone) {
    _targetClass = target.className;
  } else {
    _classTarget = target.className;
  }
}

bool TKURLNavigatorPattern::instantiatesClass() const {
  return !_targetClass.empty() && _navigationMode != TKNavigationModeNone;
}

bool TKURLNavigatorPattern::callsInstanceMethod() const { return _hasObjectTarget || !_targetClass.empty(); }

std::string TKURLNavigatorPattern::classForInvocation() const {
  if (!_targetClass.empty()) return _targetClass;
  if (_hasObjectTarget) {
    auto object = _targetObject.lock();
    return object ? object->className() : "";
  }
  return _classTarget;
}

const TKMethod* TKURLNavigatorPattern::method() const {
  std::string cls = classForInvocation();
  if (cls.empty() || _selector.empty()) return nullptr;
  auto& registry = TKClassRegistry::shared();
  return callsInstanceMethod() ? registry.instanceMethod(cls, _selector) : registry.classMethod(cls, _selector);
}

void TKURLNavigatorPattern::compile() {
  if (isUniversal()) {
    if (_selector.empty()) deduceSelector();
    return;
  }
  compileURL();
  if (_selector.empty()) deduceSelector();
  if (_selector.empty()) return;
  analyzeMethod();
}

void TKURLNavigatorPattern::deduceSelector() {
  std::vector<std::string> names;
  auto collect = [&](const std::shared_ptr<TKURLPatternText>& c) {
    if (c && c->isWildcard() && !c->name().empty()) names.push_back(c->name());
  };
  for (auto& c : _path) collect(c);
  for (auto& [name, c] : _query) collect(c);
  collect(_fragment);
  if (names.empty()) {
    setSelectorIfPossible("initWithNavigatorURL:query:");
    return;
  }
  setSelectorWithNames(names);
  if (_selector.empty()) {
    names.push_back("query");
    setSelectorWithNames(names);
  }
}

void TKURLNavigatorPattern::analyzeMethod() {
  const TKMethod* m = method();
  if (!m) return;
  _argumentCount = static_cast<int>(m->argumentTypes.size());
  std::vector<std::string> names = TKSelectorNames(_selector);
  for (auto& c : _path) analyzeArgument(*c, *m, names);
  for (auto& [name, c] : _query) analyzeArgument(*c, *m, names);
  if (_fragment) analyzeArgument(*_fragment, *m, names);
}

void TKURLNavigatorPattern::analyzeArgument(TKURLPatternText& component, const TKMethod& method,
                                            const std::vector<std::string>& names) {
  auto* wildcard = dynamic_cast<TKURLWildcard*>(&component);
  if (!wildcard) return;
  auto it = std::find(names.begin(), names.end(), wildcard->name());
  if (it == names.end()) {
    wildcard->setArgIndex(TKURLWildcard::kNotFound);
    return;
  }
  std::size_t index = static_cast<std::size_t>(it - names.begin());
  wildcard->setArgIndex(static_cast<int>(index));
  wildcard->setArgType(index < method.argumentTypes.size() ? method.argumentTypes[index] : TKArgumentObject);
}

bool TKURLNavigatorPattern::matchURL(const TKURL& url) const {
  if (url.scheme.empty() || !url.hasHost || url.scheme != _scheme) return false;
  std::vector<std::string> components = url.pathComponents();
  std::size_t count = url.path.empty() ? 1 : components.size();
  if (count != _path.size() || _path.empty()) return false;
  if (!_path[0]->match(url.host)) return false;
  for (std::size_t i = 1; i < _path.size(); ++i)
    if (!_path[i]->match(components[i])) return false;
  if (url.hasFragment != (_fragment != nullptr)) return false;
  return !_fragment || _fragment->match(url.fragment);
}

std::shared_ptr<TKObject> TKURLNavigatorPattern::createObjectFromURL(const TKURL& url, const ns::Dictionary* query) {
  std::shared_ptr<TKObject> target;
  if (instantiatesClass()) {
    const TKClassInfo* info = TKClassRegistry::shared().classNamed(_targetClass);
    if (!info || !info->alloc) return nullptr;
    target = info->alloc();
    if (!target) return nullptr;
  } else if (_hasObjectTarget) {
    target = _targetObject.lock();
    if (!target) return nullptr;
  }
  if (!_selector.empty()) return invoke(target.get(), url, query);
  return instantiatesClass() ? target : nullptr;
}

std::shared_ptr<TKObject> TKURLNavigatorPattern::invoke(TKObject* target, const TKURL& url,
                                                        const ns::Dictionary* query) {
  const TKMethod* m = method();
  if (!m || !m->invoke || (callsInstanceMethod() && !target)) return nullptr;
  TKArguments args(m->argumentTypes.size());
  if (isUniversal()) {
    if (!args.empty()) args[0] = url.absoluteString;
    if (query && args.size() > 1) args[1] = ns::Value(*query);
  } else {
    setArgumentsFromURL(url, args, query);
  }
  return m->invoke(callsInstanceMethod() ? target : nullptr, args).object;
}

void TKURLNavigatorPattern::setArgumentsFromURL(const TKURL& url, TKArguments& args,
                                               const ns::Dictionary* query) const {
  int remaining = _argumentCount;
  std::optional<ns::Dictionary> leftovers;
  if (query) leftovers = *query;
  std::vector<std::string> components = url.pathComponents();
  for (std::size_t i = 0; i < _path.size(); ++i) {
    std::string text = i == 0 ? url.host : (i < components.size() ? components[i] : std::string());
    if (setArgument(text, *_path[i], args)) --remaining;
  }
  if (url.hasQuery) {
    for (const auto& [name, value] : ns::queryDictionary(url.query)) {
      auto it = _query.find(name);
      if (it != _query.end()) {
        if (setArgument(value.stringValue(), *it->second, args)) --remaining;
      } else {
        if (!leftovers) leftovers.emplace();
        (*leftovers)[name] = value;
      }
    }
  }
  if (remaining != 0 && leftovers && !leftovers->empty() && _argumentCount > 0 &&
      static_cast<std::size_t>(_argumentCount) <= args.size())
    args[_argumentCount - 1] = ns::Value(*leftovers);
  if (url.hasFragment && _fragment) setArgument(url.fragment, *_fragment, args);
}

bool TKURLNavigatorPattern::setArgument(const std::string& text, const TKURLPatternText& component,
                                        TKArguments& args) const {
  auto* wildcard = dynamic_cast<const TKURLWildcard*>(&component);
  if (!wildcard) return false;
  int index = wildcard->argIndex();
  if (index == TKURLWildcard::kNotFound || index < 0 || index >= _argumentCount ||
      static_cast<std::size_t>(index) >= args.size())
    return false;
  switch (wildcard->argType()) {
    case TKArgumentNone: return true;
    case TKArgumentBool: args[index] = ns::boolValue(text); break;
    case TKArgumentInt: args[index] = ns::intValue(text); break;
    case TKArgumentLongLong: args[index] = ns::integerValue(text); break;
    case TKArgumentFloat: args[index] = static_cast<float>(ns::doubleValue(text)); break;
    case TKArgumentDouble: args[index] = ns::doubleValue(text); break;
    default: args[index] = text; break;
  }
  return true;
}

// ---- TKURLGeneratorPattern ------------------------------------------------------

void TKURLGeneratorPattern::compile() {
  compileURL();
  auto deduce = [&](const std::shared_ptr<TKURLPatternText>& c) {
    if (auto* wildcard = dynamic_cast<TKURLWildcard*>(c.get())) wildcard->deduceSelectorForClass(_targetClass);
  };
  for (auto& c : _path) deduce(c);
  for (auto& [name, c] : _query) deduce(c);
}

std::string TKURLGeneratorPattern::generateURLFromObject(const TKObject& object) const {
  // Property values are escaped, so that whatever they hold reads back as one
  // path component or one query value.
  auto convert = [&](const TKURLPatternText& c) {
    std::string text = c.convertPropertyOfObject(object);
    return c.isWildcard() ? ns::escapeQueryComponent(text) : text;
  };
  std::vector<std::string> parts{_scheme + ":/"};
  for (auto& c : _path) parts.push_back(convert(*c));
  std::string url = ns::componentsJoinedByString(parts, "/");
  if (!_query.empty()) {
    std::vector<std::string> pairs;
    for (auto& [name, c] : _query) pairs.push_back(name + "=" + convert(*c));
    url += "?" + ns::componentsJoinedByString(pairs, "&");
  }
  return url;
}
