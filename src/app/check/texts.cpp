#include "app/check/texts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/line_pairs.h"
#include "media/text.h"

namespace check {

namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// A data text in double quotes, readable on a terminal: Windows-1252 letters become UTF-8 and
// control bytes are written as \xNN.
std::string Quote(const std::string& text) {
  // A line of a broken file can be long; the start says enough.
  constexpr size_t kLongest = 48;
  std::string out = "\"";
  for (const unsigned char c : text.substr(0, kLongest)) {
    if (c >= 0xA0) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + (text.size() > kLongest ? "...\"" : "\"");
}

// Edits (insert, delete, replace) from one text to the other, letter case ignored.
size_t Distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); j++) row[j] = j;
  for (size_t i = 1; i <= a.size(); i++) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); j++) {
      const size_t above = row[j];
      const size_t change = diagonal + (UpperChar(a[i - 1]) == UpperChar(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, change});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool StartsWithByteOrderMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0; }
const std::string kByteOrderMarkIs = "the file starts with a UTF-8 byte-order mark (the bytes EF BB BF)";
const std::string kByteOrderMarkTodo = "save the file without a byte-order mark";

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The candidate a misspelt name was most probably meant to be, or "" when none is close: the
// same text without blanks around it, or one within a couple of edits.
std::string Nearest(const std::string& name, const std::vector<std::string>& candidates) {
  const std::string trimmed = Trim(name);
  std::string best;
  size_t bestDistance = 1 + trimmed.size() / 6;
  for (const std::string& candidate : candidates) {
    if (candidate == name) continue;
    if (candidate == trimmed) return candidate;
    const size_t d = Distance(trimmed, candidate);
    if (d < bestDistance || (d == bestDistance && best.empty())) {
      best = candidate;
      bestDistance = d;
    }
  }
  return best;
}

// "1 error", "2 warnings".
std::string Count(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// Numbers as the readers take them: blanks and tabs, a sign, digits; the rest is ignored.
bool IsWholeNumber(const std::string& value) {
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) i++;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) i++;
  const size_t digits = i;
  while (i < value.size() && value[i] >= '0' && value[i] <= '9') i++;
  if (i == digits || Trim(value.substr(i)) != "") return false;
  // Beyond 32 bits the reader wraps round.
  const std::string number = Trim(value);
  const double magnitude = std::strtod(number.c_str(), nullptr);
  return magnitude >= -2147483648.0 && magnitude <= 2147483647.0;
}

// A decimal number with an optional fraction and exponent, and nothing after it but blanks.
bool IsDecimalNumber(const std::string& value) {
  const std::string v = Trim(value);
  size_t i = 0;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) i++;
  size_t digits = 0;
  while (i < v.size() && v[i] >= '0' && v[i] <= '9') i++, digits++;
  if (i < v.size() && v[i] == '.') {
    i++;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') i++, digits++;
  }
  if (digits == 0) return false;
  if (i < v.size() && (v[i] == 'e' || v[i] == 'E')) {
    i++;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) i++;
    const size_t exponent = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') i++;
    if (i == exponent) return false;
  }
  return i == v.size() && std::isfinite(TextToFloat(v));
}

bool HasDigits(const std::string& value) { return value.find_first_of("0123456789") != std::string::npos; }

std::string FloatText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

std::string FlagText(const std::string& value) { return NumberText(TextToLowByte(value)); }

// Control bytes written as \xNN, so that a line of the report stays one line.
std::string Printable(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c >= 0x20 && c != 0x7F) {
      out += static_cast<char>(c);
      continue;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += hex;
  }
  return out;
}

// A character of a text, shown for people: "A", or "ö (code 246)".
std::string CharacterName(uint8_t c) {
  const std::string shown = Quote(std::string(1, static_cast<char>(c)));
  return c < 0x80 ? shown : shown + " (code " + std::to_string(c) + ")";
}

}  // namespace check
