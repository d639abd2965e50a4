#include "data/object_definitions.h"

#include <type_traits>

#include "core/settings.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"

std::vector<ObjectDefinition> objectDefinitions;

namespace {

const KeyTable<ObjectDefinition>& Keys() {
  static const KeyTable<ObjectDefinition> table = [] {
    KeyTable<ObjectDefinition> t;
    ForEachObjectKey([&t](const char* key, ValueKind kind, auto field, auto, auto) {
      if constexpr (std::is_same_v<decltype(field), NotKept>)
        t.Add(key);
      else
        t.Add(key, kind, field);
    });
    return t;
  }();
  return table;
}

}  // namespace

const KeyKinds& ObjectDefinitionKeys() { return Keys(); }

std::string DefinitionPath(const std::string& imagePath, const std::string& codec) {
  const int32_t at = FindText(imagePath, codec, 1);
  return (at > 0 ? TextLeft(imagePath, at - 1) : std::string()) + ".dll";
}

bool ReadObjectDefinition(const std::string& path, ObjectDefinition& definition, LinePairWatcher* watcher) {
  return Keys().Read(path, definition, watcher);
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
