// Texts of the data checker's report: data quoted for a terminal, suggestions for misspelt
// names, counts, and how a value is written beside how the game reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace check {

// A data text in double quotes, readable on a terminal: Windows-1252 letters become UTF-8 and
// control bytes are written as \xNN; a long text is cut.
std::string Quote(const std::string& text);
// Control bytes written as \xNN, so that a line of the report stays one line.
std::string Printable(const std::string& text);
// A character of a text, shown for people: "A", or "ö (code 246)".
std::string CharacterName(uint8_t c);
// "1 error", "2 warnings".
std::string Count(size_t n, const char* what);

// A UTF-8 byte-order mark: what the report calls it, and what to do about it.
bool StartsWithByteOrderMark(const std::string& text);
extern const std::string kByteOrderMarkIs;    // "the file starts with ..."
extern const std::string kByteOrderMarkTodo;  // "save the file ..."

// The text without blanks and tabs around it.
std::string Trim(const std::string& text);
// Edits (insert, delete, replace) from one text to the other, letter case ignored.
size_t Distance(const std::string& a, const std::string& b);
// The candidate a misspelt name was most probably meant to be, or "" when none is close: the
// same text without blanks around it, or one within a couple of edits.
std::string Nearest(const std::string& name, const std::vector<std::string>& candidates);

// Written as a whole number as the readers take them: blanks and tabs, a sign, digits, nothing
// after them but blanks, within 32 bits.
bool IsWholeNumber(const std::string& value);
// A decimal number with an optional fraction and exponent, and nothing after it but blanks.
bool IsDecimalNumber(const std::string& value);
bool HasDigits(const std::string& value);
// What the game reads: a float as printed, a flag's low 8 bits.
std::string FloatText(float value);
std::string FlagText(const std::string& value);

}  // namespace check
