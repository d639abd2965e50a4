// The screen font: one PNG per character, each turned into a quad that every occurrence of the
// character shares. Texts are drawn with a pen that only "|" and "\" put back.
#include "data/screen_text.h"

#include <cmath>

#include "core/game_state.h"
#include "core/settings.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"

GlyphRecord glyphTable[256];
float textPenX = 0.0f, textPenY = 0.0f;

namespace {

constexpr uint8_t kNewLine = 92;    // "\"
constexpr uint8_t kEndOfText = 124; // "|"
constexpr uint8_t kSpace = 32;

// Pen offsets and glyph sizes are kept within this many pixels of the origin, so that absurd
// scales or spacings can neither overflow a pixel coordinate nor poison the pen with infinities.
constexpr double kPixelLimit = 16777216.0;

double Clamp(double value) {
  if (std::isnan(value)) return 0.0;
  if (value > kPixelLimit) return kPixelLimit;
  if (value < -kPixelLimit) return -kPixelLimit;
  return value;
}

// A size or position in whole pixels: the nearest integer, halves to even, within the limit.
int32_t ToPixels(double value) { return RoundHalfEven(Clamp(value)); }

// Moves one pen coordinate; an advance that is not a number leaves it where it is.
void MovePen(float& pen, double advance) {
  if (std::isnan(advance)) return;
  pen = static_cast<float>(Clamp(pen + advance));
}

}  // namespace

GlyphName GlyphFileName(uint8_t character) {
  switch (character) {
    case '.': return {"POINT", character};
    case '?': return {"ASK", character};
    case '[': return {"FLOPPY", character};
    case ']': return {"FLOPPYB", character};
    case '-': return {"MINUS", character};
    case '"': return {"FUEL", character};
    case '(': return {"LEFT", character};
    case ')': return {"RIGHT", character};
    case ':': return {"POINTPOINT", character};
    case '*': return {"STERN", character};
    case '+': return {"PLUS", character};
    case '&': return {"BOMB", character};
    case '@': return {"LIFE", character};
    case 246:  // o umlaut, an empty bomb slot
    case 214:  // O umlaut
      return {"NOBOMB", character};
    case 228:  // a umlaut, a heart
    case 196:  // A umlaut
      return {"HERZ", character};
    case 252:  // u umlaut and U umlaut share the plain "u"
    case 220:
      return {"_u", static_cast<uint8_t>('u')};
    case 223:  // sharp s shares the capital "S"
      return {"S", static_cast<uint8_t>('S')};
    default: break;
  }
  if (character >= 'a' && character <= 'z') return {std::string("_") + static_cast<char>(character), character};
  return {std::string(1, static_cast<char>(character)), character};
}

void ReloadScreenFont() {
  FreeScreenFont();
  LoadScreenFont(settings.FONTSYSTEM);
}

bool ReadCharacterList(const std::string& listFile, std::string& characters) {
  const int32_t file = OpenTextFile(-1, listFile);
  if (file == 0) return false;
  characters = ReadLine(file);
  CloseTextFile(file);
  return true;
}

void LoadScreenFont(const std::string& listFile) {
  std::string characters;
  if (!ReadCharacterList(listFile, characters)) return;
  for (const char c : characters) {
    const GlyphName name = GlyphFileName(static_cast<uint8_t>(c));
    GlyphRecord& glyph = glyphTable[name.code];
    if (ImageExists(glyph.sprite)) FreeImage(glyph.sprite);
    // Glyph images are drawn on white, which is left out.
    SetTransparentColour(kWhite);
    glyph.sprite = LoadImage(-1, settings.FONTPATH + "\\" + name.baseName + ".png");
    if (glyph.sprite == 0) continue;
    glyph.width = static_cast<float>(ImageWidth(glyph.sprite)) * gameState.fontScale;
    glyph.height = static_cast<float>(ImageHeight(glyph.sprite)) * gameState.fontScale;
    if (QuadExists(glyph.sprite3D)) FreeQuad(glyph.sprite3D);
    glyph.sprite3D = MakeQuad(-1, glyph.sprite);
    if (glyph.sprite3D == 0) continue;
    ResizeQuad(glyph.sprite3D, ToPixels(glyph.width), ToPixels(glyph.height));
  }
}

void FreeScreenFont() {
  for (GlyphRecord& glyph : glyphTable) {
    if (QuadExists(glyph.sprite3D)) FreeQuad(glyph.sprite3D);
    if (ImageExists(glyph.sprite)) FreeImage(glyph.sprite);
    glyph.sprite3D = 0;
    glyph.sprite = 0;
  }
}

void ResetScreenFont() {
  FreeScreenFont();
  for (GlyphRecord& glyph : glyphTable) glyph = GlyphRecord{};
  textPenX = 0.0f;
  textPenY = 0.0f;
}

void DrawScreenText(const std::string& text, float x, float y, float scale, float angle, int32_t alpha, float spacing) {
  SetQuadBlending(5, 6);
  for (const char c : text) DrawScreenChar(static_cast<uint8_t>(c), x, y, scale, angle, alpha, spacing);
}

void DrawScreenChar(int32_t code, float x, float y, float scale, float angle, int32_t alpha, float spacing) {
  if (code < 0 || code > 255) return;
  // A negative scale, or one that is not a number, draws at the glyphs' own size.
  const double s = (scale < 0.0f || std::isnan(scale)) ? 1.0 : scale;

  if (code == kNewLine) {
    textPenX = 0.0f;
    MovePen(textPenY, glyphTable[uint8_t{'A'}].height * 1.2 * s);
    return;
  }
  if (code == kEndOfText) {
    textPenX = 0.0f;
    textPenY = 0.0f;
    return;
  }
  if (code == kSpace) {
    // The space keeps its width whatever the scale and spacing.
    MovePen(textPenX, glyphTable[uint8_t{'I'}].width);
    return;
  }

  const GlyphRecord& glyph = glyphTable[code];
  if (glyph.sprite3D == 0) return;
  // Resizing stands the shared quad upright again; its accumulated rotation stays, so a
  // non-zero angle turns this character further than its last draw.
  ResizeQuad(glyph.sprite3D, ToPixels(glyph.width * s), ToPixels(glyph.height * s));
  if (angle != 0.0f) RotateQuad(glyph.sprite3D, static_cast<float>(RoundHalfEven(angle)));
  const int32_t opacity = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
  DrawQuad(glyph.sprite3D, ToPixels(static_cast<double>(x) + textPenX), ToPixels(static_cast<double>(y) + textPenY), opacity);
  MovePen(textPenX, glyph.width * s * spacing);
}
