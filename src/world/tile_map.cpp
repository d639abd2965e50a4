#include "world/tile_map.h"

#include <cmath>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/game_state.h"
#include "core/line_pairs.h"
#include "core/random.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/labyrinth.h"

TileGrid tileMap;
std::vector<PlacedObject> placedObjects;

namespace {

const std::string kNoName;

// The grid's side after ResetWorld (indices 0..256).
constexpr int32_t kWorldSide = 257;

// A child slot takes a name; a name other than "#" raises the highest slot to this one.
void SetChild(TileCell& cell, int slot, const std::string& value) {
  cell.childName.Set(slot, value);
  cell.childObject.Set(slot, -1);
  if (value != "#") cell.maxChildSlot = static_cast<int8_t>(slot);
}

void FreeAllSprites() {
  for (PlacedObject& o : placedObjects)
    if (QuadExists(o.objSprite)) FreeQuad(o.objSprite);
  placedObjects.clear();
  tileMap.ForEachKeptCell([](TileCell& cell) {
    if (QuadExists(cell.tileSprite)) FreeQuad(cell.tileSprite);
  });
}

// What each key of a tile definition file does to a cell; other keys are skipped.
const KeyTable<TileCell>& TileKeys() {
  static const KeyTable<TileCell> table = [] {
    KeyTable<TileCell> t;
    using K = ValueKind;
    t.Add("GFXNAME", K::kText, [](TileCell& cell, const std::string& value) { cell.gfxName = value; });
    // CHILD1 .. CHILD8 fill slots 0 .. 7.
    for (int slot = 0; slot < 8; slot++)
      t.Add("CHILD" + std::to_string(slot + 1), K::kText, [slot](TileCell& cell, const std::string& value) { SetChild(cell, slot, value); });
    t.Add("VALUE1", K::kInteger, &TileCell::value1);
    t.Add("RANDOMSEED", K::kInteger, &TileCell::tileSeed);
    t.Add("USECOLLISION", K::kByte, &TileCell::useCollision);
    t.Add("TRANSPARENCY", K::kInteger, [](TileCell& cell, const std::string& value) {
      cell.transparency = TextToInteger(value);
      cell.alpha = static_cast<int32_t>(255u - static_cast<uint32_t>(cell.transparency));
    });
    t.Add("USEENEMY", K::kFlag, &TileCell::useEnemy);
    t.Add("USEDIRECTION", K::kText, [](TileCell& cell, const std::string& value) {
      if (value == "DEFAULT") cell.direction = kTileDirDefault;
      else if (value == "UP") cell.direction = kTileDirUp;
      else if (value == "DOWN") cell.direction = kTileDirDown;
      else if (value == "LEFT") cell.direction = kTileDirLeft;
      else if (value == "RIGHT") cell.direction = kTileDirRight;
    });
    t.Add("INTERNALNAME");
    return t;
  }();
  return table;
}

// A tile definition file as read: the known keys in the file's order, with their values.
struct TileDefinition {
  struct Key {
    const KeyTable<TileCell>::Store* store;
    std::string value;
    bool child;          // a CHILD key: it changes only the child slots and maxChildSlot
    SharedText graphic;  // for GFXNAME, the value as the cell keeps it
    bool isGraphic;
  };
  bool opened = false;
  std::vector<Key> keys;
  bool children = false;  // some key is a CHILD key
  // The file's CHILD keys give cells coming with the same slots the same slots after: the last
  // such change, so that the next cell like it takes the result without working it out again.
  mutable bool remembered = false;
  mutable ChildNames namesBefore, namesAfter;
  mutable ChildObjects objectsBefore, objectsAfter;
  mutable int8_t maxChildSlotAfter = 0;
};

TileDefinition ParseTileDefinition(const std::string& path, LinePairWatcher* watcher) {
  TileDefinition definition;
  definition.opened = ReadLinePairs(
      path,
      [&definition](const std::string& key, const std::string& value) {
        const auto* found = TileKeys().FindKey(key);
        if (!found) return false;
        const bool child = key.compare(0, 5, "CHILD") == 0, graphic = key == "GFXNAME";
        definition.keys.push_back({&found->store, value, child, graphic ? SharedText(value) : SharedText(), graphic});
        definition.children = definition.children || child;
        return true;
      },
      watcher);
  return definition;
}

// Tile definition files already read, by path. Levels place the same few tiles over and over
// (a 256 x 256 level places over 65 000), so each file is read once while the data stays as
// it was read (see DirectoryReading).
std::unordered_map<std::string, TileDefinition> tileDefinitions;
uint64_t tileDefinitionsReading = 0;

const TileDefinition& ReadTileDefinition(const std::string& path) {
  if (tileDefinitionsReading != DirectoryReading()) {
    tileDefinitions.clear();
    tileDefinitionsReading = DirectoryReading();
  }
  auto known = tileDefinitions.find(path);
  if (known != tileDefinitions.end()) return known->second;
  return tileDefinitions.emplace(path, ParseTileDefinition(path, nullptr)).first->second;
}

// A definition as it changes a cell: the keys in the file's order, then what the file leaves.
void ApplyTileDefinition(const TileDefinition& definition, TileCell& cell) {
  static const SharedText kDummy("dummy.png");
  const bool known = definition.remembered && definition.namesBefore == cell.childName && definition.objectsBefore == cell.childObject;
  if (definition.children && !known) {
    definition.namesBefore = cell.childName;
    definition.objectsBefore = cell.childObject;
  }
  cell.maxChildSlot = 0;
  for (const TileDefinition::Key& key : definition.keys) {
    if (key.isGraphic)
      cell.gfxName = key.graphic;
    else if (!(key.child && known))
      (*key.store)(cell, key.value);
  }
  if (definition.children) {
    if (known) {
      cell.childName = definition.namesAfter;
      cell.childObject = definition.objectsAfter;
      cell.maxChildSlot = definition.maxChildSlotAfter;
    } else {
      definition.namesAfter = cell.childName;
      definition.objectsAfter = cell.childObject;
      definition.maxChildSlotAfter = cell.maxChildSlot;
      definition.remembered = true;
    }
  }
  if (cell.gfxName.empty()) cell.gfxName = kDummy;
  cell.hasContactObjects = -1;
}

}  // namespace

