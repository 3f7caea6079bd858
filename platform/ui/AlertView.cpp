#include "platform/ui/AlertView.h"

namespace ui {

AlertView::AlertView(const std::string& title, const std::string& message,
                     std::weak_ptr<AlertViewDelegate> delegate,
                     const std::string& cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles)
    : DelegatingButtonPanel(title, message, std::move(delegate)) {
  if (!cancelButtonTitle.empty()) cancelButtonIndex_ = addButtonWithTitle(cancelButtonTitle);
  for (const auto& t : otherButtonTitles) addButtonWithTitle(t);
}

void AlertView::notifyWillPresent() {
  if (auto d = delegate()) d->willPresentAlertView(*this);
}
void AlertView::notifyDidPresent() {
  if (auto d = delegate()) d->didPresentAlertView(*this);
}

const ButtonPanel::Style& AlertView::style() const {
  static const Style s{
      284,
      cg::Color(0.05f, 0.11f, 0.29f, 0.92f),  // deep blue glass
      cg::Color(0.85f, 0.88f, 0.95f, 0.9f),
      cg::Color::white(),
      cg::Color::white(),
      cg::Color(0.40f, 0.47f, 0.64f, 1),
      cg::Color::white(),
      cg::Color(0.16f, 0.22f, 0.40f, 1),
      cg::Color(0.75f, 0.12f, 0.12f, 1),
      cg::Color(0, 0, 0, 0.45f),
      true,
      18,
      true,
  };
  return s;
}

cg::Rect AlertView::placement(cg::Size size, const cg::Rect&, const cg::Rect& window) const {
  return cg::Rect(window.midX() - size.width / 2, window.midY() - size.height / 2, size.width,
                  size.height);
}

}  // namespace ui
