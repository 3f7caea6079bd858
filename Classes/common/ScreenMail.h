#pragma once
// Mailing from a list (bookmarks, search results): the alert when no mail
// account is set up, the composer with an HTML body presented as a form
// sheet, and its end: a failure said in an alert, the composer dismissed.
#include <memory>
#include <string>

#include "platform/services/MailComposeViewController.h"

namespace screens {

// An alert with one "OK" button.
void alert(const std::string& title, const std::string& message);
// False, after saying so, when no mail can be sent.
bool canSendMailOrSay();
std::shared_ptr<ui::MailComposeViewController> presentMail(
    const std::string& html, std::weak_ptr<ui::MailComposeViewControllerDelegate> delegate, ui::ViewController& presenter);
void finishMail(ui::MailComposeResult result, const std::string& error, ui::ViewController& presenter);

}  // namespace screens
