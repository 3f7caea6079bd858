#pragma once
// Facts about the device the application runs on: a tablet, with
// multitasking, at the window's scale. Tests may change them.
#include <string>

namespace ui {

enum class UserInterfaceIdiom { Phone = 0, Pad = 1 };

class Device {
 public:
  static Device& current();

  const std::string& model() const { return model_; }
  const std::string& systemVersion() const { return systemVersion_; }
  UserInterfaceIdiom userInterfaceIdiom() const { return UserInterfaceIdiom::Pad; }
  bool isMultitaskingSupported() const { return multitasking_; }
  // The main screen's scale (1 on a desktop window, 2 on a dense display).
  float screenScale() const;

  void setSystemVersion(const std::string& v) { systemVersion_ = v; }
  void setMultitaskingSupported(bool on) { multitasking_ = on; }
  void resetForTesting();

 private:
  std::string model_ = "iPad";
  std::string systemVersion_ = "5.1";
  bool multitasking_ = true;
};

}  // namespace ui
