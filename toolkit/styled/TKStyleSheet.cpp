#include "toolkit/styled/TKStyleSheet.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/ui/Application.h"
#include "toolkit/core/TKStyleProvider.h"
#include "toolkit/styled/TKArchive.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKStyle.h"

namespace {

std::shared_ptr<TKDefaultStyleSheet>& globalSheet() {
  static std::shared_ptr<TKDefaultStyleSheet> sheet;
  return sheet;
}

constexpr std::uint64_t kMaxArchiveBytes = 1 << 20;

// The base controllers of the toolkit's core read their bar tint and
// background from the global sheet through this provider.
const bool kProviderRegistered = [] {
  TKSetStyleProvider({[] { return TKStyleSheet::globalStyleSheet()->navigationBarTintColor(); },
                      [] { return TKStyleSheet::globalStyleSheet()->backgroundColor(); }});
  return true;
}();

std::shared_ptr<TKStyle> readArchive(const std::string& path) {
  auto data = ns::readFile(path, kMaxArchiveBytes);
  if (!data) return nullptr;
  auto value = ns::Value::fromJSON(ns::stringFromData(*data), 64);
  if (!value) return nullptr;
  return TKStyle::unarchive(*value);
}

}  // namespace

std::shared_ptr<TKDefaultStyleSheet> TKStyleSheet::globalStyleSheet() {
  auto& sheet = globalSheet();
  if (!sheet) sheet = std::make_shared<TKDefaultStyleSheet>();
  return sheet;
}

void TKStyleSheet::setGlobalStyleSheet(std::shared_ptr<TKDefaultStyleSheet> sheet) { globalSheet() = std::move(sheet); }

TKStyleSheet::TKStyleSheet() {
  memoryWarning_ = ns::NotificationCenter::defaultCenter().addObserver(
      ui::ApplicationDidReceiveMemoryWarningNotification, [this](const ns::Value&) { didReceiveMemoryWarning(); });
}

TKStyleSheet::~TKStyleSheet() = default;

std::shared_ptr<TKStyle> TKStyleSheet::styleWithSelector(const std::string& name, unsigned state) {
  std::string key = state == 0 ? name : name + std::to_string(state);
  if (auto it = styles_.find(key); it != styles_.end()) return it->second;
  // Only registered style methods run: a class name from markup never reaches anything else.
  std::shared_ptr<TKStyle> style;
  if (auto it = methods_.find(name); it != methods_.end()) {
    style = it->second(state);
  } else {
    style = styleFromAppBundleForSelector(name);
  }
  if (style) styles_[key] = style;
  return style;
}

std::shared_ptr<TKStyle> TKStyleSheet::styleFromAppBundleForSelector(const std::string& name) {
  // Archive names are plain words: nothing in them can leave the resource folder.
  if (!tkarchive::isValidName(name)) return nullptr;
  std::string file = name + ".tkstyle";
  std::string resources = ns::resourceDirectory();
  if (auto style = readArchive(resources + "/" + file)) return style;
  return readArchive(resources + "/Toolkit.bundle/styles/" + file);
}
