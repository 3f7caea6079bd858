#include "platform/services/MailComposeViewController.h"

#include <cstdlib>

#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Context.h"
#include "platform/services/DesktopProgram.h"
#include "platform/ui/TextDrawing.h"

namespace ui {

namespace {

constexpr float kBarHeight = 44;
constexpr float kButtonWidth = 90;

bool gMailEnabled = true;

MailComposeViewController::Handler& customHandler() {
  static MailComposeViewController::Handler h;
  return h;
}

std::string senderAddress() {
  if (const char* email = std::getenv("EMAIL"); email && isPlausibleAddress(email)) return email;
  const char* user = std::getenv("USER");
  return std::string(user && *user ? user : "reader") + "@localhost";
}

// The xdg-email command for the message, as separate arguments: recipients,
// subject, plain body and the attachments, written beside the message file.
std::vector<std::string> desktopMailCommand(const MailMessage& m, const std::string& path) {
  std::vector<std::string> argv{"xdg-email", "--utf8"};
  for (const auto& a : m.ccRecipients)
    if (isPlausibleAddress(a)) argv.insert(argv.end(), {"--cc", a});
  for (const auto& a : m.bccRecipients)
    if (isPlausibleAddress(a)) argv.insert(argv.end(), {"--bcc", a});
  argv.insert(argv.end(), {"--subject", m.subject});
  argv.insert(argv.end(), {"--body", m.isHTML ? plainTextOfHTML(m.body) : m.body});
  std::string folder = ns::deletingLastPathComponent(path);
  for (const auto& a : m.attachments) {
    std::string name = ns::isSafePathComponent(a.fileName) ? a.fileName : "attachment";
    std::string file = ns::pathJoin(folder, name);
    if (ns::writeFileAtomically(file, a.data)) argv.insert(argv.end(), {"--attach", file});
  }
  for (const auto& a : m.toRecipients)
    if (isPlausibleAddress(a)) argv.push_back(a);
  return argv;
}

// The composer's screen: a bar with Cancel, the subject and Send over the
// recipients and the plain text of the body.
class ComposerView : public View {
 public:
  ComposerView(cg::Rect frame, MailComposeViewController* owner) : View(frame), owner_(owner) {
    setBackgroundColor(cg::Color::white());
  }
  void drawRect(cg::Context& ctx, cg::Rect rect) override {
    const MailMessage& m = owner_->message();
    ctx.setFillColor(cg::Color(0.86f, 0.88f, 0.91f));
    ctx.fillRect(cg::Rect(0, 0, rect.width(), kBarHeight));
    Font bar = Font::boldSystemFontOfSize(17);
    cg::Color blue(0.12f, 0.35f, 0.75f);
    drawTextInRect(ctx, "Cancel", cg::Rect(12, 12, kButtonWidth, 24), bar, blue);
    drawTextInRect(ctx, "Send", cg::Rect(rect.width() - kButtonWidth - 12, 12, kButtonWidth, 24),
                   bar, blue, TextAlignment::Right);
    drawTextInRect(ctx, m.subject, cg::Rect(kButtonWidth + 20, 12, rect.width() - 2 * kButtonWidth - 40, 24),
                   bar, cg::Color::black(), TextAlignment::Center, LineBreakMode::TruncateTail);
    Font field = Font::systemFontOfSize(15);
    cg::Color grey(0.45f, 0.45f, 0.5f);
    std::string to;
    for (const auto& a : m.toRecipients) to += (to.empty() ? "" : ", ") + a;
    drawTextInRect(ctx, "To: " + to, cg::Rect(12, kBarHeight + 10, rect.width() - 24, 20), field, grey,
                   TextAlignment::Left, LineBreakMode::TruncateTail);
    drawTextInRect(ctx, "Subject: " + m.subject, cg::Rect(12, kBarHeight + 36, rect.width() - 24, 20),
                   field, grey, TextAlignment::Left, LineBreakMode::TruncateTail);
    ctx.setFillColor(cg::Color(0.8f, 0.8f, 0.82f));
    ctx.fillRect(cg::Rect(0, kBarHeight + 64, rect.width(), 1));
    std::string body = m.isHTML ? plainTextOfHTML(m.body) : m.body;
    drawTextInRect(ctx, body, cg::Rect(12, kBarHeight + 76, rect.width() - 24, rect.height() - kBarHeight - 86),
                   Font::systemFontOfSize(16), cg::Color::black());
  }
  void touchesEnded(const TouchSet& touches, const Event&) override {
    cg::Point p = touches.front()->locationInView(this);
    if (p.y > kBarHeight) return;
    if (p.x < kButtonWidth + 12) owner_->cancel();
    else if (p.x > bounds().width() - kButtonWidth - 12) owner_->send();
  }
  void touchesBegan(const TouchSet&, const Event&) override {}

