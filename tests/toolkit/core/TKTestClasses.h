#pragma once
// Classes the URL map and navigator tests register: items with properties
// (and a subclass), and controllers created and called by URL.
#include <memory>
#include <string>

#include "toolkit/core/TKClassRegistry.h"
#include "toolkit/core/TKModelViewController.h"
#include "toolkit/core/TKViewController.h"

namespace tktest {

struct Person : TKObject {
  std::string name;
  std::string className() const override { return "Person"; }
};

struct Item : TKObject {
  int itemId = 0;
  double weight = 0;
  std::shared_ptr<Person> owner;
  std::string className() const override { return "Item"; }
};

struct SpecialItem : Item {
  std::string className() const override { return "SpecialItem"; }
};

struct ItemController : TKViewController {
  int itemId = -1;
  bool viaNavigatorURL = false;
  std::string search;
  ns::Dictionary leftovers;
  int highlights = 0;
  int closes = 0;
  std::string className() const override { return "ItemController"; }
};

// Counts its model creations; a delay makes it use the interstitial model.
struct DelayController : TKModelViewController {
  int createdModels = 0;
  std::string className() const override { return "DelayController"; }
  void createModel() override {
    ++createdModels;
    setModel(std::make_shared<TKModel>());
  }
};

// Registers the classes once per process.
void registerTestClasses();

// Points the standard user defaults, emptied, at a file of its own under the
// tests' temporary folder.
void useTemporaryDefaults(const std::string& name);

}  // namespace tktest
