// Text and number helpers whose exact rules the loaders and the display rely on.
#pragma once

#include <cstdint>
#include <string>

// Position (from 1) of the first occurrence of needle in text at or after start (from 1);
// 0 if absent or if either text is empty.
int32_t FindText(const std::string& text, const std::string& needle, int32_t start = 1);

// Substring from a 1-based start with a length (clipped to the text).
std::string TextMid(const std::string& text, int32_t start, int32_t length);
// The first n characters.
std::string TextLeft(const std::string& text, int32_t n);
int32_t TextLength(const std::string& text);

// Decimal text of a signed integer, "-" for negatives.
std::string NumberText(int32_t value);

// Nearest integer, halves to the even neighbour (the conversion used wherever the game
// turns a float into an integer without saying floor or ceiling).
int32_t RoundHalfEven(double value);

// The integer value of a text: blanks and tabs skipped, an optional sign, then digits up to the
// first other character; no digits gives 0; wraps at 32 bits.
int32_t TextToInteger(const std::string& text);

// The C library's decimal conversion (sign, digits, decimal point, exponent, up to the first
// character that does not fit), rounded to single precision; no number gives 0.0. Hexadecimal,
// "inf" and "nan" are no numbers.
float TextToFloat(const std::string& text);
