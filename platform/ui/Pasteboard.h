#pragma once
// The general pasteboard for copy and paste of text. It keeps its text in
// the process unless the backend connects it to the desktop's clipboard.
// Main thread only.
#include <functional>
#include <string>

namespace ui {

class Pasteboard {
 public:
  static Pasteboard& generalPasteboard();

  std::string string() const;
  void setString(const std::string& text);

  // Where the text really lives (the SDL backend gives the desktop clipboard);
  // both null: in the process again.
  void setStore(std::function<std::string()> read, std::function<void(const std::string&)> write);

 private:
  std::string local_;
  std::function<std::string()> read_;
  std::function<void(const std::string&)> write_;
};

}  // namespace ui
