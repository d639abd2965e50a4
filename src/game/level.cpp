#include "game/level.h"

#include <cstdio>

#include "core/error_report.h"
#include "core/game_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "data/assets.h"
#include "data/object_definitions.h"
#include "game/foes.h"
#include "game/player.h"
#include "media/files.h"
#include "media/screen.h"
#include "media/text.h"
#include "world/labyrinth.h"
#include "world/tile_map.h"
#include "world/world_map.h"

int32_t baseWidth = 0, baseHeight = 0;

namespace {

bool clampReported = false;

// The tile map after ResetWorld ends at index 256, so a labyrinth side is cut to fit it.
int32_t FitSide(int64_t side) {
  if (side < 0) return 0;
  if (side > kMaxLabyrinthSide) {
    if (!clampReported) {
      std::fprintf(stderr, "quorvex: labyrinth sides above %d do not fit the map; using %d\n", kMaxLabyrinthSide,
                   kMaxLabyrinthSide);
      clampReported = true;
    }
    return kMaxLabyrinthSide;
  }
  return static_cast<int32_t>(side);
}

int32_t SeedForLevel() {
  return static_cast<int32_t>(static_cast<uint32_t>(settings.WORLDRANDOM) + static_cast<uint32_t>(gameState.level));
}

// Generation, foes and fitting, shared by both entry points.
void GrowLabyrinth() {
  FillWalls(gameState.mapWidth, gameState.mapHeight);
  CarveFloor(gameState.mapWidth, gameState.mapHeight);
  if (labyrinthStart.found) PlacePlayerAtStart();
  CarveGreen(gameState.mapWidth, gameState.mapHeight);
  CarveWater(gameState.mapWidth, gameState.mapHeight);
  EdgePass();
  SpawnFoes();
  RefitAllTiles();
}

}  // namespace

bool ReadLabyrinthBase(const std::string& path, BaseFileWatcher* watcher) {
  const int32_t file = OpenTextFile(-1, path);
  if (file == 0) return false;
  for (int32_t number = 1; number <= 5; number++) {
    const std::string line = ReadLine(file);
    const BaseLine use = number == 2 ? BaseLine::kWidth : number == 3 ? BaseLine::kHeight : BaseLine::kSkipped;
    if (use == BaseLine::kWidth) baseWidth = TextToInteger(line);
    if (use == BaseLine::kHeight) baseHeight = TextToInteger(line);
    if (watcher) watcher->Line(number, line, use);
  }
  CloseTextFile(file);
  return true;
}

void StartLabyrinthGame(const std::string& path) {
  gameState.tilesLeft = 0;
  if (!ReadLabyrinthBase(path)) ReportError(kErrorLabyrinthBase, path);
  BuildFirstLevel();
}

void BuildFirstLevel() {
  gameState.tilesLeft = 0;
  const uint32_t s = RandomSeed(SeedForLevel());
  RandomSeed(static_cast<int32_t>(s));
  const int64_t w1 = Random(baseWidth / 2);
  const int64_t w2 = Random(baseWidth / 2);
  gameState.mapWidth = FitSide(w1 + w2);
  const int64_t h1 = Random(baseHeight / 2);
  const int64_t h2 = Random(baseHeight / 2);
  gameState.mapHeight = FitSide(h1 + h2);

  PlayMusic("");
  ResetPlayerHeading();
  ResetWorld();
  ClearFoes();
  LoadPlayerSprite();
  GrowLabyrinth();
}

void StartWorldGame() {
  LoadWorld();
  if (IsRegularFile(settings.CURSOR)) LoadPlayerSprite();
}

void BuildLevel() {
  gameState.tilesLeft = 0;
  if (gameState.level < 1) gameState.level = 0;
  RandomSeed(SeedForLevel());
  const int64_t level = gameState.level;
  int64_t w = Random(baseWidth / 2) + static_cast<int64_t>(baseWidth / 2) + level;
  int64_t h = Random(baseHeight / 2) + static_cast<int64_t>(baseHeight / 2) + level;
  if (w > settings.MAPSIZE || w < 1) w = settings.MAPSIZE;
  if (h > settings.MAPSIZE || h < 1) h = settings.MAPSIZE;
  gameState.mapWidth = FitSide(w);
  gameState.mapHeight = FitSide(h);
  gameState.tilesLeft = 0;
  PlayMusic("");
  ResetPlayerHeading();
  ClearFoes();
  ResetWorld();
  LoadObjectDefinitions();
  GrowLabyrinth();
}

void ClearFoes() {
  for (Foe& foe : foes)
    if (QuadExists(foe.foeSprite)) FreeQuad(foe.foeSprite);
  foes.clear();
  SetCurrentFoe(nullptr);
}

void SpawnFoes() {
  const size_t most = settings.MAXFOE > 0 ? static_cast<size_t>(settings.MAXFOE) : 0;
  for (int32_t x = 0; x <= gameState.mapWidth; x++)
    for (int32_t y = 0; y <= gameState.mapHeight; y++) {
      const TileCell* cell = tileMap.Find(x, y);
      if (!cell || cell->useEnemy != 1) continue;
      for (const ObjectDefinition& d : objectDefinitions) {
        if (foes.size() >= most) break;
        if (d.DISENEMY == 0) continue;
        if (Random(d.DDENSITY) != 0) continue;
        Foe foe;
        foe.foeSprite = MakeQuad(-1, d.sprite);
        foe.width = static_cast<float>(ImageWidth(d.sprite));
        foe.height = static_cast<float>(ImageHeight(d.sprite));
        ResizeQuad(foe.foeSprite, RoundHalfEven(foe.width), RoundHalfEven(foe.height));
        CopyKeptValues<MadeThing::kFoe>(d, foe);
        foe.x = RoundHalfEven(static_cast<double>(x) * gameState.tileWidth);
        foe.y = RoundHalfEven(static_cast<double>(y) * gameState.tileHeight);
        HotspotOffset(d, foe.width, foe.height, foe.drawOffsetX, foe.drawOffsetY);
        foes.push_back(foe);
      }
    }
}

void ResetPlayerHeading() { player.heading = kHeadNone; }

void PlacePlayerAtStart() {
  player.heading = kHeadNone;
  player.x = static_cast<float>(labyrinthStart.x) * gameState.tileWidth;
  player.y = static_cast<float>(labyrinthStart.y) * gameState.tileHeight;
}

void LoadPlayerSprite() {
  SetTransparentColour(kWhite);
  if (QuadExists(player.sprite3D)) FreeQuad(player.sprite3D);
  if (ImageExists(player.sprite)) FreeImage(player.sprite);
  player.sprite3D = 0;
  player.sprite = LoadImage(-1, settings.CURSOR);
  if (ImageExists(player.sprite)) player.sprite3D = MakeQuad(-1, player.sprite);
}

void ResetLevelState() {
  baseWidth = 0;
  baseHeight = 0;
  clampReported = false;
}
