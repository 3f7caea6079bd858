#include "Classes/core/Language.h"

#include <memory>
#include <mutex>

#include "Classes/core/RegisteredDefaults.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"

namespace {

struct State {
  std::mutex initMutex;  // held while the first selection is made
  std::mutex mutex;
  bool initialized = false;
  std::shared_ptr<ns::Bundle> strings;  // the selected language's bundle
};

State& state() {
  static State s;
  return s;
}

std::shared_ptr<ns::Bundle> bundleFor(const std::string& code) {
  // The code comes from the stored settings: it must name a folder, never a path.
  if (ns::isSafePathComponent(code + ".lproj")) {
    if (auto bundle = ns::Bundle::main().languageBundle(code)) return bundle;
  }
  return std::make_shared<ns::Bundle>(ns::Bundle::main().bundlePath());
}

// Selects the string table and stores the choice for the next start.
void select(const std::string& code) {
  auto bundle = bundleFor(code);
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().strings = std::move(bundle);
    state().initialized = true;
  }
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.setObject(ns::Value(code), kPrefLang);
  defaults.setObject(ns::Value(ns::Array{ns::Value(code)}), kAppleLanguages);
  defaults.synchronize();
}

}  // namespace

void Language::initialize() {
  std::lock_guard<std::mutex> once(state().initMutex);
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    if (state().initialized) return;
  }
  // Quietly: the start selects the language it already has.
  select(preferredLanguage());
}

void Language::setLanguage(const std::string& code) {
  ns::logf("preferredLang: %s", code.c_str());
  select(code);
}

std::string Language::get(const std::string& key, const std::string& alter) {
  initialize();
  std::shared_ptr<ns::Bundle> strings;
  {
    std::lock_guard<std::mutex> lock(state().mutex);
    strings = state().strings;
  }
  return strings ? strings->localizedString(key, alter) : alter;
}

std::string Language::preferredLanguage() {
  const ns::Array languages = ns::UserDefaults::standardUserDefaults().arrayForKey(kAppleLanguages);
  if (!languages.empty() && languages[0].isString() && !languages[0].string().empty()) {
    return languages[0].string();
  }
  return ns::preferredLanguagesFromEnvironment().front().string();
}

void Language::resetForTesting() {
  std::lock_guard<std::mutex> lock(state().mutex);
  state().initialized = false;
  state().strings.reset();
}
