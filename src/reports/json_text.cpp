#include "reports/json_text.h"

#include <cmath>
#include <cstdio>

std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': json += "\\\""; break;
      case '\\': json += "\\\\"; break;
      case '\b': json += "\\b"; break;
      case '\f': json += "\\f"; break;
      case '\n': json += "\\n"; break;
      case '\r': json += "\\r"; break;
      case '\t': json += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          json += escaped;
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

std::string JsonWholeNumber(double value) {
  if (!std::isfinite(value)) return "null";
  // "%.0f" writes every digit of the largest double, which has 309.
  char text[320];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

TJsonObject& TJsonObject::String(const std::string& key, const std::string& text) {
  return Raw(key, JsonString(text));
}

TJsonObject& TJsonObject::Number(const std::string& key, int64_t value) {
  return Raw(key, std::to_string(value));
}

TJsonObject& TJsonObject::Raw(const std::string& key, const std::string& json) {
  if (!FMembers.empty()) FMembers += ",";
  FMembers += JsonString(key) + ":" + json;
  return *this;
}

std::string JsonArray(const std::vector<std::string>& values) {
  if (values.empty()) return "[]";
  std::string json = "[\n";
  for (size_t i = 0; i < values.size(); ++i)
    json += values[i] + (i + 1 < values.size() ? ",\n" : "\n");
  return json + "]";
}
