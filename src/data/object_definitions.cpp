#include "data/object_definitions.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "core/settings.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"

std::vector<ObjectDefinition> objectDefinitions;

namespace {

int8_t LowByte(const std::string& value) { return static_cast<int8_t>(static_cast<uint8_t>(TextToInteger(value) & 0xFF)); }

using Store = std::function<void(ObjectDefinition&, const std::string&)>;

struct Key {
  DefinitionValue value;
  Store store;
};

const std::unordered_map<std::string, Key>& Keys() {
  static const std::unordered_map<std::string, Key> table = [] {
    std::unordered_map<std::string, Key> t;
    auto number = [&t](const char* key, int32_t ObjectDefinition::*field) {
      t[key] = {DefinitionValue::kNumber, [field](ObjectDefinition& d, const std::string& v) { d.*field = TextToInteger(v); }};
    };
    auto byte = [&t](DefinitionValue kind, const char* key, int8_t ObjectDefinition::*field) {
      t[key] = {kind, [field](ObjectDefinition& d, const std::string& v) { d.*field = LowByte(v); }};
    };
    auto flag = [&byte](const char* key, int8_t ObjectDefinition::*field) { byte(DefinitionValue::kFlag, key, field); };
    auto text = [&t](const char* key, std::string ObjectDefinition::*field) {
      t[key] = {DefinitionValue::kText, [field](ObjectDefinition& d, const std::string& v) { d.*field = v; }};
    };
    t["DGFXNAME"] = {DefinitionValue::kText,
                     [](ObjectDefinition& d, const std::string& v) { d.DGFXNAME = (v.empty() || v == "#") ? "NOPE" : v; }};
    number("DGFXTRANSPARENCY", &ObjectDefinition::DGFXTRANSPARENCY);
    number("DDENSITY", &ObjectDefinition::DDENSITY);
    flag("DFITTOMATRIX", &ObjectDefinition::DFITTOMATRIX);
    flag("DCOLLISION", &ObjectDefinition::DCOLLISION);
    text("DHOTSPOT", &ObjectDefinition::DHOTSPOT);
    number("DXMODE1", &ObjectDefinition::DXMODE1);
    number("DXMODE2", &ObjectDefinition::DXMODE2);
    flag("DGFXSHOW", &ObjectDefinition::DGFXSHOW);
    flag("DCENTERFIELD", &ObjectDefinition::DCENTERFIELD);
    flag("DKILLONCOLLISION", &ObjectDefinition::DKILLONCOLLISION);
    number("DSCORE", &ObjectDefinition::DSCORE);
    flag("DCOUNTTOSCORE", &ObjectDefinition::DCOUNTTOSCORE);
    flag("DUSECOUNTSOUND", &ObjectDefinition::DUSECOUNTSOUND);
    text("DCOUNTSOUND", &ObjectDefinition::DCOUNTSOUND);
    flag("DISPLAYER", &ObjectDefinition::DISPLAYER);
    flag("DISENEMY", &ObjectDefinition::DISENEMY);
    number("DRANDOMMOVE", &ObjectDefinition::DRANDOMMOVE);
    number("DMOVEX", &ObjectDefinition::DMOVEX);
    number("DMOVEY", &ObjectDefinition::DMOVEY);
    number("DVELOX", &ObjectDefinition::DVELOX);
    number("DVELOY", &ObjectDefinition::DVELOY);
    byte(DefinitionValue::kByte, "DAILEVEL", &ObjectDefinition::DAILEVEL);
    number("DDMOVE", &ObjectDefinition::DDMOVE);
    number("DCHANGEDIRECTION", &ObjectDefinition::DCHANGEDIRECTION);
    flag("DISGOODY", &ObjectDefinition::DISGOODY);
    number("DEXTRATIME", &ObjectDefinition::DEXTRATIME);
    number("DROTATE", &ObjectDefinition::DROTATE);
    t["DLIFETIME"] = {DefinitionValue::kIgnored, [](ObjectDefinition&, const std::string&) {}};
    t["DPOWERUP"] = {DefinitionValue::kIgnored, [](ObjectDefinition&, const std::string&) {}};
    return t;
  }();
  return table;
}

}  // namespace

std::vector<DefinitionKey> ObjectDefinitionKeys() {
  std::vector<DefinitionKey> keys;
  for (const auto& [key, entry] : Keys()) keys.push_back({key, entry.value});
  std::sort(keys.begin(), keys.end(), [](const DefinitionKey& a, const DefinitionKey& b) { return a.key < b.key; });
  return keys;
}

std::string DefinitionPath(const std::string& imagePath, const std::string& codec) {
  const int32_t at = FindText(imagePath, codec, 1);
  return (at > 0 ? TextLeft(imagePath, at - 1) : std::string()) + ".dll";
}

bool ReadObjectDefinition(const std::string& path, ObjectDefinition& definition) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  const auto& keys = Keys();
  while (!AtEndOfFile(file)) {
    const std::string key = ReadLine(file);
    const std::string value = ReadLine(file);
    auto it = keys.find(key);
    if (it != keys.end()) it->second.store(definition, value);
  }
  CloseTextFile(file);
  return true;
}

void FreeObjectDefinitions() {
  for (ObjectDefinition& d : objectDefinitions)
    if (ImageExists(d.sprite)) FreeImage(d.sprite);
  objectDefinitions.clear();
}

void LoadObjectDefinitions() {
  FreeObjectDefinitions();
  SetTransparentColour(kWhite);
  const int32_t listing = ListDirectory(-1, settings.WORLDGFX, "*" + settings.GFXCODEC);
  if (listing == 0) return;
  while (NextEntry(listing)) {
    if (EntryType(listing) != kEntryFile) continue;
    ObjectDefinition d;
    d.imagePath = settings.WORLDGFX + EntryName(listing);
    d.imageName = EntryName(listing);
    d.sprite = LoadImage(-1, d.imagePath);
    ReadObjectDefinition(DefinitionPath(d.imagePath, settings.GFXCODEC), d);
    objectDefinitions.push_back(std::move(d));
  }
  EndListing(listing);
}
