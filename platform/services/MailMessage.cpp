#include "platform/services/MailMessage.h"

#include <ctime>

#include "platform/foundation/Base64.h"

namespace ui {

namespace {

std::string base64(const std::string& s) { return ns::base64Encode(ns::dataFromString(s)); }

// Base64 broken into lines of 76 characters, as MIME bodies want.
std::string base64Lines(const ns::Data& data) {
  std::string b = ns::base64Encode(data), out;
  for (size_t i = 0; i < b.size(); i += 76) out += b.substr(i, 76) + "\r\n";
  return out;
}

std::string oneLine(const std::string& s) {
  std::string out;
  for (char c : s) out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
  return out;
}

bool isAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

std::string headerText(const std::string& s) {
  std::string line = oneLine(s);
  return isAscii(line) ? line : "=?UTF-8?B?" + base64(line) + "?=";
}

std::string addressList(const std::vector<std::string>& list) {
  std::string out;
  for (const auto& a : list) {
    if (!isPlausibleAddress(a)) continue;
    if (!out.empty()) out += ", ";
    out += a;
  }
  return out;
}

std::string rfc5322Date(double seconds) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[64];
  std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S +0000", &tm);
  return buf;
}

std::string safeFileName(const std::string& name) {
  std::string out;
  for (char c : oneLine(name)) out += (c == '"' || c == '\\' || c == '/') ? '_' : c;
  return out.empty() ? "attachment" : out;
}

std::string bodyPart(const MailMessage& m) {
  std::string type = m.isHTML ? "text/html" : "text/plain";
  return "Content-Type: " + type + "; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
         base64Lines(ns::dataFromString(m.body));
}

}  // namespace

bool isPlausibleAddress(const std::string& a) {
  if (a.empty() || a.size() > 320 || a[0] == '-') return false;
  int at = 0;
  for (unsigned char c : a) {
    if (c <= 0x20 || c == 0x7f || c == '<' || c == '>' || c == ',' || c == '"') return false;
    at += c == '@';
  }
  return at == 1 && a.front() != '@' && a.back() != '@';
}

std::string rfc5322Text(const MailMessage& m, double date, const std::string& from) {
  std::string out;
  out += "From: " + headerText(from) + "\r\n";
  std::string to = addressList(m.toRecipients);
  if (!to.empty()) out += "To: " + to + "\r\n";
  std::string cc = addressList(m.ccRecipients);
  if (!cc.empty()) out += "Cc: " + cc + "\r\n";
  out += "Subject: " + headerText(m.subject) + "\r\n";
  out += "Date: " + rfc5322Date(date) + "\r\n";
  out += "MIME-Version: 1.0\r\n";
  if (m.attachments.empty()) return out + bodyPart(m);

  const std::string boundary = "=_part_boundary_" + std::to_string(static_cast<long long>(date));
  out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
  out += "--" + boundary + "\r\n" + bodyPart(m);
  for (const auto& a : m.attachments) {
    std::string name = safeFileName(a.fileName);
    std::string type = a.mimeType.empty() ? "application/octet-stream" : oneLine(a.mimeType);
    out += "--" + boundary + "\r\n";
    out += "Content-Type: " + type + "; name=\"" + name + "\"\r\n";
    out += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    out += base64Lines(a.data);
  }
  return out + "--" + boundary + "--\r\n";
}

std::string plainTextOfHTML(const std::string& html) {
  std::string out;
  for (size_t i = 0; i < html.size();) {
    if (html[i] == '<') {
      size_t end = html.find('>', i);
      if (end == std::string::npos) break;
      std::string tag = html.substr(i + 1, end - i - 1);
      for (auto& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (tag.rfind("br", 0) == 0 || tag == "p" || tag == "/p") out += '\n';
      i = end + 1;
      continue;
    }
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&nbsp;", ' '}};
    bool matched = false;
    for (const auto& [name, ch] : entities) {
      size_t len = std::char_traits<char>::length(name);
      if (html.compare(i, len, name) == 0) {
        out += ch;
        i += len;
        matched = true;
        break;
      }
    }
    if (!matched) out += html[i++];
  }
  return out;
}

}  // namespace ui
