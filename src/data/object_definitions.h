// Object definitions: every image of the WORLDGFX directory with its ".dll" definition file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// What a key's value is read as: a 32-bit number, an 8-bit flag (meant as 0 or 1), an 8-bit
// number, a text kept as it stands, or nothing (accepted and ignored).
enum class DefinitionValue { kNumber, kFlag, kByte, kText, kIgnored };
struct DefinitionKey {
  std::string key;
  DefinitionValue value;
};
// Every key a definition file may hold, sorted; other keys are skipped with their value.
std::vector<DefinitionKey> ObjectDefinitionKeys();
// Reads one definition file into a record; false if it cannot be opened.
bool ReadObjectDefinition(const std::string& path, ObjectDefinition& definition);
// Rebuilds objectDefinitions from WORLDGFX with the GFXCODEC extension.
void LoadObjectDefinitions();
// Frees the images and empties the list.
void FreeObjectDefinitions();
