#include "src/JSON/JSONCodecWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/foundation/String.h"

namespace {

// Whether the keys' byte order (the dictionary's own) may differ from their
// order by UTF-16 units: only a character from U+E000 on sorts differently.
bool needsUtf16Order(const ns::Dictionary& dictionary) {
  for (const auto& member : dictionary) {
    for (unsigned char b : member.first) {
      if (b >= 0xEE) return true;
    }
  }
  return false;
}

}  // namespace

std::optional<std::string> JSONCodecWriter::stringWithObject(const ns::Value& value) {
  if (value.isDictionary() || value.isArray()) return stringWithFragment(value);
  clearErrorTrace();
  addErrorWithCode(JSONErrorFragment, "Not valid type for JSON");
  return std::nullopt;
}

std::optional<std::string> JSONCodecWriter::stringWithFragment(const ns::Value& value) {
  clearErrorTrace();
  depth = 0;
  std::string out;
  out.reserve(128);
  if (!appendValue(value, out)) return std::nullopt;
  return out;
}

bool JSONCodecWriter::appendValue(const ns::Value& value, std::string& out) {
  using Type = ns::Value::Type;
  switch (value.type()) {
    case Type::Dictionary: return appendDictionary(value.dictionary(), out);
    case Type::Array: return appendArray(value.array(), out);
    case Type::String: appendString(value.string(), out); return true;
    case Type::Bool: out += value.boolValue() ? "true" : "false"; return true;
    case Type::Integer:
    case Type::Double:
    case Type::Decimal: return appendNumber(value, out);
    case Type::Null: out += "null"; return true;
    case Type::Data: return refuse("ns::Data");
    case Type::Date: return refuse("ns::Date");
  }
  return false;
}

bool JSONCodecWriter::refuse(const std::string& what) {
  addErrorWithCode(JSONErrorUnsupported, "JSON serialisation not supported for " + what);
  return false;
}

bool JSONCodecWriter::appendNumber(const ns::Value& number, std::string& out) {
  if (auto decimal = number.decimal()) {
    decimal->appendDescription(out);
    return true;
  }
  char text[32];
  std::to_chars_result written;
  if (number.isInteger()) {
    written = std::to_chars(text, text + sizeof text, number.integerValue());
  } else {
    const double d = number.doubleValue();
    // JSON has no text for these.
    if (std::isnan(d)) return refuse("nan");
    if (std::isinf(d)) return refuse(d > 0 ? "inf" : "-inf");
    written = std::to_chars(text, text + sizeof text, d);
  }
  out.append(text, written.ptr);
  return true;
}

bool JSONCodecWriter::appendArray(const ns::Array& array, std::string& out) {
  if (!enterNesting()) return false;
  const bool readable = humanReadable();
  out.push_back('[');
  for (std::size_t i = 0; i < array.size(); ++i) {
    if (i > 0) out.push_back(',');
    if (readable) indent(out);
    if (!appendValue(array[i], out)) return false;
  }
  leaveNesting();
  if (readable && !array.empty()) indent(out);
  out.push_back(']');
  return true;
}

bool JSONCodecWriter::appendDictionary(const ns::Dictionary& dictionary, std::string& out) {
  if (!enterNesting()) return false;
  out.push_back('{');
  bool first = true;
  if (sortKeys() && needsUtf16Order(dictionary)) {
    // Sorted as the platform's strings compare: by UTF-16 units.
    std::vector<std::pair<std::u16string, const ns::Dictionary::value_type*>> sorted;
    sorted.reserve(dictionary.size());
    for (const auto& member : dictionary) sorted.emplace_back(ns::utf8ToUtf16(member.first), &member);
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key16, member] : sorted) {
      if (!appendMember(member->first, member->second, first, out)) return false;
      first = false;
    }
  } else {
    for (const auto& [key, value] : dictionary) {
      if (!appendMember(key, value, first, out)) return false;
      first = false;
    }
  }
  leaveNesting();
  if (humanReadable() && !first) indent(out);
  out.push_back('}');
  return true;
}

bool JSONCodecWriter::appendMember(const std::string& key, const ns::Value& value, bool first, std::string& out) {
  const bool readable = humanReadable();
  if (!first) out.push_back(',');
  if (readable) indent(out);
  appendString(key, out);
  out += readable ? " : " : ":";
  if (appendValue(value, out)) return true;
  addErrorWithCode(JSONErrorUnsupported, "Unsupported value for key " + key + " in object");
  return false;
}

void JSONCodecWriter::appendString(std::string_view text, std::string& out) {
  out.push_back('"');
  if (std::none_of(text.begin(), text.end(), [](char ch) { return JSONEscapedBytes[static_cast<unsigned char>(ch)]; })) {
    out.append(text);
  } else {
    for (char ch : text) {
      const auto byte = static_cast<unsigned char>(ch);
      if (!JSONEscapedBytes[byte]) {
        out.push_back(ch);
        continue;
      }
      switch (byte) {
        case '\b': out += "\\b"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\f': out += "\\f"; break;
        case '\r': out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out.push_back(kHex[byte >> 4]);
          out.push_back(kHex[byte & 0xF]);
        }
      }
    }
  }
  out.push_back('"');
}

void JSONCodecWriter::indent(std::string& out) const {
  out.push_back('\n');
  out.append(2 * static_cast<std::size_t>(depth), ' ');
}
