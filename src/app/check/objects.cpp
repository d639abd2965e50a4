// Object definitions: every image of WORLDGFX as the game loads it, and its definition file as
// the definition reader reports it.
#include <algorithm>

#include "app/check/checker.h"
#include "app/check/texts.h"
#include "core/settings.h"
#include "data/object_definitions.h"
#include "media/blending.h"
#include "media/text.h"
#include "world/tile_map.h"

namespace check {

Place LastPlace(const std::string& path, const std::map<std::string, const Pair*>& last, const std::string& key) {
  const auto found = last.find(key);
  return {path, found == last.end() ? 0 : found->second->valueLine};
}

void DataChecker::CheckObjects() {
  LoadObjectDefinitions();
  if (!DirectoryUsable("WORLDGFX")) return;
  std::map<std::string, std::string> names;  // DGFXNAME -> the definition that has it
  for (const ObjectDefinition& d : objectDefinitions) CheckObject(d, names);
}

void DataChecker::CheckObject(const ObjectDefinition& d, std::map<std::string, std::string>& names) {
  Read(d.imagePath);
  if (d.sprite == 0) {
    const ImageRefusal refused = WhyRefused(d.imagePath, kImageFormats);
    Error({d.imagePath, 0}, "the object image " + refused.is + ", so its objects and foes draw nothing (" + refused.todo + ")");
  }
  const std::string definition = DefinitionPath(d.imagePath, settings.GFXCODEC);
  if (FindText(d.imagePath, settings.GFXCODEC) == 0) {
    Error({d.imagePath, 0}, "the name does not contain GFXCODEC " + Quote(settings.GFXCODEC) +
                                " letter for letter, so the game finds no definition file and the object has every value 0 "
                                "(rename it to end in " + settings.GFXCODEC + ")");
    return;
  }
  const Lookup lookup = FindFile(definition);
  if (lookup.found == Found::kMissing || lookup.found == Found::kDirectory) {
    Error({d.imagePath, 0}, "there is no definition file " + Shown(definition) +
                                " beside the image: the object has every value 0, is never drawn, and its empty DGFXNAME answers "
                                "every tile's empty child slot (write the definition, or move the image away)");
    return;
  }
  NeedFile({d.imagePath, 0}, "the definition file", definition, "");
  // The definition read again as the game reads it, for the pairs and their lines.
  PairList pairs;
  ObjectDefinition again;
  ReadObjectDefinition(definition, again, &pairs);
  if (!CheckPairs(definition, pairs.pairs, ObjectDefinitionKeys())) return;
  const auto last = LastPairs(pairs.pairs);
  CheckDefinitionNumbers(definition, last);
  CheckDefinitionValues(d, definition, last, names);
}

// Numbers and flags written otherwise than the game reads them.
void DataChecker::CheckDefinitionNumbers(const std::string& definition, const std::map<std::string, const Pair*>& last) {
  for (const auto& [key, pair] : last) {
    const ValueKind* kind = ObjectDefinitionKeys().Find(key);
    if (!kind || !pair->hasValue) continue;
    const ValueKind v = *kind;
    if (v != ValueKind::kInteger && v != ValueKind::kFlag && v != ValueKind::kByte) continue;
    const std::string& value = pair->value;
    if (!IsWholeNumber(value)) {
      Problem(!HasDigits(value), definition, pair->valueLine,
              key + " " + Quote(value) + " is not a whole number: the game reads " +
                  (v == ValueKind::kInteger ? NumberText(TextToInteger(value)) : FlagText(value)) + " (write a whole number)");
    } else if (v == ValueKind::kFlag && TextToInteger(value) != 0 && TextToInteger(value) != 1) {
      Warning({definition, pair->valueLine}, key + " " + Quote(value) + " is a flag: the game keeps the low 8 bits and reads " +
                                                 FlagText(value) + " (write 0 or 1)");
    } else if (v == ValueKind::kByte && (TextToInteger(value) < 0 || TextToInteger(value) > 127)) {
      Warning({definition, pair->valueLine},
              key + " " + Quote(value) + " is kept in 8 bits: the game reads " + FlagText(value) + " (write 0 to 127)");
    }
  }
}

// Values the game reads as written, but that do not do what they seem to.
void DataChecker::CheckDefinitionValues(const ObjectDefinition& d, const std::string& definition,
                                        const std::map<std::string, const Pair*>& last, std::map<std::string, std::string>& names) {
  auto at = [&](const char* key) { return LastPlace(definition, last, key); };
  if (d.DGFXTRANSPARENCY < 0 || d.DGFXTRANSPARENCY > 255)
    Warning(at("DGFXTRANSPARENCY"), "DGFXTRANSPARENCY " + NumberText(d.DGFXTRANSPARENCY) +
                                        " is an opacity outside 0..255 (write 0 for invisible up to 255 for opaque)");
  else if (d.DGFXTRANSPARENCY == 0 && d.DGFXSHOW == 1)
    Warning(at("DGFXTRANSPARENCY"), "DGFXTRANSPARENCY 0 draws objects and foes of this kind fully transparent (write 255 for opaque)");
  // Tiles place objects by name; foes are drawn whatever DGFXSHOW says.
  const bool placed = !d.DGFXNAME.empty() && d.DGFXNAME != "NOPE";
  if (placed && d.DGFXSHOW != 1)
    Warning(at("DGFXSHOW"), "DGFXSHOW is not 1, so the objects tiles place of this kind are never drawn (write 1)");
  if (d.DISENEMY != 0 && d.DVELOX == 0 && d.DVELOY == 0)
    Warning(at("DISENEMY"), "a foe with DVELOX and DVELOY 0 never moves (give it sub-steps per cell, such as 6)");
  if (d.DDENSITY < 0)
    Warning(at("DDENSITY"), "a negative DDENSITY never spawns anything (write 0 to spawn on every match, n for 1 in n + 1)");
  if (!d.DHOTSPOT.empty() &&
      std::none_of(std::begin(kHotspots), std::end(kHotspots), [&d](const Hotspot& h) { return d.DHOTSPOT == h.name; })) {
    std::vector<std::string> hotspots;
    for (const Hotspot& h : kHotspots) hotspots.push_back(h.name);
    const std::string near = Nearest(d.DHOTSPOT, hotspots);
    Warning(at("DHOTSPOT"), "DHOTSPOT " + Quote(d.DHOTSPOT) + " moves nothing (" +
                                (near.empty() ? "write CENTER, RIGHT, BOTTOMLEFT, BOTTOMRIGHT or nothing" : "did you mean " + near + "?") + ")");
  }
  if (d.DXMODE1 > 0 || d.DXMODE2 > 0) {
    const BlendPair used = NormalBlendPair(d.DXMODE1, d.DXMODE2);
    if (used.source != d.DXMODE1)
      Warning(at("DXMODE1"), "DXMODE1 " + NumberText(d.DXMODE1) + " is no blend factor, so the game uses " + NumberText(used.source) + " (write 1 to 11)");
    if (used.destination != d.DXMODE2)
      Warning(at("DXMODE2"), "DXMODE2 " + NumberText(d.DXMODE2) + " is no blend factor, so the game uses " +
                                 NumberText(used.destination) + " (write 1 to 11)");
  }
  if (d.DUSECOUNTSOUND != 0) {
    if (d.DCOUNTSOUND.empty())
      Warning(at("DUSECOUNTSOUND"), "DUSECOUNTSOUND asks for a sound but DCOUNTSOUND names none (name a sound, or write 0)");
    else
      CheckSoundName(at("DCOUNTSOUND"), "DCOUNTSOUND", d.DCOUNTSOUND);
  }
  if (placed) {
    const auto [first, fresh] = names.emplace(d.DGFXNAME, d.imageName);
    if (!fresh)
      Warning(at("DGFXNAME"), "DGFXNAME " + d.DGFXNAME + " is also the name of " + first->second +
                                  ", so a child slot of that name spawns both (give each its own name)");
  }
}

}  // namespace check
