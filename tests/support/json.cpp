#include "support/json.h"

#include <cstdlib>

namespace {

const JsonValue kNullValue;

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  bool Document(JsonValue& out) {
    if (!Value(out)) return false;
    Space();
    return pos_ == s_.size();
  }
  size_t Position() const { return pos_; }

 private:
  void Space() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) pos_++;
  }
  bool Eat(char c) {
    Space();
    if (pos_ < s_.size() && s_[pos_] == c) {
      pos_++;
      return true;
    }
    return false;
  }
  bool Value(JsonValue& out) {
    Space();
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (c == '{') return Object(out);
    if (c == '[') return Array(out);
    if (c == '"') {
      out.kind = JsonValue::kString;
      return String(out.text);
    }
    if (s_.compare(pos_, 4, "null") == 0) {
      pos_ += 4;
      out.kind = JsonValue::kNull;
      return true;
    }
    const char* start = s_.c_str() + pos_;
    char* end = nullptr;
    out.number = std::strtod(start, &end);
    if (end == start) return false;
    out.kind = JsonValue::kNumber;
    pos_ += static_cast<size_t>(end - start);
    return true;
  }
  bool String(std::string& out) {
    if (!Eat('"')) return false;
    while (pos_ < s_.size() && s_[pos_] != '"') {
      char c = s_[pos_++];
      if (c == '\\') {
        if (pos_ >= s_.size()) return false;
        c = s_[pos_++];
        if (c == 'u') {
          if (pos_ + 4 > s_.size()) return false;
          c = static_cast<char>(std::strtol(s_.substr(pos_, 4).c_str(), nullptr, 16));
          pos_ += 4;
        } else if (c == 'n') {
          c = '\n';
        }
      }
      out += c;
    }
    return Eat('"');
  }
  bool Array(JsonValue& out) {
    out.kind = JsonValue::kArray;
    Eat('[');
    if (Eat(']')) return true;
    do {
      out.items.emplace_back();
      if (!Value(out.items.back())) return false;
    } while (Eat(','));
    return Eat(']');
  }
  bool Object(JsonValue& out) {
    out.kind = JsonValue::kObject;
    Eat('{');
    if (Eat('}')) return true;
    do {
      std::string key;
      Space();
      if (!String(key) || !Eat(':') || !Value(out.fields[key])) return false;
    } while (Eat(','));
    return Eat('}');
  }

  const std::string& s_;
  size_t pos_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
  auto it = fields.find(key);
  return it == fields.end() ? kNullValue : it->second;
}

const JsonValue& JsonValue::operator[](size_t index) const { return index < items.size() ? items[index] : kNullValue; }

bool ParseJson(const std::string& text, JsonValue& out, std::string& error) {
  Parser parser(text);
  out = JsonValue{};
  if (parser.Document(out)) return true;
  error = "invalid JSON near byte " + std::to_string(parser.Position());
  return false;
}