void TileGrid::Create(int32_t columns, int32_t rows) {
  columns_ = columns < 0 ? 0 : columns;
  rows_ = rows < 0 ? 0 : rows;
  blockRows_ = (rows_ + kBlockSide - 1) / kBlockSide;
  const size_t blockColumns = static_cast<size_t>((columns_ + kBlockSide - 1) / kBlockSide);
  blocks_.clear();
  blocks_.resize(blockColumns * static_cast<size_t>(blockRows_));
}

const TileCell* TileGrid::Find(int32_t x, int32_t y) const {
  if (!Inside(x, y)) return nullptr;
  static const TileCell kDefaultCell;
  const Block* block = blocks_[BlockIndex(x, y)].get();
  return block ? &block->cells[InBlock(x, y)] : &kDefaultCell;
}

const std::string& TileGrid::Name(int32_t x, int32_t y) const {
  const TileCell* cell = Find(x, y);
  return cell ? cell->tileName.str() : kNoName;
}

int8_t TileGrid::Collision(int32_t x, int32_t y) const {
  const TileCell* cell = Find(x, y);
  return cell ? cell->useCollision : 1;
}

const KeyKinds& TileFileKeys() { return TileKeys(); }

bool ReadTileFile(const std::string& path, TileCell& cell, LinePairWatcher* watcher) {
  const TileDefinition definition = ParseTileDefinition(path, watcher);
  if (definition.opened) ApplyTileDefinition(definition, cell);
  return definition.opened;
}

namespace {

// Appends the tile directory to a text (placing a world's tiles reuses one buffer for their paths).
std::string& AppendTileDirectory(std::string& text) {
  return text.append(settings.RGBCODEPATH).append(settings.APPSTART).append("\\");
}

}  // namespace

std::string TileDirectory() {
  std::string directory;
  AppendTileDirectory(directory);
  return directory;
}

bool IsTileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

void LoadNamedTile(int32_t x, int32_t y, const std::string& name) {
  if (!IsTileName(name)) return;
  static std::string path;  // one buffer for the quarter million tiles of a world
  path.clear();
  AppendTileDirectory(path).append(name);
  LoadTileDefinition(x, y, path);
}

void ResetTileMap() {
  FreeAllSprites();
  tileMap.Create(0, 0);
  tileDefinitions.clear();
}

void ResetWorld() {
  gameState.viewX = 0.0f;
  gameState.viewY = 0.0f;
  edgeEntries.clear();
  FreeAllSprites();
  tileMap.Create(kWorldSide, kWorldSide);
}

void PlaceTile(int32_t x, int32_t y, const std::string& name) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell) return;
  cell->tileName = name;
  LoadNamedTile(x, y, name);
  BindTileGraphic(x, y, cell->gfxName);
  SpawnTileChildren(x, y);
}

