#pragma once

#include <cstdint>
#include <string>
#include <vector>

// JSON text for the command line's --json: small writers that turn the
// models' figures into one valid document, whatever the data holds.

// UTF-8 text as a JSON string: in quotes, with the quote, the backslash and
// every control character below 0x20 escaped.
std::string JsonString(const std::string& text);

// A whole number held in a double, with every digit and no exponent, as the
// exports print it; null for a value that is no number.
std::string JsonWholeNumber(double value);

// An object written member by member, in the order given:
// {"key":value,...}.
class TJsonObject {
 public:
  TJsonObject& String(const std::string& key, const std::string& text);  // text in UTF-8
  TJsonObject& Number(const std::string& key, int64_t value);
  // A value already written as JSON.
  TJsonObject& Raw(const std::string& key, const std::string& json);
  std::string Text() const { return "{" + FMembers + "}"; }

 private:
  std::string FMembers;
};

// Values written as JSON in an array, one to a line; "[]" for none.
std::string JsonArray(const std::vector<std::string>& values);
