#include "Classes/common/ScreenMail.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertView.h"

namespace screens {

void alert(const std::string& title, const std::string& message) {
  auto view = std::make_shared<ui::AlertView>(title, message, std::weak_ptr<ui::AlertViewDelegate>(), localized("OK"));
  view->show();
}

bool canSendMailOrSay() {
  if (ui::MailComposeViewController::canSendMail()) return true;
  alert(localized("Email Not Setup"), localized("You need to setup an email account on your iPhone before using this feature"));
  return false;
}

std::shared_ptr<ui::MailComposeViewController> presentMail(
    const std::string& html, std::weak_ptr<ui::MailComposeViewControllerDelegate> delegate, ui::ViewController& presenter) {
  auto composer = std::make_shared<ui::MailComposeViewController>();
  composer->setMailComposeDelegate(std::move(delegate));
  composer->setMessageBody(html, true);
  composer->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  presenter.presentModalViewController(composer, true);
  return composer;
}

// The failure's title and message are the system's own, not looked up.
void finishMail(ui::MailComposeResult result, const std::string& error, ui::ViewController& presenter) {
  if (result == ui::MailComposeResult::Failed)
    alert("Message Failed", ns::format("The message could not be sent with error: %s", error.c_str()));
  presenter.dismissModalViewControllerAnimated(true);
}

}  // namespace screens
