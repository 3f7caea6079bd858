#pragma once
// The names the URL map may use: classes it can create, the selectors it can
// call on them (with their argument types) and the properties it can read.
// A class registers itself once; nothing is found by any other means, so a URL
// reaches only what was registered for it. Main thread only.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

// An object the URL map can create, call and read: its class is registered.
class TKObject {
 public:
  virtual ~TKObject() = default;
  // The registered name of the object's class.
  virtual std::string className() const = 0;
};

// Argument and property types as the URL patterns convert text to them.
enum TKArgumentType : int {
  TKArgumentNone = 0,
  TKArgumentObject = 1,  // a string, a dictionary or anything else
  TKArgumentBool = 2,
  TKArgumentInt = 3,       // 32 bits or fewer
  TKArgumentLongLong = 4,  // 64 bits
  TKArgumentFloat = 5,
  TKArgumentDouble = 6,
};

// What a selector or property answers: an object, or a plain value.
struct TKResult {
  std::shared_ptr<TKObject> object;
  ns::Value value;
  bool isEmpty() const { return !object && value.isNull(); }
};

using TKArguments = std::vector<ns::Value>;

struct TKMethod {
  std::vector<TKArgumentType> argumentTypes;
  // Called with the receiver (null for a class method) and one value per
  // argument (null where the URL gave none).
  std::function<TKResult(TKObject* self, const TKArguments& args)> invoke;
};

struct TKProperty {
  TKArgumentType type = TKArgumentObject;
  std::function<TKResult(const TKObject& self)> get;
};

struct TKClassInfo {
  std::string name;
  std::string superclass = {};  // "" for none
  // A blank instance, which an instance selector then initialises (as init
  // methods do); none for classes that are never created by URL.
  std::function<std::shared_ptr<TKObject>()> alloc = {};
  std::map<std::string, TKMethod> instanceMethods = {};
  std::map<std::string, TKMethod> classMethods = {};
  std::map<std::string, TKProperty> properties = {};
  // Instance selectors without arguments that a URL fragment may run.
  std::set<std::string> fragmentActions = {};
};

class TKClassRegistry {
 public:
  static TKClassRegistry& shared();

  // Registers (or replaces) a class by its name.
  void registerClass(TKClassInfo info);
  const TKClassInfo* classNamed(const std::string& name) const;
  bool isKindOf(const std::string& className, const std::string& ancestor) const;

  // Looked up along the superclass chain; null when absent.
  const TKMethod* instanceMethod(const std::string& className, const std::string& selector) const;
  const TKMethod* classMethod(const std::string& className, const std::string& selector) const;
  const TKProperty* property(const std::string& className, const std::string& name) const;
  bool isFragmentAction(const std::string& className, const std::string& selector) const;

 private:
  template <typename F>
  auto walk(const std::string& className, F&& f) const -> decltype(f(std::declval<const TKClassInfo&>()));

  std::map<std::string, TKClassInfo> classes_;
};

// The declared type of the class's property; TKArgumentNone when there is none.
TKArgumentType TKPropertyArgumentType(const std::string& className, const std::string& property);

// The selector's pieces: "a:b:" gives "a", "b" and a trailing "".
std::vector<std::string> TKSelectorNames(const std::string& selector);
