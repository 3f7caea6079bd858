#include "tests/toolkit/core/TKTestClasses.h"

#include <cstdlib>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"

namespace tktest {

namespace {

template <typename T>
TKResult self(TKObject* object) {
  auto* c = dynamic_cast<T*>(object);
  if (!c) return {};
  return TKResult{std::dynamic_pointer_cast<TKObject>(c->weak_from_this().lock()), {}};
}

}  // namespace

void useTemporaryDefaults(const std::string& name) {
  const char* base = std::getenv("ZARVEL_TEST_TMP");
  std::string folder = ns::pathJoin(base ? base : "/tmp", "tkcore-" + name);
  ns::removeItem(folder);
  ns::createDirectory(folder);
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.resetForTesting();
  defaults.setFilePath(ns::pathJoin(folder, "defaults.json"));
}

void registerTestClasses() {
  static const bool done = [] {
    auto& registry = TKClassRegistry::shared();

    TKClassInfo person{.name = "Person"};
    person.properties["name"] = {TKArgumentObject, [](const TKObject& o) {
                                   return TKResult{nullptr, dynamic_cast<const Person&>(o).name};
                                 }};
    registry.registerClass(person);

    TKClassInfo item{.name = "Item"};
    item.properties["itemId"] = {TKArgumentInt, [](const TKObject& o) {
                                   return TKResult{nullptr, dynamic_cast<const Item&>(o).itemId};
                                 }};
    item.properties["weight"] = {TKArgumentDouble, [](const TKObject& o) {
                                   return TKResult{nullptr, dynamic_cast<const Item&>(o).weight};
                                 }};
    item.properties["owner"] = {TKArgumentObject, [](const TKObject& o) {
                                  return TKResult{dynamic_cast<const Item&>(o).owner, {}};
                                }};
    // A class method: "tt://make/(make)" makes an item of that number.
    item.classMethods["make:"] = {{TKArgumentInt}, [](TKObject*, const TKArguments& args) {
                                    auto made = std::make_shared<Item>();
                                    made->itemId = args[0].intValue();
                                    return TKResult{made, {}};
                                  }};
    registry.registerClass(item);
    registry.registerClass(TKClassInfo{.name = "SpecialItem", .superclass = "Item"});

    TKClassInfo controller{.name = "ItemController", .superclass = "TKViewController"};
    controller.alloc = [] { return std::make_shared<ItemController>(); };
    controller.instanceMethods["initWithItem:"] = {{TKArgumentInt}, [](TKObject* o, const TKArguments& args) {
                                                     dynamic_cast<ItemController&>(*o).itemId = args[0].intValue();
                                                     return self<ItemController>(o);
                                                   }};
    controller.instanceMethods["initWithNavigatorURL:query:"] = {
        {TKArgumentObject, TKArgumentObject}, [](TKObject* o, const TKArguments&) {
          dynamic_cast<ItemController&>(*o).viaNavigatorURL = true;
          return self<ItemController>(o);
        }};
    controller.instanceMethods["searchFor:query:"] = {
        {TKArgumentObject, TKArgumentObject}, [](TKObject* o, const TKArguments& args) {
          auto& c = dynamic_cast<ItemController&>(*o);
          c.search = args[0].stringValue();
          if (args[1].isDictionary()) c.leftovers = args[1].dictionary();
          return self<ItemController>(o);
        }};
    controller.instanceMethods["highlight"] = {{}, [](TKObject* o, const TKArguments&) {
                                                 ++dynamic_cast<ItemController&>(*o).highlights;
                                                 return TKResult{};
                                               }};
    controller.instanceMethods["close"] = {{}, [](TKObject* o, const TKArguments&) {
                                             ++dynamic_cast<ItemController&>(*o).closes;
                                             return TKResult{};
                                           }};
    controller.fragmentActions = {"highlight"};
    registry.registerClass(controller);

    TKClassInfo delay{.name = "DelayController", .superclass = "TKModelViewController"};
    delay.alloc = [] { return std::make_shared<DelayController>(); };
    delay.instanceMethods["initWithNavigatorURL:query:"] = {{TKArgumentObject, TKArgumentObject},
                                                            [](TKObject* o, const TKArguments&) {
                                                              return self<DelayController>(o);
                                                            }};
    registry.registerClass(delay);
    return true;
  }();
  (void)done;
}

}  // namespace tktest
