// Object definitions: every image of the WORLDGFX directory with its ".dll" definition file.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "core/line_pairs.h"

struct ObjectDefinition {
  std::string imagePath;   // full path of the image
  std::string imageName;   // file name with extension
  int32_t sprite = 0;      // the loaded image; 0 = not loaded
  std::string DGFXNAME;    // name tiles call it by; "NOPE" for an empty value or "#"
  int32_t DGFXTRANSPARENCY = 0;
  int32_t DDENSITY = 0;
  int8_t DFITTOMATRIX = 0;
  int8_t DCOLLISION = 0;
  std::string DHOTSPOT;
  int32_t DXMODE1 = 0;
  int32_t DXMODE2 = 0;
  int8_t DGFXSHOW = 0;
  int8_t DCENTERFIELD = 0;
  int8_t DKILLONCOLLISION = 0;
  int32_t DSCORE = 0;
  int8_t DCOUNTTOSCORE = 0;
  std::string DCOUNTSOUND;
  int8_t DUSECOUNTSOUND = 0;
  int8_t DISPLAYER = 0;
  int8_t DISENEMY = 0;
  int32_t DRANDOMMOVE = 0;
  int32_t DMOVEX = 0;
  int32_t DMOVEY = 0;
  int32_t DVELOX = 0;
  int32_t DVELOY = 0;
  int8_t DAILEVEL = 0;
  int32_t DDMOVE = 0;
  int32_t DCHANGEDIRECTION = 0;
  int8_t DISGOODY = 0;
  int32_t DEXTRATIME = 0;
  int32_t DROTATE = 0;
};

extern std::vector<ObjectDefinition> objectDefinitions;

// The definition file of an image: the path cut at the first occurrence of the codec text,
// followed by ".dll" (just ".dll" when the codec text does not occur).
std::string DefinitionPath(const std::string& imagePath, const std::string& codec);

// Stands in the key table for a value that a made thing keeps no copy of, and for the field of
// a key that is accepted and ignored.
struct NotKept {};
// The field of a made thing (a placed object, a foe) that keeps a copy of a key's value. Each is
// a lambda from the thing to its field, so that the table can name the fields of records that
// the layers above define; only the layer that makes such a thing ever calls it.
#define QUORVEX_KEPT_IN(field) [](auto& thing) -> auto& { return thing.field; }

