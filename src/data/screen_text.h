// The screen font: one glyph image per character, drawn as quads with a shared pen.
#pragma once

#include <cstdint>
#include <string>

struct GlyphRecord {
  float height = 0.0f;     // screen pixels at scale 1.0: image height * fontScale
  float width = 0.0f;
  int32_t sprite = 0;      // the glyph image
  int32_t sprite3D = 0;    // its quad; 0 = the code draws nothing
};

extern GlyphRecord glyphTable[256];
// The pen's offset from the origin of the text being drawn; shared by every call.
extern float textPenX, textPenY;

// The glyph file's base name of a character and the code its glyph is stored under.
struct GlyphName {
  std::string baseName;
  uint8_t code = 0;
};
GlyphName GlyphFileName(uint8_t character);

// The font's character list: the first line of its file. False when the file cannot be opened.
bool ReadCharacterList(const std::string& listFile, std::string& characters);
void ReloadScreenFont();
void LoadScreenFont(const std::string& listFile);
void FreeScreenFont();
// FreeScreenFont, and every glyph's size and the pen back to 0: the table as before start-up.
// (FreeScreenFont alone keeps the sizes, as a reload that fails for a glyph relies on.)
void ResetScreenFont();
void DrawScreenText(const std::string& text, float x, float y, float scale, float angle, int32_t alpha, float spacing);
void DrawScreenChar(int32_t code, float x, float y, float scale, float angle, int32_t alpha, float spacing);
