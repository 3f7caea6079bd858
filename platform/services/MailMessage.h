#pragma once
// A composed mail and its RFC 5322 text (MIME, UTF-8 bodies in base64).
#include <string>
#include <vector>

#include "platform/foundation/Data.h"

namespace ui {

struct MailAttachment {
  ns::Data data;
  std::string mimeType;
  std::string fileName;
};

struct MailMessage {
  std::string subject;
  std::vector<std::string> toRecipients;
  std::vector<std::string> ccRecipients;
  std::vector<std::string> bccRecipients;  // never written into the file
  std::string body;
  bool isHTML = false;
  std::vector<MailAttachment> attachments;
};

// The message as an RFC 5322 file, dated with the seconds since 1970. Header
// values lose line breaks (no header can be injected); non-ASCII header text
// is written as encoded words.
std::string rfc5322Text(const MailMessage& message, double date, const std::string& from);

// The plain text of an HTML body: line breaks for <br> and paragraphs, tags
// dropped, the common entities decoded.
std::string plainTextOfHTML(const std::string& html);

// An address usable as a recipient: no spaces, controls, angle brackets or
// leading '-', and one '@'.
bool isPlausibleAddress(const std::string& address);

}  // namespace ui