 private:
  MailComposeViewController* owner_;  // the controller owns this view
};

}  // namespace

MailComposeViewController::MailComposeViewController() {
  setModalPresentationStyle(ModalPresentationStyle::PageSheet);
}

bool MailComposeViewController::canSendMail() {
  return gMailEnabled && (customHandler() || programOnPath("xdg-email"));
}

void MailComposeViewController::setMailEnabled(bool enabled) { gMailEnabled = enabled; }
void MailComposeViewController::setHandler(Handler handler) { customHandler() = std::move(handler); }

void MailComposeViewController::setMessageBody(const std::string& body, bool isHTML) {
  message_.body = body;
  message_.isHTML = isHTML;
}

void MailComposeViewController::addAttachmentData(const ns::Data& data, const std::string& mimeType,
                                                  const std::string& fileName) {
  message_.attachments.push_back({data, mimeType, fileName});
}

void MailComposeViewController::loadView() {
  setView(std::make_shared<ComposerView>(cg::Rect(0, 0, 768, 748), this));
}

void MailComposeViewController::send() {
  if (finished_ || sending_) return;
  if (!canSendMail()) {
    finish(MailComposeResult::Failed, "Mail is not set up on this computer.");
    return;
  }
  double now = ns::Clock::current().now();
  std::string folder = ns::pathJoin(ns::cachesDirectory(), "Mail");
  std::string path =
      ns::pathJoin(folder, "message-" + std::to_string(static_cast<long long>(now * 1000)) + ".eml");
  if (!ns::createDirectory(folder) ||
      !ns::writeFileAtomically(path, rfc5322Text(message_, now, senderAddress()))) {
    finish(MailComposeResult::Failed, "The message could not be written to " + folder + ".");
    return;
  }
  writtenPath_ = path;
  if (auto& handler = customHandler()) {
    std::string error;
    MailComposeResult result = handler(message_, path, error);
    finish(result, result == MailComposeResult::Failed ? error : "");
    return;
  }
  // The desktop's mail program may take its time (or hang): the window goes on,
  // and its answer comes back on the main thread.
  sending_ = true;
  std::weak_ptr<ViewController> weak = weak_from_this();
  bool started = startDesktopProgram(desktopMailCommand(message_, path), [weak](int status) {
    auto self = std::static_pointer_cast<MailComposeViewController>(weak.lock());
    if (!self || self->finished_) return;
    self->sending_ = false;
    if (status == 0) {
      self->finish(MailComposeResult::Sent, "");
    } else {
      self->finish(MailComposeResult::Failed,
                   "The mail program ended with status " + std::to_string(status) + ".");
    }
  });
  if (!started) {
    sending_ = false;
    finish(MailComposeResult::Failed, "The mail program (xdg-email) could not be started.");
  }
}

void MailComposeViewController::cancel() {
  if (!finished_) finish(MailComposeResult::Cancelled, "");
}

void MailComposeViewController::finish(MailComposeResult result, const std::string& error) {
  finished_ = true;
  auto keep = weak_from_this().lock();  // the delegate may drop the last reference
  if (auto d = delegate_.lock()) d->mailComposeController(*this, result, error);
}

}  // namespace ui