// Every key a definition file may hold, in the order the game tests them: how its value is
// read, the field of the definition it is stored in (a store function for DGFXNAME, NotKept for
// the ignored keys), and the fields of a placed object and of a foe that keep copies of it.
// Adding a key is one row here, and its fields in the records.
template <class Row>
void ForEachObjectKey(Row&& row) {
  using K = ValueKind;
  using D = ObjectDefinition;
  const NotKept no;
  // DGFXNAME "#" or an empty one is the name of no tile's child.
  const auto name = [](D& d, const std::string& v) { d.DGFXNAME = (v.empty() || v == "#") ? "NOPE" : v; };
  //  key                 read as       definition field        placed object's copy             foe's copy
  row("DGFXNAME",         K::kText,     name,                   no,                              no);
  row("DGFXTRANSPARENCY", K::kInteger,  &D::DGFXTRANSPARENCY,   QUORVEX_KEPT_IN(alpha),           QUORVEX_KEPT_IN(alpha));
  row("DDENSITY",         K::kInteger,  &D::DDENSITY,           no,                              no);
  row("DFITTOMATRIX",     K::kFlag,     &D::DFITTOMATRIX,       no,                              no);
  row("DCOLLISION",       K::kFlag,     &D::DCOLLISION,         QUORVEX_KEPT_IN(collision),       QUORVEX_KEPT_IN(collision));
  row("DHOTSPOT",         K::kText,     &D::DHOTSPOT,           no,                              no);
  row("DXMODE1",          K::kInteger,  &D::DXMODE1,            QUORVEX_KEPT_IN(blendSource),     QUORVEX_KEPT_IN(blendSource));
  row("DXMODE2",          K::kInteger,  &D::DXMODE2,            QUORVEX_KEPT_IN(blendDest),       QUORVEX_KEPT_IN(blendDest));
  row("DGFXSHOW",         K::kFlag,     &D::DGFXSHOW,           QUORVEX_KEPT_IN(gfxShow),         QUORVEX_KEPT_IN(gfxShow));
  row("DCENTERFIELD",     K::kFlag,     &D::DCENTERFIELD,       no,                              no);
  row("DKILLONCOLLISION", K::kFlag,     &D::DKILLONCOLLISION,   QUORVEX_KEPT_IN(killOnCollision), no);
  row("DSCORE",           K::kInteger,  &D::DSCORE,             QUORVEX_KEPT_IN(scoreValue),      no);
  row("DCOUNTTOSCORE",    K::kFlag,     &D::DCOUNTTOSCORE,      QUORVEX_KEPT_IN(countToScore),    no);
  row("DUSECOUNTSOUND",   K::kFlag,     &D::DUSECOUNTSOUND,     QUORVEX_KEPT_IN(useCountSound),   no);
  row("DCOUNTSOUND",      K::kSoundName, &D::DCOUNTSOUND,       QUORVEX_KEPT_IN(countSound),      no);
  row("DISPLAYER",        K::kFlag,     &D::DISPLAYER,          QUORVEX_KEPT_IN(isPlayer),        no);
  row("DISENEMY",         K::kFlag,     &D::DISENEMY,           no,                              no);
  row("DRANDOMMOVE",      K::kInteger,  &D::DRANDOMMOVE,        no,                              QUORVEX_KEPT_IN(randomMove));
  row("DMOVEX",           K::kInteger,  &D::DMOVEX,             no,                              QUORVEX_KEPT_IN(moveX));
  row("DMOVEY",           K::kInteger,  &D::DMOVEY,             no,                              QUORVEX_KEPT_IN(moveY));
  row("DVELOX",           K::kInteger,  &D::DVELOX,             no,                              QUORVEX_KEPT_IN(velocityX));
  row("DVELOY",           K::kInteger,  &D::DVELOY,             no,                              QUORVEX_KEPT_IN(velocityY));
  row("DAILEVEL",         K::kByte,     &D::DAILEVEL,           no,                              QUORVEX_KEPT_IN(aiLevel));
  row("DDMOVE",           K::kInteger,  &D::DDMOVE,             no,                              QUORVEX_KEPT_IN(moveChance));
  row("DCHANGEDIRECTION", K::kInteger,  &D::DCHANGEDIRECTION,   no,                              QUORVEX_KEPT_IN(changeDirection));
  row("DISGOODY",         K::kFlag,     &D::DISGOODY,           QUORVEX_KEPT_IN(isGoody),         no);
  row("DEXTRATIME",       K::kInteger,  &D::DEXTRATIME,         QUORVEX_KEPT_IN(extraTime),       no);
  row("DROTATE",          K::kInteger,  &D::DROTATE,            no,                              QUORVEX_KEPT_IN(rotation));
  row("DLIFETIME",        K::kIgnored,  no,                     no,                              no);
  row("DPOWERUP",         K::kIgnored,  no,                     no,                              no);
}
#undef QUORVEX_KEPT_IN

// Gives a placed object (`which` = kPlacedObject) or a foe (kFoe) the copies it keeps of its
// definition's values, as the key table says.
enum class MadeThing { kPlacedObject, kFoe };
template <MadeThing which, class Thing>
void CopyKeptValues(const ObjectDefinition& definition, Thing& thing) {
  ForEachObjectKey([&](const char*, ValueKind, auto field, auto placed, auto foe) {
    const auto keeper = [&] {
      if constexpr (which == MadeThing::kPlacedObject) return placed;
      else return foe;
    }();
    if constexpr (!std::is_same_v<std::decay_t<decltype(keeper)>, NotKept>) keeper(thing) = definition.*field;
  });
}

// Every key a definition file may hold, with its kind; other keys are skipped with their value.
const KeyKinds& ObjectDefinitionKeys();
// Reads one definition file into a record, telling a watcher of every pair; false if it cannot
// be opened.
bool ReadObjectDefinition(const std::string& path, ObjectDefinition& definition, LinePairWatcher* watcher = nullptr);
// Rebuilds objectDefinitions from WORLDGFX with the GFXCODEC extension.
void LoadObjectDefinitions();
// Frees the images and empties the list.
void FreeObjectDefinitions();