void LoadTileDefinition(int32_t x, int32_t y, const std::string& path) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell) return;
  const TileDefinition& definition = ReadTileDefinition(path);
  if (definition.opened) ApplyTileDefinition(definition, *cell);
}

bool SpawnsAsChild(const ObjectDefinition& definition, const std::string& childName) {
  return definition.DGFXNAME != "NOPE" && definition.DGFXNAME == childName;
}

void BindTileGraphic(int32_t x, int32_t y, const std::string& gfxName) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell) return;
  const TopographyImage* entry = FindTopographyImage(gfxName);
  if (!entry) return;
  if (QuadExists(cell->tileSprite)) FreeQuad(cell->tileSprite);
  cell->tileSprite = MakeQuad(-1, entry->sprite);
  FitTileSprite(x, y);
}

void FitTileSprite(int32_t x, int32_t y) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell || cell->tileSprite == 0 || cell->alpha <= 0) return;
  ResizeQuad(cell->tileSprite, RoundHalfEven(gameState.tileWidth), RoundHalfEven(gameState.tileHeight));
}

void SpawnTileChildren(int32_t x, int32_t y) {
  TileCell* cell = tileMap.Find(x, y);
  if (!cell) return;
  cell->hasContactObjects = 0;
  cell->lastChildSlot = -1;
  for (int32_t slot = 0; slot <= cell->maxChildSlot && slot < 8; slot++) {
    for (const ObjectDefinition& d : objectDefinitions) {
      if (!SpawnsAsChild(d, cell->childName[slot])) continue;
      if (Random(d.DDENSITY) != 0) continue;
      PlacedObject o;
      o.objSprite = MakeQuad(-1, d.sprite);
      o.width = static_cast<float>(ImageWidth(d.sprite));
      o.height = static_cast<float>(ImageHeight(d.sprite));
      ResizeQuad(o.objSprite, RoundHalfEven(o.width), RoundHalfEven(o.height));
      CopyKeptValues<MadeThing::kPlacedObject>(d, o);
      placedObjects.push_back(o);
      cell->childObject.Set(slot, static_cast<int32_t>(placedObjects.size() - 1));
      cell->lastChildSlot = static_cast<int8_t>(slot);
      if (o.isGoody == 1) gameState.tilesLeft++;
      AlignPlacedObject(d, placedObjects.back());
    }
  }
}

void AlignPlacedObject(const ObjectDefinition& definition, PlacedObject& object) {
  if (!QuadExists(object.objSprite)) return;
  if (definition.DFITTOMATRIX == 1) {
    object.width = gameState.tileWidth;
    object.height = gameState.tileHeight;
    ResizeQuad(object.objSprite, RoundHalfEven(object.width), RoundHalfEven(object.height));
  }
  HotspotOffset(definition, object.width, object.height, object.drawOffsetX, object.drawOffsetY);
}

void HotspotOffset(const ObjectDefinition& definition, float width, float height, float& offsetX, float& offsetY) {
  offsetX = offsetY = 0.0f;
  for (const Hotspot& hotspot : kHotspots) {
    if (definition.DHOTSPOT != hotspot.name) continue;
    offsetX = hotspot.x == 0 ? 0.0f : (hotspot.x == 1 ? width / 2.0f : width);
    offsetY = hotspot.y == 0 ? 0.0f : (hotspot.y == 1 ? height / 2.0f : height);
  }
  if (definition.DCENTERFIELD == 1) {
    offsetX += gameState.tileWidth / 2.0f;
    offsetY += gameState.tileHeight / 2.0f;
  }
}

void RefitAllTiles() {
  for (gameState.cellX = 0; gameState.cellX <= gameState.mapWidth; gameState.cellX++)
    for (gameState.cellY = 0; gameState.cellY <= gameState.mapHeight; gameState.cellY++)
      FitTileSprite(gameState.cellX, gameState.cellY);
}

void ComputeViewSize() {
  // No map is wider than the start-up grid, so a view wider than that (from a tiny or zero
  // tile size) would only visit cells that do not exist.
  const float most = 513.0f;
  auto cells = [most](float screen, float tile) {
    const float n = std::ceil(screen / tile);
    if (std::isnan(n)) return 0.0f;
    return n > most ? most : n;
  };
  gameState.viewCols = cells(gameState.screenWidth, gameState.tileWidth);
  gameState.viewRows = cells(gameState.screenHeight, gameState.tileHeight);
}
