#pragma once
// The parts of a URL pattern: a literal matches its own text; a wildcard
// "(name)" matches any text and feeds the argument of that name, or, when a
// URL is generated, reads the object's property (a dotted key path).
#include <climits>
#include <memory>
#include <string>

#include "toolkit/core/TKClassRegistry.h"

class TKURLPatternText {
 public:
  virtual ~TKURLPatternText() = default;
  virtual bool match(const std::string& text) const = 0;
  virtual std::string convertPropertyOfObject(const TKObject& object) const = 0;
  virtual bool isWildcard() const { return false; }
  const std::string& name() const { return _name; }

 protected:
  std::string _name;
};

class TKURLLiteral : public TKURLPatternText {
 public:
  explicit TKURLLiteral(std::string name) { _name = std::move(name); }
  bool match(const std::string& text) const override { return text == _name; }
  std::string convertPropertyOfObject(const TKObject&) const override { return _name; }
};

// One step of a key path read from an object; the last step formats the value.
class TKURLSelector {
 public:
  explicit TKURLSelector(std::string name) : _name(std::move(name)) {}
  const std::string& name() const { return _name; }
  std::shared_ptr<TKURLSelector> next() const { return _next; }
  void setNext(std::shared_ptr<TKURLSelector> next) { _next = std::move(next); }
  // The value as text: "%d" for bools and ints, "%lld", "%f" for floats and
  // doubles, the text of anything else; "" when a step has no such property.
  std::string perform(const TKObject& object, TKArgumentType returnType) const;

 private:
  std::string _name;
  std::shared_ptr<TKURLSelector> _next;
};

class TKURLWildcard : public TKURLPatternText {
 public:
  static constexpr int kNotFound = INT_MAX;
  explicit TKURLWildcard(std::string name) { _name = std::move(name); }
  bool match(const std::string&) const override { return true; }
  std::string convertPropertyOfObject(const TKObject& object) const override;
  bool isWildcard() const override { return true; }

  // Builds the property chain from the name, for objects of the class.
  void deduceSelectorForClass(const std::string& className);

  int argIndex() const { return _argIndex; }
  void setArgIndex(int index) { _argIndex = index; }
  TKArgumentType argType() const { return _argType; }
  void setArgType(TKArgumentType type) { _argType = type; }

 private:
  int _argIndex = kNotFound;
  TKArgumentType _argType = TKArgumentNone;
  std::shared_ptr<TKURLSelector> _selector;
};
