#include "platform/ui/Pasteboard.h"

namespace ui {

Pasteboard& Pasteboard::generalPasteboard() {
  static Pasteboard board;
  return board;
}

std::string Pasteboard::string() const { return read_ ? read_() : local_; }

void Pasteboard::setString(const std::string& text) {
  if (write_) write_(text);
  else local_ = text;
}

void Pasteboard::setStore(std::function<std::string()> read, std::function<void(const std::string&)> write) {
  read_ = std::move(read);
  write_ = std::move(write);
}

}  // namespace ui
