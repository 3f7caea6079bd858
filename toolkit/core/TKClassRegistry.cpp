#include "toolkit/core/TKClassRegistry.h"

#include "platform/foundation/String.h"

TKClassRegistry& TKClassRegistry::shared() {
  static TKClassRegistry registry;
  return registry;
}

void TKClassRegistry::registerClass(TKClassInfo info) {
  std::string name = info.name;
  classes_[name] = std::move(info);
}

const TKClassInfo* TKClassRegistry::classNamed(const std::string& name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? nullptr : &it->second;
}

// Calls f on the class and each superclass until it answers non-null. A
// superclass loop is cut after as many steps as there are classes.
template <typename F>
auto TKClassRegistry::walk(const std::string& className, F&& f) const
    -> decltype(f(std::declval<const TKClassInfo&>())) {
  const TKClassInfo* info = classNamed(className);
  for (std::size_t steps = 0; info && steps <= classes_.size(); ++steps) {
    if (auto found = f(*info)) return found;
    info = info->superclass.empty() ? nullptr : classNamed(info->superclass);
  }
  return nullptr;
}

bool TKClassRegistry::isKindOf(const std::string& className, const std::string& ancestor) const {
  return walk(className, [&](const TKClassInfo& c) { return c.name == ancestor ? &c : nullptr; }) != nullptr;
}

const TKMethod* TKClassRegistry::instanceMethod(const std::string& className, const std::string& selector) const {
  return walk(className, [&](const TKClassInfo& c) -> const TKMethod* {
    auto it = c.instanceMethods.find(selector);
    return it == c.instanceMethods.end() ? nullptr : &it->second;
  });
}

const TKMethod* TKClassRegistry::classMethod(const std::string& className, const std::string& selector) const {
  return walk(className, [&](const TKClassInfo& c) -> const TKMethod* {
    auto it = c.classMethods.find(selector);
    return it == c.classMethods.end() ? nullptr : &it->second;
  });
}

const TKProperty* TKClassRegistry::property(const std::string& className, const std::string& name) const {
  return walk(className, [&](const TKClassInfo& c) -> const TKProperty* {
    auto it = c.properties.find(name);
    return it == c.properties.end() ? nullptr : &it->second;
  });
}

bool TKClassRegistry::isFragmentAction(const std::string& className, const std::string& selector) const {
  return walk(className, [&](const TKClassInfo& c) -> const TKClassInfo* {
           return c.fragmentActions.count(selector) ? &c : nullptr;
         }) != nullptr;
}

TKArgumentType TKPropertyArgumentType(const std::string& className, const std::string& property) {
  const TKProperty* p = TKClassRegistry::shared().property(className, property);
  return p ? p->type : TKArgumentNone;
}

std::vector<std::string> TKSelectorNames(const std::string& selector) {
  return ns::componentsSeparatedByString(selector, ":");
}
