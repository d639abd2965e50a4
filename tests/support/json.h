// Just enough JSON to read the game's state dumps in tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct JsonValue {
  enum Kind { kNull, kNumber, kString, kArray, kObject } kind = kNull;
  double number = 0.0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> fields;

  // The field of an object (a null value when absent).
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](size_t index) const;
  int Int() const { return static_cast<int>(number); }
  size_t Size() const { return kind == kArray ? items.size() : fields.size(); }
};

// Parses a document; false (with the position in error) when it is not valid JSON.
bool ParseJson(const std::string& text, JsonValue& out, std::string& error);
