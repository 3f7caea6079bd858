#pragma once
// The mail composer: shows the drafted message with Cancel and Send; Send
// writes it as an RFC 5322 file under Caches/Mail and hands it to the
// desktop's mail handler (xdg-email); the outcome goes to the delegate.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/MailMessage.h"
#include "platform/ui/ViewController.h"

namespace ui {

class MailComposeViewController;

// The platform's numbering.
enum class MailComposeResult { Cancelled = 0, Saved = 1, Sent = 2, Failed = 3 };

class MailComposeViewControllerDelegate {
 public:
  virtual ~MailComposeViewControllerDelegate() = default;
  // error is empty unless the result is Failed.
  virtual void mailComposeController(MailComposeViewController& controller,
                                     MailComposeResult result, const std::string& error) = 0;
};

class MailComposeViewController : public ViewController {
 public:
  // Takes the written file's path and the message; answers the result and, on
  // failure, a message.
  using Handler = std::function<MailComposeResult(const MailMessage& message,
                                                  const std::string& path, std::string& error)>;

  MailComposeViewController();

  // True while sending is switched on and a handler exists (one set below, or
  // xdg-email on PATH).
  static bool canSendMail();
  static void setMailEnabled(bool enabled);
  // nullptr restores the desktop handler.
  static void setHandler(Handler handler);

  void setMailComposeDelegate(std::weak_ptr<MailComposeViewControllerDelegate> d) {
    delegate_ = std::move(d);
  }
  void setSubject(const std::string& subject) { message_.subject = subject; }
  void setToRecipients(const std::vector<std::string>& to) { message_.toRecipients = to; }
  void setCcRecipients(const std::vector<std::string>& cc) { message_.ccRecipients = cc; }
  void setBccRecipients(const std::vector<std::string>& bcc) { message_.bccRecipients = bcc; }
  void setMessageBody(const std::string& body, bool isHTML);
  void addAttachmentData(const ns::Data& data, const std::string& mimeType,
                         const std::string& fileName);
  const MailMessage& message() const { return message_; }

  // The composer's two buttons. Only the first answer counts. With the
  // desktop's handler, send returns at once and the result follows on the main
  // thread when xdg-email ends (a cancel meanwhile wins).
  void send();
  void cancel();
  // The file the last send wrote (empty before).
  const std::string& writtenPath() const { return writtenPath_; }

  void loadView() override;

 private:
  void finish(MailComposeResult result, const std::string& error);

  MailMessage message_;
  std::weak_ptr<MailComposeViewControllerDelegate> delegate_;
  std::string writtenPath_;
  bool finished_ = false;
  bool sending_ = false;  // xdg-email runs
};

}  // namespace ui
