// The font: the character list as the font loader reads it, its glyph images, and the
// characters the screens and the display draw.
#include "app/check/checker.h"
#include "app/check/texts.h"
#include "core/settings.h"
#include "data/screen_text.h"
#include "media/screen.h"
#include "ui/hud.h"
#include "ui/menus.h"

namespace check {

namespace {

// The width most of the loaded glyph images have (0 for none).
int32_t CommonGlyphWidth() {
  std::map<int32_t, int32_t> widths;
  for (const GlyphRecord& glyph : glyphTable)
    if (glyph.sprite != 0) widths[ImageWidth(glyph.sprite)]++;
  int32_t common = 0, most = 0;
  for (const auto& [width, count] : widths)
    if (count > most) common = width, most = count;
  return common;
}

// At most eight names, and how many more.
std::string List(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size() && i < 8; i++) text += (i == 0 ? "" : ", ") + names[i];
  return names.size() > 8 ? text + " and " + std::to_string(names.size() - 8) + " more" : text;
}

}  // namespace

void DataChecker::CheckFont() {
  // What the game draws: every text of the screens and the display.
  std::map<uint8_t, std::string> drawn;  // character -> a text that draws it
  std::vector<std::string> texts = MenuTexts();
  for (const std::string& text : HudTexts()) texts.push_back(text);
  for (const std::string& text : texts)
    for (const char c : text) {
      const uint8_t code = static_cast<uint8_t>(c);
      if (code != '|' && code != '\\' && code != ' ' && drawn.count(code) == 0) drawn[code] = Trim(text.substr(0, text.find('|')));
    }

  ReloadScreenFont();
  if (settings.FONTSYSTEM.empty()) {
    SettingProblem(true, "FONTSYSTEM", "there is no font, so every text is invisible", "name the font's character list, such as DATA\\CHARS.txt");
    return;
  }
  const Place listPlace = SettingPlace("FONTSYSTEM");
  if (!NeedFile(listPlace, "the font's character list", settings.FONTSYSTEM, "every text is invisible")) return;
  const Place line{settings.FONTSYSTEM, 1};
  std::string characters;
  ReadCharacterList(settings.FONTSYSTEM, characters);
  if (StartsWithByteOrderMark(characters)) {
    Warning(line, kByteOrderMarkIs + ", which the game reads as the first three characters of the list (" + kByteOrderMarkTodo + ")");
    characters.erase(0, 3);
  }
  if (characters.empty()) {
    Error(line, "the first line lists no character, so every text is invisible (list the font's characters on line 1)");
    return;
  }
  if (!DirectoryUsable("FONTPATH")) return;
  std::set<uint8_t> missing;
  CheckGlyphs(line, characters, drawn, missing);
  CheckDrawnGlyphs(line, drawn, missing);
}

// Each character of the list loads its glyph image (some share one). Characters nothing draws
// are named together, the ones the game draws one by one; `missing` gets the codes without one.
void DataChecker::CheckGlyphs(const Place& line, const std::string& characters, const std::map<uint8_t, std::string>& drawn,
                              std::set<uint8_t>& missing) {
  std::set<uint8_t> listed, thin;
  std::vector<std::string> markup, unused;
  const int32_t commonWidth = CommonGlyphWidth();
  for (const char c : characters) {
    const uint8_t character = static_cast<uint8_t>(c);
    if (!listed.insert(character).second) continue;
    const GlyphName name = GlyphFileName(character);
    if (character == '|' || character == '\\' || character == ' ' || character == '/') {
      markup.push_back(CharacterName(character));
      continue;
    }
    const std::string path = settings.FONTPATH + "\\" + name.baseName + ".png";
    const bool needed = drawn.count(name.code) != 0;
    const std::string what = "the glyph of " + CharacterName(character);
    const std::string effect = "every " + CharacterName(name.code) + " vanishes from the screens and the display";
    const Lookup lookup = FindFile(path);
    const bool found = IsThere(lookup);
    if (found) NeedFile(line, what, path, effect);
    if (found && ImageDecodes(path)) {
      // A glyph one pixel wide draws as a sliver, and the pen moves on by its width.
      if (ImageWidth(glyphTable[name.code].sprite) == 1 && thin.insert(name.code).second)
        Warning({path, 0}, what + " is 1 pixel wide, so every " + CharacterName(name.code) + " is a sliver and the text closes up around it" +
                               (name.code == 'I' ? ", and every space, as wide as the I, all but vanishes" : "") + " (draw it" +
                               (commonWidth > 1 ? " as wide as most glyphs, " + std::to_string(commonWidth) + " pixels" : " wider") + ")");
      continue;
    }
    missing.insert(name.code);
    if (!needed)
      unused.push_back(CharacterName(character));
    else if (!found)
      Error(line, what + ", " + Shown(path) + ", is missing: " + effect + " (draw it, or leave the character out)");
    else {
      const ImageRefusal refused = WhyRefused(path, "save it as PNG");
      Error({path, 0}, what + " " + refused.is + ": " + effect + " (" + refused.todo + ")");
    }
  }
  if (!markup.empty())
    Warning(line, "the list holds " + List(markup) + ", which no glyph can stand for: | ends a text, \\ breaks its line, a "
                  "space is a gap and / cannot be part of a file name (leave them out of the list)");
  if (!unused.empty())
    Warning(line, "the glyphs of " + List(unused) + " are missing or do not decode, so those characters would vanish from "
                  "a text (draw them as PNG in " + Shown(settings.FONTPATH + "\\") + ", or leave them out of the list)");
}

void DataChecker::CheckDrawnGlyphs(const Place& line, const std::map<uint8_t, std::string>& drawn, const std::set<uint8_t>& missing) {
  // Every character the game draws needs a glyph; the loaded table says which have one.
  std::vector<uint8_t> absent;
  for (const auto& [code, text] : drawn)
    if (glyphTable[code].sprite3D == 0 && missing.count(code) == 0) absent.push_back(code);
  if (absent.size() == 1) {
    const uint8_t code = absent.front();
    Error(line, "the font has no " + CharacterName(code) + ", which the game draws (as in " + Quote(drawn.at(code)) +
                    "): add it to the list and draw its glyph " + Shown(settings.FONTPATH + "\\" + GlyphFileName(code).baseName + ".png"));
  } else if (!absent.empty()) {
    std::vector<std::string> names;
    for (const uint8_t code : absent) names.push_back(CharacterName(code));
    Error(line, "the font has none of " + List(names) + ", which the game draws: add them to the list and draw their glyphs (such as " +
                    Shown(settings.FONTPATH + "\\" + GlyphFileName(absent.front()).baseName + ".png") + ")");
  }
}

}  // namespace check
