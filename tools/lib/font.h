// The game's own pixel font: every glyph is drawn from a 5 x 8 design grid (7 rows above the
// baseline, one below), each design pixel 3 x 3 screen pixels, in a warm off-white with a hard
// dark outline. Icon glyphs (bomb, empty bomb slot, heart, life, fuel, floppies, star) are
// drawn at full resolution at the same height.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

constexpr int kGlyphScale = 3;    // screen pixels per design pixel
constexpr int kGlyphBorder = 2;   // outline thickness in screen pixels
constexpr int kGlyphRows = 8;
constexpr int kGlyphHeight = kGlyphRows * kGlyphScale + 2 * kGlyphBorder;

// The characters the font holds, in Windows-1252 bytes, as the character-list file lists them.
std::string FontCharacters();

// The file base name (without ".png") the game loads a character's glyph from.
std::string GlyphBaseName(uint8_t character);

// The files the font consists of: one per distinct base name of FontCharacters(), in order.
std::vector<std::string> GlyphFileBaseNames();

// Draws the glyph image of a character (any character of FontCharacters()).
Canvas DrawGlyph(uint8_t character);

// Lays out a line of text with the glyph images side by side (for preview sheets); a space
// advances by the width of "I".
Canvas RenderText(const std::string& text, const Color& background);

}  // namespace gen
