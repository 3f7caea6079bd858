#pragma once
// The keyed archive form of styles and shapes: each object is a dictionary of
// its fields plus "$class", the name of its class. Classes register a factory
// under their name; decoding makes objects only of registered names, and
// names are letters, digits, "_" and ":" alone. Copies of styles and shapes go
// through this form. Main thread only.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"

namespace ui {
class Image;
}

namespace tkarchive {

// True for a non-empty name of letters, digits, "_" and ":".
bool isValidName(const std::string& name);

// Values in their archived forms.
ns::Value encodeSize(cg::Size s);
ns::Value encodeInsets(const cg::EdgeInsets& e);
ns::Value encodeColor(const std::optional<cg::Color>& c);
ns::Value encodeFont(const std::optional<ui::Font>& f);
ns::Value encodeImage(const std::shared_ptr<ui::Image>& image);  // PNG data

cg::Size decodeSize(const ns::Value& v);
cg::EdgeInsets decodeInsets(const ns::Value& v);
std::optional<cg::Color> decodeColor(const ns::Value& v);
std::optional<ui::Font> decodeFont(const ns::Value& v);
std::shared_ptr<ui::Image> decodeImage(const ns::Value& v);

// A factory per class name, for one base type.
template <class Base>
class Registry {
 public:
  using Factory = std::function<std::shared_ptr<Base>()>;
  static Registry& shared() {
    static Registry r;
    return r;
  }
  void add(const std::string& name, Factory f) { factories_[name] = std::move(f); }
  // Registers each class under the name it archives itself with.
  template <class... T>
  void addClasses() {
    (add(T().className(), [] { return std::make_shared<T>(); }), ...);
  }
  std::shared_ptr<Base> make(const std::string& name) const {
    if (!isValidName(name)) return nullptr;
    auto it = factories_.find(name);
    return it == factories_.end() ? nullptr : it->second();
  }

 private:
  std::map<std::string, Factory> factories_;
};

}  // namespace tkarchive
