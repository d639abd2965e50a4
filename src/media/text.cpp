#include "media/text.h"

#include <cmath>
#include <cstdlib>

int32_t FindText(const std::string& text, const std::string& needle, int32_t start) {
  if (text.empty() || needle.empty()) return 0;
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > text.size()) return 0;
  const size_t at = text.find(needle, static_cast<size_t>(start - 1));
  return at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
}

std::string TextMid(const std::string& text, int32_t start, int32_t length) {
  if (start < 1) start = 1;
  if (length <= 0 || static_cast<size_t>(start) > text.size()) return "";
  return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length));
}

std::string TextLeft(const std::string& text, int32_t n) {
  if (n <= 0) return "";
  return text.substr(0, static_cast<size_t>(n));
}

int32_t TextLength(const std::string& text) { return static_cast<int32_t>(text.size()); }

std::string NumberText(int32_t value) { return std::to_string(value); }

int32_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(std::nearbyint(value));  // the default rounding mode is to even
}

int32_t TextToInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) i++;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10u + static_cast<uint32_t>(text[i++] - '0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

float TextToFloat(const std::string& text) {
  // The longest decimal number at the start (after blanks): sign, digits with a decimal point,
  // an exponent. strtod alone would also take hexadecimal, "inf" and "nan".
  const char* s = text.c_str();
  size_t i = 0;
  while (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')) i++;
  const size_t start = i;
  if (s[i] == '+' || s[i] == '-') i++;
  size_t digits = 0;
  while (s[i] >= '0' && s[i] <= '9') i++, digits++;
  if (s[i] == '.') {
    i++;
    while (s[i] >= '0' && s[i] <= '9') i++, digits++;
  }
  if (digits == 0) return 0.0f;
  size_t end = i;
  if (s[i] == 'e' || s[i] == 'E') {
    size_t j = i + 1;
    if (s[j] == '+' || s[j] == '-') j++;
    if (s[j] >= '0' && s[j] <= '9') {
      while (s[j] >= '0' && s[j] <= '9') j++;
      end = j;
    }
  }
  return static_cast<float>(std::strtod(std::string(text, start, end - start).c_str(), nullptr));
}
